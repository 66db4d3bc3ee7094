#include "LoopbackServer.h"

#include <chrono>
#include <stdexcept>

LoopbackServer::~LoopbackServer()
{
    server_.stop();
    if (thread_.joinable())
        thread_.join();
}

void LoopbackServer::start()
{
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0)
        throw std::runtime_error("cannot bind a loopback port");
    // The socket already listens, so connections made before the thread
    // reaches accept() wait in the backlog.
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() does nothing to a server that is not running yet, so a test
    // that ends at once would leave the thread listening and the join hanging.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!server_.is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
}

std::string LoopbackServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}
