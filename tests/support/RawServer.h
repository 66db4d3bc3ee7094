#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A TCP server on 127.0.0.1 at a free port that hands every connection to a
// handler of the test's own, for replies no HTTP library would send.
class RawServer {
public:
    // Gets the connected socket; the server closes it when the handler returns.
    using Handler = std::function<void(int socket, RawServer& server)>;

    explicit RawServer(Handler handler);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int port() const { return port_; }

    // "http://127.0.0.1:PORT" followed by `path`.
    std::string url(const std::string& path) const;

    // True once the server is shutting down; long-running handlers poll it.
    bool stopping() const { return stopping_; }

    // Reads the request head (up to the blank line) from `socket`.
    static std::string ReadRequestHead(int socket);

    // Sends all of `bytes`; returns false when the peer has gone.
    static bool SendAll(int socket, const std::string& bytes);

    // Closes `socket` with a reset instead of an orderly end.
    static void Reset(int socket);

private:
    void AcceptLoop();

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::mutex connectionsMutex_;
    std::vector<std::thread> connections_;
};
