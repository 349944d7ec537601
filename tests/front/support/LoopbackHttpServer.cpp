#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace velmora::test {
namespace {

int BindLoopback(int& port)
{
    const int socketFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0) throw std::runtime_error("no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socketFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(socketFd);
        throw std::runtime_error("cannot bind a loopback port");
    }
    port = ntohs(address.sin_port);
    return socketFd;
}

bool Readable(int fd, int milliseconds)
{
    pollfd waiting{fd, POLLIN, 0};
    return ::poll(&waiting, 1, milliseconds) > 0;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::string rawResponse, bool answer, std::chrono::seconds lifetime)
    : response_(std::move(rawResponse)), answer_(answer)
{
    listener_ = BindLoopback(port_);
    ::listen(listener_, 8);
    thread_ = std::thread([this, end = std::chrono::steady_clock::now() + lifetime] { Serve(end); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::vector<std::string> LoopbackHttpServer::Requests() const
{
    std::lock_guard guard(lock_);
    return requests_;
}

std::string LoopbackHttpServer::Response(int status, const std::string& body)
{
    return "HTTP/1.1 " + std::to_string(status) + " Whatever\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

void LoopbackHttpServer::Serve(std::chrono::steady_clock::time_point end)
{
    std::vector<int> silentClients;
    while (!stop_ && std::chrono::steady_clock::now() < end) {
        if (!Readable(listener_, 50)) continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && Readable(client, 2000)) {
            const ssize_t got = ::read(client, buffer, sizeof buffer);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        {
            std::lock_guard guard(lock_);
            requests_.push_back(request);
        }
        if (!answer_) {
            silentClients.push_back(client);
            continue;
        }
        std::size_t sent = 0;
        while (sent < response_.size()) {
            const ssize_t wrote = ::send(client, response_.data() + sent, response_.size() - sent, MSG_NOSIGNAL);
            if (wrote <= 0) break;
            sent += static_cast<std::size_t>(wrote);
        }
        ::close(client);
    }
    for (const int client : silentClients) ::close(client);
}

int UnusedLoopbackPort()
{
    int port = 0;
    ::close(BindLoopback(port));
    return port;
}

}  // namespace velmora::test
