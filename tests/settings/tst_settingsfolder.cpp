// Where the settings files live: beside the program when that folder can hold
// them, otherwise in the user's own folder, seeded once.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "settings/settingsfolder.h"
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

#ifdef _WIN32
        QSKIP("a folder refuses new files on Windows only through its ACL (its read-only attribute does not), and "
              "Wine does not enforce ACLs: the rest needs a program folder that cannot be written");
#endif
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

    void whatMayBeWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("writable");
        QTest::newRow("the folder") << QString() << false << true;
        QTest::newRow("a file") << QStringLiteral("hardware_set.txt") << false << true;
        QTest::newRow("a read-only file") << QStringLiteral("hardware_set.txt") << true << false;
        QTest::newRow("a file with a Chinese name") << QStringLiteral("参数.txt") << false << true;
    }

    void whatMayBeWritten()
    {
        QFETCH(QString, name);
        QFETCH(bool, readOnly);
        QFETCH(bool, writable);
        Unprivileged user;
        QTemporaryDir dir;
        const QString path = name.isEmpty() ? dir.path() : dir.filePath(name);
        if (!name.isEmpty())
            QVERIFY(WriteBytes(path, "old"));
        if (readOnly)
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QCOMPARE(MayWrite(path), writable);
        // Asking leaves no trace.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 name.isEmpty() ? QStringList() : QStringList{name});
        if (!name.isEmpty())
            QCOMPARE(ReadBytes(path), QByteArray("old"));
        QVERIFY(!MayWrite(dir.filePath(QStringLiteral("missing/hardware_set.txt"))));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void theUsersOwnFolder()
    {
#ifdef _WIN32
        const QString expected = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) + "/Kestrune";
#else
        QTemporaryDir config;
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const QString expected = config.path() + "/kestrune";
#endif
        const QString folder = UserSettingsFolder();
#ifndef _WIN32
        if (saved.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", saved);
#endif
        QCOMPARE(QDir::cleanPath(folder), QDir::cleanPath(expected));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFolder)
#include "tst_settingsfolder.moc"
