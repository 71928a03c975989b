#pragma once

#include <QList>
#include <QWidget>

class DockItem;

// The command dock: picture buttons standing on a platform strip, magnified under the
// pointer, with their hints as tooltips. It reports the item that the pointer is over
// and the item that is clicked; a disabled item only separates the others.
class CommandDock final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int StripHeight = 40;
    static constexpr int ItemSize = 44;
    static constexpr int MagnifiedSize = 64;
    static constexpr int Spacing = 8;

    explicit CommandDock(QWidget* parent = nullptr);

    void addItem(const QString& caption, const QString& hint, bool enabled,
                 const QString& pictureFile);
    int count() const { return m_items.size(); }
    DockItem* item(int index) const { return m_items.at(index); }

    int selectedIndex() const { return m_selected; }
    void setSelectedIndex(int index);

    // The item at a point of the dock, -1 for none.
    int itemAt(const QPoint& pos) const;

signals:
    void itemClicked(int index);
    void itemHovered(int index);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    // Places the items; with a pointer position, items near it grow.
    void layoutItems(qreal pointerX, bool magnify);
    QRect stripRect() const;

    QList<DockItem*> m_items;
    int m_selected = -1;
    int m_hovered = -1;
    int m_pressed = -1;
};
