#include "WriteTarget.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

// As many links as the system itself follows before it calls a chain a loop.
constexpr int kMaxLinks = 40;

// The text of the symbolic link at `path`, or nothing when it cannot be read.
// The size lstat gives is only a hint: some file systems report none.
std::optional<std::string> LinkText(const std::string& path, std::size_t sizeHint)
{
    std::vector<char> buffer(std::max<std::size_t>(sizeHint, 255) + 1);
    for (;;) {
        const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return std::nullopt;
        // A full buffer may mean a cut text: try again with more room.
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string DirectoryPartOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::optional<WriteTarget> FindWriteTarget(std::string path)
{
    for (int links = 0; links <= kMaxLinks; ++links) {
        WriteTarget target;
        if (lstat(path.c_str(), &target.info) != 0) {
            if (errno != ENOENT)
                return std::nullopt;
            target.path = std::move(path);
            return target;
        }
        if (!S_ISLNK(target.info.st_mode)) {
            target.path = std::move(path);
            target.exists = true;
            return target;
        }
        const auto text = LinkText(path, static_cast<std::size_t>(target.info.st_size));
        if (!text || text->empty())
            return std::nullopt;
        path = text->front() == '/' ? *text : DirectoryPartOf(path) + *text;
    }
    return std::nullopt;
}

bool MayWrite(const std::string& path, const struct stat& info)
{
    return (info.st_mode & 0222) != 0 && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}
