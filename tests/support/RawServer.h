#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A TCP server on 127.0.0.1 at a free port that hands every connection to a
// handler of the test's own, for replies no HTTP library would send. It runs
// on Linux and on Windows (Winsock), so both platforms face the same servers.
class RawServer {
public:
    // Gets the connected socket (a Windows socket handle fits in an int); the
    // server closes it when the handler returns.
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
    std::string ReadRequestHead(int socket) const;

    // Reads one byte; returns false when the peer has gone, the read failed
    // or the server is shutting down. Waiting clients do not hold up the
    // shutdown: WinINet keeps idle connections open for a minute.
    bool ReceiveByte(int socket, char& byte) const;

    // The port the peer of `socket` sends from.
    static int PeerPort(int socket);

    // Whether `socket` has something to read (or has been closed) within `milliseconds`.
    static bool WaitReadable(int socket, int milliseconds);

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
