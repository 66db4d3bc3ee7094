#include "StoredText.h"

#include <windows.h>

#include "Utf16.h"

std::optional<std::string> ToStoredText(std::string_view text)
{
    // A fixed field ends its text at a zero byte, on every platform.
    text = text.substr(0, text.find('\0'));
    const auto wide = ToUtf16(text);
    if (!wide)
        return std::nullopt;
    if (wide->empty())
        return std::string();
    const int size = static_cast<int>(wide->size());
    // No best fit: "é" must not quietly become "e" in a code page without it.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, flags, wide->data(), size, nullptr, 0, nullptr,
                                           &usedDefault);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string stored(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide->data(), size, stored.data(), length, nullptr,
                        &usedDefault);
    if (usedDefault)
        return std::nullopt;
    return stored;
}

std::string FromStoredText(std::string_view stored)
{
    if (stored.empty())
        return {};
    const int size = static_cast<int>(stored.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, stored.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, stored.data(), size, wide.data(), length);
    return FromUtf16(wide);
}

std::size_t StoredCutLength(std::string_view stored, std::size_t maxBytes)
{
    if (stored.size() <= maxBytes)
        return stored.size();
    // Walk whole characters: a lead byte of a double-byte character takes its
    // trail byte with it, so the cut never falls between the two.
    std::size_t cut = 0;
    while (cut < maxBytes) {
        const bool lead = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(stored[cut]));
        const std::size_t width = lead ? 2 : 1;
        if (cut + width > maxBytes)
            break;
        cut += width;
    }
    return cut;
}
