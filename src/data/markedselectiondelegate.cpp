#include "data/markedselectiondelegate.h"

#include "data/areatree.h"

#include <QApplication>
#include <QPainter>

const QColor MarkedSelectionDelegate::MarkText(255, 0, 0);
const QColor MarkedSelectionDelegate::MarkBackground(255, 255, 0);

void MarkedSelectionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    if (!AreaTree::marksSelection(selected, index.row())) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect iconRect = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, widget);
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);

    painter->save();
    // The icon in its selected picture, then the text red on a yellow text rectangle.
    const QPixmap icon = opt.icon.pixmap(opt.decorationSize, QIcon::Selected);
    painter->drawPixmap(iconRect.topLeft(), icon);
    const QRect textBox(textRect.left(), opt.rect.top(),
                        opt.fontMetrics.horizontalAdvance(opt.text) + 6, opt.rect.height());
    painter->fillRect(textBox, MarkBackground);
    painter->setPen(MarkText);
    painter->setFont(opt.font);
    painter->drawText(textBox.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, opt.text);
    painter->restore();
}
