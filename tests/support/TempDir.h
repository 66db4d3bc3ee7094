#pragma once

#include <cstdint>
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

    // `name` (UTF-8) inside the directory, as the program's UTF-8 text.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// A path from the program's UTF-8 text, and back: the program's text is UTF-8
// on every platform, a path's narrow form is not.
std::filesystem::path PathFromUtf8(const std::string& text);
std::string Utf8FromPath(const std::filesystem::path& path);

// The whole content of a file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Sets the size of the file at `path`; a file grown this way takes no room on
// disk. Returns whether that worked.
bool ResizeFile(const std::string& path, std::uintmax_t size);

// Replaces the file at `path` with `bytes`.
void WriteFileBytes(const std::string& path, const std::string& bytes);
