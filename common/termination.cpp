#include "termination.h"

#include <QApplication>
#include <QWidget>

#include "termination_close.h"

namespace {

bool terminationRequested = false;

} // namespace

namespace termination {

bool CloseMainWindow(QWidget* mainWindow)
{
    terminationRequested = true;
    for (QWidget* last = nullptr; QWidget* modal = QApplication::activeModalWidget(); last = modal)
        if (modal == last || !modal->close())
            break;
    if (mainWindow)
        mainWindow->close();
    return !mainWindow || !mainWindow->isVisible();
}

} // namespace termination

bool TerminationRequested() { return terminationRequested; }
