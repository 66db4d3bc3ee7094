#include "OutputFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "DirectoryListing.h"
#include "ScopedCurrentDirectory.h"
#include "TempDir.h"

#ifdef _WIN32
#include "WindowsFileAttributes.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include "ScopedFileSizeLimit.h"
#include "UnprivilegedUser.h"
#endif

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

#ifndef _WIN32
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

ino_t InodeOf(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_ino;
}

#endif

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

#ifdef _WIN32
TEST(OutputFile, TheNewFileIsHiddenUntilItTakesTheOldOnesAttributes)
{
    TempDir dir;
    const std::string path = dir.file("p001.html");
    WriteFileBytes(path, "old");
    ASSERT_TRUE(SetFileAttributesOf(path, kAttributeHidden | kAttributeArchive));

    OutputFile file(path);
    ASSERT_TRUE(file.Take("new"));
    const Names listing = DirectoryListing(dir.path());
    ASSERT_EQ(listing.size(), 2u);
    for (const std::string& name : listing) {
        if (name != "p001.html") {
            EXPECT_TRUE(FileAttributesOf(dir.file(name)) & kAttributeHidden) << name;
        }
    }
    ASSERT_TRUE(file.Commit());

    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(FileAttributesOf(path), kAttributeHidden | kAttributeArchive);
    // A file that replaces none looks like any new file.
    ASSERT_TRUE(WriteWhole(dir.file("p002.html"), "fresh"));
    EXPECT_FALSE(FileAttributesOf(dir.file("p002.html")) & kAttributeHidden);
}

TEST(OutputFile, AReadOnlyFileIsLeftExactlyAsItIs)
{
    TempDir dir;
    const std::string path = dir.file("p001.html");
    WriteFileBytes(path, "old");
    ASSERT_TRUE(SetFileAttributesOf(path, kAttributeReadOnly));

    OutputFile file(path);

    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Take("new") && file.Commit());
    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_TRUE(FileAttributesOf(path) & kAttributeReadOnly);
    SetFileAttributesOf(path, kAttributeArchive);  // so that the directory can go
}
#else
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

#endif

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

// Links, hard links, permission bits and other users are Linux matters; the
// read-only attribute on Windows has its own test above.
#ifndef _WIN32
TEST(OutputFile, WritesThroughSymbolicLinksAndKeepsThem)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // name in "pages/", link text
        const char* oldTarget;  // nullptr: the target is missing
        std::string target;     // where the page ends up, under "site/"
    };
    const Case cases[] = {
        {"a link to a file elsewhere", {{"p001.html", "{root}/site/p001.html"}}, "old", "p001.html"},
        {"a relative link", {{"p001.html", "../site/index.html"}}, "old", "index.html"},
        {"a dangling link", {{"p001.html", "{root}/site/new.html"}}, nullptr, "new.html"},
        {"a chain of links", {{"p001.html", "hop"}, {"hop", "../site/end.html"}}, "old", "end.html"},
        {"a chain ending dangling", {{"p001.html", "hop"}, {"hop", "../site/end.html"}}, nullptr,
         "end.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir root;
        fs::create_directory(root.path() / "pages");
        fs::create_directory(root.path() / "site");
        const std::string target = root.file("site/" + c.target);
        if (c.oldTarget != nullptr) {
            WriteFileBytes(target, c.oldTarget);
            ASSERT_EQ(chmod(target.c_str(), 0640), 0);
        }
        Names links;
        for (const auto& [name, text] : c.links) {
            const bool inRoot = text.starts_with("{root}");
            fs::create_symlink(inRoot ? root.path().string() + text.substr(6) : text,
                               root.path() / "pages" / name);
            links.push_back(name);
        }
        std::sort(links.begin(), links.end());

        ASSERT_TRUE(WriteWhole(root.file("pages/p001.html"), "new page"));

        for (const std::string& link : links)
            EXPECT_TRUE(fs::is_symlink(root.path() / "pages" / link)) << link;
        EXPECT_EQ(DirectoryListing(root.path() / "pages"), links);
        EXPECT_EQ(DirectoryListing(root.path() / "site"), Names{c.target});
        EXPECT_EQ(ReadFileBytes(target), "new page");
        if (c.oldTarget != nullptr) {
            EXPECT_EQ(PermissionsOf(target), mode_t{0640});
        }
    }
}

TEST(OutputFile, ALinkToSomethingThatIsNoRegularFileReplacesNothing)
{
    TempDir dir;
    fs::create_directory(dir.file("folder"));
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    fs::create_symlink(dir.file("folder"), dir.file("p001.html"));
    fs::create_symlink(dir.file("pipe"), dir.file("p002.html"));
    fs::create_symlink(dir.file("p003.html"), dir.file("p003.html"));  // a loop
    fs::create_symlink(dir.file("missing/p004.html"), dir.file("p004.html"));

    for (const char* name : {"p001.html", "p002.html", "p003.html", "p004.html"})
        EXPECT_FALSE(WriteWhole(dir.file(name), "x")) << name;

    EXPECT_EQ(DirectoryListing(dir.path()),
              (Names{"folder", "p001.html", "p002.html", "p003.html", "p004.html", "pipe"}));
    EXPECT_TRUE(fs::is_empty(dir.file("folder")));
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
}

TEST(OutputFile, AnotherHardLinkToTheOldFileKeepsTheOldBytes)
{
    TempDir dir;
    WriteFileBytes(dir.file("p001.html"), "old");
    fs::create_hard_link(dir.file("p001.html"), dir.file("copy.html"));

    ASSERT_TRUE(WriteWhole(dir.file("p001.html"), "new"));

    EXPECT_EQ(ReadFileBytes(dir.file("p001.html")), "new");
    EXPECT_EQ(ReadFileBytes(dir.file("copy.html")), "old");
}

// Read-only means no write bit at all, and root is held to that too.
TEST(OutputFile, AReadOnlyFileIsLeftExactlyAsItIs)
{
    TempDir dir;
    const std::string path = dir.file("p001.html");
    WriteFileBytes(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const ino_t inode = InodeOf(path);

    OutputFile file(path);

    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Take("new") && file.Commit());
    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(PermissionsOf(path), mode_t{0444});
    EXPECT_EQ(InodeOf(path), inode);
}

// In a child that is no root: a rename needs only a writable directory, so
// nothing but the file's own permissions stops a replacement.
TEST(OutputFileDeathTest, AFileThisUserMayNotWriteIsLeftExactlyAsItIs)
{
    TempDir dir;
    GiveToUnprivilegedUser(dir.path().string());
    Names refused;
    // A file of the user's own with no write bit...
    WriteFileBytes(dir.file("read-only.html"), "old");
    GiveToUnprivilegedUser(dir.file("read-only.html"));
    chmod(dir.file("read-only.html").c_str(), 0444);
    refused.push_back("read-only.html");
    // ...and one of another user's that only its owner may write.
    if (geteuid() == 0) {
        WriteFileBytes(dir.file("root's.html"), "old");
        chmod(dir.file("root's.html").c_str(), 0644);
        refused.push_back("root's.html");
    }
    EXPECT_EXIT(
        {
            if (!BecomeUnprivilegedUser()) {
                std::fputs("cannot drop root's privileges\n", stderr);
                _exit(2);
            }
            bool left = true;
            for (const std::string& name : refused) {
                OutputFile file(dir.file(name));
                left = left && !file.IsOpen() && !file.Commit();
            }
            left = left && DirectoryListing(dir.path()) == refused;
            for (const std::string& name : refused)
                left = left && ReadFileBytes(dir.file(name)) == "old";
            // Its own files it may still write.
            const bool written = WriteWhole(dir.file("p001.html"), "new");
            // _exit: a leak check at exit cannot inspect a process that dropped root.
            _exit(left && written ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

// In a child process: the program is closing from then on.
#endif

// On Windows a removed file a run still holds open stays listed until it is
// closed, which this check, made while it is open, cannot wait for.
#ifndef _WIN32
TEST(RemoveOutputFilesInFlightDeathTest, FindsFilesNamedBeforeAChangeOfDirectory)
{
    TempDir dir;
    fs::create_directory(dir.file("before"));
    fs::create_directory(dir.file("after"));
    EXPECT_EXIT(
        {
            fs::current_path(dir.path() / "before");
            OutputFile writing("p001.html");
            const bool started = writing.Take("half a page");
            fs::current_path(dir.path() / "after");
            RemoveOutputFilesInFlight();
            const bool removed = DirectoryListing(dir.file("before")).empty()
                && DirectoryListing(dir.file("after")).empty();
            std::exit(started && removed ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
#endif

TEST(OutputFile, ARelativePathIsFixedWhenTheFileIsNamed)
{
    TempDir dir;
    fs::create_directory(dir.file("before"));
    fs::create_directory(dir.file("after"));
    ScopedCurrentDirectory inBefore(dir.path() / "before");
    {
        OutputFile file("p001.html");
        ASSERT_TRUE(file.Take("page"));
        ScopedCurrentDirectory inAfter(dir.path() / "after");
        EXPECT_TRUE(file.Commit());
    }

    EXPECT_EQ(DirectoryListing(dir.file("before")), Names{"p001.html"});
    EXPECT_EQ(ReadFileBytes(dir.file("before/p001.html")), "page");
    EXPECT_TRUE(DirectoryListing(dir.file("after")).empty());
}

}  // namespace
