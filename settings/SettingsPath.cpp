#include "SettingsPath.h"

#include <unistd.h>
#include <vector>

namespace {

// The path of the running executable, or empty when the system won't say.
std::string ExecutablePath()
{
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        // A full buffer may mean a cut path: try again with more room.
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::string ExecutableDirectory()
{
    std::string path = ExecutablePath();
    return path.substr(0, path.rfind('/') + 1);
}

std::string SettingsFilePath()
{
    return ExecutableDirectory() + "Trovanix.ini";
}
