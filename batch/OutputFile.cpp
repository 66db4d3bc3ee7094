#include "OutputFile.h"

#include <chrono>
#include <utility>

#include "AbsolutePath.h"
#include "TempFileRegistry.h"
#include "OutputTarget.h"

namespace {

TempFileRegistry& OutputFilesInFlight()
{
    // Never destroyed: runs may still be writing while the program exits.
    static auto* registry = new TempFileRegistry;
    return *registry;
}

constexpr std::chrono::seconds kPatienceOnTheWayOut{1};

}  // namespace

OutputFile::OutputFile(const std::string& path)
{
    // The system would read the path only up to a zero byte: another file.
    if (path.find('\0') != std::string::npos)
        return;
    auto target = FindOutputTarget(AbsolutePath(path));
    if (!target)
        return;
    path_ = target->path;
    file_ = OutputFilesInFlight().Create(path_, tempPath_);
    if (file_.valid())
        KeepModeOf(*target, file_);
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
    file_ = NativeFile();
    OutputFilesInFlight().Discard(tempPath_);
    tempPath_.clear();
}

void RemoveOutputFilesInFlight()
{
    OutputFilesInFlight().RemoveAllAndClose(kPatienceOnTheWayOut);
}
