#include "wholefile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <string>

#include <windows.h>

#include "wholefile_names.h"

namespace {

// The Windows errors a save meets, as the error numbers the callers know.
int ErrorNumber(DWORD code)
{
    switch (code) {
    case ERROR_SUCCESS: return 0;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return kFileInUse;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    default: return EIO;
    }
}

int LastError() { return ErrorNumber(GetLastError()); }

std::wstring Native(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

// The handle is closed however the function that holds it returns.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // The close's own error, as an error number.
    int Close()
    {
        if (!Valid())
            return 0;
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed ? 0 : LastError();
    }

private:
    HANDLE handle_;
};

// A living writer locks its temporary file whole; the clean-up of leftovers
// takes only files it can lock the same way.
bool LockWhole(HANDLE file, DWORD flags)
{
    OVERLAPPED from{};
    return LockFileEx(file, flags | LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &from) != 0;
}

int WriteAll(HANDLE file, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(left < (1 << 30) ? left : (1 << 30));
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr))
            return LastError();
        data += written;
        left -= written;
    }
    return 0;
}

// Sets the file's end at `size` bytes: this claims the room of a larger file.
int SetSize(HANDLE file, qsizetype size)
{
    LARGE_INTEGER at{};
    at.QuadPart = size;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !SetEndOfFile(file))
        return LastError();
    return 0;
}

// Why the target, which this process may write, could not be replaced: a
// program that holds it open without letting it be deleted gets a sharing
// violation when the target is opened as the rename opens it, and the rename
// itself says only "access denied".
int ReplaceRefused(const std::wstring& target)
{
    Handle file(CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.Valid() && GetLastError() == ERROR_SHARING_VIOLATION ? kFileInUse : EACCES;
}

// Removes the temporary files of `target` that a killed save left behind:
// those that no living writer holds locked.
void RemoveLeftovers(const QString& target)
{
    for (const QString& leftover : wholefile::TemporaryPaths(target)) {
        Handle file(CreateFileW(Native(leftover).c_str(), GENERIC_READ | DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file.Valid() || !LockWhole(file.Get(), LOCKFILE_FAIL_IMMEDIATELY))
            continue;
        // Gone as this handle closes; no one can have taken it in between.
        FILE_DISPOSITION_INFO dispose{};
        dispose.DeleteFile = TRUE;
        SetFileInformationByHandle(file.Get(), FileDispositionInfo, &dispose, sizeof dispose);
    }
}

// A new temporary file for `target`, hidden and locked for as long as its
// writer lives. Others may rename or delete it only with the writer's own
// consent: the rename over the target happens while it is still held.
HANDLE CreateBeside(const QString& target, QString& name, int& error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = wholefile::NewTemporaryPath(target);
        const HANDLE file =
            CreateFileW(Native(name).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            LockWhole(file, 0);
            return file;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            error = LastError();
            return INVALID_HANDLE_VALUE;
        }
    }
    error = EEXIST;
    return INVALID_HANDLE_VALUE;
}

int WriteInPlace(const std::wstring& target, const QByteArray& bytes)
{
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return LastError();
    // The room is claimed before the first byte is overwritten, so a full
    // disk fails here with the old content intact.
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return LastError();
    int error = size.QuadPart < bytes.size() ? SetSize(file.Get(), bytes.size()) : 0;
    if (error != 0)
        return error;
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN))
        return LastError();
    error = WriteAll(file.Get(), bytes);
    if (error == 0)
        error = SetSize(file.Get(), bytes.size());
    if (error == 0 && !FlushFileBuffers(file.Get()))
        error = LastError();
    const int closed = file.Close();
    return error != 0 ? error : closed;
}

} // namespace

int ReadWholeFile(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    // Shared every way: a reader never stands in a writer's way.
    const std::wstring native = Native(path);
    Handle file(CreateFileW(native.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        // A folder does not open as a file: "access denied" would blame rights.
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(native.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return EISDIR;
        return ErrorNumber(error);
    }
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr)) {
            bytes.clear();
            return LastError();
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<qsizetype>(n));
    }
    return file.Close();
}

int WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    // Through a link to the file it names: replacing the link would cut it.
    const QFileInfo info(path);
    const QString real = info.isSymbolicLink() && info.exists() ? info.canonicalFilePath() : path;
    const std::wstring target = Native(real);

    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return LastError();
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return EISDIR;
    // A file that may not be written (read-only, or its ACL says so) stays as
    // it is, although the folder would let a new one take its place; one that
    // another program holds is left to it. The attribute binds
    // administrators too, whatever the file system below would let them do.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return EACCES;
    if (exists) {
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.Valid())
            return LastError();
    }

    RemoveLeftovers(real);
    QString temporary;
    int error = 0;
    Handle file(CreateBeside(real, temporary, error));
    if (!file.Valid())
        return exists ? WriteInPlace(target, bytes) : error;
    error = WriteAll(file.Get(), bytes);
    if (error == 0 && !FlushFileBuffers(file.Get()))
        error = LastError();
    if (error == 0) {
        // The new file shows as the old did, not hidden as the temporary is.
        const DWORD kept =
            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = exists && (attributes & kept) ? attributes & kept : FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(file.Get(), FileBasicInfo, &basic, sizeof basic);
        if (!MoveFileExW(Native(temporary).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            error = exists && GetLastError() == ERROR_ACCESS_DENIED ? ReplaceRefused(target) : LastError();
    }
    if (error != 0) {
        FILE_DISPOSITION_INFO dispose{};
        dispose.DeleteFile = TRUE;
        SetFileInformationByHandle(file.Get(), FileDispositionInfo, &dispose, sizeof dispose);
    }
    const int closed = file.Close();
    return error != 0 ? error : closed;
}
