#include "message.h"

#include <QMessageBox>

namespace {

MessageHook& Hook()
{
    static MessageHook hook;
    return hook;
}

}  // namespace

void ShowMessage(const QString& text, QWidget* parent)
{
    if (Hook()) {
        Hook()(QString::fromLatin1(kProgramTitle), text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kProgramTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

void SetMessageHook(MessageHook hook)
{
    Hook() = std::move(hook);
}
