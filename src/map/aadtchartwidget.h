#pragma once

#include "map/aadtchartview.h"

#include <QChartView>

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QValueAxis;
class ChartTitleItem;

// The AADT chart "Chart1": one red bar per station over a dark-blue-to-white gradient,
// the highlighted bar in yellow, and a red-on-yellow title; reports the bar under the
// pointer and clicks.
class AadtChartWidget final : public QChartView, public AadtChartView
{
    Q_OBJECT

public:
    explicit AadtChartWidget(QWidget* parent = nullptr);
    ~AadtChartWidget() override;

    void clearBars() override;
    void addBar(double value) override;
    int barCount() const override;
    double barValue(int index) const override;
    void setBarColour(int index, BarColour colour) override;
    void setTitle(const QString& title) override;
    void takeFocus() override { setFocus(Qt::OtherFocusReason); }

    QString title() const { return m_title; }
    bool isBarHighlighted(int index) const;
    // The bar under a point of the viewport; -1 for none.
    int barAt(const QPoint& viewportPoint);
    // The centre of a bar's top edge in viewport coordinates (for tests and tools).
    QPoint barTop(int index);
    QBarSeries* series() const { return m_series; }
    QValueAxis* valueAxis() const { return m_valueAxis; }

signals:
    // The pointer moved over the chart; barIndex is -1 over empty chart space.
    void pointerMoved(int barIndex);
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void flushBars() const;
    void placeTitle();

    QBarSeries* m_series;
    QBarSet* m_set;
    QBarCategoryAxis* m_categoryAxis;
    QValueAxis* m_valueAxis;
    ChartTitleItem* m_titleItem;
    QString m_title;
    // Bars added since the last read; appended at once, as each append relayouts the chart.
    mutable QList<qreal> m_pending;
};
