#include "Utf8Cut.h"

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

std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t cut = maxBytes;
    while (cut > 0 && maxBytes - cut < kMaxContinuationBytes && IsContinuationByte(text[cut]))
        --cut;
    return cut;
}
