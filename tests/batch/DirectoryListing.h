#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// The names of the entries in `directory`, sorted; temporary files show up too.
inline std::vector<std::string> DirectoryListing(const std::filesystem::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
