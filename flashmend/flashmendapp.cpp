#include "flashmendapp.h"

#include "common/termination.h"
#include "flashmenddlg.h"

int CFlashmendApp::InitInstance()
{
    CFlashmendDlg dialog;
    // A logout closes the dialog as 退出 does: a running download is waited
    // for, then the library is closed, once, as the dialog goes.
    CloseOnTerminationSignals(&dialog);
    dialog.OnInitDialog();
    if (!TerminationRequested()) // a signal may have closed the start-up message
        dialog.exec();
    return 0;
}
