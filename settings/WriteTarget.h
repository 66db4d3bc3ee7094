#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

// The file a write to some path lands in: the path itself, or the end of the
// chain of symbolic links at it, as opening the path for writing would go.
struct WriteTarget {
    std::string path;     // the file itself, never a link
    bool exists = false;  // false for a missing file, a dangling link's target included
    struct stat info {};  // what lstat said of `path`, when it exists
};

// Follows the symbolic links at `path` to the file a write would land in.
// Relative link texts count from the link's own directory. Nothing when the
// chain loops, runs too long, or cannot be read.
std::optional<WriteTarget> FindWriteTarget(std::string path);

// Whether this user may replace the existing file or directory `path`
// described by `info`. A file with no write bit at all is read-only even for
// root, who would otherwise write anything.
bool MayWrite(const std::string& path, const struct stat& info);
