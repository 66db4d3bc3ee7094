#include "ExecutablePath.h"

#include <windows.h>

#include <vector>

#include "Utf16.h"

std::string ExecutablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        // A full buffer means a cut path: try again with more room.
        if (length < buffer.size())
            return FromUtf16(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}
