// Reading and writing values of an INI file, addressed by file, section and
// key, as the Windows private-profile functions do for the files that
// Kestrune shares with its Windows siblings.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <utility>
#include <vector>

// The longest value a read returns, in bytes of the file's code page.
inline constexpr int kIniValueCapacity = 254;

// The value of `key` in `section` of `file`, blanks around it removed; the
// empty text when the file, section or key is missing. Section and key names
// match without regard to the case of ASCII letters. A longer value is cut to
// 254 bytes, never in the middle of a double-byte character.
QString ReadIniValue(const QString& section, const QString& key, const QString& file);

// Sets `key` in `section` of `file` to `value`, creating the file, section or
// key when missing; every other line is kept byte for byte. New lines end in
// CR LF. The file is replaced whole (WriteWholeFile), so a failed write leaves
// it as it was. Returns false on failure, and then puts the errno of the
// failure in `error` when given.
bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value,
                   int* error = nullptr);

// One reading of a settings file, for a routine that reads many of its keys:
// the file is read and parsed once, when the snapshot is made, and every
// Value() answers as ReadIniValue would have then.
class IniFile {
public:
    explicit IniFile(const QString& file);
    // A snapshot of `content`, as if it were a file's (for checks of the
    // parser alone).
    static IniFile InMemory(const QByteArray& content);

    QString Value(const QString& section, const QString& key) const;

private:
    IniFile() = default;
    void Parse();

    struct Line {
        qsizetype begin;
        qsizetype length; // without the line end
    };

    QByteArray bytes_;
    std::vector<Line> lines_;
    // The first header of each section, by folded name, and the line after
    // its last one.
    QHash<QByteArray, std::pair<size_t, size_t>> sections_;
};

// Writes into one settings file, gathered and then committed at once: a save
// of many keys replaces the file in one step, so a kill or a crash leaves the
// old content or the new, never a mix. The bytes committed are exactly those
// that the same writes made one by one with WriteIniValue would leave.
class IniBatch {
public:
    explicit IniBatch(const QString& file);
    // A batch over `content` in memory, tied to no file (for checks of the
    // writes alone); it is never committed.
    static IniBatch InMemory(const QByteArray& content);

    // As WriteIniValue, on the content gathered so far.
    void Write(const QString& section, const QString& key, const QString& value);

    // The content gathered so far: what Commit() would write.
    QByteArray Content() const;

    // Replaces the file with the gathered content (WriteWholeFile) and returns
    // 0, or the errno of the failure; the file is then as it was. A file that
    // could not be read is not replaced. Without any write nothing happens.
    int Commit();

private:
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\r\n", "\n", or "" for a last line without one
    };

    IniBatch() = default;
    void Split(const QByteArray& bytes);

    QString file_;
    int readError_ = 0;
    bool written_ = false;
    std::vector<Line> lines_;
};
