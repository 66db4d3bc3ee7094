#include "SettingsLocation.h"

#include <windows.h>

#include "SettingsPath.h"
#include "Utf16.h"

// On Windows the settings file is always the one beside the program, as
// users there expect; a directory they may not write to fails the saves.
SettingsLocation ChooseSettingsLocation(const SettingsSurroundings& surroundings)
{
    return {surroundings.besideProgram, ""};
}

SettingsLocation SettingsLocationAtStartUp()
{
    return {SettingsFilePath(), ""};
}

std::string SettingsFileToLoad(const SettingsLocation& location)
{
    return location.iniFile;
}

bool CreateSettingsDirectory(const std::string& iniFile)
{
    const std::size_t separator = iniFile.find_last_of("\\/");
    const std::string directory = separator == std::string::npos ? "." : iniFile.substr(0, separator + 1);
    const auto wide = ToUtf16(directory);
    if (!wide)
        return false;
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
