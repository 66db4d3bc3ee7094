#include "DefaultSavePath.h"

std::string DefaultSavePath()
{
    return "C:\\MyPath";
}
