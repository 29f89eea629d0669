// Draws the main window's picture of a Brevak card (600 × 386 pixels) into
// the PNG file named on the command line. Run by the build; the picture is
// compiled into the program as a resource.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

void Chip(QPainter& p, QRectF body, int pinsPerSide, bool fourSides)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 190, 180));
    const double pitch = body.width() / (pinsPerSide + 1);
    for (int i = 1; i <= pinsPerSide; ++i) {
        p.drawRect(QRectF(body.left() + i * pitch - 1.5, body.top() - 5, 3, 5));
        p.drawRect(QRectF(body.left() + i * pitch - 1.5, body.bottom(), 3, 5));
    }
    if (fourSides) {
        const double vpitch = body.height() / (pinsPerSide + 1);
        for (int i = 1; i <= pinsPerSide; ++i) {
            p.drawRect(QRectF(body.left() - 5, body.top() + i * vpitch - 1.5, 5, 3));
            p.drawRect(QRectF(body.right(), body.top() + i * vpitch - 1.5, 5, 3));
        }
    }
    p.setBrush(QColor(28, 28, 30));
    p.drawRoundedRect(body, 2, 2);
    p.setBrush(QColor(60, 60, 64));
    p.drawEllipse(QPointF(body.left() + 7, body.top() + 7), 2.5, 2.5);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_card OUTPUT.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QImage image(600, 386, QImage::Format_ARGB32);
    image.fill(QColor(236, 233, 216));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Mounting bracket at the left, with the D-sub connectors of the axes.
    QLinearGradient steel(0, 0, 40, 0);
    steel.setColorAt(0, QColor(150, 152, 156));
    steel.setColorAt(1, QColor(214, 216, 220));
    p.setPen(QPen(QColor(90, 92, 96), 1));
    p.setBrush(steel);
    p.drawRect(QRectF(14, 20, 30, 330));
    for (double y : {70.0, 210.0}) {
        p.setBrush(QColor(120, 122, 126));
        p.drawRoundedRect(QRectF(20, y, 18, 100), 4, 4);
        p.setBrush(QColor(40, 40, 44));
        p.drawRoundedRect(QRectF(24, y + 8, 10, 84), 3, 3);
    }

    // Board, with its PCI edge connector along the bottom.
    QPainterPath board;
    board.addRoundedRect(QRectF(44, 40, 530, 280), 8, 8);
    p.setPen(QPen(QColor(10, 70, 35), 2));
    p.setBrush(QColor(22, 120, 62));
    p.drawPath(board);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(22, 120, 62));
    p.drawRect(QRectF(150, 318, 360, 26));
    p.setBrush(QColor(212, 175, 55));
    for (int i = 0; i < 60; ++i) {
        if (i == 12)
            continue; // the key notch
        p.drawRect(QRectF(156 + i * 5.9, 322, 4, 20));
    }

    // Copper traces.
    p.setPen(QPen(QColor(70, 160, 95), 1.5));
    for (int i = 0; i < 14; ++i) {
        const double y = 250 + i * 4.5;
        p.drawLine(QPointF(230, y), QPointF(330 + i * 8, y));
        p.drawLine(QPointF(330 + i * 8, y), QPointF(330 + i * 8, 320));
    }
    for (int i = 0; i < 10; ++i)
        p.drawLine(QPointF(60, 100 + i * 8), QPointF(150, 100 + i * 8));

    // Motion controller, logic device, memory and drivers.
    Chip(p, QRectF(170, 90, 110, 110), 16, true);
    Chip(p, QRectF(330, 100, 90, 90), 12, true);
    Chip(p, QRectF(455, 90, 80, 36), 10, false);
    Chip(p, QRectF(455, 160, 80, 36), 10, false);
    for (int i = 0; i < 3; ++i)
        Chip(p, QRectF(70, 150 + i * 45, 60, 26), 6, false);

    // Crystal, capacitors and resistors.
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(200, 200, 205));
    p.drawRoundedRect(QRectF(300, 215, 36, 16), 7, 7);
    for (int i = 0; i < 8; ++i) {
        p.setBrush(QColor(150, 110, 60));
        p.drawRect(QRectF(460 + (i % 4) * 22, 220 + (i / 4) * 24, 12, 6));
        p.setBrush(QColor(40, 80, 160));
        p.drawEllipse(QPointF(360 + i * 11, 60), 4, 4);
    }

    // Status lamps and the silkscreen name.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 60, 40));
    p.drawEllipse(QPointF(70, 58), 4, 4);
    p.setBrush(QColor(60, 230, 90));
    p.drawEllipse(QPointF(84, 58), 4, 4);
    p.setPen(QColor(235, 240, 235));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(170, 210, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("BREVAK"));
    font.setPixelSize(12);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRectF(330, 196, 120, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("4-AXIS PULSE"));
    p.end();

    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
