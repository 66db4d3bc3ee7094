#pragma once

#include <cstddef>
#include <string_view>

// The length of the longest start of `text` that is at most `maxBytes` long
// and does not end in the middle of a UTF-8 character.
std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes);
