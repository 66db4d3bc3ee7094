#pragma once

#include <string>

// Sets `count` bytes from `buffer` on to zero; does nothing when count <= 0.
void ZeroFill(char* buffer, int count);

// Puts `text`, in the settings file's stored form (StoredText.h), into a
// zero-terminated field of maxLen + 1 bytes, cut to at most maxLen bytes
// without splitting a character.
void StrToBuffer(const std::string& text, char* buffer, int maxLen);

// Returns the value of `key` in `section` of the settings file `fileName`, or
// `defaultValue` when it is missing; at most 1,022 stored bytes come back.
std::string ReadIniStr(std::string section, std::string key, std::string defaultValue,
                       std::string fileName);

// Stores `value` (at most its first 1,023 stored bytes) under `key` in
// `section` of the settings file `fileName`; returns whether it was stored.
// A text with a character the file's code page cannot hold is not stored.
bool WriteIniStr(std::string section, std::string key, std::string value, std::string fileName);
