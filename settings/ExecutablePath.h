#pragma once

#include <string>

// The full path of the running executable, or an empty text when the system
// won't say.
std::string ExecutablePath();
