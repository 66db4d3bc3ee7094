#pragma once

#include <functional>
#include <optional>
#include <string>

// The whole content of the file at `path`, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file at `path` with `change` applied to its current content
// (empty when the file is missing), through a temporary file renamed over it,
// while holding off every other writer using this function in any thread or
// process. Returns false, leaving the file and its directory as they were,
// when the directory is missing or read-only or the file cannot be rewritten.
bool UpdateWholeFile(const std::string& path,
                     const std::function<std::string(const std::string&)>& change);
