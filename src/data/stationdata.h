#pragma once

#include "data/cursor.h"
#include "data/database.h"
#include "data/querycomposer.h"
#include "data/resultset.h"

#include <QObject>
#include <QStringList>

// The station data that the main window shares among its views: the connection, its two
// query channels (the station query behind the result set and the lookup query), the
// result set, the query state, and the query runner.
class StationData final : public QObject
{
    Q_OBJECT

public:
    explicit StationData(QObject* parent = nullptr);

    Database& database() { return m_db; }
    Cursor& stationQuery() { return m_stationQuery; }
    Cursor& lookupQuery() { return m_lookupQuery; }
    ResultSet& resultSet() { return m_resultSet; }
    const ResultSet& resultSet() const { return m_resultSet; }
    QueryComposer& composer() { return m_composer; }

    void open(const QString& path);

    // The table names, upper-cased, in descending order of their stored names. The
    // lookup query is left open at its end.
    QStringList tableCatalog();

    // The query runner: reloads the result set from the statement and reports the new
    // record count through queryRan. A rejected statement raises the engine's error and
    // leaves the result set closed.
    int runQuery(const QString& statement);

    // Runs a statement on the lookup query and returns the first field of every row as
    // text; the lookup query is closed afterwards.
    QStringList lookupColumn(const QString& statement);

    // True when the station has photo names in the table. The lookup query stays open
    // after a test that found photos, as the next user of it closes it first.
    bool hasPhotos(const QString& table, const QString& stationNumber);

signals:
    void queryRan(int recordCount);

private:
    Database m_db;
    Cursor m_stationQuery{m_db};
    Cursor m_lookupQuery{m_db};
    ResultSet m_resultSet;
    QueryComposer m_composer;
};
