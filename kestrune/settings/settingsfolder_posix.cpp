#include "settingsfolder.h"

#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

bool MayWrite(const QString& path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

QString UserSettingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/kestrune");
}

QString UserSettingsFolderForHelp() { return QStringLiteral("~/.config/kestrune/"); }
