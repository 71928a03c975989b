#include "app/commanddock.h"

#include "app/dockitem.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QToolTip>

#include <cmath>

CommandDock::CommandDock(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("AdvSmoothDock1"));
    setAccessibleName(QStringLiteral("Command dock"));
    setMouseTracking(true);
    // The dock can take the focus (the exports hand it back), but draws no focus mark.
    setFocusPolicy(Qt::TabFocus);
}

void CommandDock::addItem(const QString& caption, const QString& hint, bool enabled,
                          const QString& pictureFile)
{
    const int index = m_items.size();
    auto* item = new DockItem(caption, hint, pictureFile, this);
    item->setObjectName(QStringLiteral("AdvSmoothDock1Item%1").arg(index));
    item->setEnabled(enabled);
    connect(item, &QAbstractButton::clicked, this, [this, index] {
        setSelectedIndex(index);
        emit itemClicked(index);
    });
    m_items << item;
    item->show();
    layoutItems(0, false);
}

void CommandDock::setSelectedIndex(int index)
{
    if (index == m_selected)
        return;
    m_selected = index;
    update();
}

QSize CommandDock::sizeHint() const
{
    const int n = m_items.size();
    return {n * ItemSize + (n + 3) * Spacing, MagnifiedSize + StripHeight / 2 + 8};
}

QSize CommandDock::minimumSizeHint() const
{
    return {sizeHint().width(), ItemSize + 12};
}

QRect CommandDock::stripRect() const
{
    if (m_items.isEmpty())
        return {};
    const int left = m_items.first()->geometry().left() - 2 * Spacing;
    const int right = m_items.last()->geometry().right() + 2 * Spacing;
    return QRect(QPoint(left, height() - StripHeight - 3), QPoint(right, height() - 4));
}

void CommandDock::layoutItems(qreal pointerX, bool magnify)
{
    const int n = m_items.size();
    if (n == 0)
        return;
    const qreal baseWidth = n * ItemSize + (n - 1) * Spacing;
    const qreal baseLeft = (width() - baseWidth) / 2.0;
    QList<qreal> sizes;
    qreal total = (n - 1) * Spacing;
    for (int i = 0; i < n; ++i) {
        qreal size = ItemSize;
        if (magnify) {
            const qreal centre = baseLeft + i * (ItemSize + Spacing) + ItemSize / 2.0;
            const qreal reach = 2.5 * ItemSize;
            const qreal d = std::abs(centre - pointerX);
            if (d < reach)
                size += (MagnifiedSize - ItemSize) * std::cos(d / reach * M_PI / 2.0);
        }
        sizes << size;
        total += size;
    }
    qreal x = (width() - total) / 2.0;
    const int bottom = height() - 10;
    for (int i = 0; i < n; ++i) {
        const int side = qRound(sizes.at(i));
        m_items.at(i)->setGeometry(qRound(x), bottom - side, side, side);
        x += sizes.at(i) + Spacing;
    }
    update();
}

int CommandDock::itemAt(const QPoint& pos) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i)->geometry().contains(pos))
            return i;
    }
    return -1;
}

void CommandDock::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutItems(0, false);
}

void CommandDock::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    layoutItems(pos.x(), stripRect().adjusted(0, -MagnifiedSize, 0, 0).contains(pos.toPoint()));
    const int index = itemAt(pos.toPoint());
    if (index != m_hovered) {
        m_hovered = index;
        if (index >= 0)
            emit itemHovered(index);
    }
}

void CommandDock::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_hovered = -1;
    m_pressed = -1;
    layoutItems(0, false);
}

void CommandDock::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton ? itemAt(event->position().toPoint()) : -1;
    if (m_pressed >= 0 && m_items.at(m_pressed)->isEnabled())
        m_items.at(m_pressed)->setDown(true);
}

void CommandDock::mouseReleaseEvent(QMouseEvent* event)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    if (pressed < 0)
        return;
    DockItem* item = m_items.at(pressed);
    item->setDown(false);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) == pressed &&
        item->isEnabled())
        item->click();
}

void CommandDock::keyPressEvent(QKeyEvent* event)
{
    const int n = m_items.size();
    const auto step = [&](int direction) {
        for (int i = m_selected + direction; i >= 0 && i < n; i += direction) {
            if (m_items.at(i)->isEnabled()) {
                setSelectedIndex(i);
                emit itemHovered(i);
                return;
            }
        }
    };
    switch (event->key()) {
    case Qt::Key_Left:
        step(-1);
        break;
    case Qt::Key_Right:
        step(1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_selected >= 0 && m_selected < n && m_items.at(m_selected)->isEnabled())
            m_items.at(m_selected)->click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool CommandDock::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int index = itemAt(help->pos());
        if (index >= 0 && !m_items.at(index)->hint().isEmpty())
            QToolTip::showText(help->globalPos(), m_items.at(index)->hint(), this,
                               m_items.at(index)->geometry());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void CommandDock::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF strip = QRectF(stripRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (strip.isEmpty())
        return;
    // A glassy platform: light on top, darker towards the front edge.
    QLinearGradient glass(strip.topLeft(), strip.bottomLeft());
    glass.setColorAt(0.0, QColor(250, 252, 255, 235));
    glass.setColorAt(0.45, QColor(214, 226, 242, 235));
    glass.setColorAt(1.0, QColor(160, 182, 210, 235));
    painter.setPen(QPen(QColor(120, 145, 178), 1));
    painter.setBrush(glass);
    painter.drawRoundedRect(strip, 8, 8);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
    painter.drawLine(strip.topLeft() + QPointF(8, 1.5), strip.topRight() + QPointF(-8, 1.5));

    if (m_selected >= 0 && m_selected < m_items.size()) {
        // The selected item's mark: a small lit dot on the platform's front edge.
        const QRect r = m_items.at(m_selected)->geometry();
        const QPointF dot(r.center().x() + 0.5, strip.bottom() - 4.5);
        QRadialGradient light(dot, 4);
        light.setColorAt(0, QColor(255, 255, 255));
        light.setColorAt(0.5, QColor(90, 160, 255));
        light.setColorAt(1, QColor(90, 160, 255, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(light);
        painter.drawEllipse(dot, 4, 4);
    }
}
