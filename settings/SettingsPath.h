#pragma once

#include <string>

// The directory of the running executable, ending in its path separator.
std::string ExecutableDirectory();

// The settings file beside the executable: ExecutableDirectory() + "Trovanix.ini".
std::string SettingsFilePath();
