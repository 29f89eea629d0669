// What the operating system says about the settings folder: whether a folder
// or file may be written, and where a user's own settings go. One
// implementation per system (settingsfolder_posix.cpp, settingsfolder_windows.cpp).
#pragma once

#include <QString>

// Whether this process may write `path`: for a folder, make new files in it;
// for a file, rewrite it. Asked of the system as it will answer the write,
// not read from the permission bits.
bool MayWrite(const QString& path);

// The per-user settings folder (see state.h), and how the help text names it.
QString UserSettingsFolder();
QString UserSettingsFolderForHelp();
