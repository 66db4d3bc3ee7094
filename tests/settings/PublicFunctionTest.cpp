#include "PublicFunction.h"

#include "Platform.h"
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
#ifdef _WIN32
        // Stored text is GBK there: 中 is the two bytes D6 D0.
        {"a\xD6\xD0", 2, "a"},
        {"a\xD6\xD0", 3, "a\xD6\xD0"},
        {"\xD6\xD0\xD6\xD0", 3, "\xD6\xD0"},
#else
        {"a中", 3, "a"},  // 中 takes bytes 2 to 4: cut before it
        {"a中", 4, "a中"},
        {"ab😀", 5, "ab"},
#endif
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

    // 1,021 + 2 bytes fit the write, but é would straddle the read limit of
    // 1,022; é is two bytes in UTF-8 and in GBK alike.
    std::string stored = std::string(1021, 'a') + "é";
    ASSERT_TRUE(WriteIniStr("S", "Key", stored, file));
    const std::string storedE = kOnWindows ? "\xA8\xA6" : "é";
    EXPECT_EQ(ReadFileBytes(file), "[S]\nKey=" + std::string(1021, 'a') + storedE + "\n");
    EXPECT_EQ(ReadIniStr("S", "Key", "", file), std::string(1021, 'a'));
}

// The settings file is UTF-8 on Linux and GBK (the ANSI code page 936) on
// Windows; the program's own text is UTF-8 on both.
struct StoredForm {
    std::string text;    // as the program holds it
    std::string stored;  // as the file holds it
};

StoredForm Stored(const std::string& text, const std::string& gbk)
{
    return {text, kOnWindows ? gbk : text};
}

TEST_F(IniStrTest, ReadsAndWritesTheFilesOwnEncodingByteForByte)
{
    const StoredForm page = Stored("页面", "\xD2\xB3\xC3\xE6");
    const StoredForm output = Stored("D:\\输出\\", "D:\\\xCA\xE4\xB3\xF6\\");
    WriteFileBytes(file, "[Setting]\r\nFileName=" + page.stored + "\r\n");
    EXPECT_EQ(ReadIniStr("Setting", "FileName", "", file), page.text);

    ASSERT_TRUE(WriteIniStr("Setting", "SavePath", output.text, file));
    EXPECT_EQ(ReadFileBytes(file),
              "[Setting]\r\nFileName=" + page.stored + "\r\nSavePath=" + output.stored + "\r\n");
    EXPECT_EQ(ReadIniStr("Setting", "SavePath", "", file), output.text);
}

TEST_F(IniStrTest, RefusesAValueTheFilesCodePageCannotHold)
{
    struct Case {
        const char* name;
        std::string value;
    };
    const Case cases[] = {
        // Without WC_NO_BEST_FIT_CHARS Windows would store the nearest letter, "A".
        {"a letter with only a best fit", "\xC3\x80"},  // À
        {"Thai", "\xE0\xB8\x81"},
        {"an emoji", "\xF0\x9F\x98\x80"},
        {"text that is not UTF-8", "caf\xE9"},
    };
    const std::string before = "[Setting]\r\nFileName=old\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(file, before);
        const bool stored = WriteIniStr("Setting", "FileName", "x" + c.value, file);
        if (kOnWindows) {
            // A stand-in "?" would corrupt the stored text: the write is refused.
            EXPECT_FALSE(stored);
            EXPECT_EQ(ReadFileBytes(file), before);
        } else {
            // UTF-8 holds every character, and bytes are kept as they are.
            EXPECT_TRUE(stored);
            EXPECT_EQ(ReadIniStr("Setting", "FileName", "", file), "x" + c.value);
        }
    }
}

TEST_F(IniStrTest, CutsCountStoredBytesAndNeverSplitADoubleByteCharacter)
{
    std::string chinese = "a";
    for (int i = 0; i < 600; ++i)
        chinese += "中";
    // Stored, 中 is three bytes in UTF-8 and two in GBK.
    const std::size_t charactersWritten = kOnWindows ? 511 : 340;  // 1 + n * width <= 1,023
    const std::size_t charactersRead = kOnWindows ? 510 : 340;     // 1 + n * width <= 1,022
    const auto prefix = [&](std::size_t characters) { return chinese.substr(0, 1 + 3 * characters); };

    ASSERT_TRUE(WriteIniStr("S", "Key", chinese, file));
    const std::string storedChinese = kOnWindows ? "\xD6\xD0" : "中";
    std::string expectedValue = "a";
    for (std::size_t i = 0; i < charactersWritten; ++i)
        expectedValue += storedChinese;
    EXPECT_EQ(ReadFileBytes(file), "[S]\nKey=" + expectedValue + "\n");
    EXPECT_EQ(ReadIniStr("S", "Key", "", file), prefix(charactersRead));
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
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(file)));
}

} // namespace
