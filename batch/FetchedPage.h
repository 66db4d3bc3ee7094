#pragma once

#include <cstddef>

// The most of a body that is kept; a longer body is cut here.
inline constexpr std::size_t kMaxPageBytes = 2'097'152;

// How one fetch ended, for the run to count; the body itself went to a PageSink.
struct FetchedPage {
    bool failed = false;   // bad address, refused scheme, no connection, transfer error, time-out or a sink that refused
    bool cut = false;      // the body was longer than kMaxPageBytes and was cut there
    long httpStatus = 0;   // the final response's status, 0 when there was none
};
