#include "OutputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "DirectoryListing.h"
#include "TempDir.h"

namespace {

using Names = std::vector<std::string>;

// Sets the process's umask for the life of the object.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : previous_(umask(mask)) {}
    ~ScopedUmask() { umask(previous_); }

private:
    mode_t previous_;
};

mode_t PermissionsOf(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(WriteWholeFile, WritesEveryByteAndLeavesNothingElseBehind)
{
    TempDir dir;
    const std::string bytes("<html>\0\xff\xfe<b>\0</b>", 15);

    ASSERT_TRUE(WriteWholeFile(dir.file("p001.html"), bytes));

    EXPECT_EQ(ReadFileBytes(dir.file("p001.html")), bytes);
    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});
}

TEST(WriteWholeFile, ReplacesAnExistingFileWholly)
{
    TempDir dir;
    WriteFileBytes(dir.file("p001.html"), std::string(10000, 'o'));

    ASSERT_TRUE(WriteWholeFile(dir.file("p001.html"), "new"));
    EXPECT_EQ(ReadFileBytes(dir.file("p001.html")), "new");

    ASSERT_TRUE(WriteWholeFile(dir.file("p001.html"), ""));
    EXPECT_EQ(ReadFileBytes(dir.file("p001.html")), "");
    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});
}

TEST(WriteWholeFile, NewFilesGetTheUsualPermissions)
{
    TempDir dir;
    for (mode_t mask : {mode_t{022}, mode_t{027}}) {
        ScopedUmask scoped(mask);
        const std::string path = dir.file("mask" + std::to_string(mask));
        ASSERT_TRUE(WriteWholeFile(path, "x"));
        EXPECT_EQ(PermissionsOf(path), 0666 & ~mask) << "umask " << mask;
    }
}

TEST(WriteWholeFile, AReplacedFileKeepsItsPermissions)
{
    TempDir dir;
    const std::string path = dir.file("p001.html");
    WriteFileBytes(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    ASSERT_TRUE(WriteWholeFile(path, "new"));
    EXPECT_EQ(PermissionsOf(path), mode_t{0640});
}

TEST(WriteWholeFile, AcceptsTheLongestFileName)
{
    TempDir dir;
    const std::string name(255, 'n');
    ASSERT_TRUE(WriteWholeFile(dir.file(name), "x"));
    EXPECT_EQ(DirectoryListing(dir.path()), Names{name});
}

TEST(WriteWholeFile, FailsWithoutLeavingAnythingWhereItCannotWrite)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("taken.html"));

    EXPECT_FALSE(WriteWholeFile(dir.file("missing/p001.html"), "x"));
    EXPECT_FALSE(WriteWholeFile(dir.file("taken.html"), "x"));

    EXPECT_EQ(DirectoryListing(dir.path()), Names{"taken.html"});
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.html")));
}

TEST(RemoveOutputFilesInFlightDeathTest, NoOutputFileIsStartedAfterwards)
{
    TempDir dir;
    const std::string path = dir.file("late.html");
    // In a child process: the program is closing from then on.
    EXPECT_EXIT(
        {
            RemoveOutputFilesInFlight();
            const bool written = WriteWholeFile(path, "x");
            std::exit(!written && DirectoryListing(dir.path()).empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
