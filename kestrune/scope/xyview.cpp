#include "xyview.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "scopedata.h"

XyView::XyView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("xyView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(300, 300);
}

void XyView::SetSource(const SampleSource* source)
{
    source_ = source;
    update();
}

void XyView::SetRange(double from, double to)
{
    from_ = from;
    to_ = to;
    update();
}

void XyView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    // Room at the left for the widest pulse count, "-2147483648".
    const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("-2147483648")) + 8;
    const QRect area = rect().adjusted(labelWidth, 20, -20, -40);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(area.adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(rect().adjusted(8, 2, -8, -2), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("XY 轨迹：第0轴命令位置（横）对第1轴命令位置（纵），等比例"));
    if (!source_ || source_->Size() == 0)
        return;
    const size_t first = source_->IndexAt(from_);
    const size_t last = std::min(source_->IndexAt(to_) + 1, source_->Size());
    if (last <= first)
        return;

    double left = source_->At(first).command[0], right = left;
    double bottom = source_->At(first).command[1], top = bottom;
    for (size_t i = first; i < last; ++i) {
        const Sample& s = source_->At(i);
        left = std::min(left, s.command[0]);
        right = std::max(right, s.command[0]);
        bottom = std::min(bottom, s.command[1]);
        top = std::max(top, s.command[1]);
    }
    // One scale for both axes, so that an arc is round.
    const double span = std::max({right - left, top - bottom, 1.0}) * 1.1;
    const double scale = std::min(area.width(), area.height()) / span;
    const double cx = (left + right) / 2, cy = (bottom + top) / 2;
    const auto point = [&](double x, double y) {
        return QPointF(area.center().x() + (x - cx) * scale, area.center().y() - (y - cy) * scale);
    };

    p.setPen(QPen(QColor(200, 200, 200), 1, Qt::DashLine));
    if (left <= 0 && right >= 0)
        p.drawLine(point(0, cy - span / 2), point(0, cy + span / 2));
    if (bottom <= 0 && top >= 0)
        p.drawLine(point(cx - span / 2, 0), point(cx + span / 2, 0));

    // A point only where the path has moved on by a pixel.
    QPolygonF path;
    for (size_t i = first; i < last; ++i) {
        const QPointF next = point(source_->At(i).command[0], source_->At(i).command[1]);
        if (path.isEmpty() || std::fabs(next.x() - path.last().x()) + std::fabs(next.y() - path.last().y()) >= 1)
            path << next;
    }
    path << point(source_->At(last - 1).command[0], source_->At(last - 1).command[1]);
    QPen pen(QColor(0, 90, 200), 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.drawPolyline(path);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 160, 60));
    p.drawEllipse(path.first(), 4, 4);
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(path.last(), 4, 4);

    p.setPen(Qt::darkGray);
    p.drawText(QRect(area.left(), area.bottom() + 4, area.width(), 16), Qt::AlignCenter,
               QStringLiteral("X：%1 … %2").arg(ValueText(left), ValueText(right)));
    // A line each, never broken inside a number.
    p.drawText(QRect(0, area.top(), labelWidth - 4, area.height()), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Y：\n%1\n…\n%2").arg(ValueText(top), ValueText(bottom)));
}
