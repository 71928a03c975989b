#include "data/areatree.h"
#include "data/stationdata.h"
#include "support/fixturedb.h"

#include <QTemporaryDir>
#include <QTest>

using FixtureDb::station;

class TestAreaTree : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString fixture(const QString& name, const QStringList& rows)
    {
        const QString path = m_dir.filePath(name);
        FixtureDb::create(path, QStringList{QStringLiteral("CREATE TABLE \"aadt 2008\" ") +
                                            FixtureDb::stationColumns()} +
                                    rows);
        return path;
    }

private slots:
    // Counties and municipalities come in the order of their first row, each once; a
    // NULL municipality is an entry with empty text.
    void buildKeepsTheEngineOrder()
    {
        const QString t = QStringLiteral("aadt 2008");
        const QString db =
            fixture(QStringLiteral("order.db"),
                    {station(t, "1-1-001", "Zeta", "Zeta Town", 10),
                     station(t, "1-1-002", "Alpha", "Beta City", 20),
                     station(t, "1-1-003", "Zeta", "Alder", 30),
                     station(t, "1-1-004", "Zeta", "Zeta Town", 40),
                     station(t, "1-1-005", "Mid", "Mid Village", 50),
                     station(t, "1-1-006", "Alpha", "Aaron", 60),
                     QStringLiteral("UPDATE \"aadt 2008\" SET municipality_descr = NULL"
                                    " WHERE SI_STATION_NUM = '1-1-006'")});
        StationData data;
        data.open(db);
        const QList<CountyArea> expected = {{"Zeta", {"Zeta Town", "Alder"}},
                                            {"Alpha", {"Beta City", ""}},
                                            {"Mid", {"Mid Village"}}};
        // The table choice shows upper-cased names; the engine matches them anyway.
        QCOMPARE(AreaTree::build(data, QStringLiteral("AADT 2008")), expected);
        QVERIFY(!data.stationQuery().isOpen());
        QVERIFY(!data.lookupQuery().isOpen());
    }

    // A county name with an apostrophe still lists its municipalities.
    void apostropheInACountyName()
    {
        const QString t = QStringLiteral("aadt 2008");
        const QString db = fixture(QStringLiteral("quote.db"),
                                   {station(t, "1-1-001", "O'Brien", "Kell's Town", 10)});
        StationData data;
        data.open(db);
        const QList<CountyArea> expected = {{"O'Brien", {"Kell's Town"}}};
        QCOMPARE(AreaTree::build(data, t), expected);
    }

    // A table without the area columns fails with the engine's message and leaves both
    // query channels closed.
    void rejectedStatementClosesTheChannels()
    {
        const QString db = m_dir.filePath(QStringLiteral("other.db"));
        FixtureDb::create(db, {QStringLiteral("CREATE TABLE \"other\" (x TEXT)"),
                               QStringLiteral("INSERT INTO other VALUES ('a')")});
        StationData data;
        data.open(db);
        QVERIFY_THROWS_EXCEPTION(std::exception, AreaTree::build(data, QStringLiteral("other")));
        QVERIFY(!data.stationQuery().isOpen());
        QVERIFY(!data.lookupQuery().isOpen());
    }

    void marksOnlySelectedEntriesAfterTheFirst_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("siblingIndex");
        QTest::addColumn<bool>("marked");
        QTest::newRow("selected root or first municipality") << true << 0 << false;
        QTest::newRow("selected first county") << true << 1 << true;
        QTest::newRow("selected later entry") << true << 7 << true;
        QTest::newRow("not selected") << false << 3 << false;
    }

    void marksOnlySelectedEntriesAfterTheFirst()
    {
        QFETCH(bool, selected);
        QFETCH(int, siblingIndex);
        QFETCH(bool, marked);
        QCOMPARE(AreaTree::marksSelection(selected, siblingIndex), marked);
    }
};

QTEST_APPLESS_MAIN(TestAreaTree)
#include "test_areatree.moc"
