#include "WindowsFileAttributes.h"

#include <windows.h>

#include "TempDir.h"

unsigned long FileAttributesOf(const std::string& path)
{
    return GetFileAttributesW(PathFromUtf8(path).wstring().c_str());
}

bool SetFileAttributesOf(const std::string& path, unsigned long attributes)
{
    return SetFileAttributesW(PathFromUtf8(path).wstring().c_str(), attributes) != 0;
}
