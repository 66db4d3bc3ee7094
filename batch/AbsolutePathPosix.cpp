#include "AbsolutePath.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

std::string AbsolutePath(std::string path)
{
    if (path.starts_with('/'))
        return path;
    const std::unique_ptr<char, decltype(&std::free)> directory(getcwd(nullptr, 0), &std::free);
    if (directory == nullptr)
        return path;
    std::string absolute = directory.get();
    if (!absolute.ends_with('/'))
        absolute += '/';
    return absolute + path;
}
