// Starts the real kestrune program on the offscreen platform, with the
// stand-in library beside it, and reads the calls it made from the trace.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"

class TestKestruneProcess : public QObject {
    Q_OBJECT

private slots:
    void startsAppliesSettingsAndClosesTheLibraryOnTerm()
    {
        // A folder of its own: the program's directory holds the library and
        // the settings file, whatever the build folder holds.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString program = dir.filePath(QStringLiteral("kestrune"));
        QVERIFY(QFile::copy(QStringLiteral(KESTRUNE_EXE), program));
        QVERIFY(QFile::copy(QStringLiteral(TOLVANE_LIB), dir.filePath(QStringLiteral("libTolvane.so"))));
        QFile settings(dir.filePath(QStringLiteral("hardware_set.txt")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[\xB5\xDA" "0\xD6\xE1]\r\nPULSEOUTMODE= 3\r\n[UTILITY]\r\nLATCHALLAXIS=0\r\n");
        settings.close();
        const QString trace = dir.filePath(QStringLiteral("trace.txt"));

        QProcess kestrune;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TOLVANE_TRACE"), trace);
        env.insert(QStringLiteral("TOLVANE_CARDS"), QStringLiteral("2"));
        env.remove(QStringLiteral("LD_LIBRARY_PATH"));
        // In the sanitizer build Qt's own threads now and then leave an
        // allocation behind at exit, which would turn the exit code to 1;
        // leaks of the program's code are the in-process tests' business.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
        kestrune.setProcessEnvironment(env);
        kestrune.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        kestrune.start(program, {});
        QVERIFY(kestrune.waitForStarted());

        QElapsedTimer waited;
        waited.start();
        while (!ReadBytes(trace).contains("tvn_config_latch_mode") && waited.elapsed() < 30000)
            QTest::qWait(50);
        QVERIFY2(kestrune.state() == QProcess::Running, "kestrune ended by itself");

        kestrune.terminate(); // SIGTERM
        QVERIFY(kestrune.waitForFinished(30000));
        QCOMPARE(kestrune.exitStatus(), QProcess::NormalExit);
        QCOMPARE(kestrune.exitCode(), 0);

        const QList<QByteArray> lines = ReadBytes(trace).split('\n');
        QCOMPARE(lines.size(), 29); // 28 calls and the empty text after the last line end
        QCOMPARE(lines[0], QByteArray("tvn_board_init() = 2"));
        QCOMPARE(lines[1], QByteArray("tvn_set_pulse_outmode(0, 3) = 0"));
        QCOMPARE(lines[13], QByteArray("tvn_set_pulse_outmode(1, 0) = 0"));
        QCOMPARE(lines[26], QByteArray("tvn_config_latch_mode(0, 0) = 0"));
        QCOMPARE(lines[27], QByteArray("tvn_board_close() = 0"));
    }
};

QTEST_GUILESS_MAIN(TestKestruneProcess)
#include "tst_kestrune_process.moc"
