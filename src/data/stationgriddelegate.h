#pragma once

#include <QStyledItemDelegate>

#include <functional>

class MessageSink;
class StationData;

// Paints every data cell of the station grid: the report icon before a report name,
// the photo icon (colour, or grey with grey text) before a station number, the text
// 2 pixels in from the cell's edge. The photo test runs for every painted
// station-number cell against the current table.
class StationGridDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    StationGridDelegate(StationData& data, std::function<QString()> currentTable,
                        MessageSink* messages, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    bool photoTest(const QString& stationNumber) const;

    StationData& m_data;
    std::function<QString()> m_currentTable;
    MessageSink* m_messages;
    // A failing photo test would fail for every painted cell; it is reported once until
    // a test succeeds again.
    mutable bool m_failureReported = false;
};
