// SIGTERM and SIGINT (on Windows: Ctrl+C, Ctrl+Break, closing the console,
// and the end of the session) close a program's main window as its exit
// button does, so that a logout or a test never leaves the card library open.
#pragma once

class QWidget;

// From now on each SIGTERM or SIGINT (each of the Windows requests above)
// closes, on the event loop, the message boxes open above `mainWindow`, then
// `mainWindow` itself.
void CloseOnTerminationSignals(QWidget* mainWindow);

// Whether such a signal has been handled: a program that has not shown its
// main window yet must not show it any more.
bool TerminationRequested();
