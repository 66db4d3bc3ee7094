#include "OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "TempFileRegistry.h"

namespace {

TempFileRegistry& OutputFilesInFlight()
{
    // Never destroyed: runs may still be writing while the program exits.
    static auto* registry = new TempFileRegistry;
    return *registry;
}

bool WriteAll(int fd, std::string_view bytes)
{
    // One call does it in practice; the loop covers short writes and signals.
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Gives the new file the permission bits of the file it replaces, as rewriting
// that file in place would have kept them.
void KeepPermissionsOf(const std::string& path, int fd)
{
    struct stat old {};
    if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        fchmod(fd, old.st_mode & 07777);
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view bytes)
{
    TempFileRegistry& registry = OutputFilesInFlight();
    std::string tempPath;
    UniqueFd file = registry.Create(path, tempPath);
    if (!file.valid())
        return false;
    KeepPermissionsOf(path, file.get());
    if (!WriteAll(file.get(), bytes) || !file.Close()) {
        registry.Discard(tempPath);
        return false;
    }
    return registry.Commit(tempPath, path);
}

void RemoveOutputFilesInFlight()
{
    OutputFilesInFlight().RemoveAllAndClose();
}
