#pragma once

#include "data/areatree.h"
#include "data/querycomposer.h"

#include <QTreeWidget>

// The area navigator: the root "All Counties", the counties and, under each county,
// its municipalities. It reports selection changes and clicks; choosing an area is
// the main window's business.
class AreaNavigator final : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr int Indent = 19;

    explicit AreaNavigator(QWidget* parent = nullptr);

    // Replaces the nodes: the root, then the counties with their municipalities, all
    // collapsed. Raises no selection change.
    void build(const QList<CountyArea>& counties);

    // The first node, "All Counties"; null before the first build.
    QTreeWidgetItem* root() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }
    QString selectedText() const { return currentItem() ? currentItem()->text(0) : QString(); }

    // What a node stands for: the root, a county (any other top-level node) or a
    // municipality.
    static AreaKind kindOf(const QTreeWidgetItem* node);
    // The county of a node: its own text for a county, its parent's for a municipality.
    static QString countyOf(const QTreeWidgetItem* node);

signals:
    // The selected node changed, by the user or by the program (TVChange).
    void nodeChanged(QTreeWidgetItem* node);
    // A left click anywhere in the navigator, after any selection change it made (TVClick).
    void navigatorClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
