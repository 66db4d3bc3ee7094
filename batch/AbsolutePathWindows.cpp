#include "AbsolutePath.h"

#include <windows.h>

#include "Utf16.h"

std::string AbsolutePath(std::string path)
{
    const auto wide = ToUtf16(path);
    if (!wide || wide->empty())
        return path;
    const DWORD size = GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring absolute(size, L'\0');
    const DWORD length = GetFullPathNameW(wide->c_str(), size, absolute.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    absolute.resize(length);
    return FromUtf16(absolute);
}
