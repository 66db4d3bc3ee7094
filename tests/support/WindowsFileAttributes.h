#pragma once

#include <string>

// A file's Windows attributes, for tests that must not see windows.h (whose
// profile calls share their names with the program's). Windows only.
inline constexpr unsigned long kAttributeReadOnly = 0x1;
inline constexpr unsigned long kAttributeHidden = 0x2;
inline constexpr unsigned long kAttributeArchive = 0x20;

// The attributes of the file at `path` (UTF-8), or ~0 when it has none.
unsigned long FileAttributesOf(const std::string& path);

// Sets the attributes of the file at `path`; returns whether that worked.
bool SetFileAttributesOf(const std::string& path, unsigned long attributes);
