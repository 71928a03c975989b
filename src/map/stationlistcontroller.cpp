#include "map/stationlistcontroller.h"

#include "data/resultset.h"
#include "data/stationfields.h"
#include "map/aadtchartview.h"
#include "map/stationlistview.h"
#include "platform/stradexerror.h"

#include <cmath>

StationListController::StationListController(ResultSet& resultSet, StationListView& list,
                                             AadtChartView& chart, MarkerCall showMarker,
                                             TabCheck mapTabShowing, FieldColumn fieldColumn)
    : m_resultSet(resultSet)
    , m_list(list)
    , m_chart(chart)
    , m_showMarker(std::move(showMarker))
    , m_mapTabShowing(std::move(mapTabShowing))
    , m_fieldColumn(fieldColumn ? std::move(fieldColumn)
                                : FieldColumn([](int field) { return field - 1; }))
{
}

QString StationListController::formatValue(double value, const QLocale& locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    QString text = grouped.toString(value, 'f', 3);
    // "#,##0.###": the three decimals are optional digits.
    const QString point = grouped.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(grouped.zeroDigit()))
            text.chop(grouped.zeroDigit().size());
        if (text.endsWith(point))
            text.chop(point.size());
    }
    if (text == QLatin1Char('-') + grouped.zeroDigit())
        text = grouped.zeroDigit();
    return text;
}

void StationListController::FillStationList(int nameColumn, const QString& caption)
{
    if (m_mapTabShowing()) {
        const int aadt = m_resultSet.fieldIndex(QStringLiteral("AADT"));
        if (aadt < 0)
            throw StradexError(QStringLiteral("Field 'AADT' not found"));
        if (nameColumn < 0 || nameColumn >= m_resultSet.fieldCount())
            throw StradexError(QStringLiteral("The station list has no naming column"));
        m_list.beginUpdate();
        m_list.clear();
        m_list.addNode(QStringLiteral("Stations in ") + caption, HeaderIcon);
        // The grid follows the walk only once it is over, so it does not repaint per row.
        m_resultSet.disableControls();
        m_resultSet.first();
        m_chart.clearBars();
        while (!m_resultSet.eof()) {
            const int row = m_resultSet.recNo();
            m_list.addNode(QStringLiteral("Station number ") + m_resultSet.text(row, nameColumn),
                           StationIcon);
            m_chart.addBar(double(m_resultSet.integer(row, aadt)));
            m_resultSet.next();
        }
        m_resultSet.enableControls();
        m_list.endUpdate();
    }
    m_chart.setTitle(QString::fromLatin1(ChartTitle));
}

QString StationListController::fieldText(int row, int fieldNumber) const
{
    const int column = m_fieldColumn(fieldNumber);
    if (column < 0 || column >= m_resultSet.fieldCount())
        return {};
    return m_resultSet.text(row, column);
}

void StationListController::stationTVClick()
{
    if (m_list.nodeCount() == 0)
        return;
    const int record = m_list.selectedIndex() - 1;
    if (record < 0 || record >= m_resultSet.recordCount())
        return;
    m_resultSet.setRecNo(record);
    using namespace StationField;
    StationMarker station;
    station.latitude = fieldText(record, Latitude);
    station.longitude = fieldText(record, Longitude);
    station.stationNumber = fieldText(record, StationNumber);
    station.sri = fieldText(record, Sri);
    station.milePost = fieldText(record, MilePost);
    station.municipality = fieldText(record, Municipality);
    station.streetName = fieldText(record, StreetRouteName);
    station.aadt = fieldText(record, Aadt);
    station.imageNames = fieldText(record, Images);
    m_showMarker(station);
}

void StationListController::highlight(int bar)
{
    // The old highlight is only restored while its bar still exists.
    if (m_highlightedBar < m_list.nodeCount() - 1)
        m_chart.setBarColour(m_highlightedBar, AadtChartView::BarColour::Red);
    m_chart.setBarColour(bar, AadtChartView::BarColour::Yellow);
    m_chart.setTitle(QString::fromLatin1(VolumeTitle) +
                     formatValue(m_chart.barValue(bar), m_locale));
    m_highlightedBar = bar;
}

void StationListController::stationTVMouseMove(int nodeIndex)
{
    if (nodeIndex <= 0 || nodeIndex - 1 >= m_chart.barCount())
        return;
    highlight(nodeIndex - 1);
}

void StationListController::Chart1MouseMove(int barIndex)
{
    if (barIndex < 0 || barIndex >= m_chart.barCount()) {
        m_chart.takeFocus();
        return;
    }
    highlight(barIndex);
    m_list.takeFocus();
    m_list.selectNode(barIndex + 1);
}
