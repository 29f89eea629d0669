#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QTest>

#include <cerrno>
#include <iterator>

#include "support/files.h"
#include "support/unprivileged.h"

#include "common/wholefile.h"
#include "settings/gbk.h"
#include "settings/ini.h"

class TestIni : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("hardware_set.txt"));
        QFile::remove(path_);
    }

    void missingFileReadsEmptyAndWriteCreatesIt()
    {
        QCOMPARE(ReadIniValue(QStringLiteral("第0轴"), QStringLiteral("HOMEMODE"), path_), QString());
        QVERIFY(WriteIniValue(path_, QStringLiteral("第0轴"), QStringLiteral("PULSEOUTMODE"), QStringLiteral(" 3")));
        // GBK section name (B5 DA 30 D6 E1), CRLF line ends, no blanks around '='.
        QCOMPARE(ReadBytes(path_), QByteArray("[\xB5\xDA"
                                              "0\xD6\xE1]\r\nPULSEOUTMODE= 3\r\n"));
        QCOMPARE(ReadIniValue(QStringLiteral("第0轴"), QStringLiteral("PULSEOUTMODE"), path_), QStringLiteral("3"));
    }

    void missingKeyOrSectionReadsEmptyNotZero()
    {
        QVERIFY(WriteBytes(path_, "[UTILITY]\r\nEMGLOGIC=0\r\n"));
        QCOMPARE(ReadIniValue(QStringLiteral("UTILITY"), QStringLiteral("EMGENABLE"), path_), QString());
        QCOMPARE(ReadIniValue(QStringLiteral("第1轴"), QStringLiteral("EMGLOGIC"), path_), QString());
    }

    void namesMatchWithoutCaseAndValuesAreTrimmed()
    {
        QVERIFY(WriteBytes(path_, "[utility]\n  EmgLogic  =   1 2  \nKEY=\n"));
        QCOMPARE(ReadIniValue(QStringLiteral("UTILITY"), QStringLiteral("EMGLOGIC"), path_), QStringLiteral("1 2"));
        QCOMPARE(ReadIniValue(QStringLiteral("Utility"), QStringLiteral("key"), path_), QString());
    }

    void crlfAndLfFilesReadAlike()
    {
        QVERIFY(WriteBytes(path_, "[\xB5\xDA"
                                  "1\xD6\xE1]\nA=1\n[B]\r\nA=2\r\n"));
        QCOMPARE(ReadIniValue(QStringLiteral("第1轴"), QStringLiteral("A"), path_), QStringLiteral("1"));
        QCOMPARE(ReadIniValue(QStringLiteral("B"), QStringLiteral("A"), path_), QStringLiteral("2"));
    }

    void longValueIsCutTo254Bytes()
    {
        const QString value(300, QLatin1Char('7'));
        QVERIFY(WriteIniValue(path_, QStringLiteral("S"), QStringLiteral("K"), value));
        QCOMPARE(ReadIniValue(QStringLiteral("S"), QStringLiteral("K"), path_), value.left(254));

        // 253 ASCII bytes then a two-byte character: the character does not fit
        // whole, so it is left out rather than split.
        const QString mixed = QString(253, QLatin1Char('a')) + QStringLiteral("轴轴");
        QVERIFY(WriteIniValue(path_, QStringLiteral("S"), QStringLiteral("K"), mixed));
        QCOMPARE(ReadIniValue(QStringLiteral("S"), QStringLiteral("K"), path_), QString(253, QLatin1Char('a')));
    }

    void replacingAKeyKeepsEveryOtherLine()
    {
        const QByteArray before = "; kept comment\r\n[\xB5\xDA"
                                  "0\xD6\xE1]\r\nHOMEMODE=0\r\nhomelogic = 1\n\r\n[UTILITY]\r\nEMGLOGIC=1";
        QVERIFY(WriteBytes(path_, before));
        QVERIFY(WriteIniValue(path_, QStringLiteral("第0轴"), QStringLiteral("HOMELOGIC"), QStringLiteral("0")));
        QCOMPARE(ReadBytes(path_), QByteArray("; kept comment\r\n[\xB5\xDA"
                                              "0\xD6\xE1]\r\nHOMEMODE=0\r\nHOMELOGIC=0\n\r\n[UTILITY]\r\nEMGLOGIC=1"));
    }

    void newKeysEndTheirSectionAndNewSectionsEndTheFile()
    {
        QVERIFY(WriteBytes(path_, "[A]\nX=1\n\n[B]\nY=2"));
        QVERIFY(WriteIniValue(path_, QStringLiteral("a"), QStringLiteral("Z"), QStringLiteral("3")));
        QVERIFY(WriteIniValue(path_, QStringLiteral("B"), QStringLiteral("W"), QStringLiteral("4")));
        QVERIFY(WriteIniValue(path_, QStringLiteral("第1轴"), QStringLiteral("V"), QStringLiteral("5")));
        QCOMPARE(ReadBytes(path_), QByteArray("[A]\nX=1\nZ=3\r\n\n[B]\nY=2\r\nW=4\r\n[\xB5\xDA"
                                              "1\xD6\xE1]\r\nV=5\r\n"));
    }

    void gbkValuesRoundTripAndLineBreaksCannotSplitALine()
    {
        QVERIFY(WriteIniValue(path_, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("原点+EZ")));
        QCOMPARE(ReadIniValue(QStringLiteral("S"), QStringLiteral("K"), path_), QStringLiteral("原点+EZ"));
        QVERIFY(ReadBytes(path_).contains(ToGbk(QStringLiteral("原点+EZ"))));

        QVERIFY(WriteIniValue(path_, QStringLiteral("S"), QStringLiteral("K"),
                              QStringLiteral("1\r\n[UTILITY]\nEMGLOGIC=0")));
        QCOMPARE(ReadIniValue(QStringLiteral("UTILITY"), QStringLiteral("EMGLOGIC"), path_), QString());
        QCOMPARE(ReadIniValue(QStringLiteral("S"), QStringLiteral("K"), path_),
                 QStringLiteral("1  [UTILITY] EMGLOGIC=0"));
    }

    void failedWriteLeavesTheFileAsItWas()
    {
        const QByteArray before = "[A]\r\nX=1\r\n";
        QVERIFY(WriteBytes(path_, before));
        if (ReadOnlyBindsUs()) { // root writes whatever the mode says
            QFile::setPermissions(path_, QFile::ReadOwner);
            QVERIFY(!WriteIniValue(path_, QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2")));
            QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(ReadBytes(path_), before);
        }

        // A path that names a folder cannot be read, so it is not replaced.
        const QString folder = dir_.filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!WriteIniValue(folder, QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2")));
        QVERIFY(QFileInfo(folder).isDir());

        // A folder that does not exist: nothing is created, nothing reported.
        const QString nowhere = dir_.filePath(QStringLiteral("missing/hardware_set.txt"));
        QVERIFY(!WriteIniValue(nowhere, QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2")));
        QVERIFY(!QFile::exists(nowhere));
    }

    void writeReplacesTheFileInOneStep()
    {
        // The old file stays intact until the new one is complete: an open
        // handle on it still reads the old bytes, and no temporary is left.
        QVERIFY(WriteBytes(path_, "[A]\r\nX=1\r\n"));
        QFile held(path_);
        QVERIFY(held.open(QIODevice::ReadOnly));
#ifdef _WIN32
        // Windows lets no one replace a file that a reader holds as QFile
        // does: the write is refused, named, and the file stays whole.
        int error = 0;
        QVERIFY(!WriteIniValue(path_, QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2"), &error));
        QCOMPARE(error, kFileInUse);
        QCOMPARE(held.readAll(), QByteArray("[A]\r\nX=1\r\n"));
        QCOMPARE(ReadBytes(path_), QByteArray("[A]\r\nX=1\r\n"));
        held.close();
#endif
        QVERIFY(WriteIniValue(path_, QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2")));
#ifndef _WIN32
        QCOMPARE(held.readAll(), QByteArray("[A]\r\nX=1\r\n"));
#endif
        QCOMPARE(ReadBytes(path_), QByteArray("[A]\r\nX=2\r\n"));
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("hardware_set.txt")});
    }

    void aBatchLeavesTheBytesOfItsWritesMadeOneByOne()
    {
        // Files and writes drawn from pieces that exercise the parser: case,
        // blanks, GBK names (乚 ends in the byte of ']'), duplicate sections,
        // LF and CRLF, no last line end, values with line breaks.
        const QByteArray lines[] = {"[A]",
                                    "[a]",
                                    " [ B ] ",
                                    "[\xB5\xDA"
                                    "0\xD6\xE1]",
                                    "[\x81\x5Dx]",
                                    "[UTILITY]",
                                    "X=1",
                                    "x = 2",
                                    "Y=",
                                    "; comment",
                                    "",
                                    "  ",
                                    "no equals",
                                    "=lone",
                                    "[C"};
        const QString sections[] = {"A", "b", "第0轴", "乚x", "UTILITY", "New", "C"};
        const QString keys[] = {"X", "y", "Z", "LONGKEYNAME", "=", "乚"};
        const QString values[] = {"", "1", " 3", "原点+EZ", "a\r\nb", QString(300, 'v')};
        QRandomGenerator random(20261208);
        const QString single = dir_.filePath("single.txt");
        const QString batched = dir_.filePath("batched.txt");
        for (int round = 0; round < 250; ++round) {
            QByteArray start;
            for (int n = random.bounded(12); n > 0; --n)
                start += lines[random.bounded(int(std::size(lines)))] + (random.bounded(2) ? "\r\n" : "\n");
            if (random.bounded(4) == 0)
                start.chop(start.endsWith("\r\n") ? 2 : start.endsWith('\n') ? 1 : 0);
            QVERIFY(WriteBytes(single, start));
            QVERIFY(WriteBytes(batched, start));
            IniBatch batch(batched);
            for (int n = 1 + random.bounded(8); n > 0; --n) {
                const QString& section = sections[random.bounded(int(std::size(sections)))];
                const QString& key = keys[random.bounded(int(std::size(keys)))];
                const QString& value = values[random.bounded(int(std::size(values)))];
                QVERIFY(WriteIniValue(single, section, key, value));
                batch.Write(section, key, value);
            }
            QCOMPARE(batch.Commit(), 0);
            QCOMPARE(ReadBytes(batched), ReadBytes(single));
        }
    }

    void aGbkCharacterEndingInTheByteOfABracketStaysInItsName()
    {
        QVERIFY(WriteIniValue(path_, QStringLiteral("乚轴"), QStringLiteral("K"), QStringLiteral("1")));
        QVERIFY(WriteIniValue(path_, QStringLiteral("乚轴"), QStringLiteral("K"), QStringLiteral("2")));
        QCOMPARE(ReadBytes(path_), QByteArray("[\x81\x5D\xD6\xE1]\r\nK=2\r\n"));
        QCOMPARE(ReadIniValue(QStringLiteral("乚轴"), QStringLiteral("K"), path_), QStringLiteral("2"));
    }

    void aBatchWritesOnlyWhenItHasWritesAndNeverOverAnUnreadableFile()
    {
        QCOMPARE(IniBatch(path_).Commit(), 0);
        QVERIFY(!QFile::exists(path_));
        const QString folder = dir_.filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkpath(folder));
        IniBatch batch(folder);
        batch.Write("A", "X", "1");
        QCOMPARE(batch.Commit(), EISDIR);
        QVERIFY(QFileInfo(folder).isDir());
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
