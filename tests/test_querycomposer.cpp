#include "data/querycomposer.h"

#include <QTest>

Q_DECLARE_METATYPE(AreaKind)

namespace {
const QString H = QStringLiteral(
    "SELECT si_station_num as \"Station Number\", si_street_name as \"Street-Route Name\", "
    "SI_location  as \"Location\", si_mp as \"Mile Post\",aadt as \"AADT\",report as \"AADT "
    "Report\",si_sri as \"SRI\",municipality_descr as \"Municipality\", county_descr as "
    "\"County\", si_lat as \"Latitude\", si_lon as \"Longitude\",imagenames as \"Images\" FROM "
    "\"ALL DATA\"");
}

class TestQueryComposer : public QObject
{
    Q_OBJECT

private slots:
    void selectHead()
    {
        QCOMPARE(QueryComposer::selectHead(QStringLiteral("ALL DATA")), H);
    }

    void nodeKinds_data()
    {
        QTest::addColumn<bool>("hasChildren");
        QTest::addColumn<QString>("text");
        QTest::addColumn<AreaKind>("kind");
        QTest::newRow("root") << false << "All Counties" << AreaKind::AllCounties;
        QTest::newRow("root text is case-sensitive") << false << "all counties" << AreaKind::Municipality;
        QTest::newRow("county") << true << "Bramton" << AreaKind::County;
        QTest::newRow("municipality") << false << "Town" << AreaKind::Municipality;
        QTest::newRow("a county named All Counties") << true << "All Counties" << AreaKind::County;
    }
    void nodeKinds()
    {
        QFETCH(bool, hasChildren);
        QFETCH(QString, text);
        QFETCH(AreaKind, kind);
        QCOMPARE(QueryComposer::areaKind(hasChildren, text), kind);
    }

    void areaComposition_data()
    {
        QTest::addColumn<AreaKind>("kind");
        QTest::addColumn<QString>("county");
        QTest::addColumn<QString>("municipality");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("area");

        QTest::newRow("all counties")
            << AreaKind::AllCounties << "" << "" << H + " order by county_descr, municipality_descr"
            << H << "";
        QTest::newRow("county")
            << AreaKind::County << "Bramton" << ""
            << H + " where  county_descr='Bramton' order by county_descr, municipality_descr"
            << H + " where   county_descr='Bramton'" << " where county_descr='Bramton'";
        QTest::newRow("municipality")
            << AreaKind::Municipality << "Bramton" << "Town"
            << H + " where  county_descr = 'Bramton' and municipality_descr ='Town' order by si_street_name"
            << H + " where  county_descr = 'Bramton' and municipality_descr ='Town'"
            << " where county_descr = 'Bramton' and municipality_descr ='Town'";
        QTest::newRow("county with an apostrophe")
            << AreaKind::County << "O'Hara" << ""
            << H + " where  county_descr='O''Hara' order by county_descr, municipality_descr"
            << H + " where   county_descr='O''Hara'" << " where county_descr='O''Hara'";
        QTest::newRow("municipality with apostrophes")
            << AreaKind::Municipality << "O'Hara" << "Ship's Landing"
            << H + " where  county_descr = 'O''Hara' and municipality_descr ='Ship''s Landing' order by si_street_name"
            << H + " where  county_descr = 'O''Hara' and municipality_descr ='Ship''s Landing'"
            << " where county_descr = 'O''Hara' and municipality_descr ='Ship''s Landing'";
    }
    void areaComposition()
    {
        QFETCH(AreaKind, kind);
        QFETCH(QString, county);
        QFETCH(QString, municipality);
        QueryComposer c;
        // A filter before the area change is dropped by it.
        c.composeArea(QStringLiteral("ALL DATA"), AreaKind::County, QStringLiteral("X"), {});
        c.composeFilter(QStringLiteral("X"), QStringLiteral("AADT"), QStringLiteral(">"), QStringLiteral("5"));
        QTEST(c.composeArea(QStringLiteral("ALL DATA"), kind, county, municipality), "statement");
        QTEST(c.baseQuery(), "base");
        QTEST(c.currentQuery(), "base");
        QTEST(c.areaClause(), "area");
    }

    void filterComposition_data()
    {
        QTest::addColumn<AreaKind>("kind");
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("current");

        QTest::newRow("like for all counties")
            << AreaKind::AllCounties << "All Counties" << "Station Number" << "like" << "20"
            << H + " where\"Station Number\" like '%20%' order by \"Station Number\""
            << H + " where\"Station Number\" like '%20%'";
        QTest::newRow("comparison on a county")
            << AreaKind::County << "Bramton" << "AADT" << ">=" << "50000"
            << H + " where   county_descr='Bramton' and \"AADT\" >= '50000' order by \"AADT\""
            << H + " where   county_descr='Bramton' and \"AADT\" >= '50000'";
        QTest::newRow("equals on a municipality")
            << AreaKind::Municipality << "Town" << "SRI" << "=" << "00000202__"
            << H + " where  county_descr = 'Bramton' and municipality_descr ='Town' and \"SRI\" = '00000202__' order by \"SRI\""
            << H + " where  county_descr = 'Bramton' and municipality_descr ='Town' and \"SRI\" = '00000202__'";
        QTest::newRow("LIKE in capitals is not like")
            << AreaKind::AllCounties << "All Counties" << "County" << "LIKE" << "B"
            << H + " where\"County\" LIKE 'B' order by \"County\"" << H + " where\"County\" LIKE 'B'";
        QTest::newRow("a value that tries to rewrite the statement")
            << AreaKind::AllCounties << "All Counties" << "County" << "=" << "x' or '1'='1"
            << H + " where\"County\" = 'x'' or ''1''=''1' order by \"County\""
            << H + " where\"County\" = 'x'' or ''1''=''1'";
        QTest::newRow("a column name with a double quote")
            << AreaKind::AllCounties << "All Counties" << "Odd\"Name" << "=" << "1"
            << H + " where\"Odd\"\"Name\" = '1' order by \"Odd\"\"Name\"" << H + " where\"Odd\"\"Name\" = '1'";
    }
    void filterComposition()
    {
        QFETCH(AreaKind, kind);
        QFETCH(QString, node);
        QFETCH(QString, column);
        QFETCH(QString, op);
        QFETCH(QString, value);
        QueryComposer c;
        c.composeArea(QStringLiteral("ALL DATA"), kind, QStringLiteral("Bramton"), QStringLiteral("Town"));
        const QString base = c.baseQuery();
        // A second filter replaces the first.
        c.composeFilter(node, QStringLiteral("County"), QStringLiteral("="), QStringLiteral("first"));
        QTEST(c.composeFilter(node, column, op, value), "statement");
        QTEST(c.currentQuery(), "current");
        QCOMPARE(c.baseQuery(), base);
    }

    void titleSortAlternatesAndKeepsTheFilter()
    {
        QueryComposer c;
        c.composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {});
        QCOMPARE(c.composeTitleSort(QStringLiteral("AADT")), H + " order by \"AADT\" DESC");
        QCOMPARE(c.composeTitleSort(QStringLiteral("AADT")), H + " order by \"AADT\" ASC");
        // One toggle for all columns: another column continues the alternation.
        QCOMPARE(c.composeTitleSort(QStringLiteral("County")), H + " order by \"County\" DESC");
        const QString filtered = H + " where\"AADT\" > '100'";
        c.composeFilter(QStringLiteral("All Counties"), QStringLiteral("AADT"), QStringLiteral(">"), QStringLiteral("100"));
        QCOMPARE(c.composeTitleSort(QStringLiteral("Location")), filtered + " order by \"Location\" ASC");
        QCOMPARE(c.currentQuery(), filtered);
        // An area change after a sort sorts the new area, and the toggle is not reset.
        c.composeArea(QStringLiteral("ALL DATA"), AreaKind::County, QStringLiteral("Calder"), {});
        QCOMPARE(c.composeTitleSort(QStringLiteral("AADT")),
                 H + " where   county_descr='Calder' order by \"AADT\" DESC");
    }

    void lookupStatements_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("table catalog")
            << QueryComposer::tableCatalogStatement()
            << "select upper(name) from sqlite_master where type=\"table\" order by name desc";
        QTest::newRow("counties") << QueryComposer::countiesStatement(QStringLiteral("ALL DATA"))
                                  << "select distinct(county_descr) from \"ALL DATA\"";
        QTest::newRow("municipalities")
            << QueryComposer::municipalitiesStatement(QStringLiteral("ALL DATA"), QStringLiteral("O'Hara"))
            << "select distinct(municipality_descr) from \"ALL DATA\" where county_descr='O''Hara'";
        QTest::newRow("distinct values, all counties")
            << QueryComposer::distinctValuesStatement(QStringLiteral("si_sri"), QStringLiteral("AADT 2007"), QString())
            << "select distinct(si_sri) from \"AADT 2007\" ";
        QTest::newRow("distinct values, a county")
            << QueryComposer::distinctValuesStatement(QStringLiteral("aadt"), QStringLiteral("AADT 2007"),
                                                      QStringLiteral(" where county_descr='Calder'"))
            << "select distinct(aadt) from \"AADT 2007\"  where county_descr='Calder'";
        QTest::newRow("photo presence")
            << QueryComposer::photoPresenceStatement(QStringLiteral("AADT 2008"), QStringLiteral("1-4-201"))
            << "select imagenames from \"AADT 2008\" where length(imagenames)>0 and si_station_num='1-4-201'";
        QTest::newRow("table name with a double quote")
            << QueryComposer::countiesStatement(QStringLiteral("A\"B")) << "select distinct(county_descr) from \"A\"\"B\"";
        QTest::newRow("station count") << QueryComposer::stationCountText(1997) << "Number of stations: 1997";
    }
    void lookupStatements()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }
};

QTEST_GUILESS_MAIN(TestQueryComposer)
#include "test_querycomposer.moc"
