#pragma once

#include <string>

// `path` as an absolute path against the current directory of this moment,
// so that a later change of directory cannot move it; `path` itself when it
// is absolute already or the current directory cannot be named (it has been
// removed, say, and nothing relative to it can be created anyway).
std::string AbsolutePath(std::string path);
