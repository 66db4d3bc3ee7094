#pragma once

#include <cstddef>
#include <string>

// The most of a body that is kept; a longer body is cut here.
inline constexpr std::size_t kMaxPageBytes = 2'097'152;

// What one fetch brought back, for the run to write and to count.
struct FetchedPage {
    std::string body;      // the bytes as the server sent them; empty when failed
    bool failed = false;   // bad address, refused scheme, no connection, transfer error or time-out
    bool cut = false;      // the body was longer than kMaxPageBytes and was cut there
    long httpStatus = 0;   // the final response's status, 0 when there was none
};
