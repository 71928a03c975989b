#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class StationData;

// A county of the area navigator with its municipalities, in the engine's order.
struct CountyArea
{
    QString name;
    QStringList municipalities;

    bool operator==(const CountyArea&) const = default;
};

// Reads the counties and municipalities of a table for the area navigator, and holds
// the navigator's rule for marking a selected entry.
class AreaTree final
{
public:
    // The counties of the table, each with its municipalities, in the order in which the
    // engine returns them (no sorting). The counties come through the station query, the
    // municipalities of each county through the lookup query; both are closed afterwards.
    static QList<CountyArea> build(StationData& data, const QString& table);

    // A selected entry that is not the first among its siblings is drawn red on yellow.
    static bool marksSelection(bool selected, int siblingIndex)
    {
        return selected && siblingIndex != 0;
    }
};
