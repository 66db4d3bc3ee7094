#include "HomeDirectory.h"

#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#include <vector>

std::string HomeDirectory()
{
    std::vector<char> buffer(1024);
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        int error = getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || found == nullptr || found->pw_dir == nullptr)
            return {};
        return found->pw_dir;
    }
}
