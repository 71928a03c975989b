#include "photospainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <cmath>
#include <cstdint>

namespace {

// A small fixed generator, so that a name always gives the same picture on every
// machine and standard library.
class Noise
{
public:
    explicit Noise(const QString& seed)
    {
        for (QChar c : seed) {
            m_state ^= c.unicode();
            m_state *= 1099511628211ULL;
        }
    }
    // A number in [0, 1).
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return double(m_state >> 11) / double(1ULL << 53);
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint64_t m_state = 14695981039346656037ULL;
};

QFont font(int pixels, bool bold = false, bool italic = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// ---- the photograph --------------------------------------------------------------

void paintSky(QPainter& p, Noise& noise, double horizon, int hour)
{
    QLinearGradient sky(0, 0, 0, horizon);
    if (hour < 2) { // morning
        sky.setColorAt(0, QColor(92, 140, 205));
        sky.setColorAt(1, QColor(236, 214, 190));
    } else {
        sky.setColorAt(0, QColor(48, 110, 190));
        sky.setColorAt(1, QColor(196, 222, 242));
    }
    p.fillRect(QRectF(0, 0, PhotosPainter::Width, horizon + 1), sky);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        const double x = noise.between(-60, PhotosPainter::Width);
        const double y = noise.between(20, horizon * 0.55);
        const double w = noise.between(90, 200);
        for (int puff = 0; puff < 5; ++puff) {
            p.setBrush(QColor(255, 255, 255, 70 + puff * 12));
            p.drawEllipse(
                QRectF(x + puff * w / 6, y - noise.between(0, 14), w / 2.2, noise.between(20, 34)));
        }
    }
}

void paintHills(QPainter& p, Noise& noise, double horizon)
{
    const QColor layers[] = {QColor(128, 150, 160), QColor(96, 128, 98)};
    for (int layer = 0; layer < 2; ++layer) {
        QPainterPath ridge;
        ridge.moveTo(0, horizon + 1);
        const double height = noise.between(25, 60) / (layer + 1);
        const double phase = noise.between(0, 6.28);
        const double waves = noise.between(1.5, 3.5);
        for (int x = 0; x <= PhotosPainter::Width; x += 8) {
            const double t = double(x) / PhotosPainter::Width;
            ridge.lineTo(x, horizon - height * (0.6 + 0.4 * std::sin(phase + t * waves * 6.28)) -
                                layer * 4);
        }
        ridge.lineTo(PhotosPainter::Width, horizon + 1);
        ridge.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(layers[layer]);
        p.drawPath(ridge);
    }
}

// The road from the bottom of the picture to its vanishing point; t runs from 0 at the
// horizon to 1 at the bottom, with the compression of a perspective view.
struct Road
{
    QPointF vanishing;
    double bottomLeft;
    double bottomRight;

    double y(double t) const { return vanishing.y() + (PhotosPainter::Height - vanishing.y()) * t; }
    double x(double t, double across) const // across: 0 left edge, 1 right edge
    {
        const double left = vanishing.x() - 5 + (bottomLeft - vanishing.x() + 5) * t;
        const double right = vanishing.x() + 5 + (bottomRight - vanishing.x() - 5) * t;
        return left + (right - left) * across;
    }
    QPointF at(double t, double across) const { return {x(t, across), y(t)}; }
};

void paintRoad(QPainter& p, const Road& road)
{
    QLinearGradient ground(0, road.vanishing.y(), 0, PhotosPainter::Height);
    ground.setColorAt(0, QColor(112, 146, 74));
    ground.setColorAt(1, QColor(62, 104, 38));
    p.fillRect(QRectF(0, road.vanishing.y(), PhotosPainter::Width,
                      PhotosPainter::Height - road.vanishing.y()),
               ground);

    QPolygonF shoulder{road.at(0, -0.12), road.at(0, 1.12), road.at(1, 1.12), road.at(1, -0.12)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 140, 118));
    p.drawPolygon(shoulder);

    QLinearGradient asphalt(0, road.vanishing.y(), 0, PhotosPainter::Height);
    asphalt.setColorAt(0, QColor(128, 128, 132));
    asphalt.setColorAt(1, QColor(62, 62, 66));
    p.setBrush(asphalt);
    p.drawPolygon(QPolygonF{road.at(0, 0), road.at(0, 1), road.at(1, 1), road.at(1, 0)});

    // Edge lines, and the dashed centre line whose dashes shorten towards the horizon.
    for (double edge : {0.03, 0.97}) {
        p.setBrush(QColor(236, 236, 230));
        p.drawPolygon(QPolygonF{road.at(0, edge - 0.004), road.at(0, edge + 0.004),
                                road.at(1, edge + 0.012), road.at(1, edge - 0.012)});
    }
    p.setBrush(QColor(232, 196, 48));
    for (int i = 0; i < 14; ++i) {
        const double t0 = std::pow(double(i) / 14, 2.0);
        const double t1 = std::pow((i + 0.5) / 14, 2.0);
        const double w0 = 0.003 + 0.008 * t0;
        const double w1 = 0.003 + 0.008 * t1;
        p.drawPolygon(QPolygonF{road.at(t0, 0.5 - w0), road.at(t0, 0.5 + w0), road.at(t1, 0.5 + w1),
                                road.at(t1, 0.5 - w1)});
    }

    // The counting loops cut into the near lane.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(34, 34, 36), 2.2));
    for (double t : {0.42, 0.58}) {
        const double t1 = t + 0.07;
        p.drawPolygon(
            QPolygonF{road.at(t, 0.6), road.at(t, 0.88), road.at(t1, 0.88), road.at(t1, 0.6)});
    }
}

void paintPoles(QPainter& p, const Road& road, double side)
{
    p.setPen(QPen(QColor(88, 70, 52), 1));
    for (int i = 1; i < 7; ++i) {
        const double t = std::pow(double(i) / 7, 1.6);
        const QPointF foot = road.at(t, side);
        const double height = 10 + 170 * t;
        p.setPen(QPen(QColor(88, 70, 52), 1 + 4 * t));
        p.drawLine(foot, foot - QPointF(0, height));
        p.setPen(QPen(QColor(88, 70, 52), 1 + 2 * t));
        p.drawLine(foot - QPointF(12 * t + 2, height * 0.94),
                   foot - QPointF(-12 * t - 2, height * 0.94));
    }
}

void paintCabinet(QPainter& p, const Road& road, double side)
{
    // Beside the road, but inside the picture whatever the viewpoint.
    const QPointF beside = road.at(0.5, side);
    const QPointF foot(qBound(70.0, beside.x(), PhotosPainter::Width - 70.0), beside.y());
    const double w = 58, h = 78;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 50, 20, 90));
    p.drawEllipse(QRectF(foot.x() - w * 0.6, foot.y() - 6, w * 1.4, 14));
    p.setBrush(QColor(96, 96, 92));
    p.drawRect(QRectF(foot.x() - 4, foot.y() - 70, 8, 70));
    QLinearGradient metal(foot.x() - w / 2, 0, foot.x() + w / 2, 0);
    metal.setColorAt(0, QColor(196, 198, 192));
    metal.setColorAt(1, QColor(138, 142, 136));
    p.setBrush(metal);
    p.setPen(QPen(QColor(70, 72, 70), 1.5));
    const QRectF box(foot.x() - w / 2, foot.y() - 70 - h, w, h);
    p.drawRect(box);
    p.drawLine(box.center().x(), box.top() + 4, box.center().x(), box.bottom() - 4);
    p.setBrush(QColor(30, 48, 90));
    p.drawPolygon(QPolygonF{box.topLeft() + QPointF(-6, -4), box.topRight() + QPointF(6, -4),
                            box.topRight() + QPointF(-2, -24), box.topLeft() + QPointF(2, -24)});
}

void paintCaption(QPainter& p, const PhotosSubject& s)
{
    const QRectF band(0, PhotosPainter::Height - 70, PhotosPainter::Width, 70);
    p.fillRect(band, QColor(0, 0, 0, 150));
    p.setPen(Qt::white);
    p.setFont(font(20, true));
    p.drawText(band.adjusted(16, 6, -16, 0), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Station %1").arg(s.station));
    p.drawText(band.adjusted(16, 6, -16, 0), Qt::AlignRight | Qt::AlignTop, s.name + ".jpg");
    p.setFont(font(14));
    p.drawText(band.adjusted(16, 34, -16, 0), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("%1, %2  -  %3, %4 County")
                   .arg(s.route, s.location.trimmed(), s.municipality, s.county));
    p.drawText(band.adjusted(16, 34, -16, 0), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("photo %1 of %2").arg(s.index + 1).arg(s.count));
    p.setPen(QColor(255, 170, 40));
    p.setFont(font(16, true));
    p.drawText(QRectF(0, 10, PhotosPainter::Width - 16, 24), Qt::AlignRight,
               QStringLiteral("AADT %1  %2").arg(s.aadt, s.year));
}

QImage paintPhoto(const PhotosSubject& s)
{
    QImage image(PhotosPainter::Width, PhotosPainter::Height, QImage::Format_RGB32);
    Noise noise(s.name);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double horizon = noise.between(190, 250);
    paintSky(p, noise, horizon, s.index % 3);
    paintHills(p, noise, horizon);
    // Each photo of a station looks along the road from a slightly different place.
    const double shift = (s.index % 2 ? 1 : -1) * noise.between(30, 170);
    const Road road{QPointF(PhotosPainter::Width / 2 + shift, horizon), noise.between(-260, 40),
                    noise.between(760, 1060)};
    paintRoad(p, road);
    const bool cabinetRight = s.index % 2 == 0;
    paintPoles(p, road, cabinetRight ? -0.35 : 1.35);
    paintCabinet(p, road, cabinetRight ? 1.3 : -0.3);
    paintCaption(p, s);
    return image;
}

// ---- the sketch --------------------------------------------------------------------

// A pencil line: a slightly wandering stroke drawn twice.
void pencil(QPainter& p, Noise& noise, QPointF a, QPointF b, double width = 1.6)
{
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF normal = length > 0 ? QPointF(-d.y() / length, d.x() / length) : QPointF();
    const int steps = qMax(2, int(length / 40));
    for (int pass = 0; pass < 2; ++pass) {
        QPainterPath path(a + normal * noise.between(-1, 1));
        for (int i = 1; i <= steps; ++i)
            path.lineTo(a + d * (double(i) / steps) + normal * noise.between(-1.4, 1.4));
        p.setPen(QPen(QColor(50, 52, 60, pass ? 110 : 220), pass ? width * 0.6 : width,
                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

void arrowHead(QPainter& p, Noise& noise, QPointF tip, QPointF from)
{
    const QPointF d = tip - from;
    const double length = std::hypot(d.x(), d.y());
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    pencil(p, noise, tip, tip - u * 12 + n * 6, 1.3);
    pencil(p, noise, tip, tip - u * 12 - n * 6, 1.3);
}

QImage paintSketch(const PhotosSubject& s)
{
    QImage image(PhotosPainter::Width, PhotosPainter::Height, QImage::Format_RGB32);
    image.fill(QColor(250, 248, 238));
    Noise noise(s.name);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(QPen(QColor(190, 214, 226), 1));
    for (int x = 20; x < PhotosPainter::Width; x += 20)
        p.drawLine(x, 0, x, PhotosPainter::Height);
    for (int y = 20; y < PhotosPainter::Height; y += 20)
        p.drawLine(0, y, PhotosPainter::Width, y);

    // "1.6 MI E OF CR 614": the station lies east of the cross road at that distance;
    // "N OF BROAD ST INTERCHANGE" gives no distance.
    static const QRegularExpression form(
        QStringLiteral("^\\s*(?:([0-9.]+)\\s*MI\\s+)?([NSEW]{1,2})\\s+OF\\s+(.+?)\\s*$"));
    const QRegularExpressionMatch m = form.match(s.location);
    const QString distance =
        m.captured(1).isEmpty() ? QString() : m.captured(1) + QStringLiteral(" MI");
    const QString direction = m.hasMatch() ? m.captured(2) : QStringLiteral("E");
    const QString crossRoad = m.hasMatch() ? m.captured(3) : s.location.trimmed();
    const bool stationRight = !direction.contains(QLatin1Char('W'));

    const double top = 190, bottom = 290, middle = (top + bottom) / 2;
    const double crossX = stationRight ? 170 : 630;
    const double stationX = stationRight ? 560 : 240;

    // The route, the cross road and their corner.
    pencil(p, noise, {20, top}, {crossX - 40, top});
    pencil(p, noise, {crossX + 40, top}, {780, top});
    pencil(p, noise, {20, bottom}, {crossX - 40, bottom});
    pencil(p, noise, {crossX + 40, bottom}, {780, bottom});
    pencil(p, noise, {crossX - 40, 40}, {crossX - 40, top});
    pencil(p, noise, {crossX + 40, 40}, {crossX + 40, top});
    pencil(p, noise, {crossX - 40, bottom}, {crossX - 40, 420});
    pencil(p, noise, {crossX + 40, bottom}, {crossX + 40, 420});
    for (double x = 30; x < 770; x += 46) {
        if (std::abs(x - crossX) > 50)
            pencil(p, noise, {x, middle}, {x + 22, middle}, 1.2);
    }

    // The counting loops in both lanes and the cabinet beside the road.
    for (double laneTop : {top + 12, middle + 12}) {
        for (double dx : {-46.0, 14.0}) {
            const QRectF loop(stationX + dx, laneTop, 32, 26);
            pencil(p, noise, loop.topLeft(), loop.topRight(), 1.3);
            pencil(p, noise, loop.topRight(), loop.bottomRight(), 1.3);
            pencil(p, noise, loop.bottomRight(), loop.bottomLeft(), 1.3);
            pencil(p, noise, loop.bottomLeft(), loop.topLeft(), 1.3);
        }
    }
    const QRectF cabinet(stationX - 14, top - 62, 28, 20);
    pencil(p, noise, cabinet.topLeft(), cabinet.topRight());
    pencil(p, noise, cabinet.topRight(), cabinet.bottomRight());
    pencil(p, noise, cabinet.bottomRight(), cabinet.bottomLeft());
    pencil(p, noise, cabinet.bottomLeft(), cabinet.topLeft());
    pencil(p, noise, {stationX, cabinet.bottom()}, {stationX, top + 12}, 1.0);

    const QColor ink(40, 44, 56);
    p.setPen(ink);
    p.setFont(font(17, true, true));
    p.drawText(QRectF(stationX - 140, top - 112, 280, 22), Qt::AlignCenter,
               QStringLiteral("COUNT STATION %1").arg(s.station));
    p.setFont(font(16, false, true));
    p.drawText(QRectF(20, bottom + 8, 760, 22), stationRight ? Qt::AlignRight : Qt::AlignLeft,
               s.route);
    p.save();
    p.translate(crossX + 58, 64);
    p.rotate(90);
    p.drawText(QPointF(0, 0), crossRoad);
    p.restore();

    // The distance from the cross road to the station.
    const double dimY = bottom + 62;
    pencil(p, noise, {crossX, dimY}, {stationX, dimY}, 1.2);
    arrowHead(p, noise, {crossX, dimY}, {stationX, dimY});
    arrowHead(p, noise, {stationX, dimY}, {crossX, dimY});
    p.setPen(ink);
    if (!distance.isEmpty())
        p.drawText(QRectF(qMin(crossX, stationX), dimY + 4, std::abs(stationX - crossX), 22),
                   Qt::AlignCenter, distance);

    // North arrow: the direction of the location text points from the cross road to
    // the station, which the sketch draws to the side the station lies on.
    const QPointF north(720, 70);
    double angle = 0; // degrees, clockwise from straight up
    if (direction.startsWith(QLatin1Char('N')))
        angle = stationRight ? 90 : -90;
    else if (direction.startsWith(QLatin1Char('S')))
        angle = stationRight ? -90 : 90;
    p.save();
    p.translate(north);
    p.rotate(angle);
    pencil(p, noise, {0, 34}, {0, -34});
    arrowHead(p, noise, {0, -34}, {0, 34});
    p.setPen(ink);
    p.setFont(font(18, true));
    p.drawText(QRectF(-12, -62, 24, 24), Qt::AlignCenter, QStringLiteral("N"));
    p.restore();

    // Title block.
    const QRectF block(430, 420, 350, 112);
    pencil(p, noise, block.topLeft(), block.topRight());
    pencil(p, noise, block.topRight(), block.bottomRight());
    pencil(p, noise, block.bottomRight(), block.bottomLeft());
    pencil(p, noise, block.bottomLeft(), block.topLeft());
    p.setPen(ink);
    p.setFont(font(18, true));
    p.drawText(block.adjusted(12, 8, -12, 0), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Station %1").arg(s.station));
    p.setFont(font(13, false, true));
    p.drawText(
        block.adjusted(12, 36, -12, 0), Qt::AlignLeft | Qt::AlignTop,
        QStringLiteral("Sketch %1.jpg  (%2 of %3)").arg(s.name).arg(s.index + 1).arg(s.count));
    p.drawText(block.adjusted(12, 56, -12, 0), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("%1, %2 County").arg(s.municipality, s.county));
    p.drawText(block.adjusted(12, 76, -12, 0), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("AADT %1 (%2)  -  not to scale").arg(s.aadt, s.year));
    return image;
}

} // namespace

QImage PhotosPainter::paint(const PhotosSubject& subject)
{
    return subject.sketch ? paintSketch(subject) : paintPhoto(subject);
}
