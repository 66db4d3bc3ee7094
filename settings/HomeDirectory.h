#pragma once

#include <string>

// The current user's home directory as the password database gives it, or an
// empty text when the user has no entry there.
std::string HomeDirectory();
