// The file dialogs of the windows: Qt's own rather than the desktop's, so
// that their texts are the Chinese ones the program loads and they look the
// same on every desktop. Each returns the chosen path, or an empty text when
// the user cancels.
#pragma once

#include <QString>

class QWidget;

// A file to write. `startPath` is a folder, or a file name proposed in one;
// a name typed without an extension gets `suffix` (without the dot).
QString AskSavePath(QWidget* parent, const QString& title, const QString& startPath, const QString& filter,
                    const QString& suffix);
// An existing file to read.
QString AskOpenPath(QWidget* parent, const QString& title, const QString& startPath, const QString& filter);
