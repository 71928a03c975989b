#include "data/stationdata.h"
#include "map/aadtchartwidget.h"
#include "map/radiogroupbox.h"
#include "map/slidingtoolpanel.h"
#include "map/stationlistwidget.h"
#include "map/stationmapwidget.h"
#include "platform/recordingseams.h"
#include "support/fakemapbrowser.h"
#include "support/fixturedb.h"

#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// The " Station Map" tab's wiring: controls, provider group, list and chart events,
// drawing of the selected station, and the sliding tools panel.
class TestStationMapWidget : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    StationData m_data;
    FakeMapBrowser* m_browser = nullptr;
    RecordingMessageSink m_messages;
    std::unique_ptr<StationMapWidget> m_sheet;

    StationListWidget* list() const { return m_sheet->stationTV(); }
    AadtChartWidget* chart() const { return m_sheet->Chart1(); }
    QPoint nodeCentre(int node) const
    {
        return list()->visualItemRect(list()->topLevelItem(node)).center();
    }
    QStringList markerCalls() const
    {
        return m_browser->calls.filter(QStringLiteral("script addMarker("));
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(m_dir.isValid());
        const QString file = m_dir.filePath(QStringLiteral("stations.db"));
        const QString t = QStringLiteral("all data");
        using namespace FixtureDb;
        create(file, {QStringLiteral("CREATE TABLE \"all data\" ") + stationColumns(),
                      station(t, "1-1-101", "Alder", "Town", 500),
                      station(t, "2-2-201", "Birch", "Eastham", 32495),
                      station(t, "3-3-301", "Cedar", "Glenmont", 12000, "'3-3-301a-08'")});
        m_data.open(file);
    }

    void init()
    {
        m_data.runQuery(m_data.composer().composeArea(QStringLiteral("ALL DATA"),
                                                      AreaKind::AllCounties, {}, {}));
        m_browser = new FakeMapBrowser;
        m_messages = RecordingMessageSink();
        StationMapEnvironment env;
        env.messages = &m_messages;
        env.data = &m_data;
        env.mapTabShowing = [] { return true; };
        env.browser = m_browser;
        env.connectionCheck = [] { return true; };
        m_sheet = std::make_unique<StationMapWidget>(env);
        m_sheet->resize(900, 640);
        m_sheet->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
        m_sheet->FillStationList(0, QStringLiteral("All Counties"));
    }

    void cleanup()
    {
        m_sheet.reset();
        delete m_browser;
    }

    void controlsCarryTheirNamesAndAccessibleNames()
    {
        for (const char* name : {"WebBrowser1", "AdvToolPanelTab1", "AdvToolPanel2",
                                 "AdvOfficeRadioGroup1", "stationTV", "Chart1"}) {
            auto* w = m_sheet->findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(w, name);
            QVERIFY2(!w->accessibleName().isEmpty() || qstrcmp(name, "WebBrowser1") == 0, name);
        }
        QCOMPARE(m_sheet->AdvOfficeRadioGroup1()->title(), QStringLiteral("Map Provider"));
        QCOMPARE(chart()->height(), 257);
        QCOMPARE(list()->nodeText(0), QStringLiteral("Stations in All Counties"));
        QCOMPARE(chart()->barCount(), 3);
        QCOMPARE(chart()->title(), QStringLiteral("AADT Chart"));
    }

    void providerChoiceLeavesOnlyYahoo()
    {
        RadioGroupBox* group = m_sheet->AdvOfficeRadioGroup1();
        m_sheet->setProviderChoice();
        QCOMPARE(group->itemIndex(), 0);
        QVERIFY(group->isItemEnabled(0));
        QVERIFY(!group->isItemEnabled(1));
        QVERIFY(!group->isItemEnabled(2));
        QTest::mouseClick(group->button(0), Qt::LeftButton);
        QVERIFY(m_browser->calls.isEmpty());

        // An enabled other item switches the provider and reloads the page.
        group->setItemEnabled(2, true);
        QTest::mouseClick(group->button(2), Qt::LeftButton);
        QCOMPARE(m_sheet->map().providerName(), QStringLiteral("GOOGLE"));
        QCOMPARE(m_browser->calls.value(0), QStringLiteral("script getMapAttributes()"));
        QVERIFY(m_browser->calls.contains(QStringLiteral("load")));
    }

    void pointerOverAListNodeHighlightsItsBar()
    {
        QTest::mouseMove(list()->viewport(), nodeCentre(2));
        QTRY_VERIFY(chart()->isBarHighlighted(1));
        QVERIFY(!chart()->isBarHighlighted(0) && !chart()->isBarHighlighted(2));
        QCOMPARE(chart()->title(), QStringLiteral("AADT Volume: 32,495"));
        QCOMPARE(list()->selectedIndex(), -1);
    }

    void pointerOverABarSelectsItsStationAndAClickMarksIt()
    {
        const QPoint onBar = chart()->barTop(2) + QPoint(0, 4);
        QCOMPARE(chart()->barAt(onBar), 2);
        QTest::mouseMove(chart()->viewport(), onBar);
        QTRY_COMPARE(list()->selectedIndex(), 3);
        QVERIFY(chart()->isBarHighlighted(2));
        QCOMPARE(chart()->title(), QStringLiteral("AADT Volume: 12,000"));
        const QImage drawn = chart()->viewport()->grab().toImage();
        QCOMPARE(drawn.pixelColor(onBar), QColor(255, 255, 0));
        QCOMPARE(drawn.pixelColor(chart()->barTop(1) + QPoint(0, 4)), QColor(255, 0, 0));
        QTest::mouseClick(chart()->viewport(), Qt::LeftButton, {}, onBar);
        QCOMPARE(m_data.resultSet().recNo(), 2);
        QCOMPARE(markerCalls().size(), 1);
        QVERIFY(
            markerCalls().constFirst().contains(QStringLiteral("createHtmlContent(\"3-3-301\"")));
        QVERIFY(
            markerCalls().constFirst().endsWith(QStringLiteral(",\"12000\",\"3-3-301a-08\"))")));

        // Empty chart space above the bars.
        QCOMPARE(chart()->barAt(QPoint(onBar.x(), 2)), -1);
    }

    void clickOnAStationNodeMarksIt_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("station"); // empty: no marker
        QTest::newRow("station") << 2 << "2-2-201";
        QTest::newRow("header") << 0 << "";
    }
    void clickOnAStationNodeMarksIt()
    {
        QFETCH(int, node);
        QFETCH(QString, station);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, nodeCentre(node));
        QCOMPARE(list()->selectedIndex(), node);
        QCOMPARE(markerCalls().size(), station.isEmpty() ? 0 : 1);
        if (!station.isEmpty()) {
            QVERIFY(markerCalls().constFirst().contains("\"" + station + "\""));
            QCOMPARE(m_data.resultSet().recNo(), node - 1);
        }
        QVERIFY(m_messages.errors.isEmpty());
    }

    void failingMarkerCallIsShownOnce()
    {
        m_browser->failure = QStringLiteral("ReferenceError: addMarker is not defined");
        // The fake fails only listed scripts: the first click shows which one a click runs.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, nodeCentre(1));
        const QString call = markerCalls().value(0).mid(7);
        m_browser->failingScripts << call;
        m_browser->calls.clear();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, nodeCentre(1));
        QCOMPARE(m_messages.errors, QStringList{m_browser->failure});
        QCOMPARE(list()->nodeCount(), 4);
    }

    void selectedStationIsDrawnRedOnYellow_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<bool>("yellow");
        QTest::newRow("station") << 1 << true;
        QTest::newRow("header") << 0 << false;
    }
    void selectedStationIsDrawnRedOnYellow()
    {
        QFETCH(int, node);
        QFETCH(bool, yellow);
        list()->selectNode(node);
        const QRect row = list()->visualItemRect(list()->topLevelItem(node));
        const QImage image = list()->viewport()->grab().toImage();
        // Somewhere right of the icon lies the text rectangle's background.
        int yellowPixels = 0, redPixels = 0;
        for (int x = row.left() + 24; x < row.left() + 120; ++x) {
            const QColor c = image.pixelColor(x, row.center().y() + row.height() / 2 - 2);
            yellowPixels += c == QColor(255, 255, 0) ? 1 : 0;
            for (int y = row.top(); y <= row.bottom(); ++y)
                redPixels += image.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
        }
        QCOMPARE(yellowPixels > 10, yellow);
        QCOMPARE(redPixels > 0, yellow);
    }

    void toolPanelSlidesOverTheMapWhenUnlocked()
    {
        SlidingToolPanel* panel = m_sheet->AdvToolPanelTab1();
        QWidget* map = m_sheet->WebBrowser1();
        panel->setSlideDuration(0);
        panel->setCloseDelay(0);
        QVERIFY(panel->isLocked() && panel->isOpen());
        QCOMPARE(map->width(), panel->width() - SlidingToolPanel::TabWidth - 225);

        QTest::mouseMove(panel->lockButton());
        QTRY_VERIFY(panel->panel()->underMouse());
        QTest::mouseClick(panel->lockButton(), Qt::LeftButton);
        QVERIFY(!panel->isLocked());
        QCOMPARE(panel->lockButton()->toolTip(), QStringLiteral("Lock panel"));
        QTest::qWait(20);
        QVERIFY(panel->isOpen()); // the pointer is still on it
        QTest::mouseMove(map, QPoint(10, 10));
        QTRY_VERIFY(!panel->isOpen());
        QVERIFY(!panel->panel()->isVisible());
        QCOMPARE(map->width(), panel->width() - SlidingToolPanel::TabWidth);

        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(panel->tab(), &enter);
        QVERIFY(panel->isOpen());
        QVERIFY(panel->panel()->isVisible());
        QCOMPARE(panel->panel()->geometry().right(),
                 panel->width() - SlidingToolPanel::TabWidth - 1);
        QCOMPARE(map->width(),
                 panel->width() - SlidingToolPanel::TabWidth); // the panel lies over the map

        panel->setLocked(true);
        QCOMPARE(panel->lockButton()->toolTip(), QStringLiteral("Unlock panel"));
        QCOMPARE(map->width(), panel->width() - SlidingToolPanel::TabWidth - 225);
    }
};

QTEST_MAIN(TestStationMapWidget)
#include "test_stationmapwidget.moc"
