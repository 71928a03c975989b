#include "map/stationlistwidget.h"

#include "map/stationlistcontroller.h"
#include "platform/imagelist.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
// Draws a selected station node in red on yellow; every other node as usual.
class StationNodeDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        if (!StationListController::drawsHighlighted(index.row(), selected)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        opt.palette.setColor(QPalette::Text, QColor(255, 0, 0));
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        painter->fillRect(style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget),
                          QColor(255, 255, 0));
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }
};
} // namespace

StationListWidget::StationListWidget(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("stationTV"));
    setAccessibleName(QStringLiteral("Station list"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(19);
    setIconSize(QSize(ImageList::IconSize, ImageList::IconSize));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setUniformRowHeights(true);
    setItemDelegate(new StationNodeDelegate(this));
    // Button-face background, and the selection stays visible without the focus.
    QPalette p = palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);
    connect(this, &QTreeWidget::itemClicked, this, [this] { emit nodeClicked(); });
}

void StationListWidget::beginUpdate()
{
    if (m_batchDepth++ == 0)
        setUpdatesEnabled(false);
}

void StationListWidget::endUpdate()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    if (!m_pending.isEmpty()) {
        addTopLevelItems(m_pending);
        m_pending.clear();
    }
    setUpdatesEnabled(true);
}

void StationListWidget::clear()
{
    qDeleteAll(m_pending);
    m_pending.clear();
    QTreeWidget::clear();
}

void StationListWidget::addNode(const QString& text, int imageIndex)
{
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setIcon(0, ImageList::icon(imageIndex));
    if (m_batchDepth > 0)
        m_pending << item;
    else
        addTopLevelItem(item);
}

int StationListWidget::nodeCount() const
{
    return topLevelItemCount() + int(m_pending.size());
}

int StationListWidget::selectedIndex() const
{
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : indexOfTopLevelItem(items.first());
}

void StationListWidget::selectNode(int index)
{
    QTreeWidgetItem* item = topLevelItem(index);
    if (!item)
        return;
    setCurrentItem(item);
    scrollToItem(item);
}

int StationListWidget::nodeAt(const QPoint& viewportPoint) const
{
    QTreeWidgetItem* item = itemAt(viewportPoint);
    return item ? indexOfTopLevelItem(item) : -1;
}

QString StationListWidget::nodeText(int index) const
{
    const QTreeWidgetItem* item = topLevelItem(index);
    return item ? item->text(0) : QString();
}

void StationListWidget::mouseMoveEvent(QMouseEvent* event)
{
    QTreeWidget::mouseMoveEvent(event);
    emit pointerMoved(nodeAt(event->position().toPoint()));
}
