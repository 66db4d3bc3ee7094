#pragma once

#include <set>
#include <string>

// What the tests expect differently on the two platforms they run on.
#ifdef _WIN32
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif

// The names a directory holds once the settings file `name` has been written:
// on Windows writers also keep a hidden lock file beside it.
inline std::set<std::string> NamesAfterSettingsWrite(const std::string& name)
{
    if (kOnWindows)
        return {name, name + ".lock"};
    return {name};
}
