#include "ProgramTitle.h"

#include <cctype>

namespace {

// Where a path's directory part may end: Windows takes either slash.
#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

}  // namespace

std::string ProgramTitle(const std::string& executablePath)
{
    std::string name = executablePath.substr(executablePath.find_last_of(kSeparators) + 1);
    name = name.substr(0, name.find('.'));
    for (std::size_t i = 1; i < name.size(); ++i)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}
