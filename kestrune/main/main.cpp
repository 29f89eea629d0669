#include <QApplication>
#include <QString>

#include "cardlib/binding.h"
#include "common/message.h"
#include "common/termination.h"
#include "common/translations.h"
#include "mainform.h"
#include "settings/state.h"
#include "widgets/twips.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InstallQtChineseTexts();
    // The program ends with its main window, not with the last window shown:
    // a start-up message may be the only window for a while.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
    cardlib::SetFailureHandler([](const std::string& message) { ShowMessage(QString::fromStdString(message)); });

    MainForm form;
    CloseOnTerminationSignals(&form);
    if (!form.Form_Load(ChooseSettingsFolder(QCoreApplication::applicationDirPath(), UserSettingsFolder())))
        return 1;
    if (form.Unloaded())
        return 0;
    form.show();
    return QApplication::exec();
}
