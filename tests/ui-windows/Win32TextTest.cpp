#include "Win32Text.h"

#include "Utf16.h"

#include <gtest/gtest.h>

TEST(Win32Text, RoundTripsTextOfEveryPlane)
{
    const std::string cases[] = {
        "",
        "Quellory",
        "文件生成完毕！",
        "C:\\MyPath\\页",
        "emoji \xF0\x9F\x98\x80 beyond the BMP",
        std::string("a\0b", 3),
    };
    for (const std::string& text : cases)
        EXPECT_EQ(FromUtf16(Widen(text)), text) << text;
}

TEST(Win32Text, WidensToUtf16)
{
    EXPECT_EQ(Widen("页"), L"\u9875");
    EXPECT_EQ(Widen("\xF0\x9F\x98\x80"), L"\xD83D\xDE00");
}

TEST(Win32Text, BrokenUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(Widen("a\xFF" "b"), L"a\uFFFDb");
}
