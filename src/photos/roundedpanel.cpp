#include "photos/roundedpanel.h"

#include <QPainter>

RoundedPanel::RoundedPanel(QWidget* parent)
    : QWidget(parent)
{
}

void RoundedPanel::setFill(const QColor& fill)
{
    m_fill = fill;
    update();
}

void RoundedPanel::setBorder(const QColor& border)
{
    m_border = border;
    update();
}

void RoundedPanel::setCornerRounding(int radius)
{
    m_radius = radius;
    update();
}

void RoundedPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_border, 1));
    painter.setBrush(m_fill);
    // Half a pixel in, so that the one-pixel border lies on whole pixels.
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_radius, m_radius);
}
