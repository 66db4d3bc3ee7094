#include "PublicFunction.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

TEST(ZeroFill, ClearsExactlyCountBytes)
{
    char buffer[6] = {'a', 'b', 'c', 'd', 'e', '\0'};
    ZeroFill(buffer, 0);
    ZeroFill(buffer, -3);
    EXPECT_STREQ(buffer, "abcde");
    ZeroFill(buffer + 1, 2);
    EXPECT_EQ(std::string(buffer, 5), std::string("a\0\0de", 5));
}

TEST(StrToBuffer, CopiesAtMostMaxLenBytesAndTerminates)
{
    struct Case {
        std::string text;
        int maxLen;
        std::string expected;
    };
    const Case cases[] = {
        {"abc", 5, "abc"},
        {"abcdef", 3, "abc"},
        {"abc", 3, "abc"},
        {"", 3, ""},
        {"abc", 0, ""},
        {"a中", 3, "a"},  // 中 takes bytes 2 to 4: cut before it
        {"a中", 4, "a中"},
        {"ab😀", 5, "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.maxLen));
        std::string buffer(16, '#');
        StrToBuffer(c.text, buffer.data(), c.maxLen);
        EXPECT_EQ(std::string(buffer.c_str()), c.expected);
        // Bytes after the terminator are not the routine's to touch.
        EXPECT_EQ(buffer.substr(c.expected.size() + 1), std::string(15 - c.expected.size(), '#'));
    }
}

class IniStrTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir.file("t.ini");
};

TEST_F(IniStrTest, LongTemplateIsStoredAs1023AndReadAs1022)
{
    std::string longText(1500, 'x');
    for (std::size_t i = 0; i < longText.size(); ++i)
        longText[i] = static_cast<char>('a' + i % 26);
    ASSERT_TRUE(WriteIniStr("Setting", "TargetPage", longText, file));
    EXPECT_EQ(ReadFileBytes(file), "[Setting]\nTargetPage=" + longText.substr(0, 1023) + "\n");
    EXPECT_EQ(ReadIniStr("Setting", "TargetPage", "", file), longText.substr(0, 1022));
}

TEST_F(IniStrTest, CutsAtTheFieldLimitsNeverSplitACharacter)
{
    // 1,022 + 3 bytes: 中 would straddle the write limit of 1,023.
    std::string written = std::string(1022, 'a') + "中";
    ASSERT_TRUE(WriteIniStr("S", "Key", written, file));
    EXPECT_EQ(ReadFileBytes(file), "[S]\nKey=" + std::string(1022, 'a') + "\n");

    // 1,021 + 2 bytes fit the write, but é would straddle the read limit of 1,022.
    std::string stored = std::string(1021, 'a') + "é";
    ASSERT_TRUE(WriteIniStr("S", "Key", stored, file));
    EXPECT_EQ(ReadFileBytes(file), "[S]\nKey=" + stored + "\n");
    EXPECT_EQ(ReadIniStr("S", "Key", "", file), std::string(1021, 'a'));
}

TEST_F(IniStrTest, NamesAndDefaultAreCutAt255)
{
    std::string longKey(300, 'k');
    ASSERT_TRUE(WriteIniStr("S", longKey, "v", file));
    EXPECT_EQ(ReadFileBytes(file), "[S]\n" + std::string(255, 'k') + "=v\n");
    // The same cut on reading finds it again.
    EXPECT_EQ(ReadIniStr("S", longKey, "d", file), "v");
    EXPECT_EQ(ReadIniStr("S", "missing", std::string(300, 'd'), file), std::string(255, 'd'));
}

TEST_F(IniStrTest, AFilePathLongerThan255IsUsedWhole)
{
    std::filesystem::path deep = dir.path();
    for (int i = 0; i < 6; ++i)
        deep /= std::string(50, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    std::string longFile = (deep / "Trovanix.ini").string();
    ASSERT_GT(longFile.size(), 255u);

    ASSERT_TRUE(WriteIniStr("S", "Key", "v", longFile));
    EXPECT_EQ(ReadFileBytes(longFile), "[S]\nKey=v\n");
    EXPECT_EQ(ReadIniStr("S", "Key", "d", longFile), "v");
}

TEST_F(IniStrTest, ReportsAFailedWrite)
{
    EXPECT_FALSE(WriteIniStr("S", "Key", "v", dir.file("missing/t.ini")));
    EXPECT_FALSE(WriteIniStr("S", "Key", "two\nlines", file));
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
