#include "TempFileRegistry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

namespace {

// Leaves room for the dot and the number within the usual 255-byte name limit.
constexpr std::size_t kMaxNamePart = 200;

// A few tries get past files of an earlier process that had the same id.
constexpr int kCreateAttempts = 100;

std::string TempPathFor(std::string_view targetPath, const std::string& uniquePart)
{
    const std::size_t slash = targetPath.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::string path(targetPath.substr(0, nameStart));
    path += '.';
    path += targetPath.substr(nameStart, kMaxNamePart);
    path += '.';
    path += uniquePart;
    return path;
}

}  // namespace

UniqueFd TempFileRegistry::Create(const std::string& targetPath, std::string& tempPath)
{
    // Creating and listing under one lock means RemoveAllAndClose never
    // misses a file that is already on disk.
    std::lock_guard lock(mutex_);
    if (closed_)
        return UniqueFd();
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const std::string uniquePart = std::to_string(pid_) + '-' + std::to_string(nextNumber_++);
        std::string candidate = TempPathFor(targetPath, uniquePart);
        // Mode 0666 lets the umask decide, as for any newly created file.
        UniqueFd file(open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.valid()) {
            paths_.insert(candidate);
            tempPath = std::move(candidate);
            return file;
        }
        if (errno != EEXIST)
            break;
    }
    return UniqueFd();
}

bool TempFileRegistry::Commit(const std::string& tempPath, const std::string& targetPath)
{
    std::lock_guard lock(mutex_);
    const bool renamed = std::rename(tempPath.c_str(), targetPath.c_str()) == 0;
    if (!renamed)
        unlink(tempPath.c_str());
    paths_.erase(tempPath);
    return renamed;
}

void TempFileRegistry::Discard(const std::string& tempPath)
{
    std::lock_guard lock(mutex_);
    unlink(tempPath.c_str());
    paths_.erase(tempPath);
}

void TempFileRegistry::RemoveAllAndClose()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (const std::string& path : paths_)
        unlink(path.c_str());
    paths_.clear();
}
