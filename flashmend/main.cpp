#include <QApplication>

#include "flashmenddlg.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CFlashmendApp flashmend;
    return flashmend.InitInstance();
}
