#include "Profile.h"

#include "Platform.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include "WindowsFileAttributes.h"
#else
#include "ScopedFileSizeLimit.h"
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

std::set<std::string> NamesIn(const fs::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.insert(Utf8FromPath(entry.path().filename()));
    return names;
}

// Reads with a buffer of `size` bytes; returns the text and the count returned.
std::pair<std::string, unsigned> Read(const std::string& file, const char* section, const char* key,
                                      const char* defaultValue, unsigned size = 1024)
{
    std::vector<char> buffer(size + 1, '#');
    unsigned count = GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), size,
                                              file.c_str());
    return {std::string(buffer.data()), count};
}

struct ReadCase {
    const char* name;
    const char* file;  // nullptr: no file at all
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* expected;
};

const ReadCase kReadCases[] = {
    {"plain", "[Setting]\nKey=value\n", "Setting", "Key", "d", "value"},
    {"names ignore case and blanks", "[ sETTing\t]\n  kEY \t= v\n", "Setting", "Key", "d", "v"},
    {"text after the header is ignored", "[Setting] ; note\nKey=v\n", "Setting", "Key", "d", "v"},
    {"keys before any header belong to no section", "Key=v\n[Setting]\n", "Setting", "Key", "d", "d"},
    {"first equals sign splits", "[S]\nKey=a=b=c\n", "S", "Key", "d", "a=b=c"},
    {"semicolon inside a value is text", "[S]\nKey=5 ; note\n", "S", "Key", "d", "5 ; note"},
    {"value trimmed of spaces and tabs", "[S]\nKey= \t x y \t \n", "S", "Key", "d", "x y"},
    {"double quotes removed", "[S]\nKey=\" x \"\n", "S", "Key", "d", " x "},
    {"single quotes removed", "[S]\nKey='x'\n", "S", "Key", "d", "x"},
    {"only one pair of quotes removed", "[S]\nKey=\"\"x\"\"\n", "S", "Key", "d", "\"x\""},
    {"mismatched quotes kept", "[S]\nKey=\"x'\n", "S", "Key", "d", "\"x'"},
    {"a lone quote kept", "[S]\nKey=\"\n", "S", "Key", "d", "\""},
    {"quotes around nothing", "[S]\nKey=''\n", "S", "Key", "d", ""},
    {"quotes after trimming", "[S]\nKey= \"x\" \n", "S", "Key", "d", "x"},
    {"hash starts an ordinary key", "[S]\n#Key=v\n", "S", "#Key", "d", "v"},
    {"semicolon starts a comment", "[S]\n;Key=v\n", "S", ";Key", "d", "d"},
    {"indented comment", "[S]\n  ;Key=v\nKey=w\n", "S", "Key", "d", "w"},
    {"empty value is not the default", "[S]\nKey=\n", "S", "Key", "d", ""},
    {"blank value is not the default", "[S]\nKey=   \n", "S", "Key", "d", ""},
    {"line without equals is not the key", "[S]\nKey\nKey=v\n", "S", "Key", "d", "v"},
    {"first key wins", "[S]\nKey=1\nkey=2\n", "S", "Key", "d", "1"},
    {"first section wins", "[S]\nA=1\n[s]\nKey=2\n", "S", "Key", "d", "d"},
    {"key of another section", "[S]\nA=1\n[T]\nKey=2\n", "S", "Key", "d", "d"},
    {"missing section", "[T]\nKey=v\n", "S", "Key", "d", "d"},
    {"missing file", nullptr, "S", "Key", "d", "d"},
    {"default loses trailing blanks", nullptr, "S", "Key", " d \t ", " d"},
    {"null default is empty", nullptr, "S", "Key", nullptr, ""},
    {"CRLF lines", "[S]\r\nA=1\r\nKey=v\r\n", "S", "Key", "d", "v"},
    {"lone CR lines", "[S]\rA=1\rKey=v\r", "S", "Key", "d", "v"},
    {"mixed line ends", "[S]\rA=1\r\nKey=v\n", "S", "Key", "d", "v"},
    {"last line without an ending", "[S]\nKey=v", "S", "Key", "d", "v"},
    {"byte-order mark skipped", "\xEF\xBB\xBF[S]\nKey=v\n", "S", "Key", "d", "v"},
    {"UTF-8 text", "[设置]\n名字=中文\n", "设置", "名字", "d", "中文"},
};

TEST(ProfileRead, FollowsTheProfileRules)
{
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string file = dir.file("t.ini");
        if (c.file != nullptr)
            WriteFileBytes(file, c.file);
        auto [text, count] = Read(file, c.section, c.key, c.defaultValue);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(count, text.size());
    }
}

TEST(ProfileRead, CutsLongValuesWithoutSplittingCharacters)
{
    struct Case {
        const char* value;
        unsigned size;
        const char* expected;
    };
    const Case cases[] = {
        {"abcdef", 7, "abcdef"},
        {"abcdef", 6, "abcde"},
        {"abcdef", 1, ""},
#ifdef _WIN32
        // The profile holds GBK there: 中 is two bytes, D6 D0.
        {"a\xD6\xD0" "b", 4, "a\xD6\xD0"},
        {"a\xD6\xD0" "b", 3, "a"},  // cutting at 2 bytes would split 中
        {"\xD6\xD0\xD6\xD0", 4, "\xD6\xD0"},
#else
        {"a中b", 5, "a中"},     // 中 is three bytes
        {"a中b", 4, "a"},      // cutting at 3 bytes would split 中
        {"a中b", 3, "a"},
        {"aé", 3, "a"},        // é is two bytes
        {"😀x", 4, ""},        // four bytes
        {"😀x", 5, "😀"},
#endif
    };
    TempDir dir;
    std::string file = dir.file("t.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " in " + std::to_string(c.size));
        WriteFileBytes(file, std::string("[S]\nKey=") + c.value + "\n");
        auto [text, count] = Read(file, "S", "Key", "", c.size);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(count, text.size());
        // The default goes through the same cut.
        EXPECT_EQ(Read(dir.file("missing.ini"), "S", "Key", c.value, c.size).first, c.expected);
    }
}

TEST(ProfileRead, SizeZeroTouchesNothing)
{
    TempDir dir;
    std::string file = dir.file("t.ini");
    WriteFileBytes(file, "[S]\nKey=v\n");
    char buffer[4] = {'x', 'y', 'z', '\0'};
    EXPECT_EQ(GetPrivateProfileStringA("S", "Key", "d", buffer, 0, file.c_str()), 0u);
    EXPECT_STREQ(buffer, "xyz");
}

struct WriteCase {
    const char* name;
    const char* before;  // nullptr: no file yet
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

const WriteCase kWriteCases[] = {
    {"new file", nullptr, "S", "Key", "v", "[S]\nKey=v\n"},
    {"empty file", "", "S", "Key", "v", "[S]\nKey=v\n"},
    {"replaced in place, spelling and spacing kept",
     "; top\r\n[s]\r\n  kEY = old \r\nOther=1\r\n", "S", "Key", "new",
     "; top\r\n[s]\r\n  kEY =new\r\nOther=1\r\n"},
    {"empty value", "[S]\nKey=old\n", "S", "Key", "", "[S]\nKey=\n"},
    {"leading blanks of the value dropped", "[S]\n", "S", "Key", " \t v ", "[S]\nKey=v \n"},
    {"new key ends its section, before the separating blank lines",
     "[A]\nx=1\n\n\n[B]\ny=2\n", "A", "z", "3", "[A]\nx=1\nz=3\n\n\n[B]\ny=2\n"},
    {"new key after a trailing comment of its section", "[A]\nx=1\n; about B\n[B]\n", "A", "z", "3",
     "[A]\nx=1\n; about B\nz=3\n[B]\n"},
    {"new key in a section that is only a header", "[A]\n[B]\n", "A", "z", "3", "[A]\nz=3\n[B]\n"},
    {"new key in the last section without a final line end", "[A]\nx=1", "A", "z", "3",
     "[A]\nx=1\nz=3\n"},
    {"new section appended", "; top\n[A]\nx=1\n\n", "B", "k", "v", "; top\n[A]\nx=1\n\n[B]\nk=v\n"},
    {"new section after a last line without an end", "[A]\nx=1", "B", "k", "v",
     "[A]\nx=1\n[B]\nk=v\n"},
    {"CRLF file stays CRLF", "[A]\r\nx=1\r\n", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
    {"CR file stays CR", "[A]\rx=1\r", "A", "k", "v", "[A]\rx=1\rk=v\r"},
    {"a new line never merges a lone CR with a following LF", "x\r[A]\ny=1\n\n[B]\n", "A", "k", "v",
     "x\r[A]\ny=1\nk=v\n\n[B]\n"},
    {"byte-order mark kept", "\xEF\xBB\xBF[A]\nx=1\n", "a", "X", "2", "\xEF\xBB\xBF[A]\nx=2\n"},
    {"only the first of two sections", "[A]\nx=1\n[A]\ny=2\n", "A", "y", "9",
     "[A]\nx=1\ny=9\n[A]\ny=2\n"},
    {"only the first of two keys", "[A]\nx=1\nX=2\n", "A", "x", "9", "[A]\nx=9\nX=2\n"},
    {"a commented key is not the key", "[A]\n;x=1\n", "A", "x", "9", "[A]\n;x=1\nx=9\n"},
    {"names trimmed when added", "", " A ", "\tx ", "1", "[A]\nx=1\n"},
};

TEST(ProfileWrite, ChangesOnlyWhatItMust)
{
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string file = dir.file("t.ini");
        if (c.before != nullptr)
            WriteFileBytes(file, c.before);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, file.c_str()));
        EXPECT_EQ(ReadFileBytes(file), c.after);
        EXPECT_EQ(NamesIn(dir.path()), NamesAfterSettingsWrite("t.ini"));
    }
}

TEST(ProfileWrite, WrittenValuesReadBack)
{
    TempDir dir;
    std::string file = dir.file("t.ini");
    const char* values[] = {"plain", "a=b", "[x]", ";not a comment", "中文 text", "'q'", ""};
    for (const char* value : values) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(WritePrivateProfileStringA("S", "Key", value, file.c_str()));
        std::string expected = value;
        if (expected == "'q'")  // quotes are the file's, as on reading a hand-edited file
            expected = "q";
        EXPECT_EQ(Read(file, "S", "Key", "d").first, expected);
    }
}

#ifdef _WIN32
TEST(ProfileWrite, KeepsTheFileAttributes)
{
    TempDir dir;
    std::string file = dir.file("t.ini");
    WriteFileBytes(file, "[S]\n");
    const unsigned long attributes = kAttributeHidden | kAttributeArchive;
    ASSERT_TRUE(SetFileAttributesOf(file, attributes));
    ASSERT_TRUE(WritePrivateProfileStringA("S", "Key", "v", file.c_str()));
    EXPECT_EQ(FileAttributesOf(file), attributes);
    EXPECT_EQ(ReadFileBytes(file), "[S]\nKey=v\n");
}
#else
TEST(ProfileWrite, KeepsPermissionBits)
{
    TempDir dir;
    std::string file = dir.file("t.ini");
    WriteFileBytes(file, "[S]\n");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "Key", "v", file.c_str()));
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}
#endif

TEST(ProfileWrite, RefusedWritesChangeNothing)
{
    struct Case {
        const char* name;
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"LF in the value", "S", "Key", "a\nb"},
        {"CR in the value", "S", "Key", "a\rb"},
        {"line break in the key", "S", "K\ney", "v"},
        {"line break in the section", "S\r", "Key", "v"},
        {"null value", "S", "Key", nullptr},
        {"a section holding ]", "S]x", "Key", "v"},
        {"a key holding =", "S", "K=ey", "v"},
        {"a key starting like a comment", "S", " ;Key", "v"},
        {"a key starting like a header", "S", "[Key]", "v"},
    };
    TempDir dir;
    std::string file = dir.file("t.ini");
    const std::string before = "[S]\nKey=old\n";
    WriteFileBytes(file, before);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(WritePrivateProfileStringA(c.section, c.key, c.value, file.c_str()));
        EXPECT_EQ(ReadFileBytes(file), before);
        EXPECT_EQ(NamesIn(dir.path()), std::set<std::string>{"t.ini"});
    }
}

TEST(ProfileWrite, FailsIntoAMissingDirectory)
{
    TempDir dir;
    std::string file = dir.file("missing/t.ini");
    EXPECT_FALSE(WritePrivateProfileStringA("S", "Key", "v", file.c_str()));
    EXPECT_TRUE(NamesIn(dir.path()).empty());
}

#ifndef _WIN32
// Read-only means no write bit at all; root, who ignores permission bits,
// is held to that too, so these cases hold for every user.
TEST(ProfileWrite, FailsIntoAReadOnlyDirectoryLeavingNothing)
{
    TempDir dir;
    fs::path inner = dir.path() / "ro";
    fs::create_directory(inner);
    std::string existing = (inner / "old.ini").string();
    WriteFileBytes(existing, "[S]\nKey=old\n");
    ASSERT_EQ(chmod(inner.c_str(), 0555), 0);

    EXPECT_FALSE(WritePrivateProfileStringA("S", "Key", "v", (inner / "new.ini").c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "Key", "v", existing.c_str()));
    EXPECT_EQ(ReadFileBytes(existing), "[S]\nKey=old\n");
    EXPECT_EQ(NamesIn(inner), std::set<std::string>{"old.ini"});
}
#endif

TEST(ProfileWrite, FailsOnAReadOnlyFile)
{
    TempDir dir;
    std::string file = dir.file("t.ini");
    WriteFileBytes(file, "[S]\nKey=old\n");
    // On Windows this sets the read-only attribute.
    fs::permissions(PathFromUtf8(file), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WritePrivateProfileStringA("S", "Key", "v", file.c_str()));
    EXPECT_EQ(ReadFileBytes(file), "[S]\nKey=old\n");
    EXPECT_EQ(NamesIn(dir.path()), std::set<std::string>{"t.ini"});
}

// Links to files need privileges on Windows, and MinGW's library cannot make them.
#ifndef _WIN32
TEST(ProfileWrite, WritesThroughSymbolicLinksAndCreatesADanglingLinksTarget)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // name in the directory, link text
        const char* oldTarget;  // nullptr: the target is missing
        std::string target;     // where the file ends up, under "kept/"
    };
    const Case cases[] = {
        {"a link to a file elsewhere", {{"t.ini", "{dir}/kept/t.ini"}}, "[S]\nKey=old\n", "t.ini"},
        {"a dangling link", {{"t.ini", "{dir}/kept/new.ini"}}, nullptr, "new.ini"},
        {"a relative dangling link", {{"t.ini", "kept/rel.ini"}}, nullptr, "rel.ini"},
        {"a chain of links ending dangling", {{"t.ini", "second"}, {"second", "kept/end.ini"}},
         nullptr, "end.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir.path() / "kept");
        const std::string target = dir.file("kept/" + c.target);
        if (c.oldTarget != nullptr)
            WriteFileBytes(target, c.oldTarget);
        std::set<std::string> names = {"kept"};
        for (const auto& [name, text] : c.links) {
            const bool inDir = text.starts_with("{dir}");
            fs::create_symlink(inDir ? dir.path().string() + text.substr(5) : text, dir.path() / name);
            names.insert(name);
        }

        EXPECT_TRUE(WritePrivateProfileStringA("S", "Key", "new", dir.file("t.ini").c_str()));

        for (const auto& link : c.links)
            EXPECT_TRUE(fs::is_symlink(dir.path() / link.first)) << link.first;
        EXPECT_EQ(ReadFileBytes(target), "[S]\nKey=new\n");
        EXPECT_EQ(NamesIn(dir.path()), names);
        EXPECT_EQ(NamesIn(dir.path() / "kept"), std::set<std::string>{c.target});
    }
}

TEST(ProfileWrite, ADanglingLinkIntoAMissingDirectoryFailsAndStaysALink)
{
    TempDir dir;
    const std::string link = dir.file("t.ini");
    fs::create_symlink(dir.path() / "missing" / "t.ini", link);

    EXPECT_FALSE(WritePrivateProfileStringA("S", "Key", "v", link.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(NamesIn(dir.path()), std::set<std::string>{"t.ini"});
}
#endif

#ifndef _WIN32
// Windows has no per-process file size limit to stand for a full disk.
TEST(ProfileWrite, AWriteCutShortKeepsTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    std::string file = dir.file("t.ini");
    WriteFileBytes(file, "[S]\nKey=old\n");
    std::string big(4096, 'x');
    {
        ScopedFileSizeLimit limit(1000);
        EXPECT_FALSE(WritePrivateProfileStringA("S", "Key", big.c_str(), file.c_str()));
    }
    EXPECT_EQ(ReadFileBytes(file), "[S]\nKey=old\n");
    EXPECT_EQ(NamesIn(dir.path()), std::set<std::string>{"t.ini"});
}
#endif

// Each writer owns some keys and writes them many times; lost updates or
// interleaved writes would leave a key missing, stale or a broken line.
void WriteRounds(const std::string& file, const std::string& keyPrefix, int keys, int rounds)
{
    for (int round = 0; round < rounds; ++round) {
        for (int k = 0; k < keys; ++k) {
            std::string key = keyPrefix + std::to_string(k);
            std::string value = key + "-round-" + std::to_string(round);
            WritePrivateProfileStringA("S", key.c_str(), value.c_str(), file.c_str());
        }
    }
}

void ExpectEveryLastValue(const std::string& file, const std::vector<std::string>& prefixes,
                          int keys, int rounds)
{
    for (const std::string& prefix : prefixes) {
        for (int k = 0; k < keys; ++k) {
            std::string key = prefix + std::to_string(k);
            EXPECT_EQ(Read(file, "S", key.c_str(), "missing").first,
                      key + "-round-" + std::to_string(rounds - 1));
        }
    }
    // One header and one line per key: no torn or doubled lines.
    std::string text = ReadFileBytes(file);
    EXPECT_TRUE(text.starts_with("[S]\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + keys * static_cast<int>(prefixes.size()));
    EXPECT_EQ(std::count(text.begin(), text.end(), '['), 1);
}

TEST(ProfileWrite, ConcurrentThreadsLoseNoWrite)
{
    TempDir dir;
    std::string file = dir.file("t.ini");
    const int keys = 3;
    const int rounds = 20;
    std::vector<std::string> prefixes;
    for (int t = 0; t < 8; ++t)
        prefixes.push_back("thread" + std::to_string(t) + "_");
    {
        std::vector<std::jthread> writers;
        for (const std::string& prefix : prefixes)
            writers.emplace_back(WriteRounds, file, prefix, keys, rounds);
    }
    ExpectEveryLastValue(file, prefixes, keys, rounds);
    EXPECT_EQ(NamesIn(dir.path()), NamesAfterSettingsWrite("t.ini"));
}

#ifndef _WIN32
TEST(ProfileWrite, ConcurrentProcessesLoseNoWrite)
{
    TempDir dir;
    std::string file = dir.file("t.ini");
    const int keys = 3;
    const int rounds = 40;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WriteRounds(file, "child_", keys, rounds);
        _exit(0);
    }
    WriteRounds(file, "parent_", keys, rounds);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ExpectEveryLastValue(file, {"child_", "parent_"}, keys, rounds);
    EXPECT_EQ(NamesIn(dir.path()), std::set<std::string>{"t.ini"});
}
#endif

} // namespace
