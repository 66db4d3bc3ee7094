#include "SettingsLocation.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "HomeDirectory.h"
#include "SettingsPath.h"

namespace {

constexpr const char* kUserSettingsFile = "Quellory/Trovanix.ini";

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

std::string Join(const std::string& directory, const std::string& name)
{
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

// The user's configuration directory: an absolute $XDG_CONFIG_HOME, else
// ~/.config; empty when there is no home to put it in.
std::string ConfigDirectory(const SettingsSurroundings& surroundings)
{
    // A relative value would depend on where the program was started from.
    if (IsAbsolute(surroundings.xdgConfigHome))
        return surroundings.xdgConfigHome;
    if (IsAbsolute(surroundings.home))
        return Join(surroundings.home, ".config");
    return {};
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// $HOME as the desktop session set it, else the password database's entry.
std::string UserHome()
{
    std::string home = Environment("HOME");
    return IsAbsolute(home) ? home : HomeDirectory();
}

bool Exists(const std::string& path)
{
    struct stat status{};
    return lstat(path.c_str(), &status) == 0;
}

}  // namespace

SettingsLocation ChooseSettingsLocation(const SettingsSurroundings& surroundings)
{
    if (surroundings.programDirectoryWritable)
        return {surroundings.besideProgram, ""};
    const std::string configDirectory = ConfigDirectory(surroundings);
    // Nowhere else to go: saves fail beside the program, as they always did.
    if (configDirectory.empty())
        return {surroundings.besideProgram, ""};
    return {Join(configDirectory, kUserSettingsFile), surroundings.besideProgram};
}

SettingsLocation SettingsLocationAtStartUp()
{
    return ChooseSettingsLocation({
        .besideProgram = SettingsFilePath(),
        .programDirectoryWritable = access(ExecutableDirectory().c_str(), W_OK) == 0,
        .xdgConfigHome = Environment("XDG_CONFIG_HOME"),
        .home = UserHome(),
    });
}

std::string SettingsFileToLoad(const SettingsLocation& location)
{
    if (location.shippedFile.empty() || Exists(location.iniFile) || !Exists(location.shippedFile))
        return location.iniFile;
    return location.shippedFile;
}

bool CreateSettingsDirectory(const std::string& iniFile)
{
    const std::string directory = iniFile.substr(0, iniFile.rfind('/') + 1);
    // Each missing component from the top down; the first one that can't be
    // made leaves the save to fail as any unwritable place would.
    for (std::size_t slash = directory.find('/', 1); slash != std::string::npos;
         slash = directory.find('/', slash + 1)) {
        const std::string part = directory.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat status{};
    const std::string here = directory.empty() ? "." : directory;
    return stat(here.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
