// The Windows ways to end a program, reachable by the tests as Windows
// reaches them: the console's control handler, which Windows calls on a
// thread of its own, and the native messages of a session's end.
#pragma once

namespace termination {

// Handles the console control event `type` (CTRL_C_EVENT, CTRL_CLOSE_EVENT,
// …) as the handler registered with the console does; nonzero when handled.
// For CTRL_CLOSE_EVENT, CTRL_LOGOFF_EVENT and CTRL_SHUTDOWN_EVENT it returns
// only once the main window has closed: Windows ends the process as soon as
// the handler returns.
int HandleConsoleControl(unsigned long type);

} // namespace termination
