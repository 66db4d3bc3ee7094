#include "PageNames.h"

#include <cstddef>

#include "PathSeparator.h"

namespace {

constexpr std::size_t kPlaceholderLength = 5;  // "[-A-]"

bool IsPlaceholderAt(std::string_view text, std::size_t pos)
{
    return text.size() - pos >= kPlaceholderLength && text[pos] == '[' && text[pos + 1] == '-'
        && (text[pos + 2] == 'A' || text[pos + 2] == 'a') && text[pos + 3] == '-'
        && text[pos + 4] == ']';
}

// Characters, not bytes: a UTF-8 continuation byte does not start one.
std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

}  // namespace

std::string PageAddress(std::string_view pageTemplate, std::int64_t pageNumber)
{
    const std::string number = std::to_string(pageNumber);
    std::string address;
    address.reserve(pageTemplate.size() + number.size());
    std::size_t pos = 0;
    while (pos < pageTemplate.size()) {
        if (IsPlaceholderAt(pageTemplate, pos)) {
            address += number;
            pos += kPlaceholderLength;
        } else {
            address += pageTemplate[pos];
            ++pos;
        }
    }
    return address;
}

std::string CounterText(std::int64_t counter, std::string_view widthText)
{
    std::string text = std::to_string(counter);
    const std::size_t width = CharacterCount(widthText);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

std::string OutputPath(std::string_view directory, std::string_view stem,
                       std::string_view counterText, std::string_view suffix)
{
    std::string path;
    path.reserve(directory.size() + 1 + stem.size() + counterText.size() + suffix.size());
    path.append(directory).append(1, kPathSeparator).append(stem).append(counterText).append(suffix);
    return path;
}
