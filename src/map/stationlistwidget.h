#pragma once

#include "map/stationlistview.h"

#include <QTreeWidget>

// The station list "stationTV": one flat node per station under a header node, a
// selected station drawn red on yellow; reports the node under the pointer and clicks.
class StationListWidget final : public QTreeWidget, public StationListView
{
    Q_OBJECT

public:
    explicit StationListWidget(QWidget* parent = nullptr);

    void beginUpdate() override;
    void endUpdate() override;
    void clear() override;
    void addNode(const QString& text, int imageIndex) override;
    int nodeCount() const override;
    int selectedIndex() const override;
    void selectNode(int index) override;
    void takeFocus() override { setFocus(Qt::OtherFocusReason); }

    // The index of the node at a point of the viewport; -1 for none.
    int nodeAt(const QPoint& viewportPoint) const;
    QString nodeText(int index) const;

signals:
    // The pointer moved over the list; nodeIndex is -1 over empty space.
    void pointerMoved(int nodeIndex);
    void nodeClicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QList<QTreeWidgetItem*> m_pending; // nodes added in a batch, shown at its end
    int m_batchDepth = 0;
};
