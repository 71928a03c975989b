#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QPropertyAnimation;
class QTimer;
class QToolButton;
class QVBoxLayout;

// An area with a main widget and a tool panel at its right edge. A tab on the edge
// opens the panel when the pointer reaches it; the open panel slides over the main
// widget and slides back when the pointer leaves it, unless it is locked, in which case
// it stays open beside the main widget.
class SlidingToolPanel final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int TabWidth = 23;

    explicit SlidingToolPanel(const QString& caption, QWidget* parent = nullptr);

    // The widget that fills the area beside the panel.
    void setMainWidget(QWidget* widget);
    QWidget* mainWidget() const { return m_main; }
    // The panel (caption bar and tools) and the layout that holds its tools.
    QWidget* panel() const { return m_panel; }
    QVBoxLayout* toolLayout() const { return m_tools; }
    QWidget* tab() const { return m_tab; }
    QToolButton* lockButton() const { return m_lock; }

    // Widths of the panel: locked beside the main widget, and slid open over it.
    void setPanelWidths(int lockedWidth, int openWidth);
    // A slide takes this long; 0 moves the panel at once.
    void setSlideDuration(int milliseconds);
    // How long the pointer may be away from an open, unlocked panel before it closes.
    void setCloseDelay(int milliseconds);

    bool isLocked() const { return m_locked; }
    void setLocked(bool locked);
    bool isOpen() const { return m_open; }
    void openPanel();
    void closePanel();

signals:
    void lockedChanged(bool locked);
    void openChanged(bool open);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutArea();
    QRect panelRect(bool open) const;
    void slideTo(bool open);
    void closeUnlessPointed();
    void updateLockButton();

    QPointer<QWidget> m_main;
    QWidget* m_tab;
    QWidget* m_panel;
    QLabel* m_caption;
    QToolButton* m_lock;
    QVBoxLayout* m_tools;
    QPropertyAnimation* m_slide;
    QTimer* m_closeTimer;
    int m_lockedWidth = 225;
    int m_openWidth = 250;
    bool m_locked = true;
    bool m_open = true;
};
