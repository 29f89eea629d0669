// Replacing a settings file whole: the folder or the file may refuse, and the
// file keeps what it was given by whoever set it up.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/wholefile.h"
#include "support/files.h"
#include "support/unprivileged.h"

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void SetMode(const QString& path, mode_t mode) { QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0); }

} // namespace

class TestWholeFile : public QObject {
    Q_OBJECT

private slots:
    void replacedFileKeepsItsModeAndOwnerAndLeavesNoTemporary()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hardware_set.txt"));
        QVERIFY(WriteBytes(path, "old"));
        SetMode(path, 0640);
        if (::geteuid() == 0) // root may hand the file to another user
            QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);

        QCOMPARE(WriteWholeFile(path, "new content"), 0);
        QCOMPARE(ReadBytes(path), QByteArray("new content"));
        QCOMPARE(ModeOf(path), mode_t(0640));
        if (::geteuid() == 0)
            QCOMPARE(QFileInfo(path).ownerId(), uint(65534));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("hardware_set.txt")});
    }

    void readOnlyFolderWithWritableFileIsWrittenInPlace()
    {
        Unprivileged user;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hardware_set.txt"));
        QVERIFY(WriteBytes(path, "a longer old content that the new one is shorter than"));
        SetMode(path, 0640);
        SetMode(dir.path(), 0555);

        QCOMPARE(WriteWholeFile(path, "short"), 0);
        QCOMPARE(ReadBytes(path), QByteArray("short"));
        QCOMPARE(WriteWholeFile(path, "and now a much longer content than before"), 0);
        QCOMPARE(ReadBytes(path), QByteArray("and now a much longer content than before"));
        QCOMPARE(ModeOf(path), mode_t(0640));

        // A file that is not there cannot be made in such a folder.
        QCOMPARE(WriteWholeFile(dir.filePath(QStringLiteral("Motion_set.txt")), "x"), EACCES);
        SetMode(dir.path(), 0755);
    }

    void refusedWritesLeaveEverythingAsItWas()
    {
        Unprivileged user;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hardware_set.txt"));
        QVERIFY(WriteBytes(path, "old"));

        // A read-only file in a writable folder is not replaced, although the
        // folder would let a new file take its place.
        SetMode(path, 0444);
        QCOMPARE(WriteWholeFile(path, "new"), EACCES);
        QCOMPARE(ReadBytes(path), QByteArray("old"));
        QCOMPARE(ModeOf(path), mode_t(0444));

        // A read-only file in a read-only folder, and a missing folder.
        SetMode(dir.path(), 0555);
        QCOMPARE(WriteWholeFile(path, "new"), EACCES);
        SetMode(dir.path(), 0755);
        const QString nowhere = dir.filePath(QStringLiteral("missing/hardware_set.txt"));
        QCOMPARE(WriteWholeFile(nowhere, "new"), ENOENT);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));

        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("hardware_set.txt")});
        QVERIFY(!WriteErrorText(EACCES).isEmpty());
        QVERIFY(SaveFailedMessage(path, ENOENT).contains(path));
    }

    void leftoversOfKilledSavesGoWithTheNextSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hardware_set.txt"));
        const QString killed = dir.filePath(QStringLiteral(".hardware_set.txt.Ab3dE9.tmp"));
        const QString living = dir.filePath(QStringLiteral(".hardware_set.txt.Zz9yY8.tmp"));
        const QString other = dir.filePath(QStringLiteral(".Motion_set.txt.Ab3dE9.tmp"));
        for (const QString& file : {killed, living, other})
            QVERIFY(WriteBytes(file, "half a save"));
        // A save still running in another process holds its file locked.
        const int held = ::open(QFile::encodeName(living).constData(), O_RDONLY);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);

        QCOMPARE(WriteWholeFile(path, "new"), 0);
        QVERIFY(!QFileInfo::exists(killed));
        QVERIFY(QFileInfo::exists(living));
        QVERIFY(QFileInfo::exists(other));
        ::close(held);
    }

    void aLinkIsFollowedNotReplaced()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("shared.txt"));
        const QString link = dir.filePath(QStringLiteral("hardware_set.txt"));
        QVERIFY(WriteBytes(target, "old"));
        QVERIFY(QFile::link(target, link));
        QCOMPARE(WriteWholeFile(link, "new"), 0);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(ReadBytes(target), QByteArray("new"));
    }
};

QTEST_GUILESS_MAIN(TestWholeFile)
#include "tst_wholefile.moc"
