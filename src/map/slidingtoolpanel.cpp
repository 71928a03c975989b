#include "map/slidingtoolpanel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The tab on the area's edge: the panel's caption written upwards.
class PanelTab final : public QWidget
{
public:
    PanelTab(const QString& caption, QWidget* parent)
        : QWidget(parent)
        , m_caption(caption)
    {
        setAttribute(Qt::WA_Hover);
        setCursor(Qt::PointingHandCursor);
        setToolTip(caption);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        g.setColorAt(0, QColor(0xdb, 0xe6, 0xf4));
        g.setColorAt(1, QColor(0xa9, 0xc2, 0xe2));
        p.fillRect(rect(), g);
        p.setPen(QColor(0x6f, 0x8f, 0xbf));
        p.drawLine(0, 0, 0, height());
        p.translate(width() / 2 + fontMetrics().ascent() / 2 - 1,
                    10 + fontMetrics().horizontalAdvance(m_caption));
        p.rotate(-90);
        p.setPen(QColor(0x15, 0x42, 0x8b));
        p.drawText(0, 0, m_caption);
    }

private:
    QString m_caption;
};

QIcon pinIcon(bool locked)
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x15, 0x42, 0x8b), 1.4));
    if (locked) { // a pin pushed in: head on top, needle down
        p.setBrush(QColor(0xff, 0xd8, 0x4d));
        p.drawRect(QRectF(4, 1.5, 6, 6));
        p.drawLine(QPointF(2.5, 7.5), QPointF(11.5, 7.5));
        p.drawLine(QPointF(7, 7.5), QPointF(7, 13));
    } else { // a pin lying loose: needle to the left
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 4, 6, 6));
        p.drawLine(QPointF(6.5, 2.5), QPointF(6.5, 11.5));
        p.drawLine(QPointF(1, 7), QPointF(6.5, 7));
    }
    return QIcon(pm);
}
} // namespace

SlidingToolPanel::SlidingToolPanel(const QString& caption, QWidget* parent)
    : QWidget(parent)
    , m_tab(new PanelTab(caption, this))
    , m_panel(new QWidget(this))
    , m_caption(new QLabel(caption))
    , m_lock(new QToolButton)
    , m_tools(new QVBoxLayout)
    , m_slide(new QPropertyAnimation(m_panel, "geometry", this))
    , m_closeTimer(new QTimer(this))
{
    m_tab->setAccessibleName(caption);
    m_panel->setAccessibleName(caption);
    m_panel->setAttribute(Qt::WA_StyledBackground);
    // The panel's name is its owner's to give; the style finds it by a property.
    m_panel->setProperty("slidingToolPanel", true);
    m_panel->setStyleSheet(QStringLiteral(
        "QWidget[slidingToolPanel=\"true\"] { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
        "stop:0 #f4f8fd, stop:1 #c6d7ee); border-left: 1px solid #6f8fbf; }"));

    auto* bar = new QWidget;
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setProperty("captionBar", true);
    bar->setStyleSheet(
        QStringLiteral("QWidget[captionBar=\"true\"] { background: qlineargradient(x1:0, "
                       "y1:0, x2:0, y2:1, stop:0 #dfe9f7, stop:1 #a9c2e2); }"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(6, 2, 2, 2);
    m_caption->setStyleSheet(QStringLiteral("font-weight: bold; color: #15428b;"));
    barLayout->addWidget(m_caption, 1);
    m_lock->setAutoRaise(true);
    m_lock->setCheckable(true);
    m_lock->setChecked(m_locked);
    barLayout->addWidget(m_lock);
    connect(m_lock, &QToolButton::clicked, this, [this](bool checked) { setLocked(checked); });
    updateLockButton();

    auto* panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(1, 0, 0, 0);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(bar);
    m_tools->setContentsMargins(0, 0, 0, 0);
    m_tools->setSpacing(0);
    panelLayout->addLayout(m_tools, 1);

    m_slide->setDuration(120);
    m_closeTimer->setSingleShot(true);
    m_closeTimer->setInterval(400);
    connect(m_closeTimer, &QTimer::timeout, this, &SlidingToolPanel::closeUnlessPointed);
    connect(m_slide, &QPropertyAnimation::finished, this, [this] {
        if (!m_open)
            m_panel->hide();
    });

    m_tab->installEventFilter(this);
    m_panel->installEventFilter(this);
}

void SlidingToolPanel::setMainWidget(QWidget* widget)
{
    m_main = widget;
    widget->setParent(this);
    widget->lower();
    widget->show();
    layoutArea();
}

void SlidingToolPanel::setPanelWidths(int lockedWidth, int openWidth)
{
    m_lockedWidth = lockedWidth;
    m_openWidth = openWidth;
    layoutArea();
}

void SlidingToolPanel::setSlideDuration(int milliseconds)
{
    m_slide->setDuration(milliseconds);
}

void SlidingToolPanel::setCloseDelay(int milliseconds)
{
    m_closeTimer->setInterval(milliseconds);
}

QRect SlidingToolPanel::panelRect(bool open) const
{
    const int w = m_locked ? m_lockedWidth : m_openWidth;
    const int edge = width() - TabWidth;
    return QRect(open ? edge - w : edge, 0, w, height());
}

void SlidingToolPanel::layoutArea()
{
    m_tab->setGeometry(width() - TabWidth, 0, TabWidth, height());
    if (m_main) {
        const int taken = m_locked ? m_lockedWidth : 0;
        m_main->setGeometry(0, 0, qMax(0, width() - TabWidth - taken), height());
    }
    if (m_slide->state() != QAbstractAnimation::Running) {
        m_panel->setGeometry(panelRect(m_open));
        m_panel->setVisible(m_open);
    }
    m_panel->raise();
    m_tab->raise();
}

void SlidingToolPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutArea();
}

void SlidingToolPanel::slideTo(bool open)
{
    if (m_open == open)
        return;
    m_open = open;
    m_slide->stop();
    m_panel->show();
    m_panel->raise();
    m_tab->raise();
    if (m_slide->duration() == 0) {
        layoutArea();
    } else {
        m_slide->setStartValue(m_panel->geometry());
        m_slide->setEndValue(panelRect(open));
        m_slide->start();
    }
    emit openChanged(open);
}

void SlidingToolPanel::openPanel()
{
    m_closeTimer->stop();
    slideTo(true);
}

void SlidingToolPanel::closePanel()
{
    if (!m_locked)
        slideTo(false);
}

void SlidingToolPanel::setLocked(bool locked)
{
    if (m_locked == locked)
        return;
    m_locked = locked;
    m_lock->setChecked(locked);
    updateLockButton();
    if (locked)
        m_open = true;
    m_slide->stop();
    layoutArea();
    emit lockedChanged(locked);
    // Unlocked, the panel stays open until the pointer leaves it.
    if (!locked && !m_panel->underMouse())
        m_closeTimer->start();
}

void SlidingToolPanel::updateLockButton()
{
    m_lock->setIcon(pinIcon(m_locked));
    m_lock->setToolTip(m_locked ? QStringLiteral("Unlock panel") : QStringLiteral("Lock panel"));
    m_lock->setAccessibleName(m_lock->toolTip());
}

void SlidingToolPanel::closeUnlessPointed()
{
    if (m_locked || m_panel->underMouse() || m_tab->underMouse())
        return;
    slideTo(false);
}

bool SlidingToolPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tab && event->type() == QEvent::Enter)
        openPanel();
    else if (watched == m_panel && event->type() == QEvent::Enter)
        m_closeTimer->stop();
    else if ((watched == m_panel || watched == m_tab) && event->type() == QEvent::Leave &&
             !m_locked)
        m_closeTimer->start();
    return QWidget::eventFilter(watched, event);
}
