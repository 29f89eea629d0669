// The programs' command line: --help and --version, answered before any
// window (so they work without a display), and nothing else.
#pragma once

class QString;

// Answers --help or --version and ends the program; otherwise returns, and
// the application takes Qt's own options (-platform, -style, …) as usual.
void ProcessCommandLine(int argc, char** argv, const QString& name, const QString& description);
