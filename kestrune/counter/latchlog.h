// The counter window's latch log, bounded: at one latch per tick it would
// otherwise grow by gigabytes a day.
#pragma once

#include <QString>

#include <cstdint>
#include <deque>

class LatchLog {
public:
    // The newest records kept.
    static constexpr int kCapacity = 10000;

    // Appends a record, dropping the oldest when the log is full.
    void Append(const QString& record);
    void Clear();

    // What the log shows: the header line when records were dropped, then
    // the records, each line ending in CR LF.
    QString Text() const;
    // "（已删去较早的 N 条记录）", or empty while nothing was dropped.
    QString Header() const;

    int64_t Dropped() const { return dropped_; }
    qsizetype Size() const { return static_cast<qsizetype>(records_.size()); }

private:
    std::deque<QString> records_;
    int64_t dropped_ = 0;
};
