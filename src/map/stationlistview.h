#pragma once

#include <QString>

// The station list as its rules drive it: a flat list of nodes with text and icon.
class StationListView
{
public:
    virtual ~StationListView() = default;

    // Node changes between these two are shown with one repaint.
    virtual void beginUpdate() = 0;
    virtual void endUpdate() = 0;
    virtual void clear() = 0;
    virtual void addNode(const QString& text, int imageIndex) = 0;
    virtual int nodeCount() const = 0;
    // The selected node's index; -1 when none is selected.
    virtual int selectedIndex() const = 0;
    virtual void selectNode(int index) = 0;
    virtual void takeFocus() = 0;
};
