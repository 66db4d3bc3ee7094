#pragma once

#include <string>

// Where the job fields are kept for one start of the program.
struct SettingsLocation {
    std::string iniFile;      // every save writes here
    std::string shippedFile;  // read instead while iniFile does not exist; empty when none
};

// What the choice of location depends on, as found at start-up.
struct SettingsSurroundings {
    std::string besideProgram;      // Trovanix.ini in the executable's directory
    bool programDirectoryWritable;  // whether this user may create files there
    // The user's configuration directory as the system names it: on Linux
    // $XDG_CONFIG_HOME (empty when unset), on Windows the roaming application
    // data folder (%APPDATA%).
    std::string xdgConfigHome;
    std::string home;  // Linux: the user's home directory, empty when unknown
};

// The settings file is the one beside the program while this user may write
// there; otherwise it is Quellory/Trovanix.ini in the user's configuration
// directory (~/.config or $XDG_CONFIG_HOME on Linux, %APPDATA% on Windows),
// and the file beside the program is read as shipped defaults until that one
// exists.
SettingsLocation ChooseSettingsLocation(const SettingsSurroundings& surroundings);

// ChooseSettingsLocation for this process: its executable, this user's rights
// and environment.
SettingsLocation SettingsLocationAtStartUp();

// The file to load the job fields from: iniFile once it exists, else the
// shipped file when there is one.
std::string SettingsFileToLoad(const SettingsLocation& location);

// Makes the missing directories on the way to `iniFile`, each open to this
// user only; returns whether the directory is there afterwards.
bool CreateSettingsDirectory(const std::string& iniFile);
