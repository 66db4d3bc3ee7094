#include "DefaultSavePath.h"

#include "HomeDirectory.h"

std::string DefaultSavePath()
{
    return HomeDirectory() + "/MyPath";
}
