#include "OutputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "DirectoryListing.h"
#include "ScopedFileSizeLimit.h"
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

// Writes `bytes` to a new file at `path` and commits it; returns whether it is there.
bool WriteWhole(const std::string& path, const std::string& bytes)
{
    OutputFile file(path);
    return file.Take(bytes) && file.Commit();
}

TEST(OutputFile, CommitPutsEveryPieceInPlaceAndLeavesNothingElseBehind)
{
    TempDir dir;
    const std::string pieces[] = {"<html>", std::string("\0\xff\xfe", 3), "",
                                  std::string("<b>\0</b>", 8), std::string(300000, 'm')};
    std::string whole;
    OutputFile file(dir.file("p001.html"));
    ASSERT_TRUE(file.IsOpen());
    for (const std::string& piece : pieces) {
        EXPECT_TRUE(file.Take(piece));
        whole += piece;
    }

    ASSERT_TRUE(file.Commit());

    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(ReadFileBytes(dir.file("p001.html")) == whole);
    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});
}

TEST(OutputFile, TheOldFileStaysWholeUntilTheNewOneIsCommitted)
{
    TempDir dir;
    const std::string path = dir.file("p001.html");
    const std::string old(10000, 'o');
    WriteFileBytes(path, old);

    OutputFile file(path);
    ASSERT_TRUE(file.Take("new"));
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(DirectoryListing(dir.path()).size(), 2u);  // the old file and the hidden new one

    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});

    ASSERT_TRUE(WriteWhole(path, ""));
    EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(OutputFile, AFileNotCommittedIsRemovedAndTheOldOneKept)
{
    TempDir dir;
    WriteFileBytes(dir.file("p001.html"), "good old page");
    {
        OutputFile replacing(dir.file("p001.html"));
        OutputFile fresh(dir.file("p002.html"));
        ASSERT_TRUE(replacing.Take(std::string(100000, 'x')));
        ASSERT_TRUE(fresh.Take("half a page"));
    }

    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});
    EXPECT_EQ(ReadFileBytes(dir.file("p001.html")), "good old page");
}

TEST(OutputFile, AFailedWriteRefusesTheRestAndCommitsNothing)
{
    TempDir dir;
    WriteFileBytes(dir.file("p001.html"), "good old page");
    OutputFile file(dir.file("p001.html"));
    ASSERT_TRUE(file.IsOpen());
    {
        ScopedFileSizeLimit fullDisk(64 * 1024);
        EXPECT_TRUE(file.Take(std::string(40000, 'a')));
        EXPECT_FALSE(file.Take(std::string(40000, 'b')));  // half of it fits
    }
    EXPECT_FALSE(file.Take("c"));

    EXPECT_FALSE(file.Commit());

    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});
    EXPECT_EQ(ReadFileBytes(dir.file("p001.html")), "good old page");
}

TEST(OutputFile, NewFilesGetTheUsualPermissions)
{
    TempDir dir;
    for (mode_t mask : {mode_t{022}, mode_t{027}}) {
        ScopedUmask scoped(mask);
        const std::string path = dir.file("mask" + std::to_string(mask));
        ASSERT_TRUE(WriteWhole(path, "x"));
        EXPECT_EQ(PermissionsOf(path), 0666 & ~mask) << "umask " << mask;
    }
}

TEST(OutputFile, AReplacedFileKeepsItsPermissions)
{
    TempDir dir;
    const std::string path = dir.file("p001.html");
    WriteFileBytes(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    ASSERT_TRUE(WriteWhole(path, "new"));
    EXPECT_EQ(PermissionsOf(path), mode_t{0640});
}

TEST(OutputFile, AcceptsTheLongestFileName)
{
    TempDir dir;
    const std::string name(255, 'n');
    ASSERT_TRUE(WriteWhole(dir.file(name), "x"));
    EXPECT_EQ(DirectoryListing(dir.path()), Names{name});
}

TEST(OutputFile, PutsNothingWhereItCannotWriteAndLeavesNothingBehind)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("taken.html"));
    const std::string paths[] = {
        dir.file("missing/p001.html"),
        dir.file("taken.html"),
        // The system would stop reading at the zero byte and create "a".
        dir.file(std::string("a\0b.html", 8)),
    };
    for (const std::string& path : paths) {
        OutputFile file(path);
        EXPECT_FALSE(file.IsOpen() && file.Take("x") && file.Commit()) << path;
    }

    EXPECT_EQ(DirectoryListing(dir.path()), Names{"taken.html"});
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.html")));
}

// In child processes: the program is closing from then on.
TEST(RemoveOutputFilesInFlightDeathTest, RemovesFilesBeingWrittenAndStartsNoMore)
{
    TempDir dir;
    WriteFileBytes(dir.file("p001.html"), "good old page");
    EXPECT_EXIT(
        {
            OutputFile writing(dir.file("p001.html"));
            const bool started = writing.Take("half a page");
            RemoveOutputFilesInFlight();
            const bool committed = writing.Commit();
            OutputFile late(dir.file("p002.html"));
            const bool kept = DirectoryListing(dir.path()) == Names{"p001.html"}
                && ReadFileBytes(dir.file("p001.html")) == "good old page";
            std::exit(started && !committed && !late.IsOpen() && kept ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
