// Replacing a settings file whole: the folder or the file may refuse, and the
// file keeps what it was given by whoever set it up.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "common/wholefile.h"
#include "support/files.h"
#include "support/heldfile.h"
#include "support/unprivileged.h"

namespace {

#ifndef _WIN32
mode_t ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void SetMode(const QString& path, mode_t mode) { QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0); }
#endif

// Everything in the folder, hidden files included.
QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestWholeFile : public QObject {
    Q_OBJECT

private slots:
    void replacedFileKeepsItsModeAndOwnerAndLeavesNoTemporary()
    {
#ifdef _WIN32
        QSKIP("Windows files have no mode or owner of this kind: attributes are checked below");
#else
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
        QCOMPARE(FilesIn(dir.path()), QStringList{QStringLiteral("hardware_set.txt")});
#endif
    }

    void replacedFileKeepsItsHiddenAttribute_data()
    {
        QTest::addColumn<bool>("hidden");
        QTest::newRow("a plain file stays plain") << false;
        QTest::newRow("a hidden file stays hidden") << true;
    }

    // The temporary file is hidden; the file it becomes must not be.
    void replacedFileKeepsItsHiddenAttribute()
    {
#ifndef _WIN32
        QSKIP("a hidden file is a matter of its name here, which the save keeps");
#else
        QFETCH(bool, hidden);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hardware_set.txt"));
        QVERIFY(WriteBytes(path, "old"));
        const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
        QVERIFY(SetFileAttributesW(native.c_str(), hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL));

        QCOMPARE(WriteWholeFile(path, "new content"), 0);
        QCOMPARE(ReadBytes(path), QByteArray("new content"));
        QCOMPARE(bool(GetFileAttributesW(native.c_str()) & FILE_ATTRIBUTE_HIDDEN), hidden);
        QCOMPARE(FilesIn(dir.path()), QStringList{QStringLiteral("hardware_set.txt")});
        QCOMPARE(WriteWholeFile(dir.filePath(QStringLiteral("Motion_set.txt")), "a new file"), 0);
        QVERIFY(!(GetFileAttributesW(
                      QDir::toNativeSeparators(dir.filePath(QStringLiteral("Motion_set.txt"))).toStdWString().c_str()) &
                  FILE_ATTRIBUTE_HIDDEN));
#endif
    }

    void readOnlyFolderWithWritableFileIsWrittenInPlace()
    {
#ifdef _WIN32
        QSKIP("a folder refuses new files on Windows only through its ACL (its read-only attribute does not), "
              "and Wine does not enforce ACLs");
#else
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
#endif
    }

    void refusedWritesLeaveEverythingAsItWas()
    {
        Unprivileged user;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hardware_set.txt"));
        QVERIFY(WriteBytes(path, "old"));

        // A read-only file in a writable folder is not replaced, although the
        // folder would let a new file take its place.
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QCOMPARE(WriteWholeFile(path, "new"), EACCES);
        QCOMPARE(ReadBytes(path), QByteArray("old"));
        QVERIFY(!(QFileInfo(path).permissions() & QFile::WriteOwner));
#ifndef _WIN32
        QCOMPARE(ModeOf(path), mode_t(0444));
        // A read-only file in a read-only folder.
        SetMode(dir.path(), 0555);
        QCOMPARE(WriteWholeFile(path, "new"), EACCES);
        SetMode(dir.path(), 0755);
#endif
        const QString nowhere = dir.filePath(QStringLiteral("missing/hardware_set.txt"));
        QCOMPARE(WriteWholeFile(nowhere, "new"), ENOENT);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
        QCOMPARE(WriteWholeFile(dir.path(), "new"), EISDIR);

        QCOMPARE(FilesIn(dir.path()), QStringList{QStringLiteral("hardware_set.txt")});
        QVERIFY(!WriteErrorText(EACCES).isEmpty());
        QVERIFY(SaveFailedMessage(path, ENOENT).contains(path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    }

    void aFileHeldByAnotherProgramStaysAsItWas_data()
    {
        QTest::addColumn<int>("hold");
        QTest::newRow("held without sharing") << int(HeldFile::Unshared);
        // Opening it succeeds then; the rename over it does not.
        QTest::newRow("shared for reading and writing only") << int(HeldFile::SharedForReadAndWrite);
    }

    void aFileHeldByAnotherProgramStaysAsItWas()
    {
#ifndef _WIN32
        QSKIP("an open file does not stop a rename over it here: nothing can hold a settings file");
#else
        QFETCH(int, hold);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hardware_set.txt"));
        QVERIFY(WriteBytes(path, "old"));
        {
            HeldFile other(path, HeldFile::Hold(hold));
            QVERIFY(other.Held());
            const int error = WriteWholeFile(path, "new");
            QCOMPARE(error, kFileInUse);
            const QString message = SaveFailedMessage(QDir::toNativeSeparators(path), error);
            QVERIFY2(message.contains(QDir::toNativeSeparators(path)) && message.contains(QStringLiteral("其他程序")),
                     qPrintable(message));
        }
        QCOMPARE(ReadBytes(path), QByteArray("old"));
        QCOMPARE(FilesIn(dir.path()), QStringList{QStringLiteral("hardware_set.txt")});
        // Once it is let go, the save goes through.
        QCOMPARE(WriteWholeFile(path, "new"), 0);
        QCOMPARE(ReadBytes(path), QByteArray("new"));
#endif
    }

    void readsTheWholeFileOrSaysWhyNot()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Motion_set.txt"));
        QByteArray large(200000, 'x');
        for (qsizetype i = 0; i < large.size(); i += 1000)
            large[i] = char('0' + i % 10);
        QVERIFY(WriteBytes(path, large));
        QByteArray bytes = "stale";
        QCOMPARE(ReadWholeFile(path, bytes), 0);
        QCOMPARE(bytes, large);
        bytes = "stale";
        QCOMPARE(ReadWholeFile(dir.filePath(QStringLiteral("missing.txt")), bytes), ENOENT);
        QVERIFY(bytes.isEmpty());
        bytes = "stale";
        QCOMPARE(ReadWholeFile(dir.path(), bytes), EISDIR);
        QVERIFY(bytes.isEmpty());
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
        const HeldFile held(living, HeldFile::AsLivingSave);
        QVERIFY(held.Held());

        QCOMPARE(WriteWholeFile(path, "new"), 0);
        QVERIFY(!QFileInfo::exists(killed));
        QVERIFY(QFileInfo::exists(living));
        QVERIFY(QFileInfo::exists(other));
    }

    void aLinkIsFollowedNotReplaced()
    {
#ifdef _WIN32
        QSKIP("QFile::link makes a shortcut (.lnk) on Windows, a file of its own that the system does not follow");
#endif
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
