#include "lamp.h"

#include <QPainter>

const QColor Lamp::kSet(255, 0, 0);
const QColor Lamp::kClear(0, 255, 0);
const QColor Lamp::kInitial(255, 255, 0);

Lamp::Lamp(QWidget* parent, const QColor& colour) : QWidget(parent), colour_(colour)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void Lamp::SetColour(const QColor& colour)
{
    if (colour == colour_)
        return;
    colour_ = colour;
    ++repaints_;
    update();
}

void Lamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(colour_);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
