// The stand-in reads its environment once, at the first call, so this test
// sets it before anything calls the library.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"
#include "support/stderrfile.h"

#include "cardlib/tolvane.h"

namespace {

QTemporaryDir* dir = nullptr;

QString PathOf(const char* name) { return dir->filePath(QLatin1String(name)); }

} // namespace

class TestTolvaneEnvironment : public QObject {
    Q_OBJECT

private slots:
    void scriptTraceAndCardsComeFromTheEnvironment()
    {
        // Standard error goes to a file while the script is read.
        {
            const StderrToFile err(PathOf("stderr"));
            QCOMPARE(tvn_board_init(), int16_t(1002));
        }

        QCOMPARE(tvn_board_init(), int16_t(0));
        QCOMPARE(tvn_board_init(), int16_t(3)); // script used up: three simulated cards
        QCOMPARE(tvn_download_firmware(0, "/x"), int16_t(2101));
        QCOMPARE(tvn_download_firmware(0, "/x"), int16_t(0));
        QCOMPARE(tvn_read_current_speed(0), -2.5);
        QCOMPARE(tvn_set_position(11, 1), int16_t(0));
        QVERIFY(tvn_set_position(12, 1) != 0);

        const QByteArray errors = ReadBytes(PathOf("stderr"));
        QVERIFY2(errors.contains("this line is not a script line"), errors.constData());
        QVERIFY2(errors.contains("tvn_get_position = abc"), errors.constData());
        QVERIFY2(!errors.contains("# a comment"), errors.constData());

        QCOMPARE(ReadText(PathOf("trace")), QByteArray("tvn_board_init() = 1002\n"
                                                       "tvn_board_init() = 0\n"
                                                       "tvn_board_init() = 3\n"
                                                       "tvn_download_firmware(0, \"/x\") = 2101\n"
                                                       "tvn_download_firmware(0, \"/x\") = 0\n"
                                                       "tvn_read_current_speed(0) = -2.5\n"
                                                       "tvn_set_position(11, 1) = 0\n"
                                                       "tvn_set_position(12, 1) = 2\n"));
    }
};

int main(int argc, char* argv[])
{
    QTemporaryDir temporary;
    dir = &temporary;
    QFile script(PathOf("script"));
    if (!script.open(QIODevice::WriteOnly))
        return 1;
    script.write("# a comment\n"
                 "\n"
                 "tvn_board_init = 1002, 0\n"
                 "this line is not a script line\n"
                 "tvn_get_position = abc\n"
                 "tvn_download_firmware = 2101,0\n"
                 "  tvn_read_current_speed   =   -2.5  \n");
    script.close();
    qputenv("TOLVANE_SCRIPT", PathOf("script").toLocal8Bit());
    qputenv("TOLVANE_TRACE", PathOf("trace").toLocal8Bit());
    qputenv("TOLVANE_CARDS", "3");

    TestTolvaneEnvironment test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tolvane_environment.moc"
