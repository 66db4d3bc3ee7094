#include "PublicFunction.h"

#include "Profile.h"
#include "StoredText.h"

#include <cstring>

namespace {

// Sizes of the fixed fields every text passes through on its way to the
// profile service; stored files rely on these limits.
constexpr int kNameFieldSize = 256;
constexpr int kValueFieldSize = 1024;
constexpr unsigned kReadSize = 1023;

} // namespace

void ZeroFill(char* buffer, int count)
{
    if (count > 0)
        std::memset(buffer, 0, static_cast<std::size_t>(count));
}

void StrToBuffer(const std::string& text, char* buffer, int maxLen)
{
    std::size_t length = StoredCutLength(text, maxLen > 0 ? static_cast<std::size_t>(maxLen) : 0);
    ZeroFill(buffer, static_cast<int>(length) + 1);
    std::memcpy(buffer, text.data(), length);
}

std::string ReadIniStr(std::string section, std::string key, std::string defaultValue,
                       std::string fileName)
{
    const auto storedSection = ToStoredText(section);
    const auto storedKey = ToStoredText(key);
    const auto storedDefault = ToStoredText(defaultValue);
    // A name the file cannot hold names nothing in it.
    if (!storedSection || !storedKey || !storedDefault)
        return defaultValue;
    char result[kValueFieldSize];
    char sectionField[kNameFieldSize];
    char keyField[kNameFieldSize];
    char defaultField[kNameFieldSize];
    ZeroFill(result, kValueFieldSize);
    StrToBuffer(*storedSection, sectionField, kNameFieldSize - 1);
    StrToBuffer(*storedKey, keyField, kNameFieldSize - 1);
    StrToBuffer(*storedDefault, defaultField, kNameFieldSize - 1);
    // The file name is passed whole: a cut path would name a different file.
    GetPrivateProfileStringA(sectionField, keyField, defaultField, result, kReadSize,
                             fileName.c_str());
    return FromStoredText(result);
}

bool WriteIniStr(std::string section, std::string key, std::string value, std::string fileName)
{
    const auto storedSection = ToStoredText(section);
    const auto storedKey = ToStoredText(key);
    const auto storedValue = ToStoredText(value);
    if (!storedSection || !storedKey || !storedValue)
        return false;
    char sectionField[kNameFieldSize];
    char keyField[kNameFieldSize];
    char valueField[kValueFieldSize];
    StrToBuffer(*storedSection, sectionField, kNameFieldSize - 1);
    StrToBuffer(*storedKey, keyField, kNameFieldSize - 1);
    StrToBuffer(*storedValue, valueField, kValueFieldSize - 1);
    return WritePrivateProfileStringA(sectionField, keyField, valueField, fileName.c_str());
}
