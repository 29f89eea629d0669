#include "rowdelegate.h"

#include <QPainter>

void RowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    QColor colour = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    if (const QVariant foreground = index.data(Qt::ForegroundRole); foreground.isValid() && !selected)
        colour = foreground.value<QBrush>().color();
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    const int flags = Qt::TextSingleLine |
                      (alignment.isValid() ? alignment.toInt() : static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter));
    painter->save();
    painter->setPen(colour);
    painter->setClipRect(option.rect);
    painter->drawText(option.rect.adjusted(4, 0, -4, 0), flags, index.data(Qt::DisplayRole).toString());
    painter->restore();
}
