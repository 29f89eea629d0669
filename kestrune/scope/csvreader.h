// Reading a scope CSV file a piece at a time, so that what it costs is the
// samples it keeps and not the size of the file: a file of a hundred
// megabytes of line ends or commas is refused at its first bad line, and a
// file with more samples than the scope shows is refused when it gets there.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "scopedata.h"

class CsvReader {
public:
    // The longest line a CSV of the scope can hold, blanks and all: longer
    // lines are refused as they arrive, without keeping them.
    static constexpr qsizetype kLongestLine = 4096;

    explicit CsvReader(size_t mostSamples) : mostSamples_(mostSamples) {}

    // Takes the next bytes of the file; false once the file is refused.
    bool Feed(const char* data, qsizetype size);
    // The end of the file; false when the file is refused.
    bool Finish();

    const std::optional<CsvError>& Error() const { return error_; }
    std::vector<Sample> TakeSamples() { return std::move(samples_); }

private:
    bool Line(QByteArray line);
    bool Fail(int line, QString reason);

    size_t mostSamples_;
    QByteArray pending_;  // the start of a line whose end has not come yet
    int lines_ = 0;       // lines taken so far
    bool headed_ = false; // the headings' line has come
    std::vector<Sample> samples_;
    std::optional<CsvError> error_;
};

// The samples of a whole CSV text, without a limit.
std::variant<std::vector<Sample>, CsvError> FromCsv(const QByteArray& bytes);

// The samples a file may hold: more than an hour at 1 ms, and every valid
// 50 MB file.
inline constexpr size_t kMostFileSamples = 4'000'000;

// Reads the file at `path` through a CsvReader, a megabyte at a time, adding
// the bytes read to `bytesRead`; stops with nothing when `cancel` becomes
// true. The error of an unreadable file has line 0 and the system's reason.
struct CsvCancelled {};
std::variant<std::vector<Sample>, CsvError, CsvCancelled>
ReadCsvFile(const QString& path, size_t mostSamples, const std::atomic<bool>& cancel, std::atomic<int64_t>& bytesRead);
