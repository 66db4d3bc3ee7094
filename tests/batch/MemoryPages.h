#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "FetchedPage.h"
#include "PageSink.h"

// A sink that keeps the whole body in memory, for a test to look at.
class StringSink : public PageSink {
public:
    bool Take(std::string_view bytes) override
    {
        body.append(bytes);
        return true;
    }

    std::string body;
};

// Answers a fetch from memory with status 200 and `body`, handed to `sink` in
// pieces as a network would; a sink that refuses fails the page, as it does a
// real fetch.
inline void ServeFromMemory(std::string_view body, PageSink& sink, FetchedPage& page)
{
    constexpr std::size_t kPieceBytes = 16 * 1024;
    page = FetchedPage{};
    page.httpStatus = 200;
    do {
        const std::string_view piece = body.substr(0, std::min(body.size(), kPieceBytes));
        if (!sink.Take(piece)) {
            page.failed = true;
            return;
        }
        body.remove_prefix(piece.size());
    } while (!body.empty());
}
