#include "scopeplot.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

#include "scopedata.h"

namespace {

constexpr int kBottomMargin = 22; // px for the time labels
constexpr int kGap = 8;           // px between plots

struct Pane {
    const char* title;
    std::vector<int> channels;
};

const std::array<Pane, 3>& Panes()
{
    static const std::array<Pane, 3> panes = {{
        {"位置（脉冲）", {0, 1, 4, 5}},
        {"跟随误差（脉冲）", {2, 6}},
        {"速度（脉冲/秒）", {3, 7}},
    }};
    return panes;
}

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
    update();
}

void ScopePlot::SetRange(double from, double to)
{
    from_ = from;
    to_ = std::max(to, from + 1e-6);
    update();
}

void ScopePlot::SetChannelShown(int channel, bool shown)
{
    shown_[channel] = shown;
    update();
}

void ScopePlot::SetCursor(int index, std::optional<double> seconds)
{
    cursors_[index] = seconds;
    update();
    emit CursorsChanged();
}

void ScopePlot::ClearCursors()
{
    cursors_ = {};
    nextCursor_ = 0;
    update();
    emit CursorsChanged();
}

void ScopePlot::SetMarks(std::vector<Mark> marks)
{
    marks_ = std::move(marks);
    update();
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
    update();
}

void ScopePlot::SetTriggerMark(std::optional<double> seconds)
{
    triggerMark_ = seconds;
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

void ScopePlot::paintEvent(QPaintEvent*)
{
    // Everything is drawn into an image of the widget's size, then shown in
    // one copy.
    if (canvas_.size() != size())
        canvas_ = QImage(size(), QImage::Format_RGB32);
    canvas_.fill(Qt::white);
    QPainter p(&canvas_);
    const QRect area = PlotArea();
    const int paneHeight = (area.height() - kGap * 2) / 3;
    const size_t first = source_ ? source_->IndexAt(from_) : 0;
    const size_t last = source_ ? std::min(source_->IndexAt(to_) + 1, source_->Size()) : 0; // one past
    const size_t begin = first > 0 ? first - 1 : 0; // the line comes in from the left edge
    const int columns = std::max(area.width(), 1);

    // Time grid and labels, shared by the three panes.
    const double step = TickStep(to_ - from_, std::max(columns / 90, 2));
    p.setFont(font());
    for (double t = std::ceil(from_ / step) * step; t <= to_; t += step) {
        const int x = XAt(t);
        p.setPen(QColor(230, 230, 230));
        p.drawLine(x, area.top(), x, area.bottom());
        p.setPen(Qt::darkGray);
        Label(p, QString::number(t, 'g', 6) + QStringLiteral(" s"), QPoint(x, area.bottom() + 3), Qt::AlignHCenter);
    }

    for (int pane = 0; pane < 3; ++pane) {
        const QRect box(area.left(), area.top() + pane * (paneHeight + kGap), area.width(), paneHeight);
        p.setPen(QColor(160, 160, 160));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        // The title with its unit up the margin's left edge, off the traces
        // and the value labels.
        p.setPen(Qt::black);
        p.save();
        p.translate(2, box.center().y());
        p.rotate(-90);
        const QString title = QString::fromUtf8(Panes()[pane].title);
        p.drawText(-fontMetrics().horizontalAdvance(title) / 2, fontMetrics().ascent(), title);
        p.restore();

        std::vector<int> channels;
        for (int c : Panes()[pane].channels)
            if (shown_[c])
                channels.push_back(c);
        if (channels.empty() || last <= begin)
            continue;

        const ColumnSpans spans = ReduceToColumns(*source_, begin, last, from_, to_, columns, channels);
        double low = spans.overall.lo, high = spans.overall.hi;
        if (fixedScale_[pane]) {
            low = -*fixedScale_[pane];
            high = *fixedScale_[pane];
        } else {
            if (high - low < 1e-9) {
                low -= 1;
                high += 1;
            }
            const double margin = (high - low) * 0.06;
            low -= margin;
            high += margin;
        }
        const auto y = [&](double v) { return box.bottom() - (v - low) / (high - low) * (box.height() - 1); };

        // Tidy values with grid lines, about one every 40 px; zero dashed.
        const double valueStep = TickStep(high - low, std::max(box.height() / 40, 2));
        for (double v = std::ceil(low / valueStep) * valueStep; v <= high; v += valueStep) {
            const double value = std::fabs(v) < valueStep * 1e-6 ? 0 : v;
            const int at = static_cast<int>(y(value));
            p.setPen(value == 0 ? QPen(QColor(190, 190, 190), 1, Qt::DashLine) : QPen(QColor(235, 235, 235)));
            p.drawLine(box.left() + 1, at, box.right() - 1, at);
            p.setPen(Qt::darkGray);
            Label(p, ValueText(value), QPoint(LeftMargin() - 4, at - fontMetrics().height() / 2), Qt::AlignRight);
        }

        // Fewer samples than columns (a short capture, a zoom): a line from
        // sample to sample.
        if (last - begin < static_cast<size_t>(columns)) {
            for (int c : channels) {
                QPolygon line;
                for (size_t i = begin; i < last; ++i) {
                    const Sample& s = source_->At(i);
                    line << QPoint(XAt(s.seconds), static_cast<int>(y(Value(s, c))));
                }
                QPen pen(ChannelColour(c), 1);
                pen.setCosmetic(true);
                p.setPen(pen);
                p.setClipRect(box);
                p.drawPolyline(line);
                p.setClipping(false);
            }
            continue;
        }

        // Each trace is set pixel by pixel: per column, the span from its
        // lowest to its highest value, stretched to meet the column before.
        // A column no sample fell in (the timer woke late) takes the straight
        // line between its neighbours, so that the trace stays unbroken.
        // A path through the painter costs twenty times as much.
        auto* pixels = reinterpret_cast<QRgb*>(canvas_.bits());
        const qsizetype stride = canvas_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
        const auto row = [&](double v) { return std::clamp(static_cast<int>(y(v)), box.top(), box.bottom()); };
        for (size_t k = 0; k < channels.size(); ++k) {
            const QRgb colour = ChannelColour(channels[k]).rgb();
            int lastX = -1, lastTop = -1, lastBottom = -1;
            const auto fill = [&](int x, int top, int bottom) {
                int from = top, to = bottom;
                if (lastX >= 0) {
                    from = std::min(from, lastBottom);
                    to = std::max(to, lastTop);
                }
                QRgb* pixel = pixels + static_cast<qsizetype>(from) * stride + box.left() + x;
                for (int r = from; r <= to; ++r, pixel += stride)
                    *pixel = colour;
                lastX = x;
                lastTop = top;
                lastBottom = bottom;
            };
            for (int x = 0; x < columns; ++x) {
                const auto& [lo, hi] = spans.channels[k][static_cast<size_t>(x)];
                if (lo > hi)
                    continue;
                const int top = row(hi), bottom = row(lo);
                if (lastX >= 0 && x - lastX > 1) {
                    const double before = (lastTop + lastBottom) / 2.0, after = (top + bottom) / 2.0;
                    const int gapFrom = lastX;
                    for (int g = gapFrom + 1; g < x; ++g) {
                        const int at = static_cast<int>(
                            std::lround(before + (after - before) * (g - gapFrom) / static_cast<double>(x - gapFrom)));
                        fill(g, at, at);
                    }
                }
                fill(x, top, bottom);
            }
        }
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
    p.end();
    QPainter(this).drawImage(0, 0, canvas_);
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
