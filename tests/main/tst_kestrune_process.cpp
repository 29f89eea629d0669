// Starts the real kestrune program on the offscreen platform, with the
// stand-in library beside it, and reads the calls it made from the trace.
#include <QTest>

#include "support/files.h"
#include "support/process.h"

class TestKestruneProcess : public QObject {
    Q_OBJECT

private slots:
    void startsAppliesSettingsAndClosesTheLibraryOnTerm()
    {
        ProgramRun run(QStringLiteral(KESTRUNE_EXE), QStringLiteral(TOLVANE_LIB));
        QVERIFY(WriteBytes(run.Folder() + "/hardware_set.txt",
                           "[\xB5\xDA"
                           "0\xD6\xE1]\r\nPULSEOUTMODE= 3\r\n[UTILITY]\r\nLATCHALLAXIS=0\r\n"));
        QVERIFY(run.Start(2));
        QVERIFY(run.WaitForCall("tvn_config_latch_mode"));
        QVERIFY2(run.process.state() == QProcess::Running, "kestrune ended by itself");

        run.process.terminate(); // SIGTERM; on Windows WM_CLOSE
        QVERIFY(run.process.waitForFinished(30000));
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 0);

        const QList<QByteArray> lines = run.Trace().split('\n');
        QCOMPARE(lines.size(), 29); // 28 calls and the empty text after the last line end
        QCOMPARE(lines[0], QByteArray("tvn_board_init() = 2"));
        QCOMPARE(lines[1], QByteArray("tvn_set_pulse_outmode(0, 3) = 0"));
        QCOMPARE(lines[13], QByteArray("tvn_set_pulse_outmode(1, 0) = 0"));
        QCOMPARE(lines[26], QByteArray("tvn_config_latch_mode(0, 0) = 0"));
        QCOMPARE(lines[27], QByteArray("tvn_board_close() = 0"));
    }

    // Answered without a window and without the card library, on the
    // standard output as UTF-8, also by the Windows build (a GUI program).
    void answersHelpAndVersion_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        QTest::newRow("--version") << QStringLiteral("--version") << QStringLiteral("kestrune 1.0\n");
        QTest::newRow("--help") << QStringLiteral("--help")
                                << QStringLiteral("Brevak 运动控制卡的测试与演示程序：选择控制卡");
    }

    void answersHelpAndVersion()
    {
        QFETCH(QString, option);
        QFETCH(QString, expected);
        ProgramRun run(QStringLiteral(KESTRUNE_EXE), QStringLiteral(TOLVANE_LIB));
        QVERIFY(run.Start(1, {option}));
        QVERIFY(run.process.waitForFinished(30000));
        QCOMPARE(run.process.exitCode(), 0);
        const QString out = QString::fromUtf8(run.process.readAllStandardOutput());
        QVERIFY2(option == QLatin1String("--help") ? out.contains(expected) : out == expected, qPrintable(out));
        QVERIFY(run.Trace().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKestruneProcess)
#include "tst_kestrune_process.moc"
