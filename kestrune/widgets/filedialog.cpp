#include "filedialog.h"

#include <QFileDialog>

namespace {

QString Chosen(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString AskSavePath(QWidget* parent, const QString& title, const QString& startPath, const QString& filter,
                    const QString& suffix)
{
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    return Chosen(dialog);
}

QString AskOpenPath(QWidget* parent, const QString& title, const QString& startPath, const QString& filter)
{
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Chosen(dialog);
}
