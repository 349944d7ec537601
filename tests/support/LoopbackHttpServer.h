#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test {

// A small HTTP/1.1 server on 127.0.0.1 for tests: each request is answered by the handler.
// It serves until destroyed, or for two minutes at the most.
class LoopbackHttpServer {
public:
    struct Request {
        std::string method, target, headers, body;
    };
    struct Reply {
        std::string body;
        int status = 200;
        bool silent = false;   // accept and never answer
        std::string headers{};   // more header lines, each ending in "\r\n"
    };
    using Handler = std::function<Reply(const Request&)>;

    explicit LoopbackHttpServer(Handler handler);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    std::vector<Request> requests() const;

private:
    void Answer(int connection);

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
    std::vector<int> heldConnections_;
    std::thread thread_;
};

// A loopback port that nothing listens on.
int UnusedLoopbackPort();

}  // namespace velmora::test
