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
};

QTEST_GUILESS_MAIN(TestKestruneProcess)
#include "tst_kestrune_process.moc"
