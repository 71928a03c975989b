#include "platform/imagelist.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

static void initImageListResource()
{
    Q_INIT_RESOURCE(imagelist);
}

namespace {

QPixmap render(const QString& name)
{
    initImageListResource();
    QImage image(ImageList::IconSize, ImageList::IconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(name));
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

// The same picture in shades of grey, as a disabled or "none" state.
QPixmap greyed(const QPixmap& source)
{
    QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int g = qGray(line[x]);
            const int light = 96 + g * 5 / 8; // lighter, flatter greys
            line[x] = qRgba(light, light, light, qAlpha(line[x]));
        }
    }
    return QPixmap::fromImage(image);
}

const QHash<int, QPixmap>& pictures()
{
    static const QHash<int, QPixmap> list = [] {
        QHash<int, QPixmap> l;
        for (int i : {5, 7, 9, 11, 13, 15, 17, 19, 21})
            l.insert(i, render(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))));
        l.insert(ImageList::NoPhotos, greyed(l.value(ImageList::PhotoPresent)));
        l.insert(ImageList::NextDisabled, greyed(l.value(ImageList::NextEnabled)));
        return l;
    }();
    return list;
}

} // namespace

QPixmap ImageList::pixmap(int index)
{
    return pictures().value(index);
}

QIcon ImageList::icon(int index)
{
    return QIcon(pixmap(index));
}

QList<int> ImageList::indices()
{
    QList<int> keys = pictures().keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}
