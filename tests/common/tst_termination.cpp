// The system's requests to end a program (signals; on Windows the console's
// control events and the end of the session) close the message boxes, then
// the main window, as its exit button would: once, and on the GUI thread.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <atomic>
#include <thread>

#include "common/termination.h"

#ifdef _WIN32
#include <windows.h>

#include "common/termination_windows.h"
#else
#include <csignal>
#endif

namespace {

class MainWindow : public QWidget {
public:
    std::atomic<int> closes{0};

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        QWidget::closeEvent(event);
    }
};

enum Request { Signal, ConsoleKey, ConsoleGone, SessionEnd, ThreadClose };

} // namespace

class TestTermination : public QObject {
    Q_OBJECT

private slots:
    void aRequestClosesTheMessageBoxThenTheMainWindow_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("code");
#ifdef _WIN32
        QTest::newRow("Ctrl+C") << int(ConsoleKey) << int(CTRL_C_EVENT);
        QTest::newRow("Ctrl+Break") << int(ConsoleKey) << int(CTRL_BREAK_EVENT);
        QTest::newRow("console closed") << int(ConsoleGone) << int(CTRL_CLOSE_EVENT);
        QTest::newRow("session ends") << int(SessionEnd) << 0;
        // As QProcess::terminate() and taskkill ask a program without windows.
        QTest::newRow("WM_CLOSE to the thread") << int(ThreadClose) << 0;
#else
        QTest::newRow("SIGTERM") << int(Signal) << int(SIGTERM);
        QTest::newRow("SIGINT") << int(Signal) << int(SIGINT);
#endif
    }

    void aRequestClosesTheMessageBoxThenTheMainWindow()
    {
        QFETCH(int, request);
        QFETCH(int, code);
        MainWindow window;
        CloseOnTerminationSignals(&window);
        window.show();
        // A start-up message, modal, above the main window.
        QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Information, QStringLiteral("Kestrune"),
                                                    QStringLiteral("没有找到控制卡"), QMessageBox::Ok, &window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::ApplicationModal);
        box->show();
        QTRY_COMPARE(QApplication::activeModalWidget(), box.data());

        switch (Request(request)) {
        case Signal:
#ifndef _WIN32
            std::raise(code);
#endif
            break;
        case ConsoleKey:
        case ConsoleGone: {
#ifdef _WIN32
            // Windows calls the handler on a thread of its own; for a closed
            // console it must not return before the window has closed, for
            // the process ends as it returns.
            std::atomic<int> closesAtReturn{-1};
            std::atomic<bool> handled{false};
            std::thread console([&] {
                handled = termination::HandleConsoleControl(static_cast<unsigned long>(code)) != 0;
                closesAtReturn = window.closes.load();
            });
            QTRY_VERIFY(closesAtReturn >= 0);
            console.join();
            QVERIFY(handled);
            if (request == ConsoleGone)
                QCOMPARE(closesAtReturn.load(), 1);
#endif
            break;
        }
        case ThreadClose:
#ifdef _WIN32
            QVERIFY(PostThreadMessageW(GetCurrentThreadId(), WM_CLOSE, 0, 0));
#endif
            break;
        case SessionEnd: {
#ifdef _WIN32
            // The query leaves everything open: another program may refuse.
            // The end closes the window before the message returns.
            QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
            MSG message{};
            message.message = WM_QUERYENDSESSION;
            qintptr result = 0;
            dispatcher->filterNativeEvent("windows_generic_MSG", &message, &result);
            message.message = WM_ENDSESSION;
            message.wParam = FALSE;
            dispatcher->filterNativeEvent("windows_generic_MSG", &message, &result);
            QVERIFY(window.isVisible());
            QCOMPARE(window.closes.load(), 0);
            message.wParam = TRUE;
            dispatcher->filterNativeEvent("windows_generic_MSG", &message, &result);
            QVERIFY(!window.isVisible());
            // Each top-level window gets the message: the window closes once.
            dispatcher->filterNativeEvent("windows_generic_MSG", &message, &result);
#endif
            break;
        }
        }
        QTRY_VERIFY(!window.isVisible());
        QTRY_VERIFY(box.isNull());
        QCOMPARE(window.closes.load(), 1);
        QVERIFY(TerminationRequested());
    }
};

QTEST_MAIN(TestTermination)
#include "tst_termination.moc"
