#include "ini.h"

#include <QChar>

#include <cerrno>
#include <optional>

#include "gbk.h"
#include "common/wholefile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE; }

QByteArrayView Trimmed(QByteArrayView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.sliced(first, last - first);
}

// A name as names are compared: ASCII letters in one case; the two bytes of a
// GBK character exactly as they are, since a trail byte may look like an
// ASCII letter.
QByteArray Folded(QByteArrayView name)
{
    QByteArray folded;
    folded.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsLeadByte(name[i]) && i + 1 < name.size()) {
            folded += name[i];
            folded += name[++i];
        } else {
            folded += static_cast<char>(QChar::toLower(static_cast<unsigned char>(name[i])));
        }
    }
    return folded;
}

bool SameName(QByteArrayView a, QByteArrayView b) { return a.size() == b.size() && Folded(a) == Folded(b); }

// The name of a section header line, or nothing for other lines. The header
// ends at the first ']' that is not the second byte of a GBK character (乚 is
// 81 5D).
std::optional<QByteArrayView> SectionName(QByteArrayView line)
{
    const QByteArrayView t = Trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    qsizetype close = 1;
    while (close < t.size() && t[close] != ']')
        close += IsLeadByte(t[close]) && close + 1 < t.size() ? 2 : 1;
    return Trimmed(t.sliced(1, std::min(close, t.size()) - 1));
}

// Key and value of a "key = value" line that is not a header.
std::optional<std::pair<QByteArrayView, QByteArrayView>> KeyValue(QByteArrayView line)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || SectionName(line))
        return std::nullopt;
    return std::make_pair(Trimmed(line.first(equals)), Trimmed(line.sliced(equals + 1)));
}

// The first `capacity` bytes, without a lead byte whose trail byte was cut.
QByteArrayView CutTo(QByteArrayView value, qsizetype capacity)
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
    return value.first(n);
}

// A line break in a name or value would split the line and corrupt the file.
QByteArray OneLine(const QString& text)
{
    QByteArray bytes = ToGbk(text);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

// Calls `line(text, end)` for each line of `bytes`: its text without the line
// end, and the end ("\r\n", "\n", or empty for a last line without one).
template <typename F>
void ForEachLine(const QByteArray& bytes, F line)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            line(start, bytes.size() - start, QByteArrayView());
            break;
        }
        const bool crlf = newline > start && bytes[newline - 1] == '\r';
        line(start, newline - start - (crlf ? 1 : 0), crlf ? QByteArrayView("\r\n") : QByteArrayView("\n"));
        start = newline + 1;
    }
}

} // namespace

IniFile::IniFile(const QString& file)
{
    if (ReadWholeFile(file, bytes_) == 0)
        Parse();
}

IniFile IniFile::InMemory(const QByteArray& content)
{
    IniFile snapshot;
    snapshot.bytes_ = content;
    snapshot.Parse();
    return snapshot;
}

void IniFile::Parse()
{
    ForEachLine(bytes_, [this](qsizetype begin, qsizetype length, QByteArrayView) {
        lines_.push_back({begin, length});
    });
    std::optional<QByteArray> open; // the section whose lines are being passed
    for (size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(QByteArrayView(bytes_).sliced(lines_[i].begin, lines_[i].length));
        if (!name)
            continue;
        if (open)
            sections_[*open].second = i;
        open.reset();
        QByteArray folded = Folded(*name);
        if (!sections_.contains(folded)) {
            sections_.insert(folded, std::make_pair(i, lines_.size()));
            open = std::move(folded);
        }
    }
}

QString IniFile::Value(const QString& section, const QString& key) const
{
    const auto range = sections_.constFind(Folded(ToGbk(section)));
    if (range == sections_.constEnd())
        return {};
    const QByteArray keyName = ToGbk(key);
    for (size_t i = range->first + 1; i < range->second; ++i) {
        const auto kv = KeyValue(QByteArrayView(bytes_).sliced(lines_[i].begin, lines_[i].length));
        if (kv && SameName(kv->first, keyName))
            return FromGbk(CutTo(kv->second, kIniValueCapacity).toByteArray());
    }
    return {};
}

IniBatch::IniBatch(const QString& file) : file_(file)
{
    // A file that could not be read is never replaced.
    if (const int e = ReadWholeFile(file, bytes_); e != 0 && e != ENOENT)
        readError_ = e;
    Split();
}

IniBatch IniBatch::InMemory(const QByteArray& content)
{
    IniBatch batch;
    batch.bytes_ = content;
    batch.Split();
    return batch;
}

void IniBatch::Split()
{
    ForEachLine(bytes_, [&](qsizetype begin, qsizetype length, QByteArrayView end) {
        lines_.push_back({begin, length, end.size()});
    });
    for (size_t i = 0; i < lines_.size(); ++i)
        if (SectionName(Text(lines_[i])))
            headers_.push_back(i);
}

QByteArrayView IniBatch::Text(const Line& line) const
{
    return line.replaced >= 0 ? QByteArrayView(texts_[static_cast<size_t>(line.replaced)])
                              : QByteArrayView(bytes_).sliced(line.begin, line.length);
}

void IniBatch::Write(const QString& section, const QString& key, const QString& value)
{
    written_ = true;
    const QByteArray sectionName = OneLine(section);
    const QByteArray keyName = OneLine(key);
    const QByteArray valueText = OneLine(value);
    const QByteArray folded = Folded(sectionName);

    // The section: one written to before, the first of the file's headers
    // with its name, or a new one at the end.
    auto known = sectionByName_.constFind(folded);
    if (known == sectionByName_.constEnd()) {
        size_t index = 0;
        while (index < headers_.size()) {
            const auto name = SectionName(Text(lines_[headers_[index]]));
            if (name && Folded(*name) == folded)
                break;
            ++index;
        }
        Section found;
        if (index == headers_.size()) {
            found = {lines_.size(), lines_.size(), {}};
            newSections_.push_back(sections_.size());
            // The header is the new section's first added line.
            texts_.push_back('[' + sectionName + ']');
            found.added.push_back(static_cast<int>(texts_.size() - 1));
            if (!lines_.empty() && lines_.back().end == 0)
                lastLineEnded_ = true;
        } else {
            const size_t header = headers_[index];
            const size_t end = index + 1 < headers_.size() ? headers_[index + 1] : lines_.size();
            // After the section's last non-blank line, so that blank lines
            // separating it from the next section stay where they are.
            size_t insertAt = end;
            while (insertAt > header + 1 && Trimmed(Text(lines_[insertAt - 1])).isEmpty())
                --insertAt;
            found = {header, insertAt, {}};
        }
        sections_.push_back(std::move(found));
        known = sectionByName_.insert(folded, sections_.size() - 1);
    }
    Section& s = sections_[*known];

    if (s.header < lines_.size()) {
        const size_t end = s.insertAt == lines_.size() ? lines_.size() : s.insertAt;
        for (size_t i = s.header + 1; i < end; ++i) {
            const auto kv = KeyValue(Text(lines_[i]));
            if (kv && SameName(kv->first, keyName)) {
                // The key keeps its name as the file spells it, as the
                // Windows private-profile functions keep it.
                QByteArray line = kv->first.toByteArray() + '=' + valueText;
                if (lines_[i].replaced >= 0) {
                    texts_[static_cast<size_t>(lines_[i].replaced)] = std::move(line);
                } else {
                    texts_.push_back(std::move(line));
                    lines_[i].replaced = static_cast<int>(texts_.size() - 1);
                }
                return;
            }
        }
    }
    for (int added : s.added) {
        const auto kv = KeyValue(texts_[static_cast<size_t>(added)]);
        if (kv && SameName(kv->first, keyName)) {
            texts_[static_cast<size_t>(added)] = kv->first.toByteArray() + '=' + valueText;
            return;
        }
    }
    // A line added after the file's last line needs that one to end first.
    if (s.added.empty() && s.insertAt == lines_.size() && !lines_.empty() && lines_.back().end == 0)
        lastLineEnded_ = true;
    texts_.push_back(keyName + '=' + valueText);
    s.added.push_back(static_cast<int>(texts_.size() - 1));
}

QByteArray IniBatch::Content() const
{
    static const QByteArray kCrLf = "\r\n";
    // Where each section's added lines go, by the index they go before.
    std::vector<const Section*> before(lines_.size() + 1, nullptr);
    for (const Section& s : sections_)
        if (s.header < lines_.size() && !s.added.empty())
            before[s.insertAt] = &s;
    QByteArray bytes;
    bytes.reserve(bytes_.size() + 64 * static_cast<qsizetype>(texts_.size()) + 64);
    const auto addLines = [&](const Section& s) {
        for (int added : s.added)
            bytes += texts_[static_cast<size_t>(added)] + kCrLf;
    };
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (before[i])
            addLines(*before[i]);
        const Line& line = lines_[i];
        bytes += Text(line);
        if (line.end > 0)
            bytes += QByteArrayView(bytes_).sliced(line.begin + line.length, line.end);
        else if (i + 1 == lines_.size() && lastLineEnded_)
            bytes += kCrLf;
    }
    if (before[lines_.size()])
        addLines(*before[lines_.size()]);
    for (size_t index : newSections_)
        addLines(sections_[index]);
    return bytes;
}

int IniBatch::Commit()
{
    if (!written_)
        return 0;
    if (readError_)
        return readError_;
    return WriteWholeFile(file_, Content());
}

QString ReadIniValue(const QString& section, const QString& key, const QString& file)
{
    return IniFile(file).Value(section, key);
}

bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value, int* error)
{
    IniBatch batch(file);
    batch.Write(section, key, value);
    const int e = batch.Commit();
    if (error)
        *error = e;
    return e == 0;
}
