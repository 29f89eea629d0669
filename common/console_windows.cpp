#include "console.h"

#include <QString>

#include <windows.h>

namespace {

// Presses Enter in the console: cmd.exe has shown its prompt again as soon as
// it started a GUI program, so the text lands after it; the key gives the
// prompt back below the text.
void PressEnter()
{
    HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return;
    INPUT_RECORD keys[2] = {};
    for (int i = 0; i < 2; ++i) {
        keys[i].EventType = KEY_EVENT;
        keys[i].Event.KeyEvent.bKeyDown = i == 0;
        keys[i].Event.KeyEvent.wRepeatCount = 1;
        keys[i].Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
        keys[i].Event.KeyEvent.uChar.UnicodeChar = L'\r';
    }
    DWORD written = 0;
    WriteConsoleInputW(in, keys, 2, &written);
    CloseHandle(in);
}

} // namespace

void PrintToTerminal(const QString& text)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    bool attached = false;
    // Redirected output (a pipe, a file) comes as a handle; a GUI program
    // started from a console has none, and borrows its parent's console.
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return;
        attached = true;
        out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    }
    if (out != INVALID_HANDLE_VALUE) {
        DWORD mode = 0;
        DWORD written = 0;
        if (GetConsoleMode(out, &mode)) {
            // A console shows UTF-16 whatever its code page.
            const QString shown = attached ? QStringLiteral("\r\n") + text : text;
            const std::wstring wide = shown.toStdWString();
            WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            const QByteArray bytes = text.toUtf8();
            WriteFile(out, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
    }
    if (attached) {
        CloseHandle(out);
        PressEnter();
        FreeConsole();
    }
}
