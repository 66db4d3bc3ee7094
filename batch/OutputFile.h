#pragma once

#include <string>
#include <string_view>

// Makes `bytes` the whole content of the file at `path`, replacing any file
// there; the file is at all times either the old one or wholly the new one.
// Returns whether the new content is in place.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Removes every output file still being written and refuses new ones; for a
// program that is closing while runs may still be going.
void RemoveOutputFilesInFlight();
