#include "RawServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

RawServer::RawServer(Handler handler) : handler_(std::move(handler))
{
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0
        || listen(listener_, 64) != 0
        || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on a loopback port");
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

RawServer::~RawServer()
{
    stopping_ = true;
    acceptor_.join();
    close(listener_);
    std::lock_guard lock(connectionsMutex_);
    for (auto& connection : connections_)
        connection.join();
}

std::string RawServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void RawServer::AcceptLoop()
{
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, 20) <= 0)
            continue;
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        std::lock_guard lock(connectionsMutex_);
        connections_.emplace_back([this, connection] {
            handler_(connection, *this);
            close(connection);
        });
    }
}

std::string RawServer::ReadRequestHead(int socket)
{
    std::string head;
    char byte;
    while (head.find("\r\n\r\n") == std::string::npos && recv(socket, &byte, 1, 0) == 1)
        head += byte;
    return head;
}

bool RawServer::SendAll(int socket, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void RawServer::Reset(int socket)
{
    linger hard{1, 0};
    setsockopt(socket, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
}
