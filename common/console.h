// Text for the terminal that started the program. On Windows the programs
// are GUI programs, which no console waits for: the text goes to the console
// of the program that started them, or to where their output is redirected.
// One implementation per system (console_posix.cpp, console_windows.cpp).
#pragma once

class QString;

// Writes `text` to the standard output as the terminal reads it.
void PrintToTerminal(const QString& text);
