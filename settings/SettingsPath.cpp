#include "SettingsPath.h"

#include "ExecutablePath.h"
#include "PathSeparator.h"

std::string ExecutableDirectory()
{
    std::string path = ExecutablePath();
    return path.substr(0, path.rfind(kPathSeparator) + 1);
}

std::string SettingsFilePath()
{
    return ExecutableDirectory() + "Trovanix.ini";
}
