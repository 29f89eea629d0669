// What the program's dialogs share: the dialog font, the dialog units
// reckoned from it that place their controls, and the program's icon.
#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>

// The dialogs' font: MS Shell Dlg at 9 points, the font their layouts were
// made for, which stands here for WenQuanYi Zen Hei (DejaVu Sans without it).
QFont DialogFont();

// Pixels from dialog units, as Windows reckons them from the dialog font: a
// horizontal unit is a quarter of the average character width, a vertical
// one an eighth of the character height.
QRect DialogUnits(const QFont& font, int x, int y, int width, int height);

// The program's icon.
QIcon FlashmendIcon();
