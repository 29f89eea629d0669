// A file held open by someone else, as the whole-file writer meets it: a save
// still running in another process, or (Windows) another program that has
// the file open and does not share it.
#pragma once

#include <QDir>
#include <QString>

#ifdef _WIN32
#include <windows.h>
#else
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

class HeldFile {
public:
    enum Hold {
        AsLivingSave,          // opened and locked as a writer holds its temporary file
        Unshared,              // Windows: opened with no sharing at all
        SharedForReadAndWrite, // Windows: others may read and write, not rename or delete
    };

    HeldFile(const QString& path, Hold hold)
    {
#ifdef _WIN32
        const DWORD share = hold == AsLivingSave            ? FILE_SHARE_READ | FILE_SHARE_DELETE
                            : hold == SharedForReadAndWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE
                                                            : 0;
        handle_ = CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ | GENERIC_WRITE,
                              share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        OVERLAPPED from{};
        held_ = handle_ != INVALID_HANDLE_VALUE &&
                (hold != AsLivingSave || LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                                    MAXDWORD, MAXDWORD, &from));
#else
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        held_ = hold == AsLivingSave && fd_ >= 0 && ::flock(fd_, LOCK_EX) == 0;
#endif
    }
    ~HeldFile()
    {
#ifdef _WIN32
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
#else
        if (fd_ >= 0)
            ::close(fd_);
#endif
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool Held() const { return held_; }

private:
    bool held_ = false;
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    int fd_ = -1;
#endif
};
