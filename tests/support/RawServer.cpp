#include "RawServer.h"
#include "RefusingPort.h"

#include <algorithm>
#include <stdexcept>

// The one place where the tests' sockets differ between Linux and Windows.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

using NativeSocket = SOCKET;
constexpr int kSendFlags = 0;

NativeSocket Native(int socket)
{
    return static_cast<NativeSocket>(socket);
}

// Windows socket handles fit in 32 bits, as the system promises for sharing
// them with 32-bit programs.
int Portable(NativeSocket socket)
{
    return socket == INVALID_SOCKET ? -1 : static_cast<int>(socket);
}

int PollOne(int socket, int milliseconds)
{
    WSAPOLLFD waiting{Native(socket), POLLRDNORM, 0};
    return WSAPoll(&waiting, 1, milliseconds);
}

void CloseSocket(int socket)
{
    closesocket(Native(socket));
}

int OpenListener()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started ? Portable(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) : -1;
}

int AcceptOn(int listener)
{
    return Portable(accept(Native(listener), nullptr, nullptr));
}

}  // namespace
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using NativeSocket = int;
constexpr int kSendFlags = MSG_NOSIGNAL;

NativeSocket Native(int socket)
{
    return socket;
}

int PollOne(int socket, int milliseconds)
{
    pollfd waiting{socket, POLLIN, 0};
    return poll(&waiting, 1, milliseconds);
}

void CloseSocket(int socket)
{
    close(socket);
}

int OpenListener()
{
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

int AcceptOn(int listener)
{
    return accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

}  // namespace
#endif

namespace {

// Binds `socket` to a free loopback port; returns the port, or 0.
int BindLoopback(int socket)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (socket < 0 || bind(Native(socket), reinterpret_cast<sockaddr*>(&address), length) != 0
        || getsockname(Native(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

}  // namespace

RawServer::RawServer(Handler handler) : handler_(std::move(handler))
{
    listener_ = OpenListener();
    port_ = BindLoopback(listener_);
    if (port_ == 0 || listen(Native(listener_), 64) != 0)
        throw std::runtime_error("cannot listen on a loopback port");
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

RawServer::~RawServer()
{
    stopping_ = true;
    acceptor_.join();
    CloseSocket(listener_);
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
        if (PollOne(listener_, 20) <= 0)
            continue;
        const int connection = AcceptOn(listener_);
        if (connection < 0)
            continue;
        std::lock_guard lock(connectionsMutex_);
        connections_.emplace_back([this, connection] {
            handler_(connection, *this);
            CloseSocket(connection);
        });
    }
}

std::string RawServer::ReadRequestHead(int socket) const
{
    std::string head;
    char byte;
    while (head.find("\r\n\r\n") == std::string::npos && ReceiveByte(socket, byte))
        head += byte;
    return head;
}

bool RawServer::ReceiveByte(int socket, char& byte) const
{
    while (!WaitReadable(socket, 20)) {
        if (stopping_)
            return false;
    }
    return recv(Native(socket), &byte, 1, 0) == 1;
}

int RawServer::PeerPort(int socket)
{
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (getpeername(Native(socket), reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return 0;
    return ntohs(peer.sin_port);
}

bool RawServer::WaitReadable(int socket, int milliseconds)
{
    return PollOne(socket, milliseconds) > 0;
}

bool RawServer::SendAll(int socket, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const std::size_t chunk = std::min<std::size_t>(bytes.size() - sent, 1 << 30);
        const auto n = send(Native(socket), bytes.data() + sent, static_cast<int>(chunk), kSendFlags);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void RawServer::Reset(int socket)
{
    linger hard{1, 0};
    setsockopt(Native(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
}

RefusingPort::RefusingPort() : socket_(OpenListener()), port_(BindLoopback(socket_))
{
    if (port_ == 0)
        throw std::runtime_error("cannot take a loopback port");
}

RefusingPort::~RefusingPort()
{
    CloseSocket(socket_);
}
