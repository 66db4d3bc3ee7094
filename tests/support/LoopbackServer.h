#pragma once

#ifdef _WIN32
#include "MiniHttp.h"
#else
#include <httplib.h>
#endif

#include <string>
#include <thread>

// An HTTP server on 127.0.0.1 at a free port, serving on its own thread for
// the life of the object. Register handlers on server() before start().
class LoopbackServer {
public:
    LoopbackServer() = default;
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    httplib::Server& server() { return server_; }

    // Binds a free port and starts serving; connections made from then on are served.
    void start();

    int port() const { return port_; }

    // "http://127.0.0.1:PORT" followed by `path`.
    std::string url(const std::string& path) const;

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};
