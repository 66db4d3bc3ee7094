#include "WholeFile.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>

#include "UniqueHandle.h"
#include "Utf16.h"

namespace {

// Serialises the writers of this process; the lock file below does the same
// between processes.
std::mutex writeMutex;
std::atomic<unsigned> tempCounter{0};

// More than a profile write adds: a header and a key line of the longest
// names and value the profile routines pass on.
constexpr std::size_t kEditRoom = 4096;

// Another program (a virus scanner, an editor reading the file) may hold the
// file open for a moment, which makes Windows refuse to replace it.
constexpr auto kReplacePatience = std::chrono::seconds(1);

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The attributes a replacing file takes over from the file it replaces.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Holds an exclusive LockFileEx lock on the hidden file "<path>.lock" while
// it lives. The settings file itself cannot carry the lock: Windows does not
// replace a file that is held open.
class WriterLock {
public:
    explicit WriterLock(const std::wstring& path)
        : file_(CreateFileW((path + L".lock").c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr))
    {
        OVERLAPPED whole{};
        locked_ = file_.valid() && LockFileEx(file_.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole);
    }
    ~WriterLock()
    {
        if (locked_) {
            OVERLAPPED whole{};
            UnlockFileEx(file_.get(), 0, 1, 0, &whole);
        }
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

    bool locked() const { return locked_; }

private:
    UniqueHandle file_;
    bool locked_ = false;
};

// The file a symbolic link leads to, so that a settings file kept elsewhere
// through a link is updated there instead of the link being replaced by a copy.
std::wstring ThroughLinks(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    UniqueHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return path;
    std::wstring target(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file.get(), target.data(),
                                                       static_cast<DWORD>(target.size()), 0);
        if (length == 0)
            return path;
        if (length < target.size()) {
            target.resize(length);
            return target;
        }
        target.resize(length);
    }
}

// Moves `temp` over `path`, waiting a little while another program holds `path` open.
bool MoveOver(const std::wstring& temp, const std::wstring& path)
{
    const auto giveUp = std::chrono::steady_clock::now() + kReplacePatience;
    for (;;) {
        if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)
            || std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Writes `bytes` to a new hidden file beside `path` and moves it over `path`;
// `attributes` are the old file's, or 0 for a new file.
bool ReplaceWith(const std::wstring& path, const std::string& bytes, DWORD attributes)
{
    const DWORD created = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes & kKeptAttributes;
    std::wstring tempPath;
    UniqueHandle file;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        tempPath = path + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-"
            + std::to_wstring(tempCounter++);
        file = UniqueHandle(CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        created | FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (!file.valid())
        return false;
    // Flushed before the move, so a crash leaves either the old file or the whole new one.
    const bool written = file.WriteAll(bytes) && FlushFileBuffers(file.get());
    const bool closed = file.Close();
    // The temporary file was hidden; the new settings file looks like the old one.
    if (!written || !closed || !SetFileAttributesW(tempPath.c_str(), created)
        || !MoveOver(tempPath, path)) {
        DeleteFileW(tempPath.c_str());
        return false;
    }
    return true;
}

// Whether a file of `size` bytes could be held in this machine's memory; a
// larger one is never read, rather than read until memory runs out.
bool FitsInMemory(unsigned long long size)
{
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (size > std::string().max_size() - kEditRoom)
        return false;
    return !GlobalMemoryStatusEx(&memory) || size <= memory.ullTotalPhys;
}

std::optional<std::string> ReadWhole(const std::wstring& path)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    // Only a file on disk has an end: a pipe or a device could be read for ever.
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size)
        || !FitsInMemory(static_cast<unsigned long long>(size.QuadPart)))
        return std::nullopt;
    try {
        std::string content;
        // Room for a writer's small edit, so that a huge file is never copied again for it.
        content.reserve(static_cast<std::size_t>(size.QuadPart) + kEditRoom);
        char chunk[65536];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr))
                return std::nullopt;
            if (got == 0)
                return content;
            content.append(chunk, got);
        }
    } catch (const std::exception&) {  // too large for the memory there is now
        return std::nullopt;
    }
}

// Whether `path` is missing or a file we may replace: a directory may not be,
// and the read-only attribute means what it says.
bool MayReplace(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    const auto widePath = ToUtf16(path);
    if (!widePath)
        return std::nullopt;
    return ReadWhole(*widePath);
}

bool UpdateWholeFile(const std::string& linkOrPath,
                     const std::function<void(std::string&)>& change)
{
    const auto widePath = ToUtf16(linkOrPath);
    if (!widePath)
        return false;
    std::lock_guard<std::mutex> threadLock(writeMutex);
    const std::wstring path = ThroughLinks(*widePath);

    // Looked at before the lock file is made, so that a refused write leaves
    // the directory as it was, and again once the lock is held.
    if (!MayReplace(path))
        return false;
    WriterLock lock(path);
    if (!lock.locked() || !MayReplace(path))
        return false;

    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;

    std::string current;
    if (exists) {
        auto content = ReadWhole(path);
        if (!content)  // rewriting a file we cannot read would lose it
            return false;
        current = std::move(*content);
    }
    change(current);
    return ReplaceWith(path, current, exists ? attributes : 0);
}
