#include "OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "TempFileRegistry.h"

namespace {

TempFileRegistry& OutputFilesInFlight()
{
    // Never destroyed: runs may still be writing while the program exits.
    static auto* registry = new TempFileRegistry;
    return *registry;
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

OutputFile::OutputFile(std::string path) : path_(std::move(path))
{
    // The system would read the path only up to a zero byte: another file.
    if (path_.find('\0') != std::string::npos)
        return;
    file_ = OutputFilesInFlight().Create(path_, tempPath_);
    if (file_.valid())
        KeepPermissionsOf(path_, file_.get());
}

OutputFile::~OutputFile()
{
    Discard();
}

bool OutputFile::Take(std::string_view bytes)
{
    if (!file_.valid() || writeFailed_)
        return false;
    writeFailed_ = !file_.WriteAll(bytes);
    return !writeFailed_;
}

bool OutputFile::Commit()
{
    if (!file_.valid())
        return false;
    // A failed close may mean written bytes never reached the disk.
    const bool closed = file_.Close();
    if (writeFailed_ || !closed) {
        Discard();
        return false;
    }
    const bool renamed = OutputFilesInFlight().Commit(tempPath_, path_);
    tempPath_.clear();
    return renamed;
}

void OutputFile::Discard()
{
    if (tempPath_.empty())
        return;
    file_ = UniqueFd();
    OutputFilesInFlight().Discard(tempPath_);
    tempPath_.clear();
}

void RemoveOutputFilesInFlight()
{
    OutputFilesInFlight().RemoveAllAndClose();
}
