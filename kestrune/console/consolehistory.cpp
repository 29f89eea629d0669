#include "consolehistory.h"

#include <QStringDecoder>

#include "common/wholefile.h"
#include "settings/state.h"

namespace {

// Larger than 500 lines of what a person types: not a history.
constexpr qsizetype kLargestFile = 1 << 20;

} // namespace

ConsoleHistory::ConsoleHistory(QString path) : path_(std::move(path))
{
    QByteArray bytes;
    if (path_.isEmpty() || ReadWholeFile(path_, bytes) != 0 || bytes.size() > kLargestFile || bytes.contains('\0'))
        return;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return;
    for (QString line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            entries_ << line;
    }
    if (entries_.size() > kKept)
        entries_.remove(0, entries_.size() - kKept);
    shown_ = entries_.size();
}

void ConsoleHistory::Add(const QString& typed)
{
    // The file holds a line an entry.
    QString line = typed;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!line.trimmed().isEmpty() && (entries_.isEmpty() || entries_.last() != line)) {
        entries_ << line;
        if (entries_.size() > kKept)
            entries_.removeFirst();
    }
    shown_ = entries_.size();
    typed_.clear();
}

int ConsoleHistory::Save() const
{
    if (path_.isEmpty())
        return 0;
    QString text;
    for (const QString& line : entries_)
        text += line + QLatin1Char('\n');
    return WriteWholeFile(path_, text.toUtf8());
}

std::optional<QString> ConsoleHistory::Older(const QString& typed)
{
    if (shown_ == 0)
        return std::nullopt;
    if (shown_ == entries_.size())
        typed_ = typed;
    return entries_[--shown_];
}

std::optional<QString> ConsoleHistory::Newer()
{
    if (shown_ >= entries_.size())
        return std::nullopt;
    ++shown_;
    return shown_ == entries_.size() ? typed_ : entries_[shown_];
}

QString ConsoleHistoryPath()
{
    return SettingsFolder.isEmpty() ? QString() : SettingsFolder + QStringLiteral("/console_history.txt");
}
