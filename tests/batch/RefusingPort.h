#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

// A loopback port that is taken but not listening, so every connection to it
// is refused, for as long as the object lives.
class RefusingPort {
public:
    RefusingPort() : socket_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (socket_ < 0 || bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0
            || getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("cannot take a loopback port");
        port_ = ntohs(address.sin_port);
    }
    ~RefusingPort() { close(socket_); }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    // "http://127.0.0.1:PORT" followed by `path`.
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    int socket_;
    int port_ = 0;
};
