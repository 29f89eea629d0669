// Placement of controls given in twips, 15 twips to a pixel at 96 dots per
// inch, as the window layouts are measured.
#pragma once

#include <QFont>
#include <QString>

class QWidget;

inline constexpr int kTwipsPerPixel = 15;

inline int Px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

// Sets the geometry of `widget` within its parent from twips.
void PlaceTwips(QWidget* widget, int left, int top, int width, int height);

// Sets the client size of a window from twips.
void SizeTwips(QWidget* window, int width, int height);

// The captions' font 宋体 at `points`, resolved through the substitutes that
// InstallFontSubstitutes() sets up.
QFont SongTi(double points, bool bold = false, bool italic = false);

// Lets the Windows font names of the layouts resolve to fonts Linux has.
void InstallFontSubstitutes();
