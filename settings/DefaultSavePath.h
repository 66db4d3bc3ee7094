#pragma once

#include <string>

// Where output goes when the settings file names no folder: "C:\MyPath" on
// Windows; on Linux, where that means nothing, the folder MyPath in the
// user's home directory.
std::string DefaultSavePath();
