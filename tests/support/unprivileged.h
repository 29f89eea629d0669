// File permissions bind root only where the kernel says so: a test that needs
// a read-only folder or file to refuse it runs that part as an ordinary user.
#pragma once

#include <QtGlobal>

#include <pwd.h>
#include <unistd.h>

// For the life of the guard the process's effective user and group are
// "nobody" when it runs as root; otherwise nothing changes. Files and folders
// the guarded code needs must be made inside the guard, or be open to all.
class Unprivileged {
public:
    Unprivileged()
    {
        if (::geteuid() != 0)
            return;
        const passwd* nobody = ::getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        if (::setegid(gid) != 0 || ::seteuid(uid) != 0)
            qFatal("cannot drop to the user nobody");
        switched_ = true;
    }
    ~Unprivileged()
    {
        if (switched_ && (::seteuid(0) != 0 || ::setegid(0) != 0))
            qFatal("cannot return to root");
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool switched_ = false;
};
