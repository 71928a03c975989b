#include "data/areanavigator.h"

#include "data/markedselectiondelegate.h"
#include "platform/imagelist.h"

#include <QMouseEvent>
#include <QSignalBlocker>

namespace {
QIcon nodeIcon(int normal, int selected)
{
    QIcon icon;
    icon.addPixmap(ImageList::pixmap(normal), QIcon::Normal);
    icon.addPixmap(ImageList::pixmap(selected), QIcon::Selected);
    return icon;
}
} // namespace

AreaNavigator::AreaNavigator(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TV"));
    setAccessibleName(QStringLiteral("Area navigator"));
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(Indent);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(ImageList::IconSize, ImageList::IconSize));
    setItemDelegate(new MarkedSelectionDelegate(this));
    // The selection covers the entry, not the indentation and the expand mark before it.
    setStyleSheet(QStringLiteral("QTreeView#TV { show-decoration-selected: 0; }"));
    // The selection stays visible when the navigator has no focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current)
            emit nodeChanged(current);
    });
}

void AreaNavigator::build(const QList<CountyArea>& counties)
{
    const QSignalBlocker blocker(this);
    setUpdatesEnabled(false);
    clear();
    auto* rootNode =
        new QTreeWidgetItem(this, {QString::fromLatin1(QueryComposer::AllCountiesText)});
    rootNode->setIcon(0, nodeIcon(ImageList::Globe, ImageList::Globe));
    const QIcon countyIcon = nodeIcon(ImageList::FolderClosed, ImageList::FolderOpen);
    const QIcon municipalityIcon = nodeIcon(ImageList::Page, ImageList::Page);
    for (const CountyArea& county : counties) {
        auto* countyNode = new QTreeWidgetItem(this, {county.name});
        countyNode->setIcon(0, countyIcon);
        for (const QString& municipality : county.municipalities) {
            auto* node = new QTreeWidgetItem(countyNode, {municipality});
            node->setIcon(0, municipalityIcon);
        }
    }
    collapseAll();
    setUpdatesEnabled(true);
}

AreaKind AreaNavigator::kindOf(const QTreeWidgetItem* node)
{
    // A top-level node other than the root is a county even without municipalities
    // (a county whose municipalities are all NULL), rather than a municipality of no
    // county.
    const bool county =
        node->childCount() > 0 ||
        (!node->parent() && node->text(0) != QLatin1String(QueryComposer::AllCountiesText));
    return QueryComposer::areaKind(county, node->text(0));
}

QString AreaNavigator::countyOf(const QTreeWidgetItem* node)
{
    if (kindOf(node) == AreaKind::Municipality && node->parent())
        return node->parent()->text(0);
    return node->text(0);
}

void AreaNavigator::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit navigatorClicked();
}
