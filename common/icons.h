// The programs' icons, drawn by us in the style of the main window's card
// picture: a Brevak card with a motion arrow (Kestrune) or a download arrow
// (Flashmend). One description serves the window icons, the PNG files of
// each size and the SVG file that the installation ships.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

enum class ProgramIcon { Kestrune, Flashmend };

// The icon drawn at `size` × `size` pixels, on a transparent background.
QImage DrawIcon(ProgramIcon icon, int size);

// The same picture as an SVG document of 256 × 256 units.
QByteArray IconSvg(ProgramIcon icon);

// The icon at the sizes a window manager asks for.
QIcon WindowIcon(ProgramIcon icon);
