#include "JobFields.h"
#include "PublicFunction.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "Platform.h"

namespace {

namespace fs = std::filesystem;

const std::string kSetting = "Setting";

// Fields unlike any default, with multi-byte text, so a wrong or lost key shows.
JobFields SampleFields()
{
    JobFields fields;
    fields.texts = {"http://127.0.0.1/p?id=[-A-]", "-3", "12", "/srv/输出", "页", ".htm", "0001"};
    fields.sameNameChoice = kChoiceSkip;
    return fields;
}

// SampleFields() as a save writes them into a file that has none of its
// keys: UTF-8 on Linux, GBK on Windows.
const std::string kSampleSection = std::string("[Setting]\n"
                                               "TargetPage=http://127.0.0.1/p?id=[-A-]\n"
                                               "BeginPoint=-3\n"
                                               "EndPoint=12\n"
                                               "SavePath=/srv/")
    + (kOnWindows ? "\xCA\xE4\xB3\xF6" : "输出") + "\nFileName=" + (kOnWindows ? "\xD2\xB3" : "页")
    + "\nFileBack=.htm\n"
      "FilePoint=0001\n"
      "SameNameCover=False\n";

// `count` bytes of every value 0..255, zero bytes and line breaks included.
std::string RandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(byte(generator));
    return bytes;
}

std::string Repeat(const std::string& piece, std::size_t times)
{
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// The first `count` bytes of a file, for files too big to read whole.
std::string Head(const std::string& path, std::size_t count)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// A terabyte that takes no room on disk: no machine holds it in memory.
constexpr std::uintmax_t kTerabyte = std::uintmax_t{1} << 40;

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The names in `directory` other than those in `keep`: temporary files left behind show here.
std::vector<std::string> OtherEntries(const fs::path& directory, const std::set<std::string>& keep)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        const std::string name = Utf8FromPath(entry.path().filename());
        if (!keep.contains(name))
            names.push_back(name);
    }
    return names;
}

class HostileSettingsFileTest : public ::testing::Test {
protected:
    // Saves the sample over whatever the file holds and checks that it reads back whole.
    void ExpectSaveReadsBack()
    {
        SaveJobFields(SampleFields(), file);
        const JobFields loaded = LoadJobFields(file);
        EXPECT_EQ(loaded.texts, SampleFields().texts);
        EXPECT_EQ(loaded.sameNameChoice, kChoiceSkip);
        EXPECT_TRUE(OtherEntries(dir.path(), NamesAfterSettingsWrite("Trovanix.ini")).empty());
    }

    TempDir dir;
    std::string file = dir.file("Trovanix.ini");
};

TEST_F(HostileSettingsFileTest, GarbageLoadsAndASaveAppendsWellFormedKeysKeepingIt)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"random bytes", RandomBytes(1 << 20, 1)},
        {"random bytes after a byte-order mark", "\xEF\xBB\xBF" + RandomBytes(4096, 2)},
        {"zero bytes", std::string(1 << 20, '\0')},
        {"lone carriage returns", std::string(4096, '\r')},
        {"no line ending at all", "[Other]\nkey=value without an end"},
        {"a header never closed", "[Setting\nTargetPage=x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(file, c.bytes);

        const JobFields loaded = LoadJobFields(file);
        EXPECT_EQ(loaded[JobField::Edit2], "1");  // no section of ours: the defaults
        EXPECT_EQ(loaded[JobField::Edit6], ".html");

        ExpectSaveReadsBack();
        // What the user put there is kept; our section comes after it.
        const std::string after = ReadFileBytes(file);
        EXPECT_TRUE(after.starts_with(c.bytes));
    }
}

TEST_F(HostileSettingsFileTest, ZeroBytesInsideOurSectionEndTheValueRead)
{
    WriteFileBytes(file, std::string("[Setting]\nTargetPage=ab\0cd\nFile\0Name=x\nBeginPoint=\0\n", 50));

    const JobFields loaded = LoadJobFields(file);
    EXPECT_EQ(loaded[JobField::Edit1], "ab");
    EXPECT_EQ(loaded[JobField::Edit5], "");  // "File\0Name" is another key
    EXPECT_EQ(loaded[JobField::Edit2], "");

    ExpectSaveReadsBack();
}

TEST_F(HostileSettingsFileTest, AHundredMebibyteFileOfShortLinesLoadsAndSaves)
{
    // Millions of tiny and empty lines cost the most per byte; our section
    // comes last, so every read and write walks the whole file.
    const std::string section = "[Setting]\nTargetPage=found\n";
    const std::string junk = Repeat("k=v\n\n", (100u << 20) / 5);
    WriteFileBytes(file, junk + section);

    auto start = std::chrono::steady_clock::now();
    const JobFields loaded = LoadJobFields(file);
    const double loadSeconds = SecondsSince(start);
    EXPECT_EQ(loaded[JobField::Edit1], "found");

    start = std::chrono::steady_clock::now();
    SaveJobFields(SampleFields(), file);
    const double saveSeconds = SecondsSince(start);
    std::cout << "[ timing   ] load " << loadSeconds << " s, save " << saveSeconds << " s\n";

    const std::string after = ReadFileBytes(file);
    EXPECT_TRUE(after.size() == junk.size() + kSampleSection.size() && after.starts_with(junk)
                && after.ends_with(kSampleSection));
}

TEST_F(HostileSettingsFileTest, LinesOfAMebibyteEachAreCutOnReadAndReplacedOnSave)
{
    const std::string mebibyte(1 << 20, 'x');
    std::string text = "[Before]\n";
    for (int i = 0; i < 8; ++i)
        text += "junk" + std::to_string(i) + "=" + mebibyte + "\n";
    const std::string before = text;
    text += "[Setting]\nTargetPage=" + mebibyte + "\nFileName=" + mebibyte + "\n";
    WriteFileBytes(file, text);

    const JobFields loaded = LoadJobFields(file);
    EXPECT_EQ(loaded[JobField::Edit1], std::string(1022, 'x'));
    EXPECT_EQ(loaded[JobField::Edit5], std::string(1022, 'x'));

    ExpectSaveReadsBack();
    EXPECT_TRUE(ReadFileBytes(file).starts_with(before));
    EXPECT_LT(fs::file_size(file), before.size() + 1024);
}

// On Linux the file's bytes are kept as they are; on Windows the file is text
// in the ANSI code page, whose own cases are in StoredTextTest.
#ifndef _WIN32
TEST_F(HostileSettingsFileTest, BytesThatAreNotUtf8ReadBackAsTheSameBytes)
{
    struct Case {
        const char* name;
        std::string value;
    };
    const Case cases[] = {
        {"Latin-1", "caf\xE9 na\xEFve \xA9"},
        {"GBK", "\xD2\xB3\xC3\xE6"},  // "页面" in GBK
        {"a lone lead byte at the end", "abc\xE9"},
        {"a stray continuation byte", "\x80x\xBF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(file, "[Setting]\r\nFileName=" + c.value + "\r\n");
        EXPECT_EQ(LoadJobFields(file)[JobField::Edit5], c.value);

        JobFields fields = SampleFields();
        fields[JobField::Edit4] = c.value;
        SaveJobFields(fields, file);
        EXPECT_EQ(LoadJobFields(file)[JobField::Edit4], c.value);
        EXPECT_EQ(LoadJobFields(file)[JobField::Edit5], SampleFields()[JobField::Edit5]);
    }
}

TEST_F(HostileSettingsFileTest, CutsOfLongBytesThatAreNotUtf8StayPrefixes)
{
    struct Case {
        const char* name;
        std::string value;
        std::size_t readLength;  // what comes back of the 1,022 bytes a read allows
    };
    const Case cases[] = {
        // 0xE9 never continues a character, so the cut is exact.
        {"Latin-1 letters", std::string(1500, '\xE9'), 1022},
        // Bytes that look like continuations cost at most three.
        {"Latin-1 symbols", std::string(1500, '\xA9'), 1019},
        // A valid character at the cut is never split, even among Latin-1 bytes.
        {"UTF-8 after Latin-1", std::string(1020, '\xE9') + "页面" + std::string(500, 'x'), 1020},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(file, "[Setting]\nTargetPage=" + c.value + "\n");
        EXPECT_EQ(ReadIniStr(kSetting, "TargetPage", "", file), c.value.substr(0, c.readLength));

        ASSERT_TRUE(WriteIniStr(kSetting, "TargetPage", c.value, file));
        const std::string stored = ReadFileBytes(file);
        const std::string line = stored.substr(stored.find('=') + 1);
        EXPECT_LE(line.size(), 1023u + 1);  // the value and its line ending
        EXPECT_EQ(c.value.compare(0, line.size() - 1, line, 0, line.size() - 1), 0);
    }
}
#endif

TEST_F(HostileSettingsFileTest, APathThatIsNoRegularFileLoadsDefaultsAndSavesNothing)
{
    struct Case {
        const char* name;
        void (*make)(const std::string& path, const fs::path& dir);
    };
    const Case cases[] = {
        {"a directory", [](const std::string& path, const fs::path&) { fs::create_directory(PathFromUtf8(path)); }},
#ifndef _WIN32
        {"a link to itself",
         [](const std::string& path, const fs::path&) { fs::create_symlink(path, path); }},
        {"a loop of two links",
         [](const std::string& path, const fs::path& dir) {
             fs::create_symlink(dir / "other.ini", path);
             fs::create_symlink(path, dir / "other.ini");
         }},
        {"a named pipe",
         [](const std::string& path, const fs::path&) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }},
        {"a link to an endless device",
         [](const std::string& path, const fs::path&) { fs::create_symlink("/dev/zero", path); }},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir place;
        const std::string path = place.file("Trovanix.ini");
        c.make(path, place.path());
        const auto entriesBefore = OtherEntries(place.path(), {});

        const JobFields loaded = LoadJobFields(path);
        EXPECT_EQ(loaded[JobField::Edit3], "100");
        EXPECT_EQ(loaded[JobField::Edit7], "001");

        SaveJobFields(SampleFields(), path);
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(PathFromUtf8(path))));
        EXPECT_EQ(OtherEntries(place.path(), {}), entriesBefore);
    }
}

TEST_F(HostileSettingsFileTest, AFileThatCannotBeReadWholeLoadsTheDefaults)
{
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"too large to hold", file},
#ifndef _WIN32
        // The process's own memory is a regular file whose first read fails.
        {"a read error", "/proc/self/mem"},
#endif
    };
    const std::string head = "[Setting]\nTargetPage=mine\nEndPoint=7\n";
    WriteFileBytes(file, head);
    ASSERT_TRUE(ResizeFile(file, kTerabyte));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const JobFields loaded = LoadJobFields(c.path);
        EXPECT_EQ(loaded[JobField::Edit1], "");
        EXPECT_EQ(loaded[JobField::Edit3], "100");
        EXPECT_EQ(loaded.sameNameChoice, kChoiceOverwrite);
    }
}

TEST_F(HostileSettingsFileTest, AFileTooLargeToHoldIsNeverRewritten)
{
    const std::string head = "[Setting]\nTargetPage=mine\n";
    WriteFileBytes(file, head);
    ASSERT_TRUE(ResizeFile(file, kTerabyte));

    // A rewrite would have to drop what it could not read.
    SaveJobFields(SampleFields(), file);
    EXPECT_FALSE(WriteIniStr(kSetting, "TargetPage", "x", file));

    EXPECT_EQ(fs::file_size(PathFromUtf8(file)), kTerabyte);
    EXPECT_EQ(Head(file, head.size() + 1), head + '\0');
    EXPECT_TRUE(OtherEntries(dir.path(), NamesAfterSettingsWrite("Trovanix.ini")).empty());
}

} // namespace
