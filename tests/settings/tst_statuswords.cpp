// Status words: the stand-in's own, and a user's 状态码.txt in either of the
// encodings a Chinese Windows editor saves, beside the program or in the
// settings folder.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "settings/gbk.h"
#include "settings/statuswords.h"
#include "support/files.h"

class TestStatusWords : public QObject {
    Q_OBJECT

private slots:
    void theStandInsStatusesHaveWords()
    {
        const StatusWords words = StatusWords::StandIn();
        QCOMPARE(words.Text(3), QStringLiteral("3 参数超出范围"));
        QCOMPARE(words.Text(0), QStringLiteral("0 成功"));
        QCOMPARE(words.Text(-7), QStringLiteral("-7")); // no words: the number alone
        QCOMPARE(StatusWords().Text(3), QStringLiteral("3"));
    }

    void aFileReadsInEitherEncodingAndSkipsWhatIsNotALine()
    {
        const QString text = QStringLiteral("# 自家的卡\r\n"
                                            "-1\t卡未打开\r\n"
                                            "\r\n"
                                            "12 \t 轴号超出范围 \r\n"
                                            "没有数字\t的行\r\n"
                                            "13\t\r\n"
                                            "14 没有制表符\r\n");
        for (const QByteArray& bytes : {text.toUtf8(), "\xEF\xBB\xBF" + text.toUtf8(), ToGbk(text)}) {
            const StatusWords words = StatusWords::Parse(bytes);
            QCOMPARE(words.Text(-1), QStringLiteral("-1 卡未打开"));
            QCOMPARE(words.Text(12), QStringLiteral("12 轴号超出范围"));
            QCOMPARE(words.Size(), size_t(2));
            QCOMPARE(words.SkippedLines(), 3);
        }
    }

    void theSettingsFoldersFileTakesThePlaceOfTheProgramFolders()
    {
        QTemporaryDir program, settings;
        QVERIFY(WriteBytes(QDir(program.path()).filePath("状态码.txt"), "3\t程序旁的说法\n4\t空指针\n"));
        QVERIFY(WriteBytes(QDir(settings.path()).filePath("状态码.txt"), ToGbk(QStringLiteral("3\t用户的说法\n"))));
        const StatusWords words = LoadStatusWords({program.path(), settings.path()}, true);
        QCOMPARE(words.Text(3), QStringLiteral("3 用户的说法"));
        QCOMPARE(words.Text(4), QStringLiteral("4 空指针"));
        QCOMPARE(words.Text(2), QStringLiteral("2 没有这个轴")); // the stand-in's, not replaced
        // Another library: only what the files say.
        QCOMPARE(LoadStatusWords({settings.path()}, false).Text(2), QStringLiteral("2"));
        QCOMPARE(LoadStatusWords({QDir(settings.path()).filePath("missing")}, false).Size(), size_t(0));
    }
};

QTEST_GUILESS_MAIN(TestStatusWords)
#include "tst_statuswords.moc"
