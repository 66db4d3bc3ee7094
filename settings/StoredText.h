#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The settings file keeps its text in the system's 8-bit form: the ANSI code
// page on Windows (GBK, code page 936, on Chinese systems), and UTF-8 on
// Linux, where the bytes are kept as they are. Inside the program text is
// UTF-8; it crosses between the two forms here, at the file's edge.

// `text` in the stored form, or nothing when a character has no form there
// (a stand-in such as "?" would silently change what the user typed).
std::optional<std::string> ToStoredText(std::string_view text);

// Stored text as the program's own text.
std::string FromStoredText(std::string_view stored);

// The length of the longest start of the stored text `stored` that is at
// most `maxBytes` long and does not end in the middle of a character.
std::size_t StoredCutLength(std::string_view stored, std::size_t maxBytes);
