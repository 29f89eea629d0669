// Reading and writing one value of an INI file, addressed by file, section
// and key, as the Windows private-profile functions do for the files that
// Kestrune shares with its Windows siblings.
#pragma once

#include <QString>

// The longest value a read returns, in bytes of the file's code page.
inline constexpr int kIniValueCapacity = 254;

// The value of `key` in `section` of `file`, blanks around it removed; the
// empty text when the file, section or key is missing. Section and key names
// match without regard to letter case. A longer value is cut to 254 bytes,
// never in the middle of a double-byte character.
QString ReadIniValue(const QString& section, const QString& key, const QString& file);

// Sets `key` in `section` of `file` to `value`, creating the file, section or
// key when missing; every other line is kept byte for byte. New lines end in
// CR LF. The file is replaced whole (WriteWholeFile), so a failed write leaves
// it as it was. Returns false on failure, and then puts the errno of the
// failure in `error` when given.
bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value,
                   int* error = nullptr);
