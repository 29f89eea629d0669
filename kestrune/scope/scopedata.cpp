#include "scopedata.h"

#include <QByteArrayList>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "cardlib/traceformat.h"

QString ValueText(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e15)
        return QString::number(value, 'g', 6);
    if (value == std::round(value))
        return QString::number(static_cast<qint64>(value));
    // Six significant digits, as decimals: 1234.57, 0.0123457, 1234568.
    const int whole = std::fabs(value) < 1 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    const int leadingZeros = std::fabs(value) < 1 ? -static_cast<int>(std::floor(std::log10(std::fabs(value)))) - 1 : 0;
    QString text = QString::number(value, 'f', std::max(0, 6 - whole + leadingZeros));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

QString ChannelName(int channel)
{
    static const char* const kNames[] = {"命令位置", "反馈位置", "跟随误差", "速度"};
    const Channel c = ChannelAt(channel);
    return QStringLiteral("第%1轴").arg(c.axis) + QString::fromUtf8(kNames[static_cast<int>(c.quantity)]);
}

size_t SampleSource::IndexAt(double seconds) const
{
    size_t low = 0, high = Size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (At(middle).seconds < seconds)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

SampleBuffer::SampleBuffer(size_t capacity) : ring_(std::max<size_t>(capacity, 1)) {}

const Sample& SampleBuffer::At(size_t index) const { return ring_[(first_ + index) % ring_.size()]; }

void SampleBuffer::Append(const Sample& sample)
{
    if (size_ < ring_.size()) {
        ring_[(first_ + size_++) % ring_.size()] = sample;
        return;
    }
    ring_[first_] = sample;
    first_ = (first_ + 1) % ring_.size();
    ++dropped_;
}

void SampleBuffer::Clear()
{
    first_ = size_ = 0;
    dropped_ = 0;
}

void MotionCapture::Arm(double holdSeconds, size_t longest)
{
    state_ = State::Armed;
    hold_ = holdSeconds;
    longest_ = longest;
    before_.reset();
    samples_.clear();
}

void MotionCapture::Cancel()
{
    state_ = State::Off;
    before_.reset();
    samples_.clear();
}

bool MotionCapture::Feed(const Sample& sample)
{
    switch (state_) {
    case State::Off:
    case State::Done: return false;
    case State::Armed:
        if (!sample.Moving()) {
            before_ = sample;
            return false;
        }
        state_ = State::Recording;
        if (before_)
            samples_.push_back(*before_);
        samples_.push_back(sample);
        lastMotion_ = sample.seconds;
        return false;
    case State::Recording:
        samples_.push_back(sample);
        if (sample.Moving())
            lastMotion_ = sample.seconds;
        // A move that never ends still ends the capture, at the buffer's size.
        if (sample.seconds - lastMotion_ >= hold_ || samples_.size() >= longest_) {
            state_ = State::Done;
            return true;
        }
        return false;
    }
    return false;
}

std::optional<CursorReadout> ReadCursors(const SampleSource& source, double a, double b)
{
    if (source.Size() == 0)
        return std::nullopt;
    const auto nearest = [&](double t) -> const Sample& {
        const size_t i = std::min(source.IndexAt(t), source.Size() - 1);
        if (i > 0 && std::fabs(source.At(i - 1).seconds - t) <= std::fabs(source.At(i).seconds - t))
            return source.At(i - 1);
        return source.At(i);
    };
    CursorReadout r;
    r.a = nearest(a);
    r.b = nearest(b);
    r.seconds = r.b.seconds - r.a.seconds;
    for (int axis = 0; axis < 2; ++axis) {
        r.distance[axis] = r.b.command[axis] - r.a.command[axis];
        r.meanSpeed[axis] = r.seconds != 0 ? r.distance[axis] / r.seconds : 0;
    }
    return r;
}

ColumnSpans ReduceToColumns(const SampleSource& source, size_t begin, size_t end, double from, double perColumn,
                            int columns, std::span<const int> channels, int firstColumn)
{
    ColumnSpans spans;
    if (columns < 1 || firstColumn < 0 || firstColumn >= columns || !(perColumn > 0))
        return spans;
    spans.channels.assign(channels.size(), std::vector<ValueSpan>(static_cast<size_t>(columns - firstColumn)));
    // Columns counted from time zero: a sample falls in the same column of
    // every view that starts on a whole column, wherever the view starts.
    const double origin = std::round(from / perColumn);
    for (size_t i = begin; i < end; ++i) {
        const Sample& s = source.At(i);
        const double at = std::floor(s.seconds / perColumn) - origin;
        const int column = static_cast<int>(std::clamp(at, double(firstColumn), double(columns - 1))) - firstColumn;
        for (size_t k = 0; k < channels.size(); ++k) {
            const double v = Value(s, channels[k]);
            auto& [lo, hi] = spans.channels[k][static_cast<size_t>(column)];
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            spans.overall.lo = std::min(spans.overall.lo, v);
            spans.overall.hi = std::max(spans.overall.hi, v);
        }
    }
    return spans;
}

ValueRange AutoRange(ValueSpan data, std::optional<ValueRange> previous)
{
    if (data.Empty())
        return previous.value_or(ValueRange{});
    if (previous && data.lo >= previous->low && data.hi <= previous->high &&
        data.hi - data.lo >= 0.4 * (previous->high - previous->low))
        return *previous;
    double low = data.lo, high = data.hi;
    if (high - low < 1e-9) {
        low -= 1;
        high += 1;
    }
    const double margin = (high - low) * (previous ? 0.2 : 0.06);
    return {low - margin, high + margin};
}

std::pair<size_t, size_t> SamplesBetween(const SampleSource& source, double from, double to)
{
    const size_t begin = source.IndexAt(from);
    const size_t end = source.IndexAt(std::nextafter(to, std::numeric_limits<double>::infinity()));
    return {begin, std::max(begin, end)};
}

std::optional<Intervals> SampleIntervals(const SampleSource& source, size_t count)
{
    const size_t n = std::min(count, source.Size() > 0 ? source.Size() - 1 : 0);
    if (n == 0)
        return std::nullopt;
    std::vector<double> gaps(n);
    const size_t first = source.Size() - 1 - n;
    for (size_t i = 0; i < n; ++i)
        gaps[i] = source.At(first + i + 1).seconds - source.At(first + i).seconds;
    const auto at = [&gaps](double fraction) {
        const auto k = static_cast<size_t>(std::ceil(fraction * static_cast<double>(gaps.size()))) - 1;
        const auto nth = gaps.begin() + static_cast<std::ptrdiff_t>(std::min(k, gaps.size() - 1));
        std::nth_element(gaps.begin(), nth, gaps.end());
        return *nth;
    };
    return Intervals{at(0.5), at(0.99)};
}

QByteArray ToCsv(const SampleSource& source) { return ToCsv(source, 0, source.Size()); }

QString ChannelUnit(int channel)
{
    return ChannelAt(channel).quantity == Quantity::Speed ? QStringLiteral("脉冲/秒") : QStringLiteral("脉冲");
}

QByteArray ToCsv(const SampleSource& source, size_t begin, size_t end, const QStringList& comments)
{
    QStringList header{QStringLiteral("时间(s)")};
    for (int c = 0; c < kChannels; ++c)
        header << ChannelName(c) + QLatin1Char('(') + ChannelUnit(c) + QLatin1Char(')');
    std::string text;
    for (const QString& comment : comments)
        text += "# " + QString(comment).replace(QLatin1Char('\n'), QLatin1Char(' ')).toStdString() + "\n";
    text += header.join(QLatin1Char(',')).toStdString() + "\n";
    end = std::min(end, source.Size());
    text.reserve(text.size() + (end > begin ? end - begin : 0) * 80);
    for (size_t i = begin; i < end; ++i) {
        const Sample& s = source.At(i);
        cardlib::trace::AppendFloat(text, s.seconds);
        for (int c = 0; c < kChannels; ++c) {
            text += ',';
            cardlib::trace::AppendFloat(text, Value(s, c));
        }
        text += '\n';
    }
    return QByteArray::fromStdString(text);
}
