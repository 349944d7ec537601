#include "LoopbackHttpServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora::test {
namespace {

// Waits briefly only, so that a stop is noticed soon.
bool Readable(int socket)
{
    pollfd waiting{socket, POLLIN, 0};
    return ::poll(&waiting, 1, 50) > 0;
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
    thread_ = std::thread([this, end = std::chrono::steady_clock::now() + std::chrono::minutes(2)] {
        while (!stopping_ && std::chrono::steady_clock::now() < end)
            if (const int connection = Readable(listener_) ? ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC) : -1;
                connection >= 0)
                Answer(connection);
    });
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

void LoopbackHttpServer::Answer(int connection)
{
    // The headers, then as much body as they announce, a megabyte at the most.
    std::string received, lower;
    std::size_t headerEnd = std::string::npos, wanted = 1 << 20;
    char chunk[4096];
    for (ssize_t got = 0; !stopping_ && received.size() < wanted;) {
        if (!Readable(connection)) continue;
        if ((got = ::recv(connection, chunk, sizeof chunk, 0)) <= 0) break;
        received.append(chunk, static_cast<std::size_t>(got));
        if (headerEnd != std::string::npos || (headerEnd = received.find("\r\n\r\n")) == std::string::npos) continue;
        for (std::size_t at = 0; at < headerEnd; ++at) lower += static_cast<char>(std::tolower(received[at] & 0xFF));
        const auto at = lower.find("content-length:");
        wanted = std::min(wanted, headerEnd + 4 + (at == std::string::npos ? 0 : std::stoul(lower.substr(at + 15))));
    }
    if (headerEnd == std::string::npos) return static_cast<void>(::close(connection));

    Request request{{}, {}, received.substr(0, headerEnd), received.substr(headerEnd + 4)};
    const auto blank = request.headers.find(' ');
    request.method = request.headers.substr(0, blank);
    request.target = request.headers.substr(blank + 1, request.headers.find(' ', blank + 1) - blank - 1);
    std::unique_lock lock(mutex_);
    requests_.push_back(request);
    lock.unlock();
    const Reply reply = handler_(request);
    if (reply.silent) return heldConnections_.push_back(connection);
    const std::string response = "HTTP/1.1 " + std::to_string(reply.status) + " Answer\r\nContent-Type: text/plain\r\n"
                                 "Content-Length: " + std::to_string(reply.body.size()) +
                                 "\r\nConnection: close\r\n" + reply.headers + "\r\n" + reply.body;
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
