#include "data/stationgriddelegate.h"

#include "data/stationdata.h"
#include "data/stationgridrules.h"
#include "platform/imagelist.h"
#include "platform/messagesink.h"
#include "platform/stradexerror.h"

#include <QPainter>

StationGridDelegate::StationGridDelegate(StationData& data, std::function<QString()> currentTable,
                                         MessageSink* messages, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_data(data)
    , m_currentTable(std::move(currentTable))
    , m_messages(messages)
{
}

bool StationGridDelegate::photoTest(const QString& stationNumber) const
{
    try {
        const bool found = m_data.hasPhotos(m_currentTable(), stationNumber);
        m_failureReported = false;
        return found;
    } catch (const StradexError& e) {
        if (!m_failureReported && m_messages) {
            m_failureReported = true;
            // Not from inside a paint event: the box runs its own event loop.
            MessageSink* sink = m_messages;
            const QString message = e.message();
            QMetaObject::invokeMethod(
                const_cast<StationGridDelegate*>(this), [sink, message] { sink->error(message); },
                Qt::QueuedConnection);
        }
        return false;
    }
}

void StationGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const ResultSet& rs = m_data.resultSet();
    const QString text = index.data(Qt::DisplayRole).toString();
    const int fieldNumber = index.column() + 1; // the k-th column holds field k
    const StationGridRules::CellLook look = StationGridRules::cellLook(
        !rs.isOpen() || rs.recordCount() == 0, fieldNumber, text, [&] { return photoTest(text); });

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    QBrush brush = option.palette.brush(group, QPalette::Base);
    if (selected)
        brush = option.palette.brush(group, QPalette::Highlight);
    else if (option.features & QStyleOptionViewItem::Alternate)
        brush = option.palette.brush(group, QPalette::AlternateBase);
    QColor pen = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    if (look.greyText)
        pen = QColor::fromRgb(StationGridRules::GreyTextRgb);

    const QRect cell = option.rect;
    painter->save();
    painter->setClipRect(cell);
    painter->fillRect(cell, brush);
    if (look.icon >= 0)
        painter->drawPixmap(cell.topLeft(), ImageList::pixmap(look.icon));

    QRect textRect = cell;
    if (look.textShifted)
        textRect.setLeft(cell.left() + cell.height());
    const bool numeric =
        index.column() < rs.fieldCount() && isNumeric(rs.field(index.column()).type);
    // Text starts 2 pixels below the top; left-aligned text 2 pixels in, right-aligned
    // text 3 pixels from the right edge.
    const QRect area = textRect.adjusted(2, 2, -3, 0);
    painter->setClipRect(textRect);
    painter->setFont(option.font);
    painter->setPen(pen);
    painter->drawText(
        area, Qt::TextSingleLine | Qt::AlignTop | (numeric ? Qt::AlignRight : Qt::AlignLeft), text);
    painter->restore();
}
