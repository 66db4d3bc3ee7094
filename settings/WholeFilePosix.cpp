#include "WholeFile.h"

#include <atomic>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "UniqueFd.h"
#include "WriteTarget.h"

namespace {

// A temporary file that is removed unless it was renamed into place.
class TempFile {
public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile()
    {
        if (!path_.empty())
            unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool renameTo(const std::string& target)
    {
        if (rename(path_.c_str(), target.c_str()) != 0)
            return false;
        path_.clear();
        return true;
    }

private:
    std::string path_;
};

// Serialises the writers of this process; the directory lock below does the
// same between processes.
std::mutex writeMutex;
std::atomic<unsigned> tempCounter{0};

// More than a profile write adds: a header and a key line of the longest
// names and value the profile routines pass on.
constexpr std::size_t kEditRoom = 4096;

// Whether a file of `size` bytes could be held in memory at all; a bigger one
// (a sparse file of a terabyte, say) is not even read.
bool FitsInMemory(off_t size)
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return true;  // unknown: the allocation will tell
    return static_cast<unsigned long long>(size) <=
           static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize);
}

std::string DirectoryOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool LockExclusive(int fd)
{
    while (flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// A name beside `path` that no other writer uses: this process's id and a
// counter; a leftover from a crash is stepped over by O_EXCL.
std::string TempNameFor(const std::string& path)
{
    return path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(tempCounter++);
}

// Writes `bytes` to a new file beside `path` and renames it over `path`.
bool ReplaceWith(const std::string& path, const std::string& bytes, const struct stat* old)
{
    std::string tempPath;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = TempNameFor(path);
        fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    UniqueFd file(fd);
    if (!file.valid())
        return false;
    TempFile temp(tempPath);

    if (old != nullptr) {
        if (fchmod(file.get(), old->st_mode & 07777) != 0)
            return false;
        // Best effort: keeps a file that root rewrites usable by its owner;
        // anyone else can only give it to themselves, which it already is.
        [[maybe_unused]] int ignored = fchown(file.get(), old->st_uid, old->st_gid);
    }
    // fsync before rename, so a crash leaves either the old file or the whole new one.
    if (!file.WriteAll(bytes) || fsync(file.get()) != 0 || !file.Close())
        return false;
    return temp.renameTo(path);
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    // Only a regular file has an end: a named pipe would block the open and a
    // device such as /dev/zero would be read until memory runs out.
    UniqueFd file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !FitsInMemory(info.st_size))
        return std::nullopt;
    try {
        std::string content;
        // Room for a writer's small edit, so that a huge file is never copied again for it.
        content.reserve(static_cast<std::size_t>(info.st_size) + kEditRoom);
        char chunk[8192];
        for (;;) {
            ssize_t got = read(file.get(), chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return std::nullopt;
            if (got == 0)
                return content;
            content.append(chunk, static_cast<std::size_t>(got));
        }
    } catch (const std::exception&) {  // too large for the memory there is now
        return std::nullopt;
    }
}

bool UpdateWholeFile(const std::string& linkOrPath,
                     const std::function<void(std::string&)>& change)
{
    std::lock_guard<std::mutex> threadLock(writeMutex);

    // A settings file kept elsewhere through a link is updated there, and a
    // dangling link gets its target, instead of the link becoming a copy.
    const auto target = FindWriteTarget(linkOrPath);
    if (!target)
        return false;
    const std::string& path = target->path;

    std::string directory = DirectoryOf(path);
    // The lock is taken on the directory: it exists before the file does and
    // stays the same object while the file is replaced.
    UniqueFd directoryFd(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat directoryInfo {};
    if (!directoryFd.valid() || fstat(directoryFd.get(), &directoryInfo) != 0 ||
        !MayWrite(directory, directoryInfo) || !LockExclusive(directoryFd.get())) {
        return false;
    }

    struct stat fileInfo {};
    bool exists = stat(path.c_str(), &fileInfo) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && (!S_ISREG(fileInfo.st_mode) || !MayWrite(path, fileInfo)))
        return false;

    std::string current;
    if (exists) {
        auto content = ReadWholeFile(path);
        if (!content)  // rewriting a file we cannot read would lose it
            return false;
        current = std::move(*content);
    }
    change(current);
    return ReplaceWith(path, current, exists ? &fileInfo : nullptr);
}
