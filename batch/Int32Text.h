#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The value of `text` when it is a decimal integer (an optional sign, then one
// or more digits, nothing else) that fits in 32 bits; otherwise nothing.
std::optional<std::int32_t> ParseInt32(std::string_view text);
