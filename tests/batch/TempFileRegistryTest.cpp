#include "TempFileRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DirectoryListing.h"
#include "TempDir.h"

namespace {

using Names = std::vector<std::string>;

TEST(TempFileRegistry, CreatesHiddenFilesBesideTheTargetWithDistinctNames)
{
    TempDir dir;
    TempFileRegistry registry;
    std::string first;
    std::string second;
    UniqueFd firstFile = registry.Create(dir.file("p001.html"), first);
    UniqueFd secondFile = registry.Create(dir.file("p001.html"), second);
    ASSERT_TRUE(firstFile.valid());
    ASSERT_TRUE(secondFile.valid());

    EXPECT_NE(first, second);
    for (const std::string& path : {first, second}) {
        const std::filesystem::path temp(path);
        EXPECT_EQ(temp.parent_path(), dir.path());
        EXPECT_EQ(temp.filename().string().rfind(".p001.html.", 0), 0u) << path;
    }
}

TEST(TempFileRegistry, CommitRenamesOverTheTargetAndDiscardRemoves)
{
    TempDir dir;
    WriteFileBytes(dir.file("kept.html"), "old");
    TempFileRegistry registry;
    std::string committed;
    std::string discarded;
    UniqueFd committedFile = registry.Create(dir.file("kept.html"), committed);
    UniqueFd discardedFile = registry.Create(dir.file("gone.html"), discarded);
    ASSERT_TRUE(committedFile.valid());
    ASSERT_TRUE(discardedFile.valid());
    ASSERT_EQ(write(committedFile.get(), "new", 3), 3);

    EXPECT_TRUE(registry.Commit(committed, dir.file("kept.html")));
    registry.Discard(discarded);

    EXPECT_EQ(DirectoryListing(dir.path()), Names{"kept.html"});
    EXPECT_EQ(ReadFileBytes(dir.file("kept.html")), "new");
}

TEST(TempFileRegistry, FailedCommitLeavesTheTargetAndNoTemporaryFile)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("taken"));
    WriteFileBytes(dir.file("taken/inner"), "x");
    TempFileRegistry registry;
    std::string temp;
    UniqueFd file = registry.Create(dir.file("taken"), temp);
    ASSERT_TRUE(file.valid());

    EXPECT_FALSE(registry.Commit(temp, dir.file("taken")));

    EXPECT_EQ(DirectoryListing(dir.path()), Names{"taken"});
    EXPECT_EQ(ReadFileBytes(dir.file("taken/inner")), "x");
}

TEST(TempFileRegistry, RemoveAllAndCloseRemovesFilesInFlightAndRefusesNewOnes)
{
    TempDir dir;
    TempFileRegistry registry;
    std::string first;
    std::string second;
    UniqueFd firstFile = registry.Create(dir.file("a.html"), first);
    UniqueFd secondFile = registry.Create(dir.file("b.html"), second);
    ASSERT_EQ(DirectoryListing(dir.path()).size(), 2u);

    registry.RemoveAllAndClose();

    EXPECT_TRUE(DirectoryListing(dir.path()).empty());
    std::string late;
    EXPECT_FALSE(registry.Create(dir.file("c.html"), late).valid());
    EXPECT_TRUE(DirectoryListing(dir.path()).empty());
    // A writer that was still going finds its file gone and fails cleanly.
    EXPECT_FALSE(registry.Commit(first, dir.file("a.html")));
    EXPECT_TRUE(DirectoryListing(dir.path()).empty());
}

TEST(TempFileRegistry, CreateFailsInAMissingDirectory)
{
    TempDir dir;
    TempFileRegistry registry;
    std::string temp;
    EXPECT_FALSE(registry.Create(dir.file("missing/p001.html"), temp).valid());
}

}  // namespace
