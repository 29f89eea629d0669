#include <QApplication>

#include "common/translations.h"
#include "flashmenddlg.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InstallQtChineseTexts();
    CFlashmendApp flashmend;
    return flashmend.InitInstance();
}
