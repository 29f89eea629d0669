// Where every way of asking a program to end leads, whatever the system: on
// the GUI thread, the path of the main window's own exit button.
#pragma once

class QWidget;

namespace termination {

// Marks the termination as requested, closes the message boxes open above
// `mainWindow` (a start-up message may be up), then `mainWindow` itself,
// which closes the card library as it goes. Whether `mainWindow` is closed
// now (a window that waits for a download to end closes later).
bool CloseMainWindow(QWidget* mainWindow);

} // namespace termination
