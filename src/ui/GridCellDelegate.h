#pragma once

#include <QStyledItemDelegate>

// Draws a data cell of a pick grid: its background colour and, centred across the whole cell,
// its text. Cells are 280 twips wide, so a pick number such as "1,4" gets the full width instead
// of the style's text margins and is never elided.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
