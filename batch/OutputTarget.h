#pragma once

#include <optional>
#include <string>

#include "NativeFile.h"

// The file a page's output replaces, as the file system sees it.
struct OutputTarget {
    std::string path;             // absolute, at the end of any symbolic links
    bool exists = false;          // false for a missing file, a dangling link's target included
    unsigned long keptMode = 0;   // Linux: the permission bits a replacement takes over
};

// The file a write to the absolute `path` lands in; nothing when an existing
// file there may not be replaced: no regular file, or one this user may not
// write (no write bit at all, even for root; the read-only attribute on Windows).
std::optional<OutputTarget> FindOutputTarget(const std::string& path);

// Gives the new `file` what the file it replaces had, as rewriting that file
// in place would have kept it: its permission bits on Linux. On Windows the
// rename into place does this, since the new file stays hidden until then.
void KeepModeOf(const OutputTarget& target, const NativeFile& file);

// Whether a regular file (not a directory) is at `path`.
bool RegularFileExists(const std::string& path);
