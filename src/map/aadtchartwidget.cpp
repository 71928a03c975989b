#include "map/aadtchartwidget.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QGraphicsItem>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);
constexpr int TitleMargin = 26; // room above the plot for the title box
} // namespace

// The chart's title: red text in a yellow box with a 1-pixel shadow at about half
// transparency.
class ChartTitleItem final : public QGraphicsItem
{
public:
    QRectF boundingRect() const override { return QRectF(m_box).adjusted(0, 0, 1, 1); }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        painter->fillRect(m_box.translated(1, 1), QColor(0, 0, 0, 130));
        painter->fillRect(m_box, Yellow);
        painter->setPen(Red);
        painter->setFont(m_font);
        painter->drawText(m_box, Qt::AlignCenter, m_text);
    }

    void setText(const QString& text, const QFont& font, const QPointF& topCentre)
    {
        prepareGeometryChange();
        m_text = text;
        m_font = font;
        const QFontMetrics fm(font);
        const int w = fm.horizontalAdvance(text) + 10;
        const int h = fm.height() + 4;
        m_box = QRect(int(topCentre.x() - w / 2.0), int(topCentre.y()), w, h);
        update();
    }

private:
    QString m_text;
    QFont m_font;
    QRect m_box;
};

AadtChartWidget::AadtChartWidget(QWidget* parent)
    : QChartView(parent)
    , m_series(new QBarSeries)
    , m_set(new QBarSet(QStringLiteral("Bar")))
    , m_categoryAxis(new QBarCategoryAxis)
    , m_valueAxis(new QValueAxis)
    , m_titleItem(new ChartTitleItem)
{
    setObjectName(QStringLiteral("Chart1"));
    setAccessibleName(QStringLiteral("AADT chart"));
    setCursor(Qt::PointingHandCursor);
    setFrameShape(QFrame::NoFrame);
    setRenderHint(QPainter::Antialiasing, false);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setRubberBand(QChartView::NoRubberBand);
    setDragMode(QGraphicsView::NoDrag);

    QChart* c = chart();
    c->legend()->hide();
    c->setBackgroundRoundness(0);
    c->setMargins(QMargins(2, TitleMargin, 6, 2));
    QLinearGradient background(0, 0, 0, 1);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0, QColor(0, 32, 64));
    background.setColorAt(1, QColor(255, 255, 255));
    c->setBackgroundBrush(background);
    c->setPlotAreaBackgroundVisible(false);
    c->setAnimationOptions(QChart::NoAnimation);
    // The axis writes its labels with the user's digit grouping.
    QLocale grouped;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    c->setLocale(grouped);
    c->setLocalizeNumbers(true);

    m_set->setColor(Red);
    // No outline: on narrow bars it would hide the highlight colour.
    m_set->setPen(Qt::NoPen);
    m_set->setSelectedColor(Yellow);
    m_series->append(m_set);
    m_series->setLabelsVisible(false);
    m_series->setBarWidth(0.8);
    c->addSeries(m_series);
    c->addAxis(m_categoryAxis, Qt::AlignBottom);
    c->addAxis(m_valueAxis, Qt::AlignLeft);
    m_series->attachAxis(m_categoryAxis);
    m_series->attachAxis(m_valueAxis);
    m_categoryAxis->setVisible(false);
    m_valueAxis->setLabelsBrush(QBrush(Qt::white));
    m_valueAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_valueAxis->setRange(0, 1);

    scene()->addItem(m_titleItem);
    m_titleItem->setZValue(10);
    setTitle(QStringLiteral("AADT Chart"));
}

AadtChartWidget::~AadtChartWidget() = default;

void AadtChartWidget::flushBars() const
{
    if (m_pending.isEmpty())
        return;
    const QList<qreal> values = std::exchange(m_pending, {});
    m_set->append(values);
    const qreal top = *std::max_element(values.begin(), values.end());
    if (top > m_valueAxis->max()) {
        m_valueAxis->setRange(0, top);
        m_valueAxis->applyNiceNumbers();
    }
    QStringList categories;
    for (int i = m_categoryAxis->count(); i < m_set->count(); ++i)
        categories << QString::number(i);
    m_categoryAxis->append(categories);
}

void AadtChartWidget::clearBars()
{
    m_pending.clear();
    m_set->remove(0, m_set->count());
    m_categoryAxis->clear();
    m_valueAxis->setRange(0, 1);
}

void AadtChartWidget::addBar(double value)
{
    if (m_pending.isEmpty())
        QTimer::singleShot(0, this, [this] { flushBars(); });
    m_pending << value;
}

int AadtChartWidget::barCount() const
{
    return int(m_set->count() + m_pending.size());
}

double AadtChartWidget::barValue(int index) const
{
    flushBars();
    return m_set->at(index);
}

void AadtChartWidget::setBarColour(int index, BarColour colour)
{
    flushBars();
    m_set->setBarSelected(index, colour == BarColour::Yellow);
}

bool AadtChartWidget::isBarHighlighted(int index) const
{
    flushBars();
    return m_set->isBarSelected(index);
}

void AadtChartWidget::setTitle(const QString& title)
{
    m_title = title;
    placeTitle();
}

void AadtChartWidget::placeTitle()
{
    QFont f = font();
    f.setBold(true);
    const QRectF frame = chart()->geometry();
    m_titleItem->setText(m_title, f, QPointF(frame.center().x(), frame.top() + 4));
}

int AadtChartWidget::barAt(const QPoint& viewportPoint)
{
    flushBars();
    const QPointF scenePoint = mapToScene(viewportPoint);
    const QPointF chartPoint = chart()->mapFromScene(scenePoint);
    if (!chart()->plotArea().contains(chartPoint))
        return -1;
    const QPointF value = chart()->mapToValue(chartPoint, m_series);
    const int index = int(std::lround(value.x()));
    if (index < 0 || index >= m_set->count())
        return -1;
    if (std::abs(value.x() - index) > m_series->barWidth() / 2)
        return -1;
    const qreal v = m_set->at(index);
    const bool within =
        v >= 0 ? value.y() >= 0 && value.y() <= v : value.y() <= 0 && value.y() >= v;
    return within ? index : -1;
}

QPoint AadtChartWidget::barTop(int index)
{
    flushBars();
    const QPointF chartPoint = chart()->mapToPosition(QPointF(index, m_set->at(index)), m_series);
    return mapFromScene(chart()->mapToScene(chartPoint));
}

void AadtChartWidget::mouseMoveEvent(QMouseEvent* event)
{
    QChartView::mouseMoveEvent(event);
    emit pointerMoved(barAt(event->position().toPoint()));
}

void AadtChartWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QChartView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void AadtChartWidget::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    placeTitle();
}
