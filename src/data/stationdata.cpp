#include "data/stationdata.h"

StationData::StationData(QObject* parent) : QObject(parent) {}

void StationData::open(const QString& path)
{
    m_resultSet.close();
    m_stationQuery.close();
    m_lookupQuery.close();
    m_db.open(path);
}

QStringList StationData::tableCatalog()
{
    m_lookupQuery.close();
    m_lookupQuery.setSql(QueryComposer::tableCatalogStatement());
    m_lookupQuery.open();
    QStringList names;
    for (; !m_lookupQuery.eof(); m_lookupQuery.next())
        names << m_lookupQuery.fieldText(0);
    return names;
}

int StationData::runQuery(const QString& statement)
{
    m_resultSet.close();
    m_stationQuery.close();
    m_stationQuery.setSql(statement);
    // The statement runs once: the result set executes it and keeps every row.
    m_resultSet.load(m_stationQuery);
    emit queryRan(m_resultSet.recordCount());
    return m_resultSet.recordCount();
}

QStringList StationData::lookupColumn(const QString& statement)
{
    m_lookupQuery.close();
    m_lookupQuery.setSql(statement);
    m_lookupQuery.open();
    QStringList values;
    for (; !m_lookupQuery.eof(); m_lookupQuery.next())
        values << m_lookupQuery.fieldText(0);
    m_lookupQuery.close();
    return values;
}

bool StationData::hasPhotos(const QString& table, const QString& stationNumber)
{
    m_lookupQuery.close();
    m_lookupQuery.setSql(QueryComposer::photoPresenceStatement(table, stationNumber));
    m_lookupQuery.open();
    if (m_lookupQuery.eof()) {
        m_lookupQuery.close();
        return false;
    }
    return true;
}
