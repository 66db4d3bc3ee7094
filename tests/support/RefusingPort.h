#pragma once

#include <string>

// A loopback port that is taken but not listening, so every connection to it
// is refused, for as long as the object lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    // "http://127.0.0.1:PORT" followed by `path`.
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    int socket_ = -1;
    int port_ = 0;
};
