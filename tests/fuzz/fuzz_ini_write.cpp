// The INI writer on any file and any names and value: a value written reads
// back as written, after the documented changes (line breaks become blanks,
// characters GBK lacks become '?', blanks around it go, 254 bytes at most),
// and every other line of the file keeps its bytes.
//   input: section \0 key \0 value \0 file content
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "settings/gbk.h"
#include "settings/ini.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

using Line = std::pair<QByteArray, QByteArray>; // text, end

std::vector<Line> Lines(const QByteArray& bytes)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            lines.emplace_back(bytes.mid(start), QByteArray());
            break;
        }
        const bool crlf = newline > start && bytes[newline - 1] == '\r';
        lines.emplace_back(bytes.mid(start, newline - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n");
        start = newline + 1;
    }
    return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray Trimmed(QByteArray text)
{
    while (!text.isEmpty() && IsBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

// Names the round trip is promised for: what a program would use as a
// section or key name.
bool PlainName(const QByteArray& gbk)
{
    return !gbk.isEmpty() && Trimmed(gbk) == gbk && !gbk.contains('=') && !gbk.contains('[') && !gbk.contains(']') &&
           !gbk.contains('\r') && !gbk.contains('\n') && !gbk.contains('\0');
}

// The value as a read gives it back.
QByteArray Expected(const QString& value)
{
    QByteArray bytes = ToGbk(value);
    bytes.replace('\r', ' ').replace('\n', ' ');
    bytes = Trimmed(bytes);
    qsizetype n = 0;
    while (n < bytes.size()) {
        const qsizetype step =
            static_cast<unsigned char>(bytes[n]) >= 0x81 && static_cast<unsigned char>(bytes[n]) <= 0xFE ? 2 : 1;
        if (n + step > kIniValueCapacity)
            break;
        n += step;
    }
    return bytes.left(n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0');
    if (parts.size() < 4)
        return 0;
    const QString section = QString::fromUtf8(parts[0]);
    const QString key = QString::fromUtf8(parts[1]);
    const QString value = QString::fromUtf8(parts[2]);
    QByteArray before = parts[3];
    for (qsizetype i = 4; i < parts.size(); ++i)
        before += '\0' + parts[i];

    IniBatch batch = IniBatch::InMemory(before);
    batch.Write(section, key, value);
    const QByteArray after = batch.Content();

    if (PlainName(ToGbk(section)) && PlainName(ToGbk(key)) && !ToGbk(value).contains('\0'))
        Check(ToGbk(IniFile::InMemory(after).Value(section, key)) == Expected(value));

    // Lines before and after the change are the old ones; in between, at most
    // one old line changed (the key's own line, or the last line, which gained
    // a line end) and at most two came (the key's line, and its section's
    // header).
    const std::vector<Line> old = Lines(before);
    const std::vector<Line> now = Lines(after);
    size_t prefix = 0;
    while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix])
        ++prefix;
    size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    const size_t removed = old.size() - prefix - suffix;
    const size_t added = now.size() - prefix - suffix;
    Check(removed <= 1 && added >= removed);
    if (removed == 1 && old[prefix].first == now[prefix].first) {
        Check(prefix == old.size() - 1 && old[prefix].second.isEmpty() && now[prefix].second == "\r\n");
        Check(added <= 3);
    } else {
        Check(added <= 2);
    }
    return 0;
}
