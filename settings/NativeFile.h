#pragma once

// An open file the program owns and closes when it goes: a descriptor on
// Linux, a handle on Windows. Both take bytes with WriteAll and say with
// Close whether the bytes are safe.
#ifdef _WIN32
#include "UniqueHandle.h"
using NativeFile = UniqueHandle;
#else
#include "UniqueFd.h"
using NativeFile = UniqueFd;
#endif
