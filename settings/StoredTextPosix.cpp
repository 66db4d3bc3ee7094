#include "StoredText.h"

namespace {

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// A UTF-8 character is at most four bytes, so at most three continuation
// bytes can follow the cut; looking further back would only chew into text
// that is not UTF-8 at all.
constexpr std::size_t kMaxContinuationBytes = 3;

} // namespace

std::optional<std::string> ToStoredText(std::string_view text)
{
    return std::string(text);
}

std::string FromStoredText(std::string_view stored)
{
    return std::string(stored);
}

std::size_t StoredCutLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t cut = maxBytes;
    while (cut > 0 && maxBytes - cut < kMaxContinuationBytes && IsContinuationByte(text[cut]))
        --cut;
    return cut;
}
