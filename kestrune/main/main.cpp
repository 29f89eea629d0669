#include <QApplication>
#include <QString>

#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "common/commandline.h"
#include "common/icons.h"
#include "common/message.h"
#include "common/termination.h"
#include "common/translations.h"
#include "mainform.h"
#include "settings/settingsfolder.h"
#include "settings/state.h"
#include "widgets/twips.h"

int main(int argc, char* argv[])
{
    ProcessCommandLine(
        argc, argv, QStringLiteral("kestrune"),
        QStringLiteral("Brevak 运动控制卡的测试与演示程序：选择控制卡，设置硬件参数，测试运动、I/O 和计数功能。\n"
                       "设置文件 hardware_set.txt 和 Motion_set.txt 放在程序所在的文件夹；"
                       "该文件夹不可写时，放在 %1。")
            .arg(UserSettingsFolderForHelp()));
    // Every card call from the start on goes into the call log.
    cardlib::calllog::Start();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(WindowIcon(ProgramIcon::Kestrune));
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
