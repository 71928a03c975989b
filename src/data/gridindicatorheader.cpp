#include "data/gridindicatorheader.h"

#include <QPainter>
#include <QPainterPath>

GridIndicatorHeader::GridIndicatorHeader(QWidget* parent)
    : QHeaderView(Qt::Vertical, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setFixedWidth(Width);
}

QSize GridIndicatorHeader::sizeHint() const
{
    return {Width, QHeaderView::sizeHint().height()};
}

void GridIndicatorHeader::setCurrentRow(int row)
{
    if (row == m_currentRow)
        return;
    const int old = m_currentRow;
    m_currentRow = row;
    for (int r : {old, row}) {
        if (r >= 0)
            viewport()->update(0, sectionViewportPosition(r), viewport()->width(), sectionSize(r));
    }
}

void GridIndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (logicalIndex == m_currentRow) {
        const QPointF c = QRectF(rect).center();
        QPainterPath arrow;
        arrow.moveTo(c.x() - 2, c.y() - 4);
        arrow.lineTo(c.x() + 2, c.y());
        arrow.lineTo(c.x() - 2, c.y() + 4);
        arrow.closeSubpath();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(arrow, palette().color(QPalette::ButtonText));
    }
    painter->restore();
}
