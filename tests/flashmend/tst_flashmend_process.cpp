// Starts the real flashmend program and ends it as a session logout does
// (a signal; on Windows WM_CLOSE, as taskkill sends it): the dialog closes as
// 退出 would and the library closes once.
#include <QElapsedTimer>
#include <QTest>

#ifndef _WIN32
#include <csignal>
#endif

#include "support/process.h"

class TestFlashmendProcess : public QObject {
    Q_OBJECT

private slots:
    void aSignalClosesTheDialogAndTheLibraryOnce_data()
    {
        QTest::addColumn<int>("cards");
        QTest::addColumn<int>("signal");
#ifdef _WIN32
        // Ctrl+C reaches only a program that shares this console; the
        // console's handler is tst_termination's.
        QTest::newRow("WM_CLOSE, dialog open") << 1 << 0;
        QTest::newRow("WM_CLOSE, start-up message") << 0 << 0;
#else
        QTest::newRow("SIGTERM, dialog open") << 1 << int(SIGTERM);
        QTest::newRow("SIGINT, dialog open") << 1 << int(SIGINT);
        // With no card the start-up message is up, modal, before the dialog.
        QTest::newRow("SIGTERM, start-up message") << 0 << int(SIGTERM);
#endif
    }

    void aSignalClosesTheDialogAndTheLibraryOnce()
    {
        QFETCH(int, cards);
        QFETCH(int, signal);
        ProgramRun run(QStringLiteral(FLASHMEND_EXE), QStringLiteral(TOLVANE_LIB));
        QVERIFY(run.Start(cards));
        QVERIFY(run.WaitForCall(cards ? "tvn_get_release_version" : "tvn_board_init"));
        // The signal may come before the dialog's loop runs or after: it is
        // kept until the loop takes it, and either way ends the same.
        QVERIFY2(run.process.state() == QProcess::Running, "flashmend ended by itself");

#ifdef _WIN32
        // WM_CLOSE goes to the windows that exist when it is sent: sent again
        // until one takes it.
        Q_UNUSED(signal);
        QElapsedTimer waited;
        waited.start();
        do
            run.process.terminate();
        while (!run.process.waitForFinished(500) && waited.elapsed() < 30000);
#else
        ::kill(static_cast<pid_t>(run.process.processId()), signal);
#endif
        // (A process already ended is not waited for: that would be false.)
        QVERIFY(run.process.state() == QProcess::NotRunning || run.process.waitForFinished(30000));
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 0);

        const QList<QByteArray> lines = run.Trace().trimmed().split('\n');
        QCOMPARE(lines.first(), QByteArray("tvn_board_init() = ") + QByteArray::number(cards));
        QCOMPARE(lines.last(), QByteArray("tvn_board_close() = 0"));
        QCOMPARE(run.Trace().count("tvn_board_close"), 1);
    }
};

QTEST_GUILESS_MAIN(TestFlashmendProcess)
#include "tst_flashmend_process.moc"
