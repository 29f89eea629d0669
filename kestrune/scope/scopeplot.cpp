#include "scopeplot.h"

#include <QDebug>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kBottomMargin = 22; // px for the time labels
constexpr int kGap = 8;           // px between plots

// Encoder traces are dashed: four columns drawn, four left out, counted from
// the time origin so that the dashes scroll with the trace.
bool Dashed(int channel) { return ChannelAt(channel).quantity == Quantity::Encoder; }
constexpr int kDashedChannel = 1;
bool InDashGap(int channel, long long column) { return Dashed(channel) && ((column % 8) + 8) % 8 >= 4; }

// A tidy step for about `count` labels over `span`: 1, 2 or 5 times a power of ten.
double TickStep(double span, int count)
{
    const double raw = span / std::max(count, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

} // namespace

ScopePlot::ScopePlot(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("scopePlot"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(400, 300);
    shown_.fill(true);
}

QColor ScopePlot::ChannelColour(int channel)
{
    static const QColor colours[8] = {QColor(0, 90, 200),   QColor(0, 170, 220), QColor(200, 0, 160),
                                      QColor(220, 90, 0),   QColor(0, 140, 40),  QColor(120, 200, 0),
                                      QColor(150, 60, 200), QColor(200, 30, 30)};
    return colours[channel];
}

void ScopePlot::SetSource(const SampleSource* source)
{
    source_ = source;
    Changed();
}

void ScopePlot::SetRange(double from, double to)
{
    double span = std::max(to - from, 1e-6);
    from_ = from;
    // Followed live, the view starts on a whole column, so that the next
    // view is the picture scrolled by whole pixels.
    if (!browsable_) {
        // The same span to the last bit, so that a sample falls in the same
        // column, frame after frame.
        if (std::fabs(span - span_) <= 1e-9 * span)
            span = span_;
        const double perColumn = span / std::max(PlotArea().width(), 1);
        from_ = std::floor(from / perColumn + 1e-6) * perColumn;
    }
    span_ = span;
    to_ = from_ + span;
    stale_ = true;
    // Followed live, the owner draws it with DrawNow, which moves what is
    // shown rather than showing it all again.
    if (browsable_)
        update();
}

void ScopePlot::SetChannelShown(int channel, bool shown)
{
    shown_[channel] = shown;
    Changed();
}

void ScopePlot::SetCursor(int index, std::optional<double> seconds)
{
    cursors_[index] = seconds;
    Changed();
    emit CursorsChanged();
}

void ScopePlot::ClearCursors()
{
    cursors_ = {};
    nextCursor_ = 0;
    Changed();
    emit CursorsChanged();
}

void ScopePlot::SetMarks(std::vector<Mark> marks)
{
    const auto same = [](const Mark& a, const Mark& b) { return a.seconds == b.seconds && a.sequence == b.sequence; };
    if (std::equal(marks.begin(), marks.end(), marks_.begin(), marks_.end(), same))
        return;
    marks_ = std::move(marks);
    Changed();
}

std::optional<ScopePlot::Mark> ScopePlot::MarkAt(int x) const
{
    std::optional<Mark> nearest;
    int distance = 5;
    for (const Mark& mark : marks_)
        if (const int d = std::abs(XAt(mark.seconds) - x); d < distance) {
            distance = d;
            nearest = mark;
        }
    return nearest;
}

bool ScopePlot::event(QEvent* event)
{
    // A mark's call, when the mouse rests on it.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QRect area = PlotArea();
        const auto mark = help->pos().y() >= area.bottom() - 10 && help->pos().y() <= area.bottom() + 2
                              ? MarkAt(help->pos().x())
                              : std::nullopt;
        if (mark && markText_)
            QToolTip::showText(help->globalPos(), markText_(mark->sequence), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void ScopePlot::SetFixedScale(int pane, std::optional<double> halfRange)
{
    fixedScale_[static_cast<size_t>(pane)] = halfRange;
    Changed();
}

void ScopePlot::SetTriggerMark(std::optional<double> seconds)
{
    triggerMark_ = seconds;
    Changed();
}

void ScopePlot::SetPositionsSplit(bool split)
{
    split_ = split;
    Changed();
}

void ScopePlot::Changed()
{
    changed_ = true;
    update();
}

void ScopePlot::Label(QPainter& p, const QString& text, QPoint at, Qt::Alignment align)
{
    // Laid out once: the same labels come back frame after frame.
    auto it = labels_.find(text);
    if (it == labels_.end()) {
        if (labels_.size() > 500)
            labels_.clear();
        it = labels_.insert(text, QStaticText(text));
        it->prepare(QTransform(), font());
    }
    const int width = static_cast<int>(it->size().width());
    int x = align & Qt::AlignRight ? at.x() - width : align & Qt::AlignHCenter ? at.x() - width / 2 : at.x();
    // Within the widget: a label at the edge moves in rather than being cut.
    x = std::clamp(x, 0, std::max(0, this->width() - width));
    p.drawStaticText(x, at.y(), *it);
}

int ScopePlot::LeftMargin() const
{
    // Room for the widest pulse count, so that no value label is cut: laid
    // out once for each font, not at each of the many positions taken from it.
    if (leftMargin_ == 0 || marginFont_ != font()) {
        marginFont_ = font();
        // The pane's title runs up the margin's left edge, a line high.
        leftMargin_ = std::max(64, fontMetrics().height() + 4 +
                                       fontMetrics().horizontalAdvance(QStringLiteral("-2147483648")) + 8);
    }
    return leftMargin_;
}

QRect ScopePlot::PlotArea() const { return rect().adjusted(LeftMargin(), 4, -8, -kBottomMargin); }

double ScopePlot::TimeAt(int x) const
{
    const QRect area = PlotArea();
    return from_ + (to_ - from_) * (x - area.left()) / std::max(area.width(), 1);
}

int ScopePlot::XAt(double seconds) const
{
    const QRect area = PlotArea();
    return area.left() + static_cast<int>(std::lround((seconds - from_) / (to_ - from_) * area.width()));
}

size_t ScopePlot::NewestInside(size_t begin) const { return std::max(source_->IndexAt(to_), begin + 1) - 1; }

double ScopePlot::SecondsPerColumn() const { return span_ / std::max(PlotArea().width(), 1); }

std::vector<ScopePlot::PaneBox> ScopePlot::Panes() const
{
    std::vector<PaneBox> panes;
    if (split_) {
        panes.push_back({0, QStringLiteral("第0轴位置（脉冲）"), {0, 1}, {}});
        panes.push_back({0, QStringLiteral("第1轴位置（脉冲）"), {4, 5}, {}});
    } else {
        panes.push_back({0, QStringLiteral("位置（脉冲）"), {0, 1, 4, 5}, {}});
    }
    panes.push_back({1, QStringLiteral("跟随误差（脉冲）"), {2, 6}, {}});
    panes.push_back({2, QStringLiteral("速度（脉冲/秒）"), {3, 7}, {}});
    const QRect area = PlotArea();
    const int count = static_cast<int>(panes.size());
    const int height = (area.height() - kGap * (count - 1)) / count;
    for (int i = 0; i < count; ++i) {
        PaneBox& pane = panes[static_cast<size_t>(i)];
        pane.box = QRect(area.left(), area.top() + i * (height + kGap), area.width(), height);
        std::erase_if(pane.channels, [this](int c) { return !shown_[c]; });
    }
    return panes;
}

std::vector<ColumnSpans> ScopePlot::Reduce(const std::vector<PaneBox>& panes, size_t begin, size_t end,
                                           int column) const
{
    const int columns = std::max(PlotArea().width(), 1);
    std::vector<ColumnSpans> reduced;
    for (const PaneBox& pane : panes)
        reduced.push_back(
            ReduceToColumns(*source_, begin, end, from_, SecondsPerColumn(), columns, pane.channels, column));
    return reduced;
}

namespace {

// What each column of a pane holds, all its channels together.
std::vector<ValueSpan> PaneColumns(const ColumnSpans& spans, size_t columns)
{
    std::vector<ValueSpan> merged(columns);
    for (const auto& channel : spans.channels)
        for (size_t x = 0; x < columns && x < channel.size(); ++x) {
            merged[x].lo = std::min(merged[x].lo, channel[x].lo);
            merged[x].hi = std::max(merged[x].hi, channel[x].hi);
        }
    return merged;
}

ValueSpan Overall(const std::vector<ValueSpan>& columns)
{
    ValueSpan all;
    for (const ValueSpan& c : columns) {
        all.lo = std::min(all.lo, c.lo);
        all.hi = std::max(all.hi, c.hi);
    }
    return all;
}

// The values that get a grid line and a label in a pane `height` pixels high.
std::vector<double> ValueTicks(ValueRange range, int height)
{
    std::vector<double> ticks;
    const double step = TickStep(range.high - range.low, std::max(height / 40, 2));
    for (double v = std::ceil(range.low / step) * step; v <= range.high; v += step)
        ticks.push_back(std::fabs(v) < step * 1e-6 ? 0 : v);
    return ticks;
}

} // namespace

ScopePlot::Rendered ScopePlot::Render()
{
    const std::vector<PaneBox> panes = Panes();
    const QRect area = PlotArea();
    const int columns = std::max(area.width(), 1);
    const size_t first = source_ ? source_->IndexAt(from_) : 0;
    const size_t end = source_ ? std::min(source_->IndexAt(to_) + 1, source_->Size()) : 0; // one past
    const size_t begin = first > 0 ? first - 1 : 0; // the line comes in from the left edge

    // The same span over the same plot: a pane scaled to its data keeps its
    // range while that suits, rather than rescaling with every frame.
    const bool sameSpan = drawn_.valid && drawn_.area == area && drawn_.scales.size() == panes.size() &&
                          canvas_.size() == size() && span_ == drawn_.span;
    const double shift = sameSpan ? (from_ - drawn_.from) / SecondsPerColumn() : -1;
    const auto dx = static_cast<int>(std::lround(shift));
    std::optional<int> scrolled;
    if (sameSpan && !changed_ && std::fabs(shift - dx) < 1e-3 && dx >= 0 && dx < columns && end > begin &&
        drawn_.columns == (end - begin >= static_cast<size_t>(columns))) {
        const size_t at = source_->IndexAt(drawn_.newest);
        if (at < source_->Size() && source_->At(at).seconds == drawn_.newest)
            scrolled = Scroll(panes, dx, begin, end);
    }
    if (!scrolled) {
        std::vector<std::optional<ValueRange>> previous(panes.size());
        if (sameSpan)
            std::copy(drawn_.scales.begin(), drawn_.scales.end(), previous.begin());
        DrawWhole(panes, begin, end, previous);
    }
    changed_ = false;
    stale_ = false;
    return scrolled ? Rendered{false, dx, *scrolled} : Rendered{};
}

void ScopePlot::DrawNow()
{
    if (!isVisible())
        return; // drawn when shown
    const Rendered drawn = Render();
    if (drawn.whole) {
        repaint();
        return;
    }
    // The picture moves within the backing store; what is drawn anew is
    // shown: the columns from `from`, the frames' left edges and the times.
    const QRect area = PlotArea();
    if (drawn.dx > 0)
        scroll(-drawn.dx, 0, area);
    QRegion changed(area.left() + drawn.from, area.top(), area.width() - drawn.from, area.height());
    changed += QRect(area.left(), area.top(), 1, area.height());
    changed += QRect(0, area.bottom() + 1, width(), height() - area.bottom() - 1);
    repaint(changed);
}

void ScopePlot::paintEvent(QPaintEvent* event)
{
    const std::vector<PaneBox> panes = Panes();
    const QRect area = PlotArea();
    const int columns = std::max(area.width(), 1);
    // Anything shown but this part must be shown again when all was drawn.
    if ((stale_ || changed_ || canvas_.size() != size()) && Render().whole && event->rect() != rect())
        update();

    // Shown from views into the canvas rather than copies of its parts.
    const auto part = [this](QRect r) {
        return QImage(canvas_.constBits() + r.top() * canvas_.bytesPerLine() + r.left() * 4, r.width(), r.height(),
                      canvas_.bytesPerLine(), canvas_.format());
    };
    QPainter p(this);
    for (const QRect& r : event->region() - QRegion(area))
        p.drawImage(r.topLeft(), part(r));
    // The plot area, its ring unrolled: logical column 0 is kept in physical
    // column ring_.
    const int split = columns - ring_;
    p.drawImage(area.topLeft(), part(QRect(area.left() + ring_, area.top(), split, area.height())));
    if (ring_ > 0)
        p.drawImage(QPoint(area.left() + split, area.top()),
                    part(QRect(area.left(), area.top(), ring_, area.height())));
    // The panes' side edges, which do not scroll.
    p.setPen(QColor(160, 160, 160));
    for (const PaneBox& pane : panes)
        for (int x : {pane.box.left(), pane.box.right()})
            p.drawLine(x, pane.box.top(), x, pane.box.bottom());
}

void ScopePlot::DrawWhole(const std::vector<PaneBox>& panes, size_t begin, size_t end,
                          const std::vector<std::optional<ValueRange>>& previous)
{
    ++fullRedraws_;
    if (canvas_.size() != size())
        canvas_ = QImage(size(), QImage::Format_RGB32);
    canvas_.fill(Qt::white);
    const QRect area = PlotArea();
    const auto columns = static_cast<size_t>(std::max(area.width(), 1));
    const std::vector<ColumnSpans> reduced =
        end > begin ? Reduce(panes, begin, end, 0) : std::vector<ColumnSpans>(panes.size());
    drawn_.data.assign(panes.size(), {});
    drawn_.scales.assign(panes.size(), {});
    for (size_t i = 0; i < panes.size(); ++i) {
        drawn_.data[i] = PaneColumns(reduced[i], columns);
        if (const auto fixed = fixedScale_[static_cast<size_t>(panes[i].kind)])
            drawn_.scales[i] = {-*fixed, *fixed};
        else
            drawn_.scales[i] = AutoRange(Overall(drawn_.data[i]), previous[i]);
    }

    QPainter p(&canvas_);
    p.setFont(font());
    for (size_t i = 0; i < panes.size(); ++i) {
        const QRect box = panes[i].box;
        // The title with its unit up the margin's left edge, off the traces
        // and the value labels.
        p.setPen(Qt::black);
        p.save();
        p.translate(2, box.center().y());
        p.rotate(-90);
        p.drawText(-fontMetrics().horizontalAdvance(panes[i].title) / 2, fontMetrics().ascent(), panes[i].title);
        p.restore();
        if (panes[i].channels.empty() || end <= begin)
            continue;
        const ValueRange range = drawn_.scales[i];
        p.setPen(Qt::darkGray);
        for (double v : ValueTicks(range, box.height())) {
            const int at =
                static_cast<int>(box.bottom() - (v - range.low) / (range.high - range.low) * (box.height() - 1));
            Label(p, ValueText(v), QPoint(LeftMargin() - 4, at - fontMetrics().height() / 2), Qt::AlignRight);
        }
    }
    drawn_.columns = end - begin >= columns;
    ring_ = 0;
    DrawColumns(p, panes, 0, area.width(), 0, reduced, 0, begin, end);
    DrawTimeLabels(p);

    drawn_.valid = end > begin;
    drawn_.area = area;
    drawn_.from = from_;
    drawn_.span = span_;
    drawn_.newest = end > begin ? source_->At(NewestInside(begin)).seconds : 0;
}

std::optional<int> ScopePlot::Scroll(const std::vector<PaneBox>& panes, int dx, size_t begin, size_t end)
{
    const QRect area = PlotArea();
    const int columns = std::max(area.width(), 1);
    const double perColumn = SecondsPerColumn();
    // Drawn again from the newest sample drawn before (more samples may have
    // come into its column since), or the old right edge, which took what lay
    // beyond it. The trace comes in from the last column with samples before
    // that, all of that column's samples, as the whole picture has it.
    // Samples are placed in columns as ReduceToColumns places them.
    const double origin = std::round(from_ / perColumn);
    const auto columnOf = [&](size_t sample) {
        return static_cast<int>(
            std::clamp(std::floor(source_->At(sample).seconds / perColumn) - origin, 0.0, double(columns - 1)));
    };
    const auto firstIn = [&](int column) {
        size_t i = std::clamp(source_->IndexAt(from_ + column * perColumn), begin, end);
        while (i > begin && columnOf(i - 1) >= column)
            --i;
        while (i < end && columnOf(i) < column)
            ++i;
        return i;
    };
    const int newest = columnOf(source_->IndexAt(drawn_.newest));
    int from = std::clamp(std::min(newest, columns - 1 - dx), 0, columns - 1);
    size_t lead = firstIn(from);
    if (lead > begin) {
        const int before = columnOf(lead - 1);
        lead = before > 0 ? firstIn(before) : begin;
    }
    const int reducedFrom = std::min(columnOf(lead), from);
    // Empty columns before `from` took the line towards what the last column
    // held then: drawn again too.
    from = std::min(from, reducedFrom + 1);
    const std::vector<ColumnSpans> reduced = Reduce(panes, lead, end, reducedFrom);

    // What each pane holds, moved along in place (a pane whose scale
    // changes is drawn whole, which takes it afresh).
    for (size_t i = 0; i < panes.size(); ++i) {
        auto& held = drawn_.data[i];
        held.erase(held.begin(), held.begin() + dx);
        held.resize(static_cast<size_t>(columns));
        for (int x = from; x < columns; ++x) {
            ValueSpan& column = held[static_cast<size_t>(x)];
            column = {};
            for (const auto& channel : reduced[i].channels) {
                column.lo = std::min(column.lo, channel[static_cast<size_t>(x - reducedFrom)].lo);
                column.hi = std::max(column.hi, channel[static_cast<size_t>(x - reducedFrom)].hi);
            }
        }
        const auto fixed = fixedScale_[static_cast<size_t>(panes[i].kind)];
        const ValueRange scale = fixed ? ValueRange{-*fixed, *fixed} : AutoRange(Overall(held), drawn_.scales[i]);
        if (scale != drawn_.scales[i])
            return std::nullopt;
    }

    // The plot area is a ring of columns: moving the picture left moves
    // where it starts; the columns that come in at the right take the place
    // of those that went out at the left, in one or two runs.
    ring_ = (ring_ + dx) % columns;
    QPainter p(&canvas_);
    p.setFont(font());
    const int wrap = columns - ring_; // the first column kept at the ring's start
    if (from < wrap)
        DrawColumns(p, panes, from, wrap, ring_, reduced, reducedFrom, lead, end);
    DrawColumns(p, panes, std::max(from, wrap), columns, ring_ - columns, reduced, reducedFrom, lead, end);
    DrawTimeLabels(p);
    drawn_.from = from_;
    drawn_.span = span_;
    drawn_.newest = source_->At(NewestInside(begin)).seconds;
    return from;
}

void ScopePlot::DrawColumns(QPainter& p, const std::vector<PaneBox>& panes, int from, int to, int shift,
                            const std::vector<ColumnSpans>& reduced, int reducedFrom, size_t begin, size_t end)
{
    if (to <= from)
        return;
    const QRect area = PlotArea();
    const int columns = std::max(area.width(), 1);
    const QRect strip(area.left() + from, area.top(), to - from, area.height());
    p.save();
    p.translate(shift, 0);
    p.setClipRect(strip);
    p.fillRect(strip, Qt::white);

    // Time grid, shared by the panes.
    const double step = TickStep(to_ - from_, std::max(columns / 90, 2));
    p.setPen(QColor(230, 230, 230));
    for (double t = std::ceil(from_ / step) * step; t <= to_; t += step) {
        const int x = XAt(t);
        if (x >= strip.left())
            p.drawLine(x, area.top(), x, area.bottom());
    }

    const auto origin = static_cast<long long>(std::llround(from_ / SecondsPerColumn()));
    auto* pixels = reinterpret_cast<QRgb*>(canvas_.bits());
    const qsizetype stride = canvas_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    for (size_t i = 0; i < panes.size(); ++i) {
        const QRect box = panes[i].box;
        const std::vector<int>& channels = panes[i].channels;
        if (!channels.empty() && end > begin) {
            const ValueRange range = drawn_.scales[i];
            const auto y = [&](double v) {
                return box.bottom() - (v - range.low) / (range.high - range.low) * (box.height() - 1);
            };
            // Tidy values with grid lines, about one every 40 px; zero darker.
            for (double v : ValueTicks(range, box.height())) {
                const int at = static_cast<int>(y(v));
                p.setPen(v == 0 ? QColor(190, 190, 190) : QColor(235, 235, 235));
                p.drawLine(box.left() + 1, at, box.right() - 1, at);
            }

            if (!drawn_.columns) {
                // Fewer samples than columns (a short capture, a zoom): a line
                // from sample to sample.
                // A dashed line leaves out the same columns as a dashed trace
                // of pixel columns, however much of it is drawn at a time.
                const QRect clip = strip.intersected(box);
                QRegion dashes;
                if (std::any_of(channels.begin(), channels.end(), Dashed)) {
                    std::vector<QRect> drawn;
                    for (int x = clip.left(); x <= clip.right(); ++x)
                        if (!InDashGap(kDashedChannel, origin + x - area.left()))
                            drawn.emplace_back(x, clip.top(), 1, clip.height());
                    dashes.setRects(drawn.data(), static_cast<int>(drawn.size()));
                }
                for (int c : channels) {
                    QPolygon line;
                    for (size_t k = begin; k < end; ++k) {
                        const Sample& s = source_->At(k);
                        line << QPoint(XAt(s.seconds), static_cast<int>(y(Value(s, c))));
                    }
                    if (Dashed(c))
                        p.setClipRegion(dashes);
                    else
                        p.setClipRect(clip);
                    QPen pen(ChannelColour(c), 1);
                    pen.setCosmetic(true);
                    p.setPen(pen);
                    p.drawPolyline(line);
                }
                p.setClipRect(strip);
            } else {
                // Each trace is set pixel by pixel: per column, the span from
                // its lowest to its highest value, stretched to meet the
                // column before. A column no sample fell in (the timer woke
                // late) takes the straight line between its neighbours, so
                // that the trace stays unbroken. A path through the painter
                // costs twenty times as much.
                const auto row = [&](double v) { return std::clamp(static_cast<int>(y(v)), box.top(), box.bottom()); };
                for (size_t k = 0; k < channels.size(); ++k) {
                    const int channel = channels[k];
                    const QRgb colour = ChannelColour(channel).rgb();
                    int lastX = -1, lastTop = -1, lastBottom = -1;
                    const auto fill = [&](int x, int top, int bottom) {
                        int low = top, high = bottom;
                        if (lastX >= 0) {
                            low = std::min(low, lastBottom);
                            high = std::max(high, lastTop);
                        }
                        lastX = x;
                        lastTop = top;
                        lastBottom = bottom;
                        if (x < from || x >= to || InDashGap(channel, origin + x))
                            return; // leads the trace in, drawn elsewhere, or a gap in a dashed one
                        QRgb* pixel = pixels + static_cast<qsizetype>(low) * stride + box.left() + x + shift;
                        for (int r = low; r <= high; ++r, pixel += stride)
                            *pixel = colour;
                    };
                    const auto& spans = reduced[i].channels[k];
                    for (int x = reducedFrom; x < columns; ++x) {
                        const auto& [lo, hi] = spans[static_cast<size_t>(x - reducedFrom)];
                        if (lo > hi)
                            continue;
                        const int top = row(hi), bottom = row(lo);
                        if (lastX >= 0 && x - lastX > 1) {
                            const double before = (lastTop + lastBottom) / 2.0, after = (top + bottom) / 2.0;
                            const int gapFrom = lastX;
                            for (int g = gapFrom + 1; g < x; ++g) {
                                const int at = static_cast<int>(std::lround(
                                    before + (after - before) * (g - gapFrom) / static_cast<double>(x - gapFrom)));
                                fill(g, at, at);
                            }
                        }
                        fill(x, top, bottom);
                    }
                }
            }
        }
        // The frame's top and bottom; its sides are drawn over the shown
        // picture.
        p.setPen(QColor(160, 160, 160));
        p.drawLine(box.left(), box.top(), box.right(), box.top());
        p.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
    }

    // The call log's commands: small marks along the foot of the plots.
    p.setPen(QPen(QColor(230, 120, 0), 2));
    for (const Mark& mark : marks_) {
        const int x = XAt(mark.seconds);
        if (x >= area.left() && x <= area.right())
            p.drawLine(x, area.bottom() - 8, x, area.bottom());
    }
    if (triggerMark_) {
        const int x = XAt(*triggerMark_);
        if (x >= area.left() && x <= area.right()) {
            p.setPen(QPen(QColor(220, 0, 0), 1, Qt::DashDotLine));
            p.drawLine(x, area.top(), x, area.bottom());
            p.setPen(QColor(220, 0, 0));
            Label(p, QStringLiteral("T"), QPoint(x - 12, area.top() + 2), Qt::AlignLeft);
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (!cursors_[i])
            continue;
        const int x = XAt(*cursors_[i]);
        if (x < area.left() || x > area.right())
            continue;
        p.setPen(QPen(i == 0 ? QColor(0, 0, 0) : QColor(120, 120, 120), 1, Qt::DashLine));
        p.drawLine(x, area.top(), x, area.bottom());
        p.setPen(Qt::black);
        Label(p, i == 0 ? QStringLiteral("A") : QStringLiteral("B"), QPoint(x + 3, area.top() + 14), Qt::AlignLeft);
    }
    p.restore();
}

void ScopePlot::DrawTimeLabels(QPainter& p)
{
    const QRect area = PlotArea();
    p.fillRect(QRect(0, area.bottom() + 1, width(), height() - area.bottom() - 1), Qt::white);
    const double step = TickStep(to_ - from_, std::max(area.width() / 90, 2));
    p.setPen(Qt::darkGray);
    for (double t = std::ceil(from_ / step) * step; t <= to_; t += step)
        Label(p, QString::number(t, 'g', 6) + QStringLiteral(" s"), QPoint(XAt(t), area.bottom() + 3),
              Qt::AlignHCenter);
}

void ScopePlot::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->position().toPoint();
    pressedFrom_ = from_;
    dragged_ = false;
}

void ScopePlot::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_ || !browsable_)
        return;
    const int dx = event->position().toPoint().x() - pressed_->x();
    if (std::abs(dx) < 4 && !dragged_)
        return;
    dragged_ = true;
    const double span = to_ - from_;
    const double shift = -dx * span / std::max(PlotArea().width(), 1);
    SetRange(pressedFrom_ + shift, pressedFrom_ + shift + span);
    emit RangeChanged();
}

void ScopePlot::mouseReleaseEvent(QMouseEvent* event)
{
    // A click, not a drag, places a cursor: A, then B, then A again.
    if (pressed_ && !dragged_ && PlotArea().contains(event->position().toPoint())) {
        SetCursor(nextCursor_, TimeAt(event->position().toPoint().x()));
        nextCursor_ = 1 - nextCursor_;
    }
    pressed_.reset();
}

void ScopePlot::wheelEvent(QWheelEvent* event)
{
    if (!browsable_)
        return;
    // Zooms about the time under the mouse.
    const double at = TimeAt(static_cast<int>(event->position().x()));
    const double factor = event->angleDelta().y() > 0 ? 0.8 : 1.25;
    SetRange(at - (at - from_) * factor, at + (to_ - at) * factor);
    emit RangeChanged();
}
