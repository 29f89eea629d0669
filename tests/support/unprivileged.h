// File permissions bind root only where the kernel says so: a test that needs
// a read-only folder or file to refuse it runs that part as an ordinary user.
// Windows has no such user: its read-only attribute binds administrators too.
#pragma once

#include <QtGlobal>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

// Whether a read-only file refuses this process: not root's on POSIX; on
// Windows everyone's.
inline bool ReadOnlyBindsUs()
{
#ifdef _WIN32
    return true;
#else
    return ::geteuid() != 0;
#endif
}

// For the life of the guard the process's effective user and group are
// "nobody" when it runs as root; otherwise nothing changes. Files and folders
// the guarded code needs must be made inside the guard, or be open to all.
class Unprivileged {
public:
    Unprivileged()
    {
#ifndef _WIN32
        if (::geteuid() != 0)
            return;
        const passwd* nobody = ::getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        if (::setegid(gid) != 0 || ::seteuid(uid) != 0)
            qFatal("cannot drop to the user nobody");
        switched_ = true;
#endif
    }
    ~Unprivileged()
    {
#ifndef _WIN32
        if (switched_ && (::seteuid(0) != 0 || ::setegid(0) != 0))
            qFatal("cannot return to root");
#endif
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    [[maybe_unused]] bool switched_ = false;
};
