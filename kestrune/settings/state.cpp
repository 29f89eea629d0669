#include "state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "settingsfolder.h"

namespace {

const char* const kFiles[] = {"hardware_set.txt", "Motion_set.txt"};

}

void SetSettingsPaths(const QString& folder)
{
    SettingsFolder = folder;
    HardwareSetPath = folder + "/hardware_set.txt";
    MotionSetPath = folder + "/Motion_set.txt";
}

QString ChooseSettingsFolder(const QString& programDirectory, const QString& userFolder)
{
    if (MayWrite(programDirectory))
        return programDirectory;
    // A read-only folder whose settings files were handed to the user.
    bool present = false;
    bool allWritable = true;
    for (const char* name : kFiles) {
        const QString path = programDirectory + '/' + QLatin1String(name);
        if (QFileInfo::exists(path)) {
            present = true;
            allWritable = allWritable && MayWrite(path);
        }
    }
    if (present && allWritable)
        return programDirectory;

    QDir().mkpath(userFolder);
    const QString motion = userFolder + "/Motion_set.txt";
    const QString shipped = programDirectory + "/Motion_set.txt";
    if (!QFileInfo::exists(motion) && QFileInfo::exists(shipped) && QFile::copy(shipped, motion))
        QFile::setPermissions(motion, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return userFolder;
}
