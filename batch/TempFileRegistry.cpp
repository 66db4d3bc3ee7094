#include "TempFileRegistry.h"

#include "PathSeparator.h"

#include <cerrno>
#include <condition_variable>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// Leaves room for the dot and the number within the usual 255-byte name limit.
constexpr std::size_t kMaxNamePart = 200;

// A few tries get past files of an earlier process that had the same id.
constexpr int kCreateAttempts = 100;

std::string TempPathFor(std::string_view targetPath, const std::string& uniquePart)
{
    const std::size_t slash = targetPath.find_last_of(kPathSeparators);
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::string path(targetPath.substr(0, nameStart));
    path += '.';
    path += targetPath.substr(nameStart, kMaxNamePart);
    path += '.';
    path += uniquePart;
    return path;
}

// Removals handed to a thread of their own, shared with it so that whoever
// waits may give up and go while a removal still hangs.
class Removals {
public:
    Removals(std::shared_ptr<TempFileCalls> calls, std::set<std::string> paths)
        : calls_(std::move(calls)), paths_(std::move(paths))
    {
    }

    void RemoveEach()
    {
        for (const std::string& path : paths_)
            calls_->Remove(path);
        std::lock_guard lock(mutex_);
        finished_ = true;
        finishedChanged_.notify_all();
    }

    bool WaitUntil(std::chrono::steady_clock::time_point deadline)
    {
        std::unique_lock lock(mutex_);
        return finishedChanged_.wait_until(lock, deadline, [this] { return finished_; });
    }

private:
    const std::shared_ptr<TempFileCalls> calls_;
    const std::set<std::string> paths_;
    std::mutex mutex_;
    std::condition_variable finishedChanged_;
    bool finished_ = false;
};

}  // namespace

NativeFile TempFileRegistry::Create(const std::string& targetPath, std::string& tempPath)
{
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        std::uint64_t number = 0;
        if (!BeginCreation(number))
            return NativeFile();
        std::string candidate = TempPathFor(targetPath, std::to_string(pid_) + '-' + std::to_string(number));
        NativeFile file = calls_->CreateNew(candidate);
        const int createError = errno;
        const bool made = file.valid();
        const bool listed = made && List(candidate);
        if (made && !listed) {
            // The program began closing while the file was made: it goes at once.
            file = NativeFile();
            calls_->Remove(candidate);
        }
        EndCreation();
        if (listed) {
            tempPath = std::move(candidate);
            return file;
        }
        if (made || createError != EEXIST)
            break;
    }
    return NativeFile();
}

bool TempFileRegistry::Commit(const std::string& tempPath, const std::string& targetPath)
{
    if (!IsListed(tempPath))
        return false;
    // Still listed during the rename, so a clean-up meanwhile removes the
    // file; then the rename finds nothing and fails.
    const bool renamed = calls_->Rename(tempPath, targetPath);
    if (!renamed)
        calls_->Remove(tempPath);
    Unlist(tempPath);
    return renamed;
}

void TempFileRegistry::Discard(const std::string& tempPath)
{
    calls_->Remove(tempPath);
    Unlist(tempPath);
}

bool TempFileRegistry::RemoveAllAndClose(std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::set<std::string> paths;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        paths.swap(paths_);
    }
    auto removals = std::make_shared<Removals>(calls_, std::move(paths));
    try {
        std::thread([removals] { removals->RemoveEach(); }).detach();
    } catch (const std::system_error&) {
        return false;  // no thread to spare: leaving the files beats hanging
    }
    const bool removed = removals->WaitUntil(deadline);
    // A file made just as the registry closed is not listed; its creator
    // removes it, and the process must not end before that.
    std::unique_lock lock(mutex_);
    const bool creationsEnded =
        creationEnded_.wait_until(lock, deadline, [this] { return creationsUnderWay_ == 0; });
    return removed && creationsEnded;
}

bool TempFileRegistry::BeginCreation(std::uint64_t& number)
{
    std::lock_guard lock(mutex_);
    if (closed_)
        return false;
    number = nextNumber_++;
    ++creationsUnderWay_;
    return true;
}

void TempFileRegistry::EndCreation()
{
    std::lock_guard lock(mutex_);
    --creationsUnderWay_;
    creationEnded_.notify_all();
}

bool TempFileRegistry::List(const std::string& tempPath)
{
    std::lock_guard lock(mutex_);
    if (closed_)
        return false;
    paths_.insert(tempPath);
    return true;
}

bool TempFileRegistry::IsListed(const std::string& tempPath)
{
    std::lock_guard lock(mutex_);
    return paths_.contains(tempPath);
}

void TempFileRegistry::Unlist(const std::string& tempPath)
{
    std::lock_guard lock(mutex_);
    paths_.erase(tempPath);
}
