#include "DirectoryTree.h"

#include <windows.h>

#include <algorithm>

namespace {

bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The path one level up from `path`, which must be below its root.
std::wstring ParentPath(const std::wstring& path, const std::wstring& root)
{
    const std::size_t cut = path.find_last_of(L'\\');
    if (cut == std::wstring::npos || cut < root.size())
        return root;
    return path.substr(0, cut);
}

}  // namespace

std::wstring PathRoot(const std::wstring& path)
{
    if (path.rfind(L"\\\\", 0) == 0) {
        // \\server\share\ : the root ends after the share's name.
        const std::size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos)
            return {};
        const std::size_t share = path.find(L'\\', server + 1);
        return share == std::wstring::npos ? path + L"\\" : path.substr(0, share + 1);
    }
    if (path.size() >= 2 && path[1] == L':')
        return path.substr(0, 2) + L"\\";
    return {};
}

std::vector<std::wstring> PathLevels(const std::wstring& path)
{
    std::vector<std::wstring> levels;
    const std::wstring root = PathRoot(path);
    std::size_t start = std::min(root.size(), path.size());
    while (start < path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        if (end > start)
            levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

std::wstring ChildPath(const std::wstring& directory, const std::wstring& name)
{
    return directory.ends_with(L'\\') ? directory + name : directory + L"\\" + name;
}

std::vector<std::wstring> SubdirectoryNames(const std::wstring& directory)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(ChildPath(directory, L"*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchLimitToDirectories, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        const bool directoryEntry = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        const bool hidden = found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN;
        if (directoryEntry && !hidden && name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                               static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), nullptr,
                               nullptr, 0) == CSTR_LESS_THAN;
    });
    return names;
}

std::wstring NearestExistingDirectory(std::wstring path)
{
    const std::wstring root = PathRoot(path);
    while (!IsDirectory(path)) {
        if (path.size() <= root.size())
            return {};
        path = ParentPath(path, root);
    }
    return path;
}

std::wstring CurrentDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length);  // the size needed, with room for the terminating zero
    }
    if (path.size() > PathRoot(path).size() && path.ends_with(L'\\'))
        path.pop_back();
    return path;
}
