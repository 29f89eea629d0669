#include "twips.h"

#include <QWidget>

void PlaceTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

void SizeTwips(QWidget* window, int width, int height) { window->setFixedSize(Px(width), Px(height)); }

QFont SongTi(double points, bool bold, bool italic)
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void InstallFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                                QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")});
}
