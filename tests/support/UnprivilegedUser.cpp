#include "UnprivilegedUser.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

struct User {
    uid_t uid;
    gid_t gid;
};

// The traditional ids of "nobody", for a system without such an entry.
constexpr User kNobody{65534, 65534};

User Nobody()
{
    const passwd* entry = getpwnam("nobody");
    return entry == nullptr ? kNobody : User{entry->pw_uid, entry->pw_gid};
}

}  // namespace

void GiveToUnprivilegedUser(const std::string& path)
{
    if (geteuid() != 0)
        return;
    const User nobody = Nobody();
    [[maybe_unused]] const int ignored = chown(path.c_str(), nobody.uid, nobody.gid);
}

bool BecomeUnprivilegedUser()
{
    if (geteuid() != 0)
        return true;
    const User nobody = Nobody();
    // Groups first: once the user is gone, so is the right to change them.
    return setgroups(0, nullptr) == 0 && setgid(nobody.gid) == 0 && setuid(nobody.uid) == 0
        && geteuid() != 0;
}
