#include "message.h"

#include <QMessageBox>

namespace {

MessageHook& Hook()
{
    static MessageHook hook;
    return hook;
}

} // namespace

void ShowMessage(const QString& text, QWidget* parent)
{
    ShowMessage(QString::fromLatin1(kProgramTitle), text, parent);
}

void ShowMessage(const QString& title, const QString& text, QWidget* parent)
{
    if (Hook()) {
        Hook()(title, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }
