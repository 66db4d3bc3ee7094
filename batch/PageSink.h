#pragma once

#include <string_view>

// Where a page's body goes, piece by piece, as it arrives.
class PageSink {
public:
    virtual ~PageSink() = default;

    // Takes the next piece of the body; returning false ends the fetch as failed.
    virtual bool Take(std::string_view bytes) = 0;
};
