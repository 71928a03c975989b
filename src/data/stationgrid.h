#pragma once

#include <QTableView>

#include <functional>

class AddressOpener;
class GridIndicatorHeader;
class MessageSink;
class ResultSetModel;
class StationData;

// The station grid: a read-only table over the result set whose station-number and
// report cells act as links, whose title row sorts, and whose current row follows the
// result set's current record both ways.
class StationGrid final : public QTableView
{
    Q_OBJECT

public:
    static constexpr int ColumnWidth = 100;
    static constexpr int LocationWidth = 300;
    static constexpr int ReportWidth = 200;

    struct Links
    {
        AddressOpener* addresses = nullptr;
        QString reportServer; // scheme and host of the report pages
        MessageSink* messages = nullptr;
    };

    StationGrid(StationData& data, std::function<QString()> currentTable, const Links& links,
                QWidget* parent = nullptr);

    ResultSetModel* resultModel() const { return m_model; }
    GridIndicatorHeader* indicator() const { return m_indicator; }

    // The column layout after every load: every column 100 wide, Location 300, AADT
    // Report 200, Images hidden.
    void layoutColumns();
    // Shading of every other row, in the grid's alternate colour.
    void setRowShading(bool on) { setAlternatingRowColors(on); }

    // The hint state that the pointer left behind.
    bool hintShown() const { return m_hintShown; }

    // The raw cell under a point of the grid: column 0 is the indicator column, data
    // columns count display positions from 1; row 0 is the title row; -1 outside.
    QPoint rawCellAt(const QPoint& gridPos) const;

    // Pointer moved to a point of the grid: sets hint and cursor.
    void RzDBGrid1MouseMove(const QPoint& gridPos);
    // A left click made this cell current.
    void RzDBGrid1CellClick(const QModelIndex& index);

signals:
    void photoRequested(const QString& stationNumber, const QString& imageNames);
    void titleClicked(const QString& fieldName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followRecord(int recNo);

    StationData& m_data;
    Links m_links;
    ResultSetModel* m_model;
    GridIndicatorHeader* m_indicator;
    bool m_hintShown = false;
    bool m_following = false;
    int m_lastColumn = 0;
};
