#pragma once

#include <filesystem>

// Makes `directory` the current directory for the life of the object.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::filesystem::path& directory)
        : previous_(std::filesystem::current_path())
    {
        std::filesystem::current_path(directory);
    }
    ~ScopedCurrentDirectory() { std::filesystem::current_path(previous_); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::filesystem::path previous_;
};
