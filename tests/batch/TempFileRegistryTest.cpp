#include "TempFileRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DirectoryListing.h"
#include "TempDir.h"

namespace {

using namespace std::chrono_literals;
using Names = std::vector<std::string>;

// Far beyond what any step here needs, unless it waits for a call that hangs.
constexpr auto kDeadline = 30s;
constexpr auto kPatience = std::chrono::milliseconds(kDeadline);

// Which call hangs: creating a file before it is made, or after it is made
// but before the call returns, or removing one.
enum class HangIn { Creation, CreationOfAMadeFile, Removal };

// The real file calls, except that the one named by HangIn hangs for a file
// whose name holds "stuck" until let go, as a call to a network mount whose
// server has gone away does.
class HangingCalls : public TempFileCalls {
public:
    explicit HangingCalls(HangIn hangIn) : hangIn_(hangIn) {}

    NativeFile CreateNew(const std::string& path) override
    {
        if (hangIn_ == HangIn::Creation)
            HangIfStuck(path);
        NativeFile file = TempFileCalls::CreateNew(path);
        if (hangIn_ == HangIn::CreationOfAMadeFile)
            HangIfStuck(path);
        return file;
    }

    void Remove(const std::string& path) override
    {
        if (hangIn_ == HangIn::Removal)
            HangIfStuck(path);
        TempFileCalls::Remove(path);
        std::lock_guard lock(mutex_);
        ++removed_;
        changed_.notify_all();
    }

    // Waits until a call hangs; false when none did by the deadline.
    bool WaitForAHangingCall()
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kDeadline, [this] { return hanging_ > 0; });
    }

    // Waits until `count` removals are done; false when they were not by the deadline.
    bool WaitForRemovals(int count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kDeadline, [&] { return removed_ >= count; });
    }

    // Lets every hanging call, and every later one, go on.
    void LetGo()
    {
        std::lock_guard lock(mutex_);
        letGo_ = true;
        changed_.notify_all();
    }

private:
    void HangIfStuck(const std::string& path)
    {
        if (path.find("stuck") == std::string::npos)
            return;
        std::unique_lock lock(mutex_);
        ++hanging_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return letGo_; });
        --hanging_;
    }

    const HangIn hangIn_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int hanging_ = 0;
    int removed_ = 0;
    bool letGo_ = false;
};

// Lets the calls go when the test ends, however it ends, so no thread is left hanging.
class LetGoAtTheEnd {
public:
    explicit LetGoAtTheEnd(HangingCalls& calls) : calls_(calls) {}
    ~LetGoAtTheEnd() { calls_.LetGo(); }
    LetGoAtTheEnd(const LetGoAtTheEnd&) = delete;
    LetGoAtTheEnd& operator=(const LetGoAtTheEnd&) = delete;

private:
    HangingCalls& calls_;
};

bool FinishesInTime(std::future<void>& step)
{
    return step.wait_for(kDeadline) == std::future_status::ready;
}

TEST(TempFileRegistry, CreatesHiddenFilesBesideTheTargetWithDistinctNames)
{
    TempDir dir;
    TempFileRegistry registry;
    std::string first;
    std::string second;
    NativeFile firstFile = registry.Create(dir.file("p001.html"), first);
    NativeFile secondFile = registry.Create(dir.file("p001.html"), second);
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
    NativeFile committedFile = registry.Create(dir.file("kept.html"), committed);
    NativeFile discardedFile = registry.Create(dir.file("gone.html"), discarded);
    ASSERT_TRUE(committedFile.valid());
    ASSERT_TRUE(discardedFile.valid());
    ASSERT_TRUE(committedFile.WriteAll("new"));
    // Closed first, as a writer does: Windows moves and removes no open file.
    ASSERT_TRUE(committedFile.Close());
    ASSERT_TRUE(discardedFile.Close());

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
    NativeFile file = registry.Create(dir.file("taken"), temp);
    ASSERT_TRUE(file.valid());
    ASSERT_TRUE(file.Close());

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
    NativeFile firstFile = registry.Create(dir.file("a.html"), first);
    NativeFile secondFile = registry.Create(dir.file("b.html"), second);
    ASSERT_EQ(DirectoryListing(dir.path()).size(), 2u);

    EXPECT_TRUE(registry.RemoveAllAndClose(kPatience));
    // On Windows a removed file that is still open goes when it is closed,
    // as the writers' files do when the program ends.
    firstFile = NativeFile();
    secondFile = NativeFile();

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

TEST(TempFileRegistry, AFileCreationThatHangsHoldsUpNeitherOtherFilesNorTheCleanUp)
{
    TempDir dir;
    auto calls = std::make_shared<HangingCalls>(HangIn::Creation);
    TempFileRegistry registry(calls);
    // What the steps below set; they outlive the steps, which may still be waiting.
    std::string stuckTemp;
    NativeFile stuckFile;
    bool committed = false;
    std::string kept;
    NativeFile keptFile;
    bool removedAll = false;
    std::future<void> stuck;
    std::future<void> others;
    std::future<void> cleanUp;
    const LetGoAtTheEnd letGo(*calls);  // goes before the steps, which wait for it

    stuck = std::async(std::launch::async,
                       [&] { stuckFile = registry.Create(dir.file("stuck.html"), stuckTemp); });
    ASSERT_TRUE(calls->WaitForAHangingCall());

    others = std::async(std::launch::async, [&] {
        std::string temp;
        NativeFile file = registry.Create(dir.file("p001.html"), temp);
        committed = file.valid() && registry.Commit(temp, dir.file("p001.html"));
        keptFile = registry.Create(dir.file("p002.html"), kept);
    });
    ASSERT_TRUE(FinishesInTime(others));
    EXPECT_TRUE(committed);
    EXPECT_TRUE(keptFile.valid());

    // It gives up waiting for the hung creation, but removes the file in flight.
    cleanUp = std::async(std::launch::async,
                         [&] { removedAll = registry.RemoveAllAndClose(100ms); });
    ASSERT_TRUE(FinishesInTime(cleanUp));
    EXPECT_FALSE(removedAll);
    keptFile = NativeFile();  // on Windows a removed open file goes when closed
    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});

    // Once it comes back, the hung creation finds the registry closed and takes its file away.
    calls->LetGo();
    ASSERT_TRUE(FinishesInTime(stuck));
    EXPECT_FALSE(stuckFile.valid());
    EXPECT_EQ(DirectoryListing(dir.path()), Names{"p001.html"});
}

TEST(TempFileRegistry, TheCleanUpWaitsForAFileMadeJustAsItClosed)
{
    TempDir dir;
    auto calls = std::make_shared<HangingCalls>(HangIn::CreationOfAMadeFile);
    TempFileRegistry registry(calls);
    std::string stuckTemp;
    NativeFile stuckFile;
    bool removedAll = false;
    Names leftBehind;
    std::future<void> stuck;
    std::future<void> cleanUp;
    const LetGoAtTheEnd letGo(*calls);

    stuck = std::async(std::launch::async,
                       [&] { stuckFile = registry.Create(dir.file("stuck.html"), stuckTemp); });
    ASSERT_TRUE(calls->WaitForAHangingCall());
    ASSERT_EQ(DirectoryListing(dir.path()).size(), 1u);  // made, but not yet listed

    // What the process would leave behind if it ended the moment the clean-up returned.
    cleanUp = std::async(std::launch::async, [&] {
        removedAll = registry.RemoveAllAndClose(kPatience);
        leftBehind = DirectoryListing(dir.path());
    });
    // Files made before the registry closes are listed, so the clean-up takes them.
    const auto giveUp = std::chrono::steady_clock::now() + kDeadline;
    std::string probe;
    while (registry.Create(dir.file("probe.html"), probe).valid())
        ASSERT_LT(std::chrono::steady_clock::now(), giveUp);
    // A clean-up that did not wait for the creation would be back by now.
    EXPECT_EQ(cleanUp.wait_for(200ms), std::future_status::timeout);
    calls->LetGo();

    ASSERT_TRUE(FinishesInTime(cleanUp));
    EXPECT_TRUE(removedAll);
    EXPECT_TRUE(leftBehind.empty()) << leftBehind.front();
    ASSERT_TRUE(FinishesInTime(stuck));
    EXPECT_FALSE(stuckFile.valid());
}

TEST(TempFileRegistry, TheCleanUpGivesUpWaitingForARemovalThatHangs)
{
    TempDir dir;
    auto calls = std::make_shared<HangingCalls>(HangIn::Removal);
    const LetGoAtTheEnd letGo(*calls);
    TempFileRegistry registry(calls);
    std::string stuck;
    std::string plain;
    NativeFile stuckFile = registry.Create(dir.file("stuck.html"), stuck);
    NativeFile plainFile = registry.Create(dir.file("plain.html"), plain);
    ASSERT_TRUE(stuckFile.valid() && plainFile.valid());

    EXPECT_FALSE(registry.RemoveAllAndClose(10ms));

    std::string late;
    EXPECT_FALSE(registry.Create(dir.file("late.html"), late).valid());
    // The removals go on after the wait, and finish once the call comes back.
    calls->LetGo();
    ASSERT_TRUE(calls->WaitForRemovals(2));
    stuckFile = NativeFile();  // on Windows a removed open file goes when closed
    plainFile = NativeFile();
    EXPECT_TRUE(DirectoryListing(dir.path()).empty());
}

}  // namespace
