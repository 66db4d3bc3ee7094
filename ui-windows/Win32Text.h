#pragma once

#include <string>
#include <string_view>

// Controls speak UTF-16 through the W functions; the engine speaks UTF-8.
// Text on its way back to the engine goes through FromUtf16 (Utf16.h).

// `utf8` as UTF-16 for a control to show; an invalid byte becomes U+FFFD, so
// whatever the engine hands over can be shown.
std::wstring Widen(std::string_view utf8);
