// A Windows icon file (.ico) holding a picture at several sizes, each entry
// PNG-compressed (as Windows reads them since Vista), for the programs'
// resources. Written by the build's draw_icons.
#pragma once

#include <QByteArray>
#include <QList>
#include <QImage>

// The .ico file of `images`, one entry each, in their order. Each image must
// be square, 1 to 256 pixels a side; an empty QByteArray otherwise.
QByteArray IcoFile(const QList<QImage>& images);
