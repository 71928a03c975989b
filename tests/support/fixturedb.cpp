#include "support/fixturedb.h"

#include <sqlite3.h>

#include <QFile>
#include <QTest>

QString FixtureDb::stationColumns()
{
    return QStringLiteral("(SI_STATION_NUM TEXT PRIMARY KEY, SI_SRI TEXT, SI_MP NUMERIC, "
                          "SI_STREET_NAME TEXT, SI_LOCATION TEXT, SI_LAT NUMERIC, SI_LON NUMERIC, "
                          "AADT INTEGER, REPORT TEXT, municipality_descr TEXT, county_descr TEXT, "
                          "IMAGENAMES TEXT)");
}

void FixtureDb::create(const QString& path, const QStringList& statements)
{
    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        qFatal("cannot create fixture %s", qPrintable(path));
    for (const QString& s : statements) {
        char* err = nullptr;
        if (sqlite3_exec(db, s.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
            qFatal("fixture statement failed: %s: %s", err, qPrintable(s));
    }
    sqlite3_close(db);
}

QString FixtureDb::insert(const QString& table, const QStringList& values)
{
    return QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(table, values.join(QLatin1Char(',')));
}

QString FixtureDb::station(const QString& table, const QString& number, const QString& county,
                           const QString& municipality, int aadt, const QString& images)
{
    auto quote = [](QString s) { return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\''); };
    return insert(table, {quote(number), QStringLiteral("'00000202__'"), QStringLiteral("31.28"),
                          QStringLiteral("'MAIN ST'"), QStringLiteral("'BET OAK RD & ELM ST'"),
                          QStringLiteral("40.6704"), QStringLiteral("-74.6438"), QString::number(aadt),
                          quote(number + QStringLiteral("-wrpt-08_01_02_08.html")), quote(municipality),
                          quote(county), images});
}
