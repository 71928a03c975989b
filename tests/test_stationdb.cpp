// Checks the station database that the program embeds against what the program and
// its users rely on: schema, row counts, value forms and the particular rows.

#include "dbresource.h"

#include <sqlite3.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestStationDb : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    sqlite3* m_db = nullptr;

    QList<QVariantList> rows(const QString& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            qFatal("%s: %s", sqlite3_errmsg(m_db), qPrintable(sql));
        QList<QVariantList> out;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QVariantList row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_NULL:
                    row << QVariant();
                    break;
                case SQLITE_INTEGER:
                    row << qlonglong(sqlite3_column_int64(stmt, i));
                    break;
                case SQLITE_FLOAT:
                    row << sqlite3_column_double(stmt, i);
                    break;
                default:
                    row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
                }
            }
            out << row;
        }
        sqlite3_finalize(stmt);
        return out;
    }
    QVariant value(const QString& sql) { return rows(sql).value(0).value(0); }
    qlonglong count(const QString& sql) { return value(sql).toLongLong(); }
    QStringList column(const QString& sql)
    {
        QStringList out;
        for (const QVariantList& r : rows(sql))
            out << r.value(0).toString();
        return out;
    }

private slots:
    void initTestCase()
    {
        const QString file = m_dir.filePath(QStringLiteral("zarn.db"));
        QVERIFY(QFile::copy(stationDatabaseResource(), file));
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    }
    void cleanupTestCase() { sqlite3_close(m_db); }

    void fileFormat()
    {
        QCOMPARE(count(QStringLiteral("PRAGMA page_size")), 1024);
        QCOMPARE(value(QStringLiteral("PRAGMA encoding")).toString(), QStringLiteral("UTF-8"));
        QCOMPARE(column(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name")),
                 QStringList({"aadt 2007", "aadt 2008", "all data"}));
    }

    void tables_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("keyed");
        QTest::newRow("aadt 2007") << "aadt 2007" << 957 << true;
        QTest::newRow("aadt 2008") << "aadt 2008" << 1040 << true;
        QTest::newRow("all data") << "all data" << 1997 << false;
    }
    void tables()
    {
        QFETCH(QString, table);
        QFETCH(int, rows);
        QFETCH(bool, keyed);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)), rows);
        QStringList names, types;
        int keyColumns = 0;
        for (const QVariantList& r : this->rows(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table))) {
            names << r.at(1).toString();
            types << r.at(2).toString();
            keyColumns += r.at(5).toInt() > 0;
            if (r.at(5).toInt() > 0)
                QCOMPARE(r.at(1).toString(), QStringLiteral("SI_STATION_NUM"));
        }
        QCOMPARE(names, QStringList({"SI_STATION_NUM", "SI_SRI", "SI_MP", "SI_STREET_NAME", "SI_LOCATION", "SI_LAT",
                                     "SI_LON", "AADT", "REPORT", "municipality_descr", "county_descr", "IMAGENAMES"}));
        QCOMPARE(types, QStringList({"TEXT", "TEXT", "NUMERIC", "TEXT", "TEXT", "NUMERIC", "NUMERIC", "INTEGER",
                                     "TEXT", "TEXT", "TEXT", "TEXT"}));
        QCOMPARE(keyColumns, keyed ? 1 : 0);
        if (keyed)
            QCOMPARE(count(QStringLiteral("SELECT count(DISTINCT SI_STATION_NUM) FROM \"%1\"").arg(table)), rows);

        // 21 counties in every table, appearing in an order that is not alphabetical.
        const QStringList counties = column(QStringLiteral("SELECT DISTINCT county_descr FROM \"%1\"").arg(table));
        QCOMPARE(counties.size(), 21);
        QStringList sorted = counties;
        sorted.sort();
        QVERIFY(counties != sorted);
    }

    void allDataHoldsEveryYearRow()
    {
        const QString both = QStringLiteral("SELECT * FROM \"aadt 2007\" UNION ALL SELECT * FROM \"aadt 2008\"");
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM (SELECT * FROM (%1) EXCEPT SELECT * FROM \"all data\")").arg(both)), 0);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM (SELECT * FROM \"all data\" EXCEPT SELECT * FROM (%1))").arg(both)), 0);
        const qlonglong twice = count(QStringLiteral(
            "SELECT count(*) FROM \"aadt 2007\" a JOIN \"aadt 2008\" b USING (SI_STATION_NUM)"));
        QVERIFY2(twice >= 200 && twice <= 900, qPrintable(QString::number(twice)));
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM (SELECT SI_STATION_NUM FROM \"all data\" GROUP BY 1 HAVING count(*) = 2)")),
                 twice);
    }

    void namesOfPlaces()
    {
        QCOMPARE(count(QStringLiteral("SELECT max(length(county_descr)) <= 10 FROM \"all data\"")), 1);
        QCOMPARE(count(QStringLiteral("SELECT max(length(municipality_descr)) <= 25 FROM \"all data\"")), 1);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE county_descr LIKE '%''%' "
                                      "OR municipality_descr LIKE '%''%' OR municipality_descr IS NULL")), 0);
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM (SELECT municipality_descr FROM \"all data\" "
                                     "GROUP BY 1 HAVING count(DISTINCT county_descr) > 1)")) >= 2);
        // A county starting with B with an n after it, and one without.
        QVERIFY(count(QStringLiteral("SELECT count(DISTINCT county_descr) FROM \"all data\" WHERE county_descr LIKE 'B%n%'")) >= 1);
        QVERIFY(count(QStringLiteral("SELECT count(DISTINCT county_descr) FROM \"all data\" "
                                     "WHERE county_descr LIKE 'B%' AND county_descr NOT LIKE 'B%n%'")) >= 1);
    }

    void stationNumbersAndRoutes()
    {
        const QStringList numbers = column(QStringLiteral("SELECT SI_STATION_NUM FROM \"all data\""));
        const QRegularExpression usual(QStringLiteral("^\\d-\\d-\\d{3}$"));
        const QRegularExpression other(QStringLiteral("^[A-Z0-9]{6,7}$"));
        int usualCount = 0;
        for (const QString& n : numbers) {
            QVERIFY2(usual.match(n).hasMatch() || other.match(n).hasMatch(), qPrintable(n));
            usualCount += usual.match(n).hasMatch();
        }
        QVERIFY(usualCount > numbers.size() / 2 && usualCount < numbers.size());

        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE SI_SRI GLOB '[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]?" "?'")) > 1500);
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE length(SI_SRI) < 10")) > 0);
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE SI_SRI = 'Private Road'")) > 0);
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE SI_SRI IS NULL")) > 0);
    }

    void numbers()
    {
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE typeof(SI_MP) = 'integer'")) > 0);
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE typeof(SI_MP) = 'real'")) > 0);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE SI_LON >= 0 OR SI_LAT <= 0")), 0);
        for (const QVariantList& r : rows(QStringLiteral("SELECT SI_LAT, SI_LON FROM \"all data\""))) {
            for (const QVariant& v : r) {
                const double scaled = v.toDouble() * 10000.0;
                QVERIFY(qAbs(scaled - qRound64(scaled)) < 1e-6);
            }
        }
        QVERIFY(count(QStringLiteral("SELECT min(AADT) FROM \"all data\"")) < 1000);
        QVERIFY(count(QStringLiteral("SELECT max(AADT) FROM \"all data\"")) > 100000);
    }

    void streetsAndLocations()
    {
        QCOMPARE(count(QStringLiteral("SELECT max(length(SI_STREET_NAME)) <= 50 AND max(length(SI_LOCATION)) <= 73 FROM \"all data\"")), 1);
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE SI_STREET_NAME LIKE ' %'")) > 0);
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE SI_LOCATION LIKE '% '")) > 0);
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE SI_LOCATION LIKE 'BET % & %'")) > 10);
    }

    void reports()
    {
        const QRegularExpression form(QStringLiteral("^(.+)-wrpt-(\\d\\d)_(\\d\\d)_(\\d\\d)_\\2\\.(html|xls|pdf|rtf|txt)$"));
        QMap<QString, int> extensions;
        int misnamed = 0;
        for (const QVariantList& r : rows(QStringLiteral("SELECT SI_STATION_NUM, REPORT FROM \"all data\""))) {
            const QRegularExpressionMatch m = form.match(r.at(1).toString());
            QVERIFY2(m.hasMatch(), qPrintable(r.at(1).toString()));
            ++extensions[m.captured(5)];
            misnamed += m.captured(1) != r.at(0).toString();
        }
        QCOMPARE(misnamed, 9);
        QVERIFY(extensions.value(QStringLiteral("html")) > 1500);
        for (const char* ext : {"xls", "pdf", "rtf", "txt"})
            QVERIFY2(extensions.value(QLatin1String(ext)) > 0, ext);
    }

    void imageNames()
    {
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE IMAGENAMES IS NULL")) > 300);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE IMAGENAMES = ''")), 0);
        int most = 0;
        for (const QVariantList& r : rows(QStringLiteral("SELECT SI_STATION_NUM, IMAGENAMES FROM \"all data\" WHERE IMAGENAMES IS NOT NULL"))) {
            const QString station = r.at(0).toString();
            const QStringList names = r.at(1).toString().split(QLatin1Char(','));
            QVERIFY(names.size() >= 1 && names.size() <= 13);
            most = qMax(most, int(names.size()));
            const QRegularExpression name(QStringLiteral("^%1([a-m]|sketch)-0[78]$").arg(QRegularExpression::escape(station)));
            for (const QString& n : names)
                QVERIFY2(name.match(n).hasMatch(), qPrintable(n));
        }
        QVERIFY(most >= 10);
        // Stations with photos in one year's table and none in the other's.
        QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"aadt 2007\" a JOIN \"aadt 2008\" b USING (SI_STATION_NUM) "
                                     "WHERE (a.IMAGENAMES IS NULL) <> (b.IMAGENAMES IS NULL)")) > 10);
    }

    void noQuotesBackslashesOrLineBreaks()
    {
        for (const char* c : {"SI_STATION_NUM", "SI_SRI", "SI_STREET_NAME", "SI_LOCATION", "REPORT",
                              "municipality_descr", "county_descr", "IMAGENAMES"}) {
            const QString col = QLatin1String(c);
            QCOMPARE(count(QStringLiteral("SELECT count(*) FROM \"all data\" WHERE instr(%1, '\"') OR instr(%1, '\\') "
                                          "OR instr(%1, char(10)) OR instr(%1, char(13)) OR length(%1) > 160").arg(col)), 0);
        }
        QCOMPARE(count(QStringLiteral("SELECT max(length(IMAGENAMES)) <= 160 FROM \"all data\"")), 1);
    }
};

QTEST_GUILESS_MAIN(TestStationDb)
#include "test_stationdb.moc"
