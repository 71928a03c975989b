#include "app/dockitem.h"

#include <QPainter>
#include <QSvgRenderer>

DockItem::DockItem(const QString& caption, const QString& hint, const QString& pictureFile,
                   QWidget* parent)
    : QAbstractButton(parent)
    , m_caption(caption)
    , m_hint(hint)
    , m_picture(new QSvgRenderer(pictureFile, this))
{
    setAccessibleName(hint.isEmpty() ? QStringLiteral("Separator") : hint);
    setFocusPolicy(Qt::NoFocus);
    // The dock hit-tests and magnifies; the item only draws itself.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void DockItem::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int side = qMin(width(), height());
    const QRectF square((width() - side) / 2.0, height() - side, side, side);
    if (isDown())
        painter.setOpacity(0.7);
    m_picture->render(&painter, square);
}
