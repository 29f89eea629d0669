// Program-wide state of Kestrune, set by the main window and read by every
// window at each card call.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The card that every window passes to the card library.
inline int16_t CurrentCardNo = 0;

// The folder of the settings files, and the full paths of the two of them.
inline QString SettingsFolder;
inline QString HardwareSetPath;
inline QString MotionSetPath;

// Home search speed mode of axis slots 0 to 3, filled by ApplyHardwareSettings
// and used when the motion window starts a homing move.
inline std::array<int16_t, 4> HomeSpeedMode{};

// Sets the folder and both paths, the folder taken as it is.
void SetSettingsPaths(const QString& folder);

// The folder that holds the settings files: the program's directory whenever
// it can hold them (the folder is writable, or the settings files in it are),
// otherwise `userFolder` (an installed package, a read-only folder). The user
// folder is created when missing and seeded with the Motion_set.txt shipped
// beside the program; a file already there is never replaced.
QString ChooseSettingsFolder(const QString& programDirectory, const QString& userFolder);

// The per-user settings folder: $XDG_CONFIG_HOME/kestrune, by default
// ~/.config/kestrune; %APPDATA%\Kestrune on Windows.
QString UserSettingsFolder();
