// The scope's data, as plain classes: samples of both axes, the buffer that
// keeps the last minutes of them, the capture that starts with a move, the
// cursors' readout, the time plots' samples reduced to pixel columns, and
// CSV files.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <utility>
#include <variant>
#include <vector>

// One reading of slots 0 and 1 of the card in use.
struct Sample {
    double seconds = 0;              // when it was read, since the scope started
    std::array<double, 2> command{}; // command position, pulses
    std::array<double, 2> encoder{}; // feedback (encoder) position, pulses
    std::array<double, 2> speed{};   // current speed
    // Signals of each slot, read only while a trigger watches one: bits
    // EL+, EL-, ORG, ALM, INP, and the card's EMG in slot 0's.
    enum SignalBit { kLimitPlus, kLimitMinus, kHome, kAlarm, kInPosition, kEmergency };
    std::array<uint8_t, 2> inputs{};

    double Error(int axis) const { return command[axis] - encoder[axis]; }
    bool Moving() const { return speed[0] != 0 || speed[1] != 0; }
};

// The channels, in the order of the CSV columns after the time.
enum class Quantity { Command, Encoder, Error, Speed };
inline constexpr int kChannels = 8; // four quantities for each of two axes
struct Channel {
    int axis;
    Quantity quantity;
};
inline Channel ChannelAt(int index) { return {index / 4, static_cast<Quantity>(index % 4)}; }
inline double Value(const Sample& sample, int channel)
{
    const Channel c = ChannelAt(channel);
    switch (c.quantity) {
    case Quantity::Command: return sample.command[c.axis];
    case Quantity::Encoder: return sample.encoder[c.axis];
    case Quantity::Error: return sample.Error(c.axis);
    case Quantity::Speed: return sample.speed[c.axis];
    }
    return 0;
}
QString ChannelName(int channel); // "第0轴命令位置"
// A value as the readout, the axes and the cursors show it: whole numbers
// (pulse counts) in full, "1058014" and never "1.05801e+06"; others to six
// significant digits, without an exponent while they are under 1e15.
QString ValueText(double value);

// What a view draws from: the live buffer, a capture, or a file.
class SampleSource {
public:
    virtual ~SampleSource() = default;
    virtual size_t Size() const = 0;
    virtual const Sample& At(size_t index) const = 0;

    // The first index whose time is at or after `seconds` (samples are in
    // time order).
    size_t IndexAt(double seconds) const;
};

class SampleList : public SampleSource {
public:
    SampleList() = default;
    explicit SampleList(std::vector<Sample> samples) : samples_(std::move(samples)) {}
    size_t Size() const override { return samples_.size(); }
    const Sample& At(size_t index) const override { return samples_[index]; }
    const std::vector<Sample>& Samples() const { return samples_; }

private:
    std::vector<Sample> samples_;
};

// The newest samples, at most `capacity` of them, in a ring made once.
class SampleBuffer : public SampleSource {
public:
    explicit SampleBuffer(size_t capacity);
    size_t Size() const override { return size_; }
    const Sample& At(size_t index) const override;
    void Append(const Sample& sample);
    void Clear();
    size_t Capacity() const { return ring_.size(); }
    uint64_t Dropped() const { return dropped_; }

private:
    std::vector<Sample> ring_;
    size_t first_ = 0;
    size_t size_ = 0;
    uint64_t dropped_ = 0;
};

// "运动触发": armed, it starts recording with the first sample in which an
// axis moves (keeping the sample before, at rest), and stops once both axes
// have been at rest for `hold` seconds.
class MotionCapture {
public:
    enum class State { Off, Armed, Recording, Done };

    void Arm(double holdSeconds = 0.5, size_t longest = 120000);
    void Cancel();
    // Takes the next sample; true when the capture has just ended.
    bool Feed(const Sample& sample);

    State Current() const { return state_; }
    const std::vector<Sample>& Samples() const { return samples_; }

private:
    State state_ = State::Off;
    double hold_ = 0.5;
    size_t longest_ = 0;
    double lastMotion_ = 0;
    std::optional<Sample> before_;
    std::vector<Sample> samples_;
};

// What the two cursors read: the samples nearest to them and the differences.
struct CursorReadout {
    Sample a, b;
    double seconds = 0;                // b − a
    std::array<double, 2> distance{};  // command position, b − a
    std::array<double, 2> meanSpeed{}; // distance / seconds
};
std::optional<CursorReadout> ReadCursors(const SampleSource& source, double a, double b);

// The lowest and highest of some values; lo > hi while there are none.
struct ValueSpan {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool Empty() const { return lo > hi; }
};
// The values a pane shows, from `low` at its foot to `high` at its top.
struct ValueRange {
    double low = -1, high = 1;
    bool operator==(const ValueRange&) const = default;
};
// The range a pane scaled to its data shows: a little beyond the data. While
// the view scrolls (`previous` given), the range before is kept as long as it
// holds the data and the data fill at least 40 % of it, and a new one leaves
// a fifth of the data's span free on each side: a climbing trace rescales the
// pane every few seconds, not with every new column.
ValueRange AutoRange(ValueSpan data, std::optional<ValueRange> previous);

// Samples [begin, end) of `source` as a plot `columns` pixels wide draws them
// from `from` seconds on, `perColumn` seconds a column: for each of `channels` (in their order) and
// each column, the span of the values that fall in it, and the span of all.
// A sample before `from` or after `to` counts in the first or last column,
// so that a trace comes in from the edge. One pass over the samples, however
// many there are.
struct ColumnSpans {
    std::vector<std::vector<ValueSpan>> channels; // [channel][column]
    ValueSpan overall;
};
// With `firstColumn`, only the columns from it to the last are kept (the
// samples are placed as in the whole picture; earlier ones count in it).
ColumnSpans ReduceToColumns(const SampleSource& source, size_t begin, size_t end, double from, double perColumn,
                            int columns, std::span<const int> channels, int firstColumn = 0);

// The samples from `from` to `to` seconds, both included: [first, second).
std::pair<size_t, size_t> SamplesBetween(const SampleSource& source, double from, double to);

// How regularly samples came: the median and the 99th percentile of the
// intervals between the last `count` + 1 samples, in seconds; none while
// there are fewer than two.
struct Intervals {
    double median = 0;
    double p99 = 0;
};
std::optional<Intervals> SampleIntervals(const SampleSource& source, size_t count);

// CSV: comment lines ("# …", what the capture was), a line of headings with
// their units, then a line per sample: the time in seconds and the eight
// channels, '.' as decimal point, values as short as reads back the same,
// UTF-8. All samples, or samples [begin, end).
QByteArray ToCsv(const SampleSource& source);
QByteArray ToCsv(const SampleSource& source, size_t begin, size_t end, const QStringList& comments = {});
// A channel's unit: "脉冲" or "脉冲/秒".
QString ChannelUnit(int channel);
struct CsvError {
    int line; // from 1
    QString reason;
};
// The samples of a whole CSV text (csvreader.h reads files).
