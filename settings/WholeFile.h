#pragma once

#include <functional>
#include <optional>
#include <string>

// The whole content of the regular file at `path`, or nothing when it is no
// regular file or cannot be read whole (too large to hold, or a read error).
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file at `path` (or at the end of the symbolic links there) with
// its current content (empty when the file is missing) as `change` edits it in
// place, through a temporary file renamed over it, while holding off every
// other writer using this function in any thread or process. Returns false,
// leaving the file and its directory as they were, when the directory is
// missing or read-only or the file cannot be read whole or rewritten.
bool UpdateWholeFile(const std::string& path,
                     const std::function<void(std::string&)>& change);
