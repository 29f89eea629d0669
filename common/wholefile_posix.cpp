#include "wholefile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "wholefile_names.h"

namespace {

int WriteAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        left -= n;
    }
    return 0;
}

// Closes `fd` and gives the first of `error` and the close's own error.
int CloseKeeping(int fd, int error)
{
    if (::close(fd) != 0 && error == 0)
        return errno;
    return error;
}

// A new temporary file for `target`, locked (flock) for as long as its writer
// lives, readable and writable as the umask allows; the descriptor, or -1
// with errno set.
int CreateBeside(const QString& target, QByteArray& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = QFile::encodeName(wholefile::NewTemporaryPath(target));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

// Removes the temporary files of `target` that a killed save left behind:
// those that no living writer holds locked.
void RemoveLeftovers(const QString& target)
{
    for (const QString& leftover : wholefile::TemporaryPaths(target)) {
        const QByteArray path = QFile::encodeName(leftover);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}

void SyncFolderOf(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : target.left(slash));
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The temporary file takes the old file's mode, and its owner where the
// process may give it; a failed change of owner keeps the process's own.
void TakeOver(int fd, const struct stat* old)
{
    if (!old)
        return;
    if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
        [[maybe_unused]] const bool owned =
            ::fchown(fd, old->st_uid, old->st_gid) == 0 || ::fchown(fd, static_cast<uid_t>(-1), old->st_gid) == 0;
    }
    ::fchmod(fd, old->st_mode & 07777);
}

int WriteInPlace(const QByteArray& target, const QByteArray& bytes)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // The room is claimed before the first byte is overwritten, so a full
    // disk fails here with the old content intact.
    if (::fallocate(fd, 0, 0, bytes.size()) != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
        return CloseKeeping(fd, errno);
    int error = WriteAll(fd, bytes);
    if (error == 0 && ::ftruncate(fd, bytes.size()) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    return CloseKeeping(fd, error);
}

} // namespace

int ReadWholeFile(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            bytes.clear();
            return CloseKeeping(fd, errno);
        }
        bytes.append(buffer, n);
    }
    return CloseKeeping(fd, 0);
}

int WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    // Through a link to the file it names: replacing the link would cut it.
    const QFileInfo info(path);
    const QString real = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QByteArray target = QFile::encodeName(real);

    struct stat old {};
    bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    if (exists && S_ISDIR(old.st_mode))
        return EISDIR;
    // A file that may not be written stays as it is, although the folder
    // would let a new one take its place.
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return errno;

    RemoveLeftovers(real);
    QByteArray temporary;
    const int fd = CreateBeside(real, temporary);
    if (fd < 0) {
        const int error = errno;
        return exists ? WriteInPlace(target, bytes) : error;
    }
    TakeOver(fd, exists ? &old : nullptr);
    int error = WriteAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    error = CloseKeeping(fd, error);
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    SyncFolderOf(target);
    return 0;
}
