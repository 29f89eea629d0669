#include "dialogunits.h"

#include <QFontMetrics>

#include "common/icons.h"

QFont DialogFont()
{
    QFont::insertSubstitutions(QStringLiteral("MS Shell Dlg"),
                               {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("DejaVu Sans")});
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setPointSize(9);
    return font;
}

QRect DialogUnits(const QFont& font, int x, int y, int width, int height)
{
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    const int baseY = metrics.height();
    const auto px = [](int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; };
    return QRect(px(x, baseX, 4), px(y, baseY, 8), px(width, baseX, 4), px(height, baseY, 8));
}

QIcon FlashmendIcon() { return WindowIcon(ProgramIcon::Flashmend); }
