#include "parapictures.h"

#include <QPainter>

#include "widgets/twips.h"

namespace {

enum class Cell { PulsesLow, PulsesHigh, High, Low };

// One cell of the table: a pulse train going low from a high idle, going high
// from a low idle, or a steady level.
void DrawCell(QPainter& p, const QRect& r, Cell cell)
{
    const int high = r.top() + 4;
    const int low = r.bottom() - 4;
    if (cell == Cell::High || cell == Cell::Low) {
        p.drawText(r, Qt::AlignCenter, cell == Cell::High ? QStringLiteral("高电平") : QStringLiteral("低电平"));
        return;
    }
    const int idle = cell == Cell::PulsesLow ? high : low;
    const int active = cell == Cell::PulsesLow ? low : high;
    QPolygon wave;
    int x = r.left() + 4;
    wave << QPoint(x, idle);
    for (int i = 0; i < 3; ++i) {
        x += 8;
        wave << QPoint(x, idle) << QPoint(x, active);
        x += 8;
        wave << QPoint(x, active) << QPoint(x, idle);
    }
    wave << QPoint(r.right() - 4, idle);
    p.drawPolyline(wave);
}

} // namespace

QPixmap PulseTypeTable()
{
    constexpr int kWidth = 344, kHeight = 144;
    constexpr int kTypeColumn = 80, kColumn = 66, kHeader = 36, kRow = 18;
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(Qt::black);

    // Grid.
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    p.drawLine(0, kHeader, kWidth, kHeader);
    p.drawLine(kTypeColumn, kHeader / 2, kWidth, kHeader / 2);
    for (int c = 0; c <= 4; ++c) {
        const int x = kTypeColumn + c * kColumn;
        p.drawLine(x, c % 2 == 0 ? 0 : kHeader / 2, x, kHeight);
    }
    for (int r = 1; r < 6; ++r)
        p.drawLine(0, kHeader + r * kRow, kWidth, kHeader + r * kRow);

    // Headings.
    p.drawText(QRect(0, 0, kTypeColumn, kHeader), Qt::AlignCenter, QStringLiteral("输出脉冲类型"));
    p.drawText(QRect(kTypeColumn, 0, 2 * kColumn, kHeader / 2), Qt::AlignCenter, QStringLiteral("正方向脉冲"));
    p.drawText(QRect(kTypeColumn + 2 * kColumn, 0, 2 * kColumn, kHeader / 2), Qt::AlignCenter,
               QStringLiteral("负方向脉冲"));
    for (int c = 0; c < 4; ++c)
        p.drawText(QRect(kTypeColumn + c * kColumn, kHeader / 2, kColumn, kHeader / 2), Qt::AlignCenter,
                   c % 2 == 0 ? QStringLiteral("OUT 输出端") : QStringLiteral("DIR 输出端"));

    using C = Cell;
    constexpr Cell kCells[6][4] = {
        {C::PulsesLow, C::High, C::PulsesLow, C::Low},  {C::PulsesHigh, C::High, C::PulsesHigh, C::Low},
        {C::PulsesLow, C::Low, C::PulsesLow, C::High},  {C::PulsesHigh, C::Low, C::PulsesHigh, C::High},
        {C::PulsesLow, C::High, C::High, C::PulsesLow}, {C::PulsesHigh, C::Low, C::Low, C::PulsesHigh},
    };
    for (int type = 0; type < 6; ++type) {
        const int top = kHeader + type * kRow;
        p.drawText(QRect(0, top, kTypeColumn, kRow), Qt::AlignCenter, QStringLiteral("类型%1").arg(type));
        for (int c = 0; c < 4; ++c)
            DrawCell(p, QRect(kTypeColumn + c * kColumn, top, kColumn, kRow), kCells[type][c]);
    }
    return pixmap;
}

HomeIllustration::HomeIllustration(QWidget* page, int tabOffsetTwips) : QWidget(page), offset_(tabOffsetTwips)
{
    setObjectName(QStringLiteral("HomeIllustration"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(page->rect());
}

void HomeIllustration::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const auto y = [this](int twips) { return Px(twips - offset_); };
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(Px(720), y(3720), Px(6840), y(3720));

    // The carriage, resting on two wheels on the line.
    p.setBrush(QColor(128, 255, 255));
    p.drawRect(QRect(Px(5400), y(3720 - 300), Px(375), Px(210)));
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(Px(5480), y(3720 - 60)), 3, 3);
    p.drawEllipse(QPoint(Px(5695), y(3720 - 60)), 3, 3);

    const struct {
        int left;
        QColor colour;
    } marks[] = {{840, Qt::red}, {2520, Qt::blue}, {4320, QColor(128, 255, 128)}, {6600, Qt::red}};
    for (const auto& mark : marks) {
        p.setBrush(mark.colour);
        p.drawEllipse(QRect(Px(mark.left), y(3720 - 67), Px(135), Px(135)));
    }
}
