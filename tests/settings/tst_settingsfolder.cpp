// Where the settings files live: beside the program when that folder can hold
// them, otherwise in the user's own folder, seeded once.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "settings/state.h"
#include "support/files.h"
#include "support/unprivileged.h"

class TestSettingsFolder : public QObject {
    Q_OBJECT

private slots:
    void besideTheProgramOrPerUser()
    {
        Unprivileged user;
        QTemporaryDir program;
        QTemporaryDir home;
        const QString userFolder = home.filePath(".config/kestrune");
        QVERIFY(WriteBytes(program.filePath("Motion_set.txt"), "[UTILITY]\r\nMOTIONMODE=2\r\n"));

        // A writable program folder holds them, as it always did.
        QCOMPARE(ChooseSettingsFolder(program.path(), userFolder), program.path());
        QVERIFY(!QFileInfo::exists(userFolder));

        // Read-only with its settings files handed over: still beside the program.
        QVERIFY(WriteBytes(program.filePath("hardware_set.txt"), ""));
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        QCOMPARE(ChooseSettingsFolder(program.path(), userFolder), program.path());

        // An installed, read-only program folder: the user's folder, made and
        // seeded with the shipped motion settings, and never reseeded.
        QFile::setPermissions(program.filePath("hardware_set.txt"), QFile::ReadOwner);
        QCOMPARE(ChooseSettingsFolder(program.path(), userFolder), userFolder);
        QCOMPARE(ReadBytes(userFolder + "/Motion_set.txt"), QByteArray("[UTILITY]\r\nMOTIONMODE=2\r\n"));
        QVERIFY(!QFileInfo::exists(userFolder + "/hardware_set.txt"));
        QVERIFY(WriteBytes(userFolder + "/Motion_set.txt", "mine"));
        QCOMPARE(ChooseSettingsFolder(program.path(), userFolder), userFolder);
        QCOMPARE(ReadBytes(userFolder + "/Motion_set.txt"), QByteArray("mine"));
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFolder)
#include "tst_settingsfolder.moc"
