#pragma once

#include <QString>
#include <QStringList>

// Small station databases for tests, written with the SQLite C API.
namespace FixtureDb {

// The twelve station columns with their declared types.
QString stationColumns();

// Creates a database file (replacing one that exists) and runs the statements in it.
void create(const QString& path, const QStringList& statements);

// A station row as an INSERT for the table; values are SQL literals (NULL, 'text', 1.5).
QString insert(const QString& table, const QStringList& values);

// A row of the station table with the usual values, overriding county and
// municipality, station number and AADT.
QString station(const QString& table, const QString& number, const QString& county,
                const QString& municipality, int aadt, const QString& images = QStringLiteral("NULL"));

} // namespace FixtureDb
