#include "StoredText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "Platform.h"

namespace {

#ifdef _WIN32
// Wine runs the tests in a Chinese locale, as users' systems are set up;
// every GBK case below relies on it.
TEST(StoredText, TheAnsiCodePageIsGbk)
{
    EXPECT_EQ(GetACP(), 936u);
}
#endif

TEST(StoredText, ConvertsToAndFromTheFilesEncoding)
{
    struct Case {
        std::string text;
        std::optional<std::string> stored;  // nothing: no stored form
    };
#ifdef _WIN32
    const Case cases[] = {
        {"", ""},
        {"plain ASCII", "plain ASCII"},
        {"页面", "\xD2\xB3\xC3\xE6"},
        {"é", "\xA8\xA6"},
        {"\xE2\x82\xAC", "\x80"},       // the euro sign, one byte in code page 936
        {"\xC3\x80", std::nullopt},      // À: a best fit only
        {"\xE0\xB8\x81", std::nullopt},  // Thai
        {"caf\xE9", std::nullopt},       // not UTF-8
        {std::string("ab\0cd", 5), "ab"},  // a fixed field ends at a zero byte
    };
#else
    const Case cases[] = {
        {"", ""},
        {"页面", "页面"},
        {"caf\xE9", "caf\xE9"},  // bytes are kept as they are
        {std::string("ab\0cd", 5), std::string("ab\0cd", 5)},
    };
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ToStoredText(c.text), c.stored);
        if (c.stored && c.stored->find('\0') == std::string::npos) {
            EXPECT_EQ(FromStoredText(*c.stored), c.text.substr(0, c.text.find('\0')));
        }
    }
}

TEST(StoredText, CutsNeverSplitACharacter)
{
    struct Case {
        std::string stored;
        std::size_t maxBytes;
        std::size_t length;
    };
#ifdef _WIN32
    const Case cases[] = {
        {"a\xD2\xB3\xC3\xE6", 5, 5},
        {"a\xD2\xB3\xC3\xE6", 4, 3},
        {"a\xD2\xB3\xC3\xE6", 2, 1},
        {"\xD2\xB3" "a\xD2\xB3", 4, 3},
        // A trail byte may look like a lead byte: only walking from the start tells.
        {"\xD2\xD2\xD2\xD2", 3, 2},
    };
#else
    const Case cases[] = {
        {"a页面", 7, 7},
        {"a页面", 6, 4},
        {"a页面", 3, 1},
        {"\xE9\xE9\xE9", 2, 2},
    };
#endif
    for (const Case& c : cases)
        EXPECT_EQ(StoredCutLength(c.stored, c.maxBytes), c.length) << c.stored << " in " << c.maxBytes;
}

}  // namespace
