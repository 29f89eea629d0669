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
    // The file's lines stay where they are read; a write changes one line's
    // text, adds a line to a section or adds a section at the end, so that a
    // save into a large file costs the section it touches, not the file.
    struct Line {
        qsizetype begin;
        qsizetype length;  // without the line end
        qsizetype end;     // bytes of the line end: 2, 1, or 0 for a last line without one
        int replaced = -1; // the index of its new text in texts_, or -1
    };
    struct Section {
        size_t header;          // index of its header line, or of lines_.size() for a new one
        size_t insertAt;        // where its new keys go: after its last non-blank line
        std::vector<int> added; // its new key lines, indices in texts_, in order
    };

    IniBatch() = default;
    void Split();
    QByteArrayView Text(const Line& line) const;

    QString file_;
    int readError_ = 0;
    bool written_ = false;
    QByteArray bytes_;
    std::vector<Line> lines_;
    std::vector<size_t> headers_;             // every header line, in order
    QHash<QByteArray, size_t> sectionByName_; // folded name: index in sections_
    std::vector<Section> sections_;           // those written to, and those of the file as found
    std::vector<QByteArray> texts_;
    bool lastLineEnded_ = false;      // a line was added after a last line without an end
    std::vector<size_t> newSections_; // sections added at the end, in order
};
