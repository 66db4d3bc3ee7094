#include "OutputTarget.h"

#include <windows.h>

#include <cerrno>

#include "TempFileRegistry.h"
#include "Utf16.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The attributes a replacing file takes over from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
    | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The file a symbolic link at `path` leads to, or `path` itself.
std::wstring ThroughLinks(const std::wstring& path, DWORD attributes)
{
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    UniqueHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::wstring target(MAX_PATH, L'\0');
    while (file.valid()) {
        const DWORD length = GetFinalPathNameByHandleW(file.get(), target.data(),
                                                       static_cast<DWORD>(target.size()), 0);
        if (length == 0)
            break;
        if (length < target.size()) {
            target.resize(length);
            return target;
        }
        target.resize(length);
    }
    return path;
}

}  // namespace

std::optional<OutputTarget> FindOutputTarget(const std::string& path)
{
    const auto wide = ToUtf16(path);
    if (!wide)
        return std::nullopt;
    const std::wstring target = ThroughLinks(*wide, GetFileAttributesW(wide->c_str()));
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return std::nullopt;  // a missing directory, a name the system refuses
        return OutputTarget{FromUtf16(target), false, 0};
    }
    // The read-only attribute means what it says.
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE))
        return std::nullopt;
    return OutputTarget{FromUtf16(target), true, attributes};
}

void KeepModeOf(const OutputTarget&, const NativeFile&)
{
}

bool RegularFileExists(const std::string& path)
{
    const auto wide = ToUtf16(path);
    if (!wide)
        return false;
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

unsigned long CurrentProcessId()
{
    return GetCurrentProcessId();
}

NativeFile TempFileCalls::CreateNew(const std::string& path)
{
    const auto wide = ToUtf16(path);
    if (!wide) {
        errno = EINVAL;
        return NativeFile();
    }
    // Hidden while it is written: a half-written page is nothing to look at.
    // Shared for deletion, so that a program on its way out can remove it
    // while a run still has it open; the system lets it go with the handle.
    NativeFile file(CreateFileW(wide->c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        errno = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? EEXIST : EACCES;
    }
    return file;
}

bool TempFileCalls::Rename(const std::string& from, const std::string& to)
{
    const auto wideFrom = ToUtf16(from);
    const auto wideTo = ToUtf16(to);
    if (!wideFrom || !wideTo)
        return false;
    // The new file looks like the one it replaces, or like any new file.
    const DWORD old = GetFileAttributesW(wideTo->c_str());
    const DWORD kept = old == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : (old & kKeptAttributes);
    if (!SetFileAttributesW(wideFrom->c_str(), kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept))
        return false;
    // One step: a reader sees the old file or the whole new one. A read-only
    // file there is refused by the system too.
    return MoveFileExW(wideFrom->c_str(), wideTo->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void TempFileCalls::Remove(const std::string& path)
{
    if (const auto wide = ToUtf16(path))
        DeleteFileW(wide->c_str());
}
