#include "common/usertext.h"
#include "csvreader.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr qsizetype kChunk = 1 << 20;

} // namespace

bool CsvReader::Fail(int line, QString reason)
{
    error_ = CsvError{line, std::move(reason)};
    samples_ = {};
    pending_ = {};
    return false;
}

bool CsvReader::Feed(const char* data, qsizetype size)
{
    if (error_)
        return false;
    const char* end = data + size;
    while (data < end) {
        const char* newline = static_cast<const char*>(std::memchr(data, '\n', static_cast<size_t>(end - data)));
        const char* stop = newline ? newline : end;
        if (pending_.size() + (stop - data) > kLongestLine)
            return Fail(lines_ + 1, QStringLiteral("这一行太长（超过 %1 个字符）").arg(kLongestLine));
        pending_.append(data, stop - data);
        if (!newline)
            break;
        if (!Line(std::exchange(pending_, QByteArray())))
            return false;
        data = newline + 1;
    }
    return true;
}

bool CsvReader::Finish()
{
    if (error_)
        return false;
    if (!pending_.isEmpty() && !Line(std::exchange(pending_, QByteArray())))
        return false;
    if (!headed_)
        return Fail(std::max(lines_, 1), QStringLiteral("文件是空的"));
    return true;
}

bool CsvReader::Line(QByteArray line)
{
    const int number = ++lines_;
    if (line.endsWith('\r'))
        line.chop(1);
    // What the scope says about the capture (card, period, date) comes
    // before the headings, as comment lines.
    if (!headed_ && line.startsWith('#'))
        return true;
    const QByteArrayList fields = line.split(',');
    if (!headed_) {
        if (fields.size() != 1 + kChannels)
            return Fail(number, QStringLiteral("标题行应有 %1 列").arg(1 + kChannels));
        headed_ = true;
        return true;
    }
    if (fields.size() != 1 + kChannels)
        return Fail(number, QStringLiteral("应有 %1 列，这一行有 %2 列").arg(1 + kChannels).arg(fields.size()));
    double values[1 + kChannels];
    for (int c = 0; c <= kChannels; ++c) {
        const QByteArray field = fields[c].trimmed();
        const char* end = field.constData() + field.size();
        auto [stop, ec] = std::from_chars(field.constData(), end, values[c]);
        if (field.isEmpty() || ec != std::errc() || stop != end || !std::isfinite(values[c]))
            return Fail(number, QStringLiteral("第 %1 列“%2”不是数字")
                                    .arg(c + 1)
                                    .arg(QuoteUserText(QString::fromUtf8(field.left(32)))));
    }
    Sample s;
    s.seconds = values[0];
    if (!samples_.empty() && s.seconds < samples_.back().seconds)
        return Fail(number, QStringLiteral("时间比上一行早"));
    for (int axis = 0; axis < 2; ++axis) {
        s.command[axis] = values[1 + axis * 4];
        s.encoder[axis] = values[2 + axis * 4];
        s.speed[axis] = values[4 + axis * 4];
        // The error column follows from the two positions; a file that says
        // otherwise was not written by the scope.
        if (values[3 + axis * 4] != s.Error(axis))
            return Fail(number, QStringLiteral("跟随误差与命令位置、反馈位置不符"));
    }
    if (samples_.size() == mostSamples_)
        return Fail(number, QStringLiteral("采样超过 %1 个，示波器显示不了这么多").arg(mostSamples_));
    samples_.push_back(s);
    return true;
}

std::variant<std::vector<Sample>, CsvError> FromCsv(const QByteArray& bytes)
{
    CsvReader reader(std::numeric_limits<size_t>::max());
    if (!reader.Feed(bytes.constData(), bytes.size()) || !reader.Finish())
        return *reader.Error();
    return reader.TakeSamples();
}

std::variant<std::vector<Sample>, CsvError, CsvCancelled>
ReadCsvFile(const QString& path, size_t mostSamples, const std::atomic<bool>& cancel, std::atomic<int64_t>& bytesRead)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        return CsvError{0, !info.exists()       ? QStringLiteral("文件不存在")
                           : !info.isReadable() ? QStringLiteral("没有读取权限")
                                                : file.errorString()};
    }
    CsvReader reader(mostSamples);
    QByteArray chunk(kChunk, Qt::Uninitialized);
    for (;;) {
        if (cancel)
            return CsvCancelled{};
        const qint64 n = file.read(chunk.data(), kChunk);
        if (n < 0)
            return CsvError{0, file.errorString()};
        if (n == 0)
            break;
        bytesRead += n;
        if (!reader.Feed(chunk.constData(), static_cast<qsizetype>(n))) // at most kChunk
            return *reader.Error();
    }
    if (!reader.Finish())
        return *reader.Error();
    return reader.TakeSamples();
}
