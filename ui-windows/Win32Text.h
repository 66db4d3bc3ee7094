#pragma once

#include <string>
#include <string_view>

// Windows speaks UTF-16 through its W functions; the engine speaks UTF-8.
// Text crosses between them here, losslessly for any valid text.

// `utf8` as UTF-16; an invalid byte becomes U+FFFD.
std::wstring Widen(std::string_view utf8);

// `wide` as UTF-8; a lone surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view wide);
