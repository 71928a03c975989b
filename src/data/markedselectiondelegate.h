#pragma once

#include <QStyledItemDelegate>

// Draws a tree's items, with a selected item that is not the first among its siblings
// in red text on a yellow text rectangle.
class MarkedSelectionDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static const QColor MarkText;
    static const QColor MarkBackground;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
