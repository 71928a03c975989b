#include "map/internetconnection.h"
#include "map/zarnmap.h"
#include "platform/recordingseams.h"
#include "platform/stradexerror.h"
#include "support/fakemapbrowser.h"

#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(StationMarker)
using Flags = QNetworkInterface::InterfaceFlags;
using Reachability = QNetworkInformation::Reachability;

namespace {
Config testConfig()
{
    Config c;
    c.reportServer = QStringLiteral("http://reports.korva.example");
    c.googleMapsHost = QStringLiteral("maps.google.example");
    c.yahooMapsHost = QStringLiteral("api.maps.yahoo.example");
    c.microsoftMapsHost = QStringLiteral("dev.virtualearth.example");
    c.yahooAppId = QStringLiteral("Zm9v.YmFy.Korva.Stradex.Map.Id.0123456789.abcdefghij.ABCDEFG");
    return c;
}

QByteArray readGolden(const QString& name)
{
    QFile f(QStringLiteral(STRADEX_TEST_DATA "/map/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Writes a golden file when STRADEX_UPDATE_GOLDEN is set, so that they change only on purpose.
void updateGolden(const QString& name, const QByteArray& bytes)
{
    if (qEnvironmentVariableIsEmpty("STRADEX_UPDATE_GOLDEN"))
        return;
    QFile f(QStringLiteral(STRADEX_TEST_DATA "/map/") + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

StationMarker exampleStation()
{
    return {"40.6704",    "-74.6438", "1-4-202",
            "00000023__", "31.28",    "Town",
            "MAIN ST",    "32495",    "1-4-202a-08,1-4-202b-08"};
}

const QString GetAttributes = QStringLiteral("script getMapAttributes()");
const QString ReadInputs = QStringLiteral("elements INPUT value");
const QStringList LoadSteps = {"navigate about:blank", "fullScreen 1", "load"};
} // namespace

class TestZarnMap : public QObject
{
    Q_OBJECT

private slots:
    void mapPage_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("golden");
        QTest::addColumn<int>("lineCount");
        QTest::newRow("Yahoo, the initial provider") << "YAHOO"
                                                     << "page-yahoo.html" << 21;
        QTest::newRow("Google") << "GOOGLE"
                                << "page-google.html" << 21;
        QTest::newRow("Microsoft") << "MICROSOFT"
                                   << "page-microsoft.html" << 21;
        QTest::newRow("no API matches the lower-case name") << "yahoo"
                                                            << "page-unknown.html" << 20;
    }
    void mapPage()
    {
        QFETCH(QString, provider);
        QFETCH(QString, golden);
        QFETCH(int, lineCount);
        const QStringList lines = ZarnMap::mapPageLines(testConfig(), provider, QString());
        const QByteArray text = ZarnMap::pageText(lines);
        updateGolden(golden, text);
        QCOMPARE(lines.size(), lineCount);
        QCOMPARE(text, readGolden(golden));
        QVERIFY(text.endsWith("</html>\r\n"));
        QCOMPARE(text.count("\r\n"), lineCount);
        QCOMPARE(text.count('\n'), lineCount);
    }

    void initArgumentIsWrittenAsItIs()
    {
        const QStringList lines =
            ZarnMap::mapPageLines(testConfig(), QStringLiteral("GOOGLE"), QStringLiteral("a'b"));
        QCOMPARE(
            lines.at(14),
            QStringLiteral("<body style=\"margin:0\" onload=\"initMap('a'b')\" scroll=\"no\">"));
    }

    void markerScript_data()
    {
        QTest::addColumn<StationMarker>("station");
        QTest::addColumn<QString>("script");
        QTest::newRow("a station with photos")
            << exampleStation()
            << "addMarker(40.6704,-74.6438,createHtmlContent(\"1-4-202\",\"00000023__\",\"31.28\","
               "\"Town\","
               "\"MAIN ST\",\"32495\",\"1-4-202a-08,1-4-202b-08\"))";
        StationMarker noPhotos = exampleStation();
        noPhotos.imageNames.clear();
        QTest::newRow("no image names") << noPhotos
                                        << "addMarker(40.6704,-74.6438,createHtmlContent(\"1-4-"
                                           "202\",\"00000023__\",\"31.28\",\"Town\","
                                           "\"MAIN ST\",\"32495\",\"\"))";
        StationMarker odd = exampleStation();
        odd.streetName = QStringLiteral("\"A\" ST \\ 9");
        odd.municipality = QStringLiteral("Line\r\nTwo\u2028");
        odd.sri = QStringLiteral("O'Hara </script>");
        QTest::newRow("quote, backslash and line breaks escaped")
            << odd
            << "addMarker(40.6704,-74.6438,createHtmlContent(\"1-4-202\",\"O'Hara "
               "</script>\",\"31.28\","
               "\"Line\\r\\nTwo\\u2028\",\"\\\"A\\\" ST \\\\ "
               "9\",\"32495\",\"1-4-202a-08,1-4-202b-08\"))";
    }
    void markerScript()
    {
        QFETCH(StationMarker, station);
        QFETCH(QString, script);
        QCOMPARE(station.script(), script);

        FakeMapBrowser browser;
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return true; });
        map.ShowStationMarker(station);
        QCOMPARE(browser.calls, QStringList{"script " + script});
        QCOMPARE(browser.languages, QStringList{"javascript"});
    }

    void markerNeedsNumericPosition_data()
    {
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("longitude");
        QTest::addColumn<bool>("runs");
        QTest::newRow("integers") << "41"
                                  << "-75" << true;
        QTest::newRow("exponent") << "4.1e1"
                                  << "-7.5E+1" << true;
        QTest::newRow("empty latitude") << ""
                                        << "-74.6438" << false;
        QTest::newRow("decimal comma") << "40,6704"
                                       << "-74.6438" << false;
        QTest::newRow("script in longitude") << "40.6"
                                             << "0);alert(1" << false;
    }
    void markerNeedsNumericPosition()
    {
        QFETCH(QString, latitude);
        QFETCH(QString, longitude);
        QFETCH(bool, runs);
        StationMarker station = exampleStation();
        station.latitude = latitude;
        station.longitude = longitude;
        FakeMapBrowser browser;
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return true; });
        if (runs) {
            map.ShowStationMarker(station);
            QCOMPARE(browser.calls.size(), 1);
        } else {
            QVERIFY_THROWS_EXCEPTION(StradexError, map.ShowStationMarker(station));
            QVERIFY(browser.calls.isEmpty());
        }
    }

    void failingMarkerCallRaisesTheBrowsersDescription()
    {
        FakeMapBrowser browser;
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return true; });
        browser.failingScripts << exampleStation().script();
        browser.failure = QStringLiteral("ReferenceError: addMarker is not defined");
        try {
            map.ShowStationMarker(exampleStation());
            QFAIL("no error raised");
        } catch (const StradexError& e) {
            QCOMPARE(e.message(), browser.failure);
        }
    }

    void readPageAttribute_data()
    {
        QTest::addColumn<QList<PageElement>>("inputs");
        QTest::addColumn<QString>("result");
        QTest::newRow("no element") << QList<PageElement>{} << "";
        QTest::newRow("no match") << QList<PageElement>{{"provider_type", "YAHOO"}, {"other", "x"}}
                                  << "";
        QTest::newRow("one match")
            << QList<PageElement>{{"provider_type", "YAHOO"}, {"attributesfield", "z=7"}} << "z=7";
        QTest::newRow("last of two wins") << QList<PageElement>{{"attributesfield", "first"},
                                                                {"x", "y"},
                                                                {"attributesfield", "second"}}
                                          << "second";
        QTest::newRow("id differs in case") << QList<PageElement>{{"AttributesField", "z=7"}} << "";
    }
    void readPageAttribute()
    {
        QFETCH(QList<PageElement>, inputs);
        QFETCH(QString, result);
        FakeMapBrowser browser;
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return true; });
        browser.elements.insert(QStringLiteral("INPUT"), inputs);
        browser.elements.insert(QStringLiteral("input"), {{"attributesfield", "lower-case tag"}});
        QCOMPARE(map.ReadPageAttribute("getMapAttributes()", "input", "attributesfield", "value"),
                 result);
        QCOMPARE(browser.calls, QStringList({GetAttributes, ReadInputs}));
    }

    void readPageAttributeFailures_data()
    {
        QTest::addColumn<bool>("document");
        QTest::addColumn<bool>("html");
        QTest::addColumn<bool>("body");
        QTest::addColumn<bool>("scriptFails");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("no document")
            << false << false << true << false << "Invalid HTML document" << QStringList{};
        QTest::newRow("not an HTML document")
            << true << false << true << false << "Invalid HTML document" << QStringList{};
        QTest::newRow("no body") << true << true << false << false << "Can't find <body> element"
                                 << QStringList{GetAttributes, ReadInputs};
        QTest::newRow("failing script")
            << true << true << true << true << "ReferenceError: getMapAttributes is not defined"
            << QStringList{GetAttributes};
    }
    void readPageAttributeFailures()
    {
        QFETCH(bool, document);
        QFETCH(bool, html);
        QFETCH(bool, body);
        QFETCH(bool, scriptFails);
        QFETCH(QString, error);
        QFETCH(QStringList, calls);
        FakeMapBrowser browser;
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return true; });
        browser.document = document;
        browser.html = html;
        browser.body = body;
        if (scriptFails)
            browser.failingScripts << QStringLiteral("getMapAttributes()");
        try {
            map.ReadPageAttribute("getMapAttributes()", "input", "attributesfield", "value");
            QFAIL("no error raised");
        } catch (const StradexError& e) {
            QCOMPARE(e.message(), error);
        }
        QCOMPARE(browser.calls, calls);
    }

    void loadMapWaitsForAnInteractiveDocument()
    {
        FakeMapBrowser browser;
        browser.state = MapBrowser::Complete; // what the previous page left
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return true; });
        map.LoadMap();
        QCOMPARE(browser.calls, LoadSteps);
        QCOMPARE(browser.messageRuns, 2); // loading -> loaded -> interactive
        QCOMPARE(browser.loaded, QList<QByteArray>{ZarnMap::pageText(
                                     ZarnMap::mapPageLines(testConfig(), "YAHOO", ""))});
        QVERIFY(messages.messages.isEmpty());
    }

    void loadMapWithoutConnectionLeavesTheBrowserAlone()
    {
        FakeMapBrowser browser;
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return false; });
        map.LoadMap();
        QCOMPARE(messages.messages, QStringList{"You need an internet connection to see the map"});
        QVERIFY(browser.calls.isEmpty());
    }

    void loadMapWithoutDocumentStopsSilently()
    {
        FakeMapBrowser browser;
        browser.document = false;
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return true; });
        map.LoadMap();
        QCOMPARE(browser.calls, LoadSteps.first(2));
        QVERIFY(messages.messages.isEmpty() && messages.errors.isEmpty());
    }

    void providerSwitch_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("readFails");
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("errors");
        QTest::newRow("same item")
            << QStringList{"Yahoo"} << false << "YAHOO" << QStringList{} << 0;
        QTest::newRow("new item") << QStringList{"Google"} << false << "GOOGLE"
                                  << QStringList{GetAttributes, ReadInputs} + LoadSteps << 0;
        QTest::newRow("new item, then again")
            << QStringList{"Microsoft", "MICROSOFT"} << false << "MICROSOFT"
            << QStringList{GetAttributes, ReadInputs} + LoadSteps << 0;
        QTest::newRow("failed read: no reload, name kept")
            << QStringList{"Google", "Google"} << true << "GOOGLE" << QStringList{GetAttributes}
            << 1;
    }
    void providerSwitch()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, readFails);
        QFETCH(QString, provider);
        QFETCH(QStringList, calls);
        QFETCH(int, errors);
        FakeMapBrowser browser;
        RecordingMessageSink messages;
        ZarnMap map(testConfig(), browser, messages, [] { return true; });
        if (readFails)
            browser.failingScripts << QStringLiteral("getMapAttributes()");
        for (const QString& item : clicks)
            runGuarded(messages, [&] { map.AdvOfficeRadioGroup1Click(item); });
        QCOMPARE(map.providerName(), provider);
        QCOMPARE(browser.calls, calls);
        QCOMPARE(messages.errors.size(), errors);
        if (calls.contains("load"))
            QCOMPARE(browser.loaded.value(0),
                     ZarnMap::pageText(ZarnMap::mapPageLines(testConfig(), provider, "")));
    }

    void connectionFromReachability_data()
    {
        QTest::addColumn<Reachability>("reachability");
        QTest::addColumn<int>("connected"); // -1: unknown, ask the interfaces
        QTest::newRow("disconnected") << Reachability::Disconnected << 0;
        QTest::newRow("local network only") << Reachability::Local << 1;
        QTest::newRow("site") << Reachability::Site << 1;
        QTest::newRow("online") << Reachability::Online << 1;
        QTest::newRow("unknown") << Reachability::Unknown << -1;
    }
    void connectionFromReachability()
    {
        QFETCH(Reachability, reachability);
        QFETCH(int, connected);
        const auto known = InternetConnection::fromReachability(reachability);
        QCOMPARE(known ? int(*known) : -1, connected);
    }

    void connectionFromInterfaces_data()
    {
        QTest::addColumn<QList<Flags>>("interfaces");
        QTest::addColumn<bool>("connected");
        const Flags upRunning = Flags(QNetworkInterface::IsUp) | QNetworkInterface::IsRunning;
        QTest::newRow("none") << QList<Flags>{} << false;
        QTest::newRow("loopback only")
            << QList<Flags>{upRunning | QNetworkInterface::IsLoopBack} << false;
        QTest::newRow("up, not running") << QList<Flags>{Flags(QNetworkInterface::IsUp)} << false;
        QTest::newRow("running, not up")
            << QList<Flags>{Flags(QNetworkInterface::IsRunning)} << false;
        QTest::newRow("loopback and an ethernet")
            << QList<Flags>{upRunning | QNetworkInterface::IsLoopBack,
                            upRunning | QNetworkInterface::CanBroadcast}
            << true;
    }
    void connectionFromInterfaces()
    {
        QFETCH(QList<Flags>, interfaces);
        QFETCH(bool, connected);
        QCOMPARE(InternetConnection::fromInterfaces(interfaces), connected);
    }
};

QTEST_GUILESS_MAIN(TestZarnMap)
#include "test_zarnmap.moc"
