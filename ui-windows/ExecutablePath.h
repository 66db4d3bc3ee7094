#pragma once

#include <string>

// The full path of the running program (UTF-8), or empty when the system won't say.
std::string ExecutablePath();
