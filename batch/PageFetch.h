#pragma once

#include <chrono>
#include <string>

#include "FetchedPage.h"
#include "PageSink.h"

// The network client's own patience: how long to wait for a connection, and
// for the next byte of a transfer that has gone quiet.
struct FetchTimeouts {
    std::chrono::milliseconds connect{std::chrono::seconds(60)};
    std::chrono::seconds silence{60};
};

// Sets up the network library; call once at start-up, before any thread starts.
void InitPageFetch();

// One run's connection to the network: a keep-alive connection may be reused
// from one page to the next, nothing else survives a page. Use it on one
// thread only.
class FetchSession {
public:
    explicit FetchSession(FetchTimeouts timeouts = {});
    ~FetchSession();
    FetchSession(const FetchSession&) = delete;
    FetchSession& operator=(const FetchSession&) = delete;

    // The network client's handle: a libcurl easy handle on Linux, the
    // WinINet internet handle on Windows.
    void* handle() const { return handle_; }
    const FetchTimeouts& timeouts() const { return timeouts_; }

private:
    void* handle_;
    FetchTimeouts timeouts_;
};

// Fetches `address` (http or https, redirects followed), handing the final
// response's body to `sink` as it arrives, at most kMaxPageBytes of it; `page`
// says how the fetch ended. The address goes out as a browser sends a typed
// one: spaces and tabs around it dropped, each space inside as "%20", nothing
// else changed. A failed fetch may already have handed part of a body over:
// the sink's owner throws it away.
void FetchPage(FetchSession& session, const std::string& address, PageSink& sink,
               FetchedPage& page);
