#pragma once

// A profile (INI) file service with the shape of the classic Windows calls, so
// callers read the same on every platform. Sections, keys and values are in
// the settings file's stored form (StoredText.h); file names are UTF-8.
// Neither call throws.

// Copies the value of `key` in `section` of `fileName` (or `defaultValue`,
// trailing blanks removed, when the file, section or key is missing) into
// `returned`, cut to size-1 bytes without splitting a stored character;
// returns the number of bytes copied, and touches nothing when size is 0. A
// file that cannot be read whole counts as missing.
unsigned GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                  char* returned, unsigned size, const char* fileName);

// Sets `key` in `section` of `fileName` to `value`, replacing the whole file
// atomically; returns false, changing nothing, when it cannot be read whole or
// written or the names or value would not read back as written (a line break,
// for one). Symbolic links are followed; a dangling one gets its target.
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName);
