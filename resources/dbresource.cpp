#include "dbresource.h"

#include <QtGlobal>

QString stationDatabaseResource()
{
    registerStationDatabaseResource();
    return QStringLiteral(":/rcdata/zarndatabase");
}

void registerStationDatabaseResource()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(station_database);
        return true;
    }();
    Q_UNUSED(registered);
}
