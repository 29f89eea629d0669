#include "aboutdlg.h"

#include <QLabel>
#include <QPushButton>

#include "dialogunits.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(QStringLiteral("关于 Flashmend"));
    const QFont font = DialogFont();
    setFont(font);
    setFixedSize(DialogUnits(font, 0, 0, 170, 62).size());
    auto* icon = new QLabel(this);
    icon->setPixmap(FlashmendIcon().pixmap(32, 32));
    icon->setGeometry(DialogUnits(font, 14, 14, 21, 20));
    auto* text = new QLabel(QString(), this);
    text->setGeometry(DialogUnits(font, 42, 14, 114, 8));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    ok->setGeometry(DialogUnits(font, 113, 41, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
