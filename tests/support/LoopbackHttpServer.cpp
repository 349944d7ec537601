#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora::test {
namespace {

constexpr int kPollMilliseconds = 50;
constexpr std::size_t kRequestLimit = 1 << 20;
constexpr auto kLifetime = std::chrono::minutes(2);

std::size_t ContentLength(const std::string& headers)
{
    for (const char* name : {"Content-Length:", "content-length:"}) {
        const auto at = headers.find(name);
        if (at != std::string::npos) return std::stoul(headers.substr(at + std::string(name).size()));
    }
    return 0;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on the loopback address");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, end = std::chrono::steady_clock::now() + kLifetime] { Serve(end); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stopping_ = true;
    thread_.join();
    for (int connection : heldConnections_) ::close(connection);
    ::close(listener_);
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackHttpServer::Serve(std::chrono::steady_clock::time_point end)
{
    while (!stopping_ && std::chrono::steady_clock::now() < end) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) Answer(connection);
    }
}

void LoopbackHttpServer::Answer(int connection)
{
    std::string received;
    std::size_t headerEnd = std::string::npos;
    char chunk[4096];
    while (!stopping_ && received.size() < kRequestLimit) {
        if (headerEnd != std::string::npos && received.size() >= headerEnd + 4 + ContentLength(received.substr(0, headerEnd)))
            break;
        pollfd waiting{connection, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
        const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        received.append(chunk, static_cast<std::size_t>(got));
        if (headerEnd == std::string::npos) headerEnd = received.find("\r\n\r\n");
    }
    if (headerEnd == std::string::npos) {
        ::close(connection);
        return;
    }

    Request request;
    request.headers = received.substr(0, headerEnd);
    request.body = received.substr(headerEnd + 4);
    const auto firstBlank = request.headers.find(' ');
    request.method = request.headers.substr(0, firstBlank);
    request.target = request.headers.substr(firstBlank + 1, request.headers.find(' ', firstBlank + 1) - firstBlank - 1);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    const Reply reply = handler_(request);
    if (reply.silent) {
        heldConnections_.push_back(connection);
        return;
    }
    const std::string response = "HTTP/1.1 " + std::to_string(reply.status) + " Answer\r\nContent-Type: text/plain\r\n"
                                 "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n" +
                                 reply.body;
    for (std::size_t sent = 0; sent < response.size();) {
        const ssize_t wrote = ::send(connection, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
        if (wrote <= 0) break;
        sent += static_cast<std::size_t>(wrote);
    }
    ::close(connection);
}

int UnusedLoopbackPort()
{
    const LoopbackHttpServer closed([](const auto&) { return LoopbackHttpServer::Reply{}; });
    return closed.port();   // nothing listens there once it is gone
}

}  // namespace velmora::test
