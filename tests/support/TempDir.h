#pragma once

#include <filesystem>
#include <string>

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // `name` inside the directory, as a string.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// The whole content of a file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Replaces the file at `path` with `bytes`.
void WriteFileBytes(const std::string& path, const std::string& bytes);
