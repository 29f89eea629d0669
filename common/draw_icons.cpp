// Writes the programs' icons for installation into the folder named on the
// command line: kestrune.svg, kestrune-48.png, -128, -256, kestrune.ico (the
// Windows resource, 16 to 256 pixels), and the same for flashmend. Run by the
// build.
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

#include "icofile.h"
#include "icons.h"

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_icons FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const std::pair<ProgramIcon, QString> icons[] = {{ProgramIcon::Kestrune, QStringLiteral("kestrune")},
                                                     {ProgramIcon::Flashmend, QStringLiteral("flashmend")}};
    for (const auto& [icon, name] : icons) {
        for (int size : {48, 128, 256})
            if (!DrawIcon(icon, size).save(folder.filePath(QStringLiteral("%1-%2.png").arg(name).arg(size)), "PNG"))
                return 1;
        QFile svg(folder.filePath(name + QStringLiteral(".svg")));
        if (!svg.open(QIODevice::WriteOnly) || svg.write(IconSvg(icon)) < 0)
            return 1;
        // The sizes Windows shows an icon at: lists, the taskbar, Explorer's
        // views and high-resolution screens.
        QList<QImage> sizes;
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            sizes.append(DrawIcon(icon, size));
        const QByteArray ico = IcoFile(sizes);
        QFile icoFile(folder.filePath(name + QStringLiteral(".ico")));
        if (ico.isEmpty() || !icoFile.open(QIODevice::WriteOnly) || icoFile.write(ico) != ico.size())
            return 1;
    }
    return 0;
}
