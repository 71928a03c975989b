#include "map/webenginemapbrowser.h"
#include "map/zarnmap.h"
#include "platform/recordingseams.h"
#include "platform/stradexerror.h"
#include "siteserver.h"
#include "support/fixturedb.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

// The real WebEngine browser against the site stand-in: the map host page loads, the
// map script draws the map, markers land on it, and failing scripts come back as errors.
class TestMapBrowser : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SiteServer> m_server;
    Config m_config;
    RecordingMessageSink m_messages;
    std::unique_ptr<WebEngineMapBrowser> m_browser;
    std::unique_ptr<ZarnMap> m_map;

    // The attribute, or the error text when the page cannot be read yet.
    QString attribute(const QString& script, const QString& tag, const QString& id,
                      const QString& name)
    {
        try {
            return m_map->ReadPageAttribute(script, tag, id, name);
        } catch (const StradexError& e) {
            return QStringLiteral("error: ") + e.message();
        }
    }
    QString mapAttributes()
    {
        return attribute("getMapAttributes()", "input", "attributesfield", "value");
    }

    StationMarker station() const
    {
        return {"40.6704",     "-74.6438", "1-4-202",
                "00000023__",  "31.28",    "Town",
                "MAIN \"ST\"", "32495",    "1-4-202a-08,1-4-202b-08"};
    }

public:
    // Qt WebEngine needs shared OpenGL contexts, set before the application object exists.
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString db = m_dir.filePath(QStringLiteral("stations.db"));
        FixtureDb::create(
            db, {QStringLiteral("CREATE TABLE \"all data\" ") + FixtureDb::stationColumns(),
                 FixtureDb::station("all data", "1-4-202", "Alder", "Town", 32495)});
        // No tile address: the test stays on loopback, and the map shows a plain background.
        m_server = std::make_unique<SiteServer>(
            SiteServer::Options{db, SiteServer::defaultWebModules(), m_dir.path(), {}});
        QVERIFY(m_server->listen(0) != 0);
        const QString host = QStringLiteral("127.0.0.1:%1").arg(m_server->port());
        m_config.reportServer = m_server->baseAddress();
        m_config.googleMapsHost = m_config.yahooMapsHost = m_config.microsoftMapsHost = host;
        m_config.yahooAppId =
            QStringLiteral("Kv3.Stradex.Zarn.Map.2008.demo.0123456789abcdefghijklmnopqrs");

        m_browser =
            std::make_unique<WebEngineMapBrowser>(QUrl(m_config.reportServer + "/zarnweb/Report/"));
        m_browser->resize(640, 480);
        m_browser->show();
        m_map = std::make_unique<ZarnMap>(m_config, *m_browser, m_messages, [] { return true; });
    }

    void cleanupTestCase()
    {
        m_map.reset();
        m_browser.reset();
    }

    void beforeALoadThereIsNoDocument()
    {
        QVERIFY(!m_browser->hasDocument());
        QCOMPARE(mapAttributes(), QStringLiteral("error: Invalid HTML document"));
    }

    void pageLoadsAndInitMapRuns()
    {
        m_map->LoadMap();
        QVERIFY(m_messages.messages.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(attribute("0", "input", "provider_type", "value"),
                                  QStringLiteral("YAHOO"), 20000);
        const QString attributes = mapAttributes();
        QVERIFY2(attributes.startsWith(QStringLiteral("provider=YAHOO;zoom=")),
                 qPrintable(attributes));
        QVERIFY2(attributes.endsWith(QStringLiteral(";markers=")), qPrintable(attributes));
        // The map library drew its panes into the map element.
        const auto panes =
            m_browser->bodyElements(QStringLiteral("DIV"), QStringLiteral("className"));
        QVERIFY(panes);
        QVERIFY(std::any_of(panes->begin(), panes->end(), [](const PageElement& e) {
            return e.attributeValue.contains("leaflet-marker-pane");
        }));
    }

    void markerCallPlacesAMarkerThePageReports()
    {
        m_map->ShowStationMarker(station());
        QCOMPARE(mapAttributes().section(';', -1),
                 QStringLiteral("markers=1-4-202@40.6704,-74.6438"));
        const auto images = m_browser->bodyElements(QStringLiteral("IMG"), QStringLiteral("title"));
        QVERIFY(images);
        QVERIFY(std::any_of(images->begin(), images->end(), [](const PageElement& e) {
            return e.attributeValue == "Station 1-4-202";
        }));
        // The popup carries the details, the quoted street name among them.
        const auto cells =
            m_browser->bodyElements(QStringLiteral("TD"), QStringLiteral("textContent"));
        QVERIFY(cells);
        QStringList texts;
        for (const PageElement& e : *cells)
            texts << e.attributeValue;
        for (const char* text :
             {"00000023__", "31.28", "Town", "MAIN \"ST\"", "32495", "1-4-202a-08"})
            QVERIFY2(texts.join('\n').contains(QLatin1String(text)), text);
    }

    void failingScriptsComeBackAsErrors_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("error");
        QTest::newRow("undefined function") << "noSuchFunction()"
                                            << "ReferenceError: noSuchFunction is not defined";
        QTest::newRow("syntax error") << "addMarker(1,,"
                                      << "SyntaxError";
        QTest::newRow("thrown by the map script") << "addMarker(\"north\",1,\"\")"
                                                  << "Error: The station has no valid position";
    }
    void failingScriptsComeBackAsErrors()
    {
        QFETCH(QString, script);
        QFETCH(QString, error);
        const ScriptOutcome outcome = m_browser->runScript(script, QStringLiteral("javascript"));
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.error.startsWith(error), qPrintable(outcome.error));
    }

    void providerSwitchReloadsAFreshMap()
    {
        QVERIFY(m_map->AdvOfficeRadioGroup1Click(QStringLiteral("Google")));
        QTRY_COMPARE_WITH_TIMEOUT(attribute("0", "input", "provider_type", "value"),
                                  QStringLiteral("GOOGLE"), 20000);
        QVERIFY2(mapAttributes().endsWith(QStringLiteral(";markers=")),
                 qPrintable(mapAttributes()));
    }

    void unknownProviderLeavesTheMapScriptWithoutAMap()
    {
        QVERIFY(m_map->AdvOfficeRadioGroup1Click(QStringLiteral("Nowhere")));
        QTRY_COMPARE_WITH_TIMEOUT(attribute("0", "input", "provider_type", "value"),
                                  QStringLiteral("NOWHERE"), 20000);
        try {
            m_map->ShowStationMarker(station());
            QFAIL("no error raised");
        } catch (const StradexError& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("Error: The map of provider NOWHERE is not available"));
        }
    }
};

QTEST_MAIN(TestMapBrowser)
#include "test_mapbrowser.moc"
