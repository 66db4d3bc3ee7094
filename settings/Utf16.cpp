#include "Utf16.h"

#include <windows.h>

std::optional<std::wstring> ToUtf16(std::string_view utf8)
{
    if (utf8.find('\0') != std::string_view::npos)
        return std::nullopt;
    if (utf8.empty())
        return std::wstring();
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string FromUtf16(std::wstring_view utf16)
{
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}
