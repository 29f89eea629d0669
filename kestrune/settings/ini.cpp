#include "ini.h"

#include <cerrno>
#include <optional>
#include <vector>

#include "gbk.h"
#include "wholefile.h"

namespace {

struct Line {
    QByteArray text; // without its line end
    QByteArray end;  // "\r\n", "\n", or "" for a last line without one
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray Trimmed(const QByteArray& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE; }

// Case-insensitive for ASCII letters only; the two bytes of a GBK character
// are compared exactly, since a trail byte may look like an ASCII letter.
bool SameName(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (IsLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (QChar::toLower(static_cast<unsigned char>(a[i])) != QChar::toLower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The name of a section header line, or nothing for other lines.
std::optional<QByteArray> SectionName(const QByteArray& line)
{
    const QByteArray t = Trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    return Trimmed(t.mid(1, close < 0 ? -1 : close - 1));
}

// Key and value of a "key = value" line.
std::optional<std::pair<QByteArray, QByteArray>> KeyValue(const QByteArray& line)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || SectionName(line))
        return std::nullopt;
    return std::make_pair(Trimmed(line.left(equals)), Trimmed(line.mid(equals + 1)));
}

std::vector<Line> SplitLines(const QByteArray& bytes)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            lines.push_back({bytes.mid(start), {}});
            break;
        }
        const bool crlf = newline > start && bytes[newline - 1] == '\r';
        lines.push_back({bytes.mid(start, newline - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
    return lines;
}

// Index of the header of `section`, and one past its last line.
std::optional<std::pair<size_t, size_t>> FindSection(const std::vector<Line>& lines, const QByteArray& section)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].text);
        if (!name || !SameName(*name, section))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end].text))
            ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, size_t begin, size_t end, const QByteArray& key)
{
    for (size_t i = begin; i < end; ++i) {
        const auto kv = KeyValue(lines[i].text);
        if (kv && SameName(kv->first, key))
            return i;
    }
    return std::nullopt;
}

// The first `capacity` bytes, without a lead byte whose trail byte was cut.
QByteArray CutTo(const QByteArray& value, qsizetype capacity)
{
    if (value.size() <= capacity)
        return value;
    qsizetype n = 0;
    while (n < capacity) {
        const qsizetype step = IsLeadByte(value[n]) ? 2 : 1;
        if (n + step > capacity)
            break;
        n += step;
    }
    return value.left(n);
}

// A line break in a name or value would split the line and corrupt the file.
QByteArray OneLine(const QString& text)
{
    QByteArray bytes = ToGbk(text);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

}  // namespace

QString ReadIniValue(const QString& section, const QString& key, const QString& file)
{
    QByteArray bytes;
    if (ReadWholeFile(file, bytes) != 0)
        return {};
    const std::vector<Line> lines = SplitLines(bytes);
    const auto range = FindSection(lines, ToGbk(section));
    if (!range)
        return {};
    const auto at = FindKey(lines, range->first + 1, range->second, ToGbk(key));
    if (!at)
        return {};
    return FromGbk(CutTo(KeyValue(lines[*at].text)->second, kIniValueCapacity));
}

bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value, int* error)
{
    const auto done = [error](int e) {
        if (error)
            *error = e;
        return e == 0;
    };
    QByteArray original;
    // Never replace a file that could not be read.
    if (const int e = ReadWholeFile(file, original); e != 0 && e != ENOENT)
        return done(e);

    static const QByteArray kCrLf = "\r\n";
    std::vector<Line> lines = SplitLines(original);
    const QByteArray sectionName = OneLine(section);
    const QByteArray keyName = OneLine(key);
    const QByteArray keyLine = keyName + '=' + OneLine(value);

    // A line is added after the last one; that one needs an end first.
    const auto endLineBefore = [&](size_t index) {
        if (index > 0 && lines[index - 1].end.isEmpty())
            lines[index - 1].end = kCrLf;
    };

    if (const auto range = FindSection(lines, sectionName)) {
        const auto [header, end] = *range;
        if (const auto at = FindKey(lines, header + 1, end, keyName)) {
            lines[*at].text = keyLine;
        } else {
            // After the section's last non-blank line, so that blank lines
            // separating it from the next section stay where they are.
            size_t insertAt = end;
            while (insertAt > header + 1 && Trimmed(lines[insertAt - 1].text).isEmpty())
                --insertAt;
            endLineBefore(insertAt);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), Line{keyLine, kCrLf});
        }
    } else {
        endLineBefore(lines.size());
        lines.push_back({'[' + sectionName + ']', kCrLf});
        lines.push_back({keyLine, kCrLf});
    }

    QByteArray bytes;
    bytes.reserve(original.size() + keyLine.size() + sectionName.size() + 8);
    for (const Line& line : lines)
        bytes += line.text + line.end;

    return done(WriteWholeFile(file, bytes));
}
