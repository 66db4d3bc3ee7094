#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text crosses to the Windows API in UTF-16, through the W functions, so that
// any name works whatever the ANSI code page holds. Windows only.

// `utf8` in UTF-16, or nothing when it is not valid UTF-8 or holds a zero
// byte (the system would read only up to it).
std::optional<std::wstring> ToUtf16(std::string_view utf8);

// `utf16` in UTF-8; a lone surrogate becomes U+FFFD.
std::string FromUtf16(std::wstring_view utf16);
