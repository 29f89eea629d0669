// SIGTERM and SIGINT close the main window as its exit button does, so that a
// logout or a test never leaves the card library open.
#pragma once

class QWidget;

void CloseOnTerminationSignals(QWidget* mainWindow);
