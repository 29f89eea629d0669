#include "icons.h"

#include <QPainter>
#include <QPolygonF>

#include <vector>

namespace {

// One filled shape of an icon, in units of a 256 × 256 square.
struct Shape {
    enum Kind { Rect, Circle, Polygon } kind;
    QRectF rect;       // Rect (with `radius`) and Circle (its bounds)
    double radius = 0; // corner radius of a Rect
    QPolygonF points;  // Polygon
    QColor fill;
    QColor stroke = Qt::transparent;
    double strokeWidth = 0;
};

Shape Box(QRectF rect, QColor fill, double radius = 0, QColor stroke = Qt::transparent, double width = 0)
{
    return {Shape::Rect, rect, radius, {}, fill, stroke, width};
}

Shape Dot(QPointF centre, double r, QColor fill)
{
    return {Shape::Circle, QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, {}, fill};
}

Shape Arrow(QPolygonF points, QColor fill)
{
    return {Shape::Polygon, {}, 0, std::move(points), fill, QColor(40, 40, 40), 4};
}

std::vector<Shape> Shapes(ProgramIcon icon)
{
    const QColor board(22, 120, 62), chip(28, 28, 30), gold(212, 175, 55);
    std::vector<Shape> shapes = {
        Box({14, 52, 26, 158}, QColor(176, 178, 182), 3, QColor(90, 92, 96), 3), // bracket
        Box({88, 176, 124, 30}, board),                                          // edge connector tab
        Box({36, 60, 206, 124}, board, 12, QColor(10, 70, 35), 4),               // board
        Box({62, 86, 62, 62}, chip, 5),                                          // motion controller
        Box({138, 92, 46, 46}, chip, 4),                                         // logic device
        Box({196, 90, 32, 16}, chip, 2),
        Box({196, 118, 32, 16}, chip, 2),
        Dot({58, 74}, 5, QColor(255, 60, 40)),
        Dot({74, 74}, 5, QColor(60, 230, 90)),
    };
    for (int i = 0; i < 11; ++i)
        shapes.push_back(Box({94.0 + i * 10.5, 186, 6, 16}, gold));
    if (icon == ProgramIcon::Kestrune) {
        // An axis on the move: a long arrow to the right across the board.
        shapes.push_back(Arrow({{52, 152}, {178, 152}, {178, 138}, {232, 162}, {178, 186}, {178, 172}, {52, 172}},
                               QColor(128, 255, 255)));
    } else {
        // Firmware going into the card.
        shapes.push_back(
            Arrow({{196, 8}, {228, 8}, {228, 52}, {248, 52}, {212, 100}, {176, 52}, {196, 52}}, QColor(255, 200, 40)));
    }
    return shapes;
}

QString SvgColour(const QColor& c) { return c.alpha() == 0 ? QStringLiteral("none") : c.name(QColor::HexRgb); }

} // namespace

QImage DrawIcon(ProgramIcon icon, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    for (const Shape& s : Shapes(icon)) {
        p.setBrush(s.fill);
        p.setPen(s.strokeWidth > 0 ? QPen(s.stroke, s.strokeWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin)
                                   : QPen(Qt::NoPen));
        switch (s.kind) {
        case Shape::Rect: p.drawRoundedRect(s.rect, s.radius, s.radius); break;
        case Shape::Circle: p.drawEllipse(s.rect); break;
        case Shape::Polygon: p.drawPolygon(s.points); break;
        }
    }
    return image;
}

QByteArray IconSvg(ProgramIcon icon)
{
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                                 "viewBox=\"0 0 256 256\">\n");
    for (const Shape& s : Shapes(icon)) {
        const QString paint = QStringLiteral(" fill=\"%1\" stroke=\"%2\" stroke-width=\"%3\"")
                                  .arg(SvgColour(s.fill), SvgColour(s.stroke))
                                  .arg(s.strokeWidth);
        switch (s.kind) {
        case Shape::Rect:
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"%6/>\n")
                       .arg(s.rect.x())
                       .arg(s.rect.y())
                       .arg(s.rect.width())
                       .arg(s.rect.height())
                       .arg(s.radius)
                       .arg(paint);
            break;
        case Shape::Circle:
            svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\"%4/>\n")
                       .arg(s.rect.center().x())
                       .arg(s.rect.center().y())
                       .arg(s.rect.width() / 2)
                       .arg(paint);
            break;
        case Shape::Polygon: {
            QStringList points;
            for (const QPointF& point : s.points)
                points << QStringLiteral("%1,%2").arg(point.x()).arg(point.y());
            svg +=
                QStringLiteral("  <polygon points=\"%1\"%2 stroke-linejoin=\"miter\"/>\n").arg(points.join(' '), paint);
            break;
        }
        }
    }
    return (svg + QStringLiteral("</svg>\n")).toUtf8();
}

QIcon WindowIcon(ProgramIcon icon)
{
    QIcon result;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        result.addPixmap(QPixmap::fromImage(DrawIcon(icon, size)));
    return result;
}
