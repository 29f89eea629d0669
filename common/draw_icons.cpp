// Writes the programs' icons for installation into the folder named on the
// command line: kestrune.svg, kestrune-48.png, -128, -256, and the same for
// flashmend. Run by the build.
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

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
    }
    return 0;
}
