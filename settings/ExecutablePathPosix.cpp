#include "ExecutablePath.h"

#include <unistd.h>
#include <vector>

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
