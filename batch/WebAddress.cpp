#include "WebAddress.h"

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view start)
{
    if (text.size() < start.size())
        return false;
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (LowerAscii(text[i]) != start[i])
            return false;
    }
    return true;
}

}  // namespace

std::string AddressToSend(std::string_view address)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!address.empty() && isBlank(address.front()))
        address.remove_prefix(1);
    while (!address.empty() && isBlank(address.back()))
        address.remove_suffix(1);
    std::string sent;
    sent.reserve(address.size());
    for (const char c : address) {
        if (c == ' ')
            sent += "%20";
        else
            sent += c;
    }
    return sent;
}

bool NamesWebScheme(std::string_view address)
{
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}
