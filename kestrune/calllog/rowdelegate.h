// Paints the call log's cells as plain single lines: the text, its colour
// and alignment, the selection, and nothing else. The table is repainted
// several times a second while calls stream in; the style's own item drawing
// asks each cell for a dozen roles and lays its text out three times.
#pragma once

#include <QStyledItemDelegate>

class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
