#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdlib>

#include "console.h"
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
    // Written here rather than by the parser, which on Windows would show a
    // GUI program's text in a message box.
    if (parser.isSet(help)) {
        PrintToTerminal(parser.helpText());
        std::exit(0);
    }
    if (parser.isSet(version)) {
        PrintToTerminal(name + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        std::exit(0);
    }
}
