#include "data/stationdata.h"
#include "data/stationfields.h"
#include "map/aadtchartview.h"
#include "map/stationlistcontroller.h"
#include "map/stationlistview.h"
#include "support/fixturedb.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(StationMarker)

namespace {
// The list and the chart record what the rules do to them; focus goes to one of them.
struct Views
{
    QString focus;
};

class FakeList final : public StationListView
{
public:
    explicit FakeList(Views& views)
        : m_views(views)
    {
    }
    void beginUpdate() override { ++batches, inBatch = true; }
    void endUpdate() override { inBatch = false; }
    void clear() override { nodes.clear(), selected = -1; }
    void addNode(const QString& text, int imageIndex) override
    {
        nodes << QStringLiteral("%1 %2").arg(imageIndex).arg(text);
        addsOutsideBatch += inBatch ? 0 : 1;
    }
    int nodeCount() const override { return int(nodes.size()); }
    int selectedIndex() const override { return selected; }
    void selectNode(int index) override { selected = index; }
    void takeFocus() override { m_views.focus = QStringLiteral("list"); }

    QStringList nodes; // "icon text"
    int selected = -1;
    int batches = 0;
    bool inBatch = false;
    int addsOutsideBatch = 0;

private:
    Views& m_views;
};

class FakeChart final : public AadtChartView
{
public:
    explicit FakeChart(Views& views)
        : m_views(views)
    {
    }
    void clearBars() override { bars.clear(); }
    void addBar(double value) override { bars << value; }
    int barCount() const override { return int(bars.size()); }
    double barValue(int index) const override { return bars.at(index); }
    void setBarColour(int index, BarColour colour) override
    {
        QVERIFY(index >= 0 && index < bars.size());
        colours << QStringLiteral("%1 %2").arg(index).arg(colour == BarColour::Red ? "red"
                                                                                   : "yellow");
    }
    void setTitle(const QString& text) override { title = text; }
    void takeFocus() override { m_views.focus = QStringLiteral("chart"); }

    QList<double> bars;
    QStringList colours; // "index colour", in the order they were set
    QString title = QStringLiteral("(form title)");

private:
    Views& m_views;
};

const QString Table = QStringLiteral("all data");
} // namespace

class TestStationList : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    StationData m_data;
    Views m_views;
    std::unique_ptr<FakeList> m_list;
    std::unique_ptr<FakeChart> m_chart;
    bool m_mapTabShowing = true;
    QList<StationMarker> m_markers;
    std::unique_ptr<StationListController> m_rules;

    // All three stations (one per county, in county order), or none.
    void query(bool empty = false)
    {
        QString sql = m_data.composer().composeArea(QStringLiteral("ALL DATA"),
                                                    AreaKind::AllCounties, {}, {});
        if (empty)
            sql.replace(QStringLiteral(" order by"), QStringLiteral(" where 0 order by"));
        m_data.runQuery(sql);
    }
    void queryCounty(const QString& county)
    {
        m_data.runQuery(m_data.composer().composeArea(QStringLiteral("ALL DATA"), AreaKind::County,
                                                      county, {}));
    }
    void fillAll(const QString& caption = QStringLiteral("All Counties"))
    {
        m_rules->FillStationList(StationField::column(StationField::StationNumber), caption);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString file = m_dir.filePath(QStringLiteral("stations.db"));
        using namespace FixtureDb;
        create(file,
               {QStringLiteral("CREATE TABLE \"all data\" ") + stationColumns(),
                station(Table, "3-3-301", "Cedar", "Glenmont", 1234567),
                station(Table, "1-1-101", "Alder", "Town", 500, "'1-1-101a-08,1-1-101b-08'"),
                station(Table, "2-2-201", "Birch", "Eastham", 32495),
                QStringLiteral(
                    "UPDATE \"all data\" SET SI_LAT=41.5, SI_LON=-75.25, SI_SRI='00000099N_', "
                    "SI_MP=7, SI_STREET_NAME='OAK AVE' WHERE SI_STATION_NUM='2-2-201'")});
        m_data.open(file);
    }

    void init()
    {
        m_list = std::make_unique<FakeList>(m_views);
        m_chart = std::make_unique<FakeChart>(m_views);
        m_views.focus.clear();
        m_markers.clear();
        m_mapTabShowing = true;
        m_rules = std::make_unique<StationListController>(
            m_data.resultSet(), *m_list, *m_chart,
            [this](const StationMarker& s) { m_markers << s; }, [this] { return m_mapTabShowing; });
        m_rules->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        query();
    }

    void fill_data()
    {
        QTest::addColumn<bool>("mapTabShowing");
        QTest::addColumn<bool>("emptyResult");
        QTest::addColumn<int>("nameField");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<QList<double>>("bars");
        const QStringList old = {"15 old node"};
        QTest::newRow("grid tab showing: only the title")
            << false << false << 1 << "Alder" << old << QList<double>{9};
        QTest::newRow("navigator's node")
            << true << false << 1 << "All Counties"
            << QStringList{"17 Stations in All Counties", "15 Station number 1-1-101",
                           "15 Station number 2-2-201", "15 Station number 3-3-301"}
            << QList<double>{500, 32495, 1234567};
        QTest::newRow("filter bar's caption")
            << true << false << 1 << " query result"
            << QStringList{"17 Stations in  query result", "15 Station number 1-1-101",
                           "15 Station number 2-2-201", "15 Station number 3-3-301"}
            << QList<double>{500, 32495, 1234567};
        QTest::newRow("another naming column")
            << true << false << int(StationField::Municipality) << "x"
            << QStringList{"17 Stations in x", "15 Station number Town",
                           "15 Station number Eastham", "15 Station number Glenmont"}
            << QList<double>{500, 32495, 1234567};
        QTest::newRow("empty result set") << true << true << 1 << "Alder"
                                          << QStringList{"17 Stations in Alder"} << QList<double>{};
    }
    void fill()
    {
        QFETCH(bool, mapTabShowing);
        QFETCH(bool, emptyResult);
        QFETCH(int, nameField);
        QFETCH(QString, caption);
        QFETCH(QStringList, nodes);
        QFETCH(QList<double>, bars);
        m_list->nodes = {"15 old node"};
        m_chart->bars = {9};
        query(emptyResult);
        m_mapTabShowing = mapTabShowing;
        QSignalSpy moves(&m_data.resultSet(), &ResultSet::currentChanged);

        m_rules->FillStationList(StationField::column(StationField::Number(nameField)), caption);

        QCOMPARE(m_list->nodes, nodes);
        QCOMPARE(m_chart->bars, bars);
        QCOMPARE(m_chart->title, QStringLiteral("AADT Chart"));
        QCOMPARE(m_list->addsOutsideBatch, 0);
        QCOMPARE(m_list->batches, mapTabShowing ? 1 : 0);
        QVERIFY(!m_list->inBatch);
        if (mapTabShowing && !emptyResult) {
            // The walk ends past the last record, which the grid then shows once.
            QVERIFY(m_data.resultSet().eof());
            QCOMPARE(m_data.resultSet().recNo(), 2);
            QCOMPARE(moves.size(), 1);
        }
    }

    void pointerOverList_data()
    {
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QStringList>("colours");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("highlighted");
        QTest::newRow("header and empty space")
            << QList<int>{0, -1} << QStringList{} << "AADT Chart" << 0;
        QTest::newRow("one station")
            << QList<int>{2} << QStringList{"0 red", "1 yellow"} << "AADT Volume: 32,495" << 1;
        QTest::newRow("station k, then m")
            << QList<int>{3, 1} << QStringList{"0 red", "2 yellow", "2 red", "0 yellow"}
            << "AADT Volume: 500" << 0;
        QTest::newRow("a station, then the header")
            << QList<int>{3, 0} << QStringList{"0 red", "2 yellow"} << "AADT Volume: 1,234,567"
            << 2;
    }
    void pointerOverList()
    {
        QFETCH(QList<int>, moves);
        QFETCH(QStringList, colours);
        QFETCH(QString, title);
        QFETCH(int, highlighted);
        fillAll();
        for (int node : moves)
            m_rules->stationTVMouseMove(node);
        QCOMPARE(m_chart->colours, colours);
        QCOMPARE(m_chart->title, title);
        QCOMPARE(m_rules->highlightedBar(), highlighted);
        // Pointing neither selects nor takes the focus.
        QCOMPARE(m_list->selected, -1);
        QCOMPARE(m_views.focus, QString());
    }

    void pointerOverChart_data()
    {
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QStringList>("colours");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("focus");
        QTest::newRow("empty chart space")
            << QList<int>{-1} << QStringList{} << "AADT Chart" << -1 << "chart";
        QTest::newRow("a bar") << QList<int>{1} << QStringList{"0 red", "1 yellow"}
                               << "AADT Volume: 32,495" << 2 << "list";
        QTest::newRow("a bar, then empty space")
            << QList<int>{2, -1} << QStringList{"0 red", "2 yellow"} << "AADT Volume: 1,234,567"
            << 3 << "chart";
    }
    void pointerOverChart()
    {
        QFETCH(QList<int>, moves);
        QFETCH(QStringList, colours);
        QFETCH(QString, title);
        QFETCH(int, selected);
        QFETCH(QString, focus);
        fillAll();
        for (int bar : moves)
            m_rules->Chart1MouseMove(bar);
        QCOMPARE(m_chart->colours, colours);
        QCOMPARE(m_chart->title, title);
        QCOMPARE(m_list->selected, selected);
        QCOMPARE(m_views.focus, focus);
    }

    void highlightSurvivesAFillAndIsRestoredOnlyWhileItsBarExists()
    {
        fillAll();
        m_rules->stationTVMouseMove(3);
        queryCounty(QStringLiteral("Birch"));
        fillAll(QStringLiteral("Birch"));
        QCOMPARE(m_chart->title, QStringLiteral("AADT Chart"));
        QCOMPARE(m_rules->highlightedBar(), 2);
        m_chart->colours.clear();
        m_rules->Chart1MouseMove(0); // bar 2 is gone: only the new bar is coloured
        QCOMPARE(m_chart->colours, QStringList{"0 yellow"});

        query();
        fillAll();
        m_chart->colours.clear();
        m_rules->stationTVMouseMove(2); // the old index 0 exists again
        QCOMPARE(m_chart->colours, QStringList({"0 red", "1 yellow"}));
    }

    void click_data()
    {
        QTest::addColumn<bool>("emptyResult");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("record");
        StationMarker second{"41.5",    "-75.25", "2-2-201", "00000099N_", "7", "Eastham",
                             "OAK AVE", "32495",  ""};
        StationMarker first{"40.6704",    "-74.6438", "1-1-101",
                            "00000202__", "31.28",    "Town",
                            "MAIN ST",    "500",      "1-1-101a-08,1-1-101b-08"};
        QTest::addColumn<QList<StationMarker>>("markers");
        QTest::newRow("first station") << false << 1 << 0 << QList<StationMarker>{first};
        QTest::newRow("second station") << false << 2 << 1 << QList<StationMarker>{second};
        QTest::newRow("header") << false << 0 << 2 << QList<StationMarker>{};
        QTest::newRow("no selection") << false << -1 << 2 << QList<StationMarker>{};
        QTest::newRow("empty result set, header") << true << 0 << -1 << QList<StationMarker>{};
    }
    void click()
    {
        QFETCH(bool, emptyResult);
        QFETCH(int, selected);
        QFETCH(int, record);
        QFETCH(QList<StationMarker>, markers);
        query(emptyResult);
        fillAll();
        m_list->selected = selected;
        m_rules->stationTVClick();
        QCOMPARE(m_data.resultSet().recNo(), record);
        QCOMPARE(m_markers.size(), markers.size());
        for (qsizetype i = 0; i < markers.size(); ++i)
            QCOMPARE(m_markers.at(i).script(), markers.at(i).script());
    }

    void clickBeforeAnyFillPlacesNothing()
    {
        m_list->selected = 1;
        m_rules->stationTVClick();
        QVERIFY(m_markers.isEmpty());
    }

    void clickOnANodeWithoutRecordPlacesNothing()
    {
        fillAll();
        queryCounty(QStringLiteral("Birch")); // the list is now out of step: one record
        m_list->selected = 3;
        m_rules->stationTVClick();
        QVERIFY(m_markers.isEmpty());
        m_list->selected = 1;
        m_rules->stationTVClick();
        QCOMPARE(m_markers.value(0).stationNumber, QStringLiteral("2-2-201"));
    }

    void axisFormat_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        QTest::newRow("32495") << us << 32495.0 << "32,495";
        QTest::newRow("zero") << us << 0.0 << "0";
        QTest::newRow("millions") << us << 1234567.0 << "1,234,567";
        QTest::newRow("up to three decimals") << us << 1234.5 << "1,234.5";
        QTest::newRow("rounded to three decimals") << us << 2.50049 << "2.5";
        QTest::newRow("rounds up to a whole number") << us << 999.9996 << "1,000";
        QTest::newRow("negative") << us << -1500.25 << "-1,500.25";
        QTest::newRow("German separators") << de << 1234.5 << "1.234,5";
    }
    void axisFormat()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(StationListController::formatValue(value, locale), text);
    }
};

QTEST_GUILESS_MAIN(TestStationList)
#include "test_stationlist.moc"
