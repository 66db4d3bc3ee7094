#pragma once

#include <optional>
#include <string>
#include <string_view>

// The meaning of profile (INI) text, as hand-edited files written for the
// Windows profile service expect it. Names match case-insensitively after
// trimming spaces and tabs; the first section and the first key win.

// The value of `key` in `section` of `text`, trimmed of spaces and tabs and of
// one pair of matching quotes, or nothing when the section or key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// Whether `section`, `key` and `value` can be written so that they read back
// as themselves: no line breaks, no "]" in the section, and a key without "="
// that does not start like a comment or a header.
bool CanStoreInProfile(std::string_view section, std::string_view key, std::string_view value);

// Sets `key` in `section` of `text` to `value` in place, every other byte
// kept: an existing key is replaced where it stands, a new key ends its
// section, a new section ends the text. The three must pass CanStoreInProfile.
void SetProfileValue(std::string& text, std::string_view section, std::string_view key,
                     std::string_view value);
