#include "settingsfolder.h"

#include <QDir>
#include <QRandomGenerator>

#include <windows.h>

#include <shlobj.h>

namespace {

std::wstring Native(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

} // namespace

// The read-only attribute says nothing about a folder, and ACLs are not what
// the C library's access() reads: the answer comes from trying. A file is
// opened for writing and left as it is; a folder is given a hidden file that
// goes as it closes.
bool MayWrite(const QString& path)
{
    const std::wstring native = Native(path);
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (int attempt = 0; attempt < 10 && handle == INVALID_HANDLE_VALUE; ++attempt) {
            const QString probe = QStringLiteral("%1/.kestrune-probe-%2.tmp")
                                      .arg(path)
                                      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            handle = CreateFileW(Native(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
            if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
    } else if (attributes & FILE_ATTRIBUTE_READONLY) {
        return false; // for administrators too, whatever the file system below says
    } else {
        handle = CreateFileW(native.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

// %APPDATA%\Kestrune: the roaming application data, which follows the user
// from one computer to the next as the settings should.
QString UserSettingsFolder()
{
    QString folder;
    wchar_t* path = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &path)) && path)
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    if (folder.isEmpty())
        folder = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    return folder + QStringLiteral("/Kestrune");
}

QString UserSettingsFolderForHelp() { return QStringLiteral("%APPDATA%\\Kestrune\\"); }
