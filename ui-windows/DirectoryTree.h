#pragma once

#include <string>
#include <vector>

// Windows paths taken apart and read for the directory list; no windows involved.

// The root `path` starts with ("C:\", or "\\server\share\" for a network
// path), or empty when it has none.
std::wstring PathRoot(const std::wstring& path);

// The names of the levels below the root of `path`, in order.
std::vector<std::wstring> PathLevels(const std::wstring& path);

// `name` inside `directory`.
std::wstring ChildPath(const std::wstring& directory, const std::wstring& name);

// The subdirectories of `directory` that are not hidden, sorted as Explorer
// sorts names; none if it cannot be read.
std::vector<std::wstring> SubdirectoryNames(const std::wstring& directory);

// `path` if it is a directory, else the nearest level above it that is; the
// empty text if not even its root is there.
std::wstring NearestExistingDirectory(std::wstring path);

// The process's current directory, with no trailing "\" except at a root.
std::wstring CurrentDirectory();
