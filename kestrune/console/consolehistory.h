// The console's history: the lines typed, newest last, at most 500, kept
// between runs in a file of the settings folder. Up and Down walk it as a
// shell's does, and give back the line being typed at the end.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class ConsoleHistory {
public:
    static constexpr qsizetype kKept = 500;

    // The history kept in the file at `path` (none: nothing is read or
    // written). A file that cannot be read, is larger than a history can be
    // or is not UTF-8 text gives an empty history: it is only a convenience.
    explicit ConsoleHistory(QString path = {});

    const QStringList& Entries() const { return entries_; }
    // A line typed; the same line again at once counts once. Ends the walk.
    void Add(const QString& line);
    // Writes the file whole: 0, or the errno of the failure.
    int Save() const;

    // The entry before the one shown; `typed` is the line in the field,
    // kept while the walk is away from it. Nothing past the oldest.
    std::optional<QString> Older(const QString& typed);
    // The entry after the one shown, the typed line after the newest;
    // nothing when no walk is on.
    std::optional<QString> Newer();

private:
    QString path_;
    QStringList entries_;
    qsizetype shown_ = 0; // the entry in the field; entries_.size() for the typed line
    QString typed_;
};

// The history file in the settings folder; none before the folder is known.
QString ConsoleHistoryPath();
