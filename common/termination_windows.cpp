#include "termination.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <windows.h>

#include "termination_close.h"
#include "termination_windows.h"

namespace {

// The main window; read and written on the GUI thread only.
QPointer<QWidget> mainWindow;

// Set once the main window has closed, for the console handler that waits
// for it on its own thread. Manual-reset: every waiter sees it.
HANDLE windowClosed = nullptr;

// Sets windowClosed when the main window goes: hidden by its close, or
// destroyed. A window that waits for a download hides only after it.
class CloseWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A minimised window is hidden too, by the system: that hide is spontaneous.
        if (event->type() == QEvent::Hide && !event->spontaneous() && watched == mainWindow)
            SetEvent(windowClosed);
        return false;
    }
};

void CloseOnGuiThread()
{
    if (termination::CloseMainWindow(mainWindow))
        SetEvent(windowClosed);
}

// A session that ends (log-off, shutdown) sends each top-level window
// WM_QUERYENDSESSION, then WM_ENDSESSION. The query is left to Qt, which
// agrees: another program may still refuse and the session go on. The end
// itself closes the main window there and then, for Windows ends the
// process once the message is handled.
class SessionEndFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "windows_generic_MSG" && eventType != "windows_dispatcher_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        // WM_CLOSE to the thread rather than to a window: how QProcess::terminate()
        // and taskkill ask a program without windows of its own (the
        // offscreen platform, a window not yet shown) to end.
        if (!msg->hwnd && msg->message == WM_CLOSE) {
            CloseOnGuiThread();
            return true;
        }
        if (msg->message == WM_ENDSESSION && msg->wParam && !ended_) {
            ended_ = true; // every top-level window gets the message
            CloseOnGuiThread();
        }
        return false;
    }

private:
    bool ended_ = false;
};

BOOL WINAPI OnConsoleControl(DWORD type) { return termination::HandleConsoleControl(type); }

} // namespace

namespace termination {

int HandleConsoleControl(unsigned long type)
{
    switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: break;
    default: return FALSE;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return FALSE; // nothing to close yet: Windows' own handling ends the program
    // This runs on a thread of the console's: the window closes on its own.
    QMetaObject::invokeMethod(app, CloseOnGuiThread, Qt::QueuedConnection);
    if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT)
        return TRUE;
    WaitForSingleObject(windowClosed, INFINITE);
    return TRUE;
}

} // namespace termination

void CloseOnTerminationSignals(QWidget* window)
{
    mainWindow = window;
    static bool installed = false;
    if (!installed) {
        installed = true;
        windowClosed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        static SessionEndFilter sessionEnd;
        QCoreApplication::instance()->installNativeEventFilter(&sessionEnd);
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    } else {
        ResetEvent(windowClosed);
    }
    window->installEventFilter(new CloseWatch(window));
    QObject::connect(window, &QObject::destroyed, [] { SetEvent(windowClosed); });
}
