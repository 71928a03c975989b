#include "data/areatree.h"

#include "data/querycomposer.h"
#include "data/stationdata.h"

QList<CountyArea> AreaTree::build(StationData& data, const QString& table)
{
    Cursor& counties = data.stationQuery();
    Cursor& lookup = data.lookupQuery();
    counties.close();
    lookup.close();
    QList<CountyArea> areas;
    try {
        counties.setSql(QueryComposer::countiesStatement(table));
        counties.open();
        for (; !counties.eof(); counties.next()) {
            CountyArea county{counties.fieldText(0), {}};
            lookup.close();
            lookup.setSql(QueryComposer::municipalitiesStatement(table, county.name));
            lookup.open();
            for (; !lookup.eof(); lookup.next())
                county.municipalities << lookup.fieldText(0);
            lookup.close();
            areas << county;
        }
    } catch (...) {
        counties.close();
        lookup.close();
        throw;
    }
    counties.close();
    return areas;
}
