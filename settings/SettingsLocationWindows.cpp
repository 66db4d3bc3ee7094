#include "SettingsLocation.h"

#include <windows.h>

#include <shlobj.h>

#include "SettingsPath.h"
#include "Utf16.h"

namespace {

constexpr const char* kUserSettingsFile = "Quellory\\Trovanix.ini";

bool IsAbsolute(const std::string& path)
{
    // A drive letter and a backslash, or a network path.
    return (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
           path.starts_with("\\\\");
}

std::string Join(const std::string& directory, const std::string& name)
{
    return directory.ends_with('\\') || directory.ends_with('/') ? directory + name : directory + "\\" + name;
}

// The user's roaming application data folder (%APPDATA%), or empty when the
// system has none for this user.
std::string RoamingAppData()
{
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = FromUtf16(path);
    CoTaskMemFree(path);
    return folder;
}

// Whether this user may create files in `directory`: the one sure test is to
// create one. Access rights alone don't tell, with inherited and denying
// entries, read-only shares and removable media.
bool MayCreateFilesIn(const std::string& directory)
{
    const auto probe = ToUtf16(Join(directory, "Trovanix.ini.write-test-" + std::to_string(GetCurrentProcessId())));
    if (!probe)
        return false;
    HANDLE file = CreateFileW(probe->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(file);
    return true;
}

bool Exists(const std::string& path)
{
    const auto wide = ToUtf16(path);
    return wide && GetFileAttributesW(wide->c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// On Windows the user's configuration directory is the roaming application
// data folder, which SettingsLocationAtStartUp puts in `xdgConfigHome`.
SettingsLocation ChooseSettingsLocation(const SettingsSurroundings& surroundings)
{
    if (surroundings.programDirectoryWritable || !IsAbsolute(surroundings.xdgConfigHome))
        return {surroundings.besideProgram, ""};
    return {Join(surroundings.xdgConfigHome, kUserSettingsFile), surroundings.besideProgram};
}

SettingsLocation SettingsLocationAtStartUp()
{
    return ChooseSettingsLocation({
        .besideProgram = SettingsFilePath(),
        .programDirectoryWritable = MayCreateFilesIn(ExecutableDirectory()),
        .xdgConfigHome = RoamingAppData(),
        .home = "",
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
    const std::size_t separator = iniFile.find_last_of("\\/");
    const std::string directory = separator == std::string::npos ? "." : iniFile.substr(0, separator + 1);
    const auto wide = ToUtf16(directory);
    if (!wide)
        return false;
    // Each missing level from the top down; the new ones inherit the rights
    // of the folder above, which for the application data folder are the
    // user's alone. The first that can't be made leaves the save to fail.
    for (std::size_t cut = wide->find_first_of(L"\\/", 3); cut != std::wstring::npos;
         cut = wide->find_first_of(L"\\/", cut + 1)) {
        const std::wstring level = wide->substr(0, cut);
        if (!IsDirectory(level) && !CreateDirectoryW(level.c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return IsDirectory(*wide);
}
