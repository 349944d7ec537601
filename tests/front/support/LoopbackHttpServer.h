#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test {

// A one-purpose HTTP server on 127.0.0.1 with a port of its own: it answers every request with
// the same raw response (or, when told to, never answers). It stops by itself after `lifetime`
// and when destroyed.
class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(std::string rawResponse, bool answer = true,
                                std::chrono::seconds lifetime = std::chrono::seconds(20));
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int Port() const { return port_; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> Requests() const;

    static std::string Response(int status, const std::string& body);

private:
    void Serve(std::chrono::steady_clock::time_point end);

    int listener_ = -1;
    int port_ = 0;
    std::string response_;
    bool answer_;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A loopback port that nothing listens on.
int UnusedLoopbackPort();

}  // namespace velmora::test
