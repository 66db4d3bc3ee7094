#pragma once

#include <string>

// The program's title for message boxes: the file name of `executablePath`
// without its directory, cut at its first dot, with every letter after the
// first in lower case ("/opt/QUELLORY.bin" gives "Quellory").
std::string ProgramTitle(const std::string& executablePath);
