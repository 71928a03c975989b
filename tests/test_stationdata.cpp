#include "data/stationdata.h"
#include "data/stationfields.h"
#include "platform/stradexerror.h"
#include "support/fixturedb.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(FieldType)

using namespace FixtureDb;

class TestStationData : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_stations; // a small "all data" table

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_stations = path(QStringLiteral("stations.db"));
        const QString t = QStringLiteral("all data");
        create(m_stations,
               {QStringLiteral("CREATE TABLE \"all data\" ") + stationColumns().replace(QStringLiteral(" PRIMARY KEY"), QString()),
                station(t, QStringLiteral("1-1-101"), QStringLiteral("O'Hara"), QStringLiteral("Ship's Landing"), 500,
                        QStringLiteral("'1-1-101a-08'")),
                station(t, QStringLiteral("1-1-102"), QStringLiteral("O'Hara"), QStringLiteral("Town"), 70000),
                station(t, QStringLiteral("2-2-201"), QStringLiteral("Bramton"), QStringLiteral("Town"), 1200),
                station(t, QStringLiteral("2-2-202"), QStringLiteral("Bramton"), QStringLiteral("Eastham"), 30000),
                station(t, QStringLiteral("3-3-301"), QStringLiteral("Calder"), QStringLiteral("Glenmont"), 65000),
                QStringLiteral("UPDATE \"all data\" SET SI_SRI=NULL, SI_MP=31 WHERE SI_STATION_NUM='2-2-202'")});
    }

    void tableCatalogListsEveryTableUpperCasedDescending()
    {
        const QString file = path(QStringLiteral("catalog.db"));
        QStringList statements;
        for (const char* name : {"aadt 2007", "aadt 2008", "all data", "zeta", "Beta", "_x"})
            statements << QStringLiteral("CREATE TABLE \"%1\" %2").arg(QLatin1String(name), stationColumns());
        statements << QStringLiteral("CREATE VIEW v AS SELECT 1") << QStringLiteral("CREATE INDEX ix ON zeta(AADT)");
        create(file, statements);
        StationData data;
        data.open(file);
        QCOMPARE(data.tableCatalog(), QStringList({"ZETA", "ALL DATA", "AADT 2008", "AADT 2007", "_X", "BETA"}));
        QVERIFY(data.lookupQuery().isOpen());
        QVERIFY(data.lookupQuery().eof());
    }

    void fieldTypesFollowAffinity_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<FieldType>("type");
        QTest::newRow("INTEGER") << "a_integer" << FieldType::Integer;
        QTest::newRow("BIGINT") << "a_bigint" << FieldType::Integer;
        QTest::newRow("VARCHAR(10)") << "a_varchar" << FieldType::Text;
        QTest::newRow("CLOB") << "a_clob" << FieldType::Text;
        QTest::newRow("TEXT") << "a_text" << FieldType::Text;
        QTest::newRow("BLOB") << "a_blob" << FieldType::Blob;
        QTest::newRow("REAL") << "a_real" << FieldType::Float;
        QTest::newRow("FLOAT") << "a_float" << FieldType::Float;
        QTest::newRow("DOUBLE") << "a_double" << FieldType::Float;
        QTest::newRow("NUMERIC") << "a_numeric" << FieldType::Float;
        QTest::newRow("DATE") << "a_date" << FieldType::Float;
        QTest::newRow("expression, integer value") << "e_int" << FieldType::Integer;
        QTest::newRow("expression, real value") << "e_real" << FieldType::Float;
        QTest::newRow("expression, text value") << "e_text" << FieldType::Text;
        QTest::newRow("expression, NULL value") << "e_null" << FieldType::Text;
    }
    void fieldTypesFollowAffinity()
    {
        QFETCH(QString, column);
        QFETCH(FieldType, type);
        const QString file = path(QStringLiteral("types.db"));
        if (!QFile::exists(file))
            create(file, {QStringLiteral("CREATE TABLE t (a_integer INTEGER, a_bigint BIGINT, a_varchar VARCHAR(10), "
                                         "a_clob CLOB, a_text TEXT, a_blob BLOB, a_real REAL, a_float FLOAT, "
                                         "a_double DOUBLE, a_numeric NUMERIC, a_date DATE)"),
                          QStringLiteral("INSERT INTO t VALUES (1, 2, 'v', 'c', 't', x'00', 1.5, 2.5, 3.5, 4, 5)")});
        StationData data;
        data.open(file);
        data.runQuery(QStringLiteral("SELECT *, 1 AS e_int, 1.5 AS e_real, 'x' AS e_text, NULL AS e_null FROM t"));
        const ResultSet& rs = data.resultSet();
        const int i = rs.fieldIndex(column);
        QVERIFY(i >= 0);
        QCOMPARE(rs.field(i).type, type);
        QCOMPARE(rs.field(i).size, type == FieldType::Text ? 255 : 0);
    }

    void expressionWithoutRowsIsText()
    {
        StationData data;
        data.open(m_stations);
        data.runQuery(QStringLiteral("SELECT 1 AS n FROM \"all data\" WHERE 0"));
        QCOMPARE(data.resultSet().recordCount(), 0);
        QCOMPARE(data.resultSet().field(0).type, FieldType::Text);
    }

    void textValuesKeepAtMost255Characters_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("read");
        const QString a255(255, QLatin1Char('a'));
        QTest::newRow("exactly 255") << a255 << a255;
        QTest::newRow("300 cut to 255") << QString(300, QLatin1Char('b')) << QString(255, QLatin1Char('b'));
        QTest::newRow("blanks kept") << "  MAIN ST " << "  MAIN ST ";
        QTest::newRow("non-ASCII counted in characters")
            << QString(200, QChar(0x00E9)) + QString(100, QLatin1Char('x'))
            << QString(200, QChar(0x00E9)) + QString(55, QLatin1Char('x'));
        QTest::newRow("surrogate pair not cut in two")
            << QString(254, QLatin1Char('c')) + QStringLiteral("\U0001F697") << QString(254, QLatin1Char('c'));
    }
    void textValuesKeepAtMost255Characters()
    {
        QFETCH(QString, stored);
        const QString file = path(QStringLiteral("long.db"));
        create(file, {QStringLiteral("CREATE TABLE t (v TEXT)"), QStringLiteral("INSERT INTO t VALUES (?)")
                          .replace(QLatin1Char('?'), QLatin1Char('\'') + stored + QLatin1Char('\''))});
        StationData data;
        data.open(file);
        data.runQuery(QStringLiteral("SELECT v FROM t"));
        QTEST(data.resultSet().text(0, 0), "read");
        // The lookup query keeps the full length.
        QCOMPARE(data.lookupColumn(QStringLiteral("SELECT v FROM t")), QStringList{stored});
    }

    void stationValuesReadAsTheGridShowsThem()
    {
        StationData data;
        data.open(m_stations);
        data.runQuery(data.composer().composeArea(QStringLiteral("ALL DATA"), AreaKind::County,
                                                  QStringLiteral("Bramton"), {}));
        const ResultSet& rs = data.resultSet();
        QCOMPARE(rs.fieldCount(), StationField::Count);
        const int row = rs.text(0, 0) == QLatin1String("2-2-202") ? 0 : 1;
        using namespace StationField;
        QVERIFY(rs.isNull(row, column(Sri)));
        QCOMPARE(rs.text(row, column(Sri)), QString());
        QVERIFY(rs.isNull(row, column(Images)));
        QCOMPARE(rs.text(row, column(Images)), QString());
        QCOMPARE(rs.text(row, column(MilePost)), QStringLiteral("31"));
        QCOMPARE(rs.text(1 - row, column(MilePost)), QStringLiteral("31.28"));
        QCOMPARE(rs.text(row, column(Latitude)), QStringLiteral("40.6704"));
        QCOMPARE(rs.text(row, column(Longitude)), QStringLiteral("-74.6438"));
        QCOMPARE(rs.integer(row, column(Aadt)), 30000);
        QCOMPARE(rs.field(column(Aadt)).type, FieldType::Integer);
        QCOMPARE(rs.field(column(MilePost)).type, FieldType::Float);
        QCOMPARE(rs.text(row, column(Location)), QStringLiteral("BET OAK RD & ELM ST"));
    }

    void queriesWithQuotesAreSafe()
    {
        StationData data;
        data.open(m_stations);
        QueryComposer& c = data.composer();
        QCOMPARE(data.runQuery(c.composeArea(QStringLiteral("ALL DATA"), AreaKind::County, QStringLiteral("O'Hara"), {})), 2);
        QCOMPARE(data.runQuery(c.composeArea(QStringLiteral("ALL DATA"), AreaKind::Municipality,
                                             QStringLiteral("O'Hara"), QStringLiteral("Ship's Landing"))), 1);
        QCOMPARE(data.lookupColumn(QueryComposer::municipalitiesStatement(QStringLiteral("ALL DATA"), QStringLiteral("O'Hara"))),
                 QStringList({"Ship's Landing", "Town"}));

        c.composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {});
        QCOMPARE(data.runQuery(c.composeFilter(QStringLiteral("All Counties"), QStringLiteral("County"),
                                               QStringLiteral("="), QStringLiteral("x' or '1'='1"))), 0);
        QCOMPARE(data.runQuery(c.composeFilter(QStringLiteral("All Counties"), QStringLiteral("Municipality"),
                                               QStringLiteral("like"), QStringLiteral("'s L"))), 1);
    }

    void runnerOrdersAndFilters()
    {
        StationData data;
        data.open(m_stations);
        QSignalSpy ran(&data, &StationData::queryRan);
        QueryComposer& c = data.composer();
        QCOMPARE(data.runQuery(c.composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {})), 5);
        QCOMPARE(ran.takeFirst().at(0).toInt(), 5);
        const ResultSet& rs = data.resultSet();
        QStringList counties;
        for (int r = 0; r < rs.recordCount(); ++r)
            counties << rs.text(r, StationField::column(StationField::County));
        QCOMPARE(counties, QStringList({"Bramton", "Bramton", "Calder", "O'Hara", "O'Hara"}));

        // A numeric filter compares numbers although the value is quoted.
        QCOMPARE(data.runQuery(c.composeFilter(QStringLiteral("All Counties"), QStringLiteral("AADT"),
                                               QStringLiteral(">="), QStringLiteral("50000"))), 2);
        QCOMPARE(rs.text(0, 0), QStringLiteral("3-3-301"));
        QCOMPARE(rs.text(1, 0), QStringLiteral("1-1-102"));
        QCOMPARE(data.runQuery(c.composeTitleSort(QStringLiteral("AADT"))), 2);
        QCOMPARE(rs.text(0, 0), QStringLiteral("1-1-102"));

        // "like" matches anywhere in the value, ignoring case.
        QCOMPARE(data.runQuery(c.composeFilter(QStringLiteral("All Counties"), QStringLiteral("Station Number"),
                                               QStringLiteral("like"), QStringLiteral("20"))), 2);
        QCOMPARE(data.runQuery(c.composeFilter(QStringLiteral("All Counties"), QStringLiteral("County"),
                                               QStringLiteral("like"), QStringLiteral("bram"))), 2);
        QCOMPARE(data.runQuery(c.composeFilter(QStringLiteral("All Counties"), QStringLiteral("County"),
                                               QStringLiteral("="), QStringLiteral("nowhere"))), 0);
        QVERIFY(rs.isOpen());
        QCOMPARE(rs.recNo(), -1);
        QVERIFY(rs.eof());
    }

    void rejectedStatementLeavesTheResultSetClosed()
    {
        StationData data;
        data.open(m_stations);
        data.runQuery(data.composer().composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {}));
        QSignalSpy ran(&data, &StationData::queryRan);
        try {
            data.runQuery(QStringLiteral("SELECT * FROM \"no such table\""));
            QFAIL("a rejected statement must raise an error");
        } catch (const StradexError& e) {
            QVERIFY2(e.message().contains(QLatin1String("no such table")), qPrintable(e.message()));
        }
        QVERIFY(!data.resultSet().isOpen());
        QCOMPARE(data.resultSet().recordCount(), 0);
        QCOMPARE(ran.count(), 0);
    }

    void openFailuresNameTheFile()
    {
        StationData data;
        const QString missing = path(QStringLiteral("missing/KORVAZARN.dat"));
        try {
            data.open(missing);
            QFAIL("opening a missing file must fail");
        } catch (const StradexError& e) {
            QVERIFY2(e.message().contains(missing), qPrintable(e.message()));
        }
        QVERIFY(!QFile::exists(missing));

        const QString garbage = path(QStringLiteral("garbage.dat"));
        QFile f(garbage);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'z'));
        f.close();
        data.open(garbage);
        try {
            data.tableCatalog();
            QFAIL("a file that is not a database must fail at the first statement");
        } catch (const StradexError& e) {
            QVERIFY2(e.message().contains(QLatin1String("not a database")), qPrintable(e.message()));
        }
    }

    void currentRecordMovesAndNotifies()
    {
        StationData data;
        data.open(m_stations);
        data.runQuery(data.composer().composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {}));
        ResultSet& rs = data.resultSet();
        QCOMPARE(rs.recNo(), 0);
        QVERIFY(!rs.eof());
        QSignalSpy moved(&rs, &ResultSet::currentChanged);
        int visited = 0;
        for (rs.first(); !rs.eof(); rs.next())
            ++visited;
        QCOMPARE(visited, 5);
        QCOMPARE(rs.recNo(), 4); // past the end, the current record is the last one
        QCOMPARE(moved.count(), 4);

        // While bound controls are suspended, moves are not announced; resuming tells
        // them where the record is now.
        moved.clear();
        rs.disableControls();
        rs.setRecNo(1);
        rs.setRecNo(2);
        QCOMPARE(moved.count(), 0);
        rs.enableControls();
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.takeFirst().at(0).toInt(), 2);
        rs.setRecNo(99);
        QCOMPARE(rs.recNo(), 4);
    }
};

QTEST_GUILESS_MAIN(TestStationData)
#include "test_stationdata.moc"
