#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"

#include <unistd.h>

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
        QCOMPARE(ReadBytes(path_), QByteArray("[\xB5\xDA" "0\xD6\xE1]\r\nPULSEOUTMODE= 3\r\n"));
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
        QVERIFY(WriteBytes(path_, "[\xB5\xDA" "1\xD6\xE1]\nA=1\n[B]\r\nA=2\r\n"));
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
        const QByteArray before = "; kept comment\r\n[\xB5\xDA" "0\xD6\xE1]\r\nHOMEMODE=0\r\nhomelogic = 1\n\r\n[UTILITY]\r\nEMGLOGIC=1";
        QVERIFY(WriteBytes(path_, before));
        QVERIFY(WriteIniValue(path_, QStringLiteral("第0轴"), QStringLiteral("HOMELOGIC"), QStringLiteral("0")));
        QCOMPARE(ReadBytes(path_), QByteArray("; kept comment\r\n[\xB5\xDA" "0\xD6\xE1]\r\nHOMEMODE=0\r\nHOMELOGIC=0\n\r\n[UTILITY]\r\nEMGLOGIC=1"));
    }

    void newKeysEndTheirSectionAndNewSectionsEndTheFile()
    {
        QVERIFY(WriteBytes(path_, "[A]\nX=1\n\n[B]\nY=2"));
        QVERIFY(WriteIniValue(path_, QStringLiteral("a"), QStringLiteral("Z"), QStringLiteral("3")));
        QVERIFY(WriteIniValue(path_, QStringLiteral("B"), QStringLiteral("W"), QStringLiteral("4")));
        QVERIFY(WriteIniValue(path_, QStringLiteral("第1轴"), QStringLiteral("V"), QStringLiteral("5")));
        QCOMPARE(ReadBytes(path_), QByteArray("[A]\nX=1\nZ=3\r\n\n[B]\nY=2\r\nW=4\r\n[\xB5\xDA" "1\xD6\xE1]\r\nV=5\r\n"));
    }

    void gbkValuesRoundTripAndLineBreaksCannotSplitALine()
    {
        QVERIFY(WriteIniValue(path_, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("原点+EZ")));
        QCOMPARE(ReadIniValue(QStringLiteral("S"), QStringLiteral("K"), path_), QStringLiteral("原点+EZ"));
        QVERIFY(ReadBytes(path_).contains(ToGbk(QStringLiteral("原点+EZ"))));

        QVERIFY(WriteIniValue(path_, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1\r\n[UTILITY]\nEMGLOGIC=0")));
        QCOMPARE(ReadIniValue(QStringLiteral("UTILITY"), QStringLiteral("EMGLOGIC"), path_), QString());
        QCOMPARE(ReadIniValue(QStringLiteral("S"), QStringLiteral("K"), path_), QStringLiteral("1  [UTILITY] EMGLOGIC=0"));
    }

    void failedWriteLeavesTheFileAsItWas()
    {
        const QByteArray before = "[A]\r\nX=1\r\n";
        QVERIFY(WriteBytes(path_, before));
        if (geteuid() != 0) { // root writes whatever the mode says
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
        QVERIFY(WriteIniValue(path_, QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2")));
        QCOMPARE(held.readAll(), QByteArray("[A]\r\nX=1\r\n"));
        QCOMPARE(ReadBytes(path_), QByteArray("[A]\r\nX=2\r\n"));
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("hardware_set.txt")});
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
