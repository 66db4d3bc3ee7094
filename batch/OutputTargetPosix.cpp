#include "OutputTarget.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "TempFileRegistry.h"
#include "WriteTarget.h"

std::optional<OutputTarget> FindOutputTarget(const std::string& path)
{
    auto target = FindWriteTarget(path);
    if (!target)
        return std::nullopt;
    if (target->exists && !(S_ISREG(target->info.st_mode) && MayWrite(target->path, target->info)))
        return std::nullopt;
    return OutputTarget{std::move(target->path), target->exists, target->info.st_mode & 07777u};
}

void KeepModeOf(const OutputTarget& target, const NativeFile& file)
{
    if (target.exists)
        fchmod(file.get(), static_cast<mode_t>(target.keptMode));
}

bool RegularFileExists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

unsigned long CurrentProcessId()
{
    return static_cast<unsigned long>(getpid());
}

NativeFile TempFileCalls::CreateNew(const std::string& path)
{
    // Mode 0666 lets the umask decide, as for any newly created file.
    return NativeFile(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}

bool TempFileCalls::Rename(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void TempFileCalls::Remove(const std::string& path)
{
    unlink(path.c_str());
}
