// Plain words for the statuses the card library answers with, shown beside
// the number ("3 参数超出范围") in the call log, the console and messages.
// The stand-in's statuses are known; a real card's library has codes of its
// own, which the user may describe in a file "状态码.txt": a line a status,
// the number, a tab, the words; GBK or UTF-8.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>

class StatusWords {
public:
    // The stand-in library's own table.
    static StatusWords StandIn();
    // A file's text. Blank lines and lines starting with '#' say nothing; a
    // line without a number, a tab and words is skipped and counted.
    static StatusWords Parse(const QByteArray& text);

    // The words for `status`, or an empty text.
    QString Meaning(int64_t status) const;
    // "3 参数超出范围", or "3" for a status without words.
    QString Text(int64_t status) const;
    // Words of `other` take the place of these for the same number.
    void Add(const StatusWords& other);

    size_t Size() const { return words_.size(); }
    int SkippedLines() const { return skipped_; }

private:
    std::map<int64_t, QString> words_;
    int skipped_ = 0;
};

inline QString StatusWordsFileName() { return QStringLiteral("状态码.txt"); }

// The program's words: the stand-in's when `standIn`, then those of
// "状态码.txt" in each of `folders` that has one, later folders first.
StatusWords LoadStatusWords(const QStringList& folders, bool standIn);
// What the program shows; none until UseStatusWords.
const StatusWords& CurrentStatusWords();
void UseStatusWords(StatusWords words);
