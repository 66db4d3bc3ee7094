#include "Profile.h"

#include "ProfileText.h"
#include "StoredText.h"
#include "WholeFile.h"

#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace {

std::string_view TrimTrailingBlanks(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimLeadingBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

} // namespace

unsigned GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                  char* returned, unsigned size, const char* fileName)
{
    if (returned == nullptr || size == 0)
        return 0;

    std::optional<std::string> value;
    try {
        if (section != nullptr && key != nullptr && fileName != nullptr) {
            if (auto text = ReadWholeFile(fileName))
                value = FindProfileValue(*text, section, key);
        }
    } catch (const std::exception&) {  // out of memory: as if the file could not be read
        value.reset();
    }
    std::string_view result = value ? std::string_view(*value)
                                    : TrimTrailingBlanks(defaultValue ? defaultValue : "");

    std::size_t length = StoredCutLength(result, size - 1);
    std::memcpy(returned, result.data(), length);
    returned[length] = '\0';
    return static_cast<unsigned>(length);
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName)
{
    if (section == nullptr || key == nullptr || value == nullptr || fileName == nullptr)
        return false;
    if (!CanStoreInProfile(section, key, value))
        return false;

    std::string_view stored = TrimLeadingBlanks(value);
    try {
        return UpdateWholeFile(fileName, [&](std::string& text) {
            SetProfileValue(text, section, key, stored);
        });
    } catch (const std::exception&) {  // out of memory: nothing was replaced
        return false;
    }
}
