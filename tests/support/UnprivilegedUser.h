#pragma once

#include <string>

// A user without root's privileges, for tests of what such a user may and may
// not do: "nobody" when the tests run as root (as CI does), the current user
// otherwise.

// Hands `path` to that user, so that it may write there; does nothing when
// the tests do not run as root.
void GiveToUnprivilegedUser(const std::string& path);

// Makes this process that user for good; for a forked child only. Returns
// false when it cannot.
bool BecomeUnprivilegedUser();
