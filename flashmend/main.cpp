#include <QApplication>

#include "common/commandline.h"
#include "common/translations.h"
#include "flashmendapp.h"

int main(int argc, char* argv[])
{
    ProcessCommandLine(argc, argv, QStringLiteral("flashmend"),
                       QStringLiteral("Brevak 运动控制卡的固件升级程序：显示控制卡的版本，把固件文件写入控制卡。"));
    QApplication app(argc, argv);
    InstallQtChineseTexts();
    CFlashmendApp flashmend;
    return flashmend.InitInstance();
}
