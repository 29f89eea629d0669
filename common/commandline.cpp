#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "translations.h"

void ProcessCommandLine(int argc, char** argv, const QString& name, const QString& description)
{
    if (argc <= 1)
        return;
    // A core application of its own: the programs' own needs a display.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUNE_VERSION));
    InstallQtChineseTexts();
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
}
