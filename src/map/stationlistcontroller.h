#pragma once

#include "map/stationmarker.h"

#include <QLocale>
#include <QString>

#include <functional>

class AadtChartView;
class ResultSet;
class StationListView;

// The rules of the station list and the AADT chart: the fill from the result set, the
// highlight that follows the pointer, and the click that marks a station on the map.
class StationListController final
{
public:
    static constexpr const char* ChartTitle = "AADT Chart";
    static constexpr const char* VolumeTitle = "AADT Volume: ";
    static constexpr int HeaderIcon = 17;
    static constexpr int StationIcon = 15;

    using MarkerCall = std::function<void(const StationMarker&)>;
    using TabCheck = std::function<bool()>;
    // The grid column that shows a field number.
    using FieldColumn = std::function<int(int fieldNumber)>;

    // fieldColumn defaults to the grid's own order (field k in column k - 1).
    StationListController(ResultSet& resultSet, StationListView& list, AadtChartView& chart,
                          MarkerCall showMarker, TabCheck mapTabShowing,
                          FieldColumn fieldColumn = {});

    // Rebuilds the list and the bars from the result set while the map tab shows; the
    // chart title becomes "AADT Chart" in every case.
    void FillStationList(int nameColumn, const QString& caption);

    // A click in the list or on the chart: the selected station becomes the current
    // record and its marker is placed. The header, no selection or a node without a
    // record place nothing.
    void stationTVClick();
    // The pointer over list node nodeIndex (-1 for none).
    void stationTVMouseMove(int nodeIndex);
    // The pointer over bar barIndex (-1 for none).
    void Chart1MouseMove(int barIndex);

    // Whether a node is drawn red on yellow.
    static bool drawsHighlighted(int nodeIndex, bool selected)
    {
        return selected && nodeIndex != 0;
    }

    // A value as the chart's vertical axis writes it: digit grouping and up to three
    // decimals ("#,##0.###").
    static QString formatValue(double value, const QLocale& locale);

    int highlightedBar() const { return m_highlightedBar; }
    void setLocale(const QLocale& locale) { m_locale = locale; }

private:
    void highlight(int bar);
    QString fieldText(int row, int fieldNumber) const;

    ResultSet& m_resultSet;
    StationListView& m_list;
    AadtChartView& m_chart;
    MarkerCall m_showMarker;
    TabCheck m_mapTabShowing;
    FieldColumn m_fieldColumn;
    QLocale m_locale;
    int m_highlightedBar = 0;
};
