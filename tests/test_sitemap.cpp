#include "siteserver.h"
#include "support/fixturedb.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Answer
{
    int status = 0;
    QByteArray type;
    QByteArray body;
};
} // namespace

// The stand-in's map scripts, provider APIs, Leaflet files and station report pages,
// served from a small station database.
class TestSiteMap : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SiteServer> m_server;
    QNetworkAccessManager m_network;

    Answer get(const QString& path)
    {
        QNetworkRequest request(QUrl(m_server->baseAddress() + path));
        QNetworkReply* reply = m_network.get(request);
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        Answer a{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                 reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), reply->readAll()};
        reply->deleteLater();
        return a;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString db = m_dir.filePath(QStringLiteral("stations.db"));
        using namespace FixtureDb;
        QStringList statements;
        for (const QString table : {"aadt 2008", "all data"}) {
            statements << QStringLiteral("CREATE TABLE \"%1\" ").arg(table) + stationColumns()
                       << station(table, "1-1-101", "Alder", "Town", 32495,
                                  "'1-1-101a-08,1-1-101b-08'")
                       << station(table, "1-1-102", "Alder", "Eastham", 1200)
                       << QStringLiteral(
                              "UPDATE \"%1\" SET SI_STREET_NAME='<b>MAIN & \"1st\"</b>', "
                              "SI_LAT=41.25, SI_LON=-75.5 WHERE SI_STATION_NUM='1-1-101'")
                              .arg(table);
        }
        // Report names of other kinds, and one station only in the table of all years.
        for (const char* ext : {"pdf", "rtf", "txt", "xls"})
            statements << station("all data", QStringLiteral("2-2-%1").arg(QLatin1String(ext)),
                                  "Birch", "Glen (East)", 7)
                              .replace(QStringLiteral("-wrpt-08_01_02_08.html"),
                                       QStringLiteral("-r.") + QLatin1String(ext));
        FixtureDb::create(db, statements);
        m_server = std::make_unique<SiteServer>(
            SiteServer::Options{db, SiteServer::defaultWebModules(), m_dir.path(),
                                QStringLiteral("http://tiles.example/{z}/{x}/{y}.png")});
        QVERIFY(m_server->listen(0) != 0);
    }

    void reportPages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QByteArrayList>("contains");
        QTest::newRow("html") << "1-1-101-wrpt-08_01_02_08.html"
                              << QByteArray("text/html; charset=utf-8")
                              << QByteArrayList{
                                     "<title>AADT report, station 1-1-101</title>",
                                     "<td>&lt;b&gt;MAIN &amp; &quot;1st&quot;&lt;/b&gt;</td>",
                                     "<td>32,495</td>", "<td>2008</td>",
                                     "<td>1-1-101a-08,1-1-101b-08</td>"};
        QTest::newRow("text") << "2-2-txt-r.txt" << QByteArray("text/plain; charset=utf-8")
                              << QByteArrayList{"Station number: 2-2-txt\r\n", "AADT: 7\r\n",
                                                "Count year: all years\r\n", "Photos: none\r\n"};
        QTest::newRow("rich text")
            << "2-2-rtf-r.rtf" << QByteArray("application/rtf")
            << QByteArrayList{"{\\rtf1", "{\\b Station number:} 2-2-rtf\\par"};
        QTest::newRow("spreadsheet") << "2-2-xls-r.xls" << QByteArray("application/vnd.ms-excel")
                                     << QByteArrayList{"<td>2-2-xls</td>"};
        QTest::newRow("pdf") << "2-2-pdf-r.pdf" << QByteArray("application/pdf")
                             << QByteArrayList{"%PDF-1.4", "(Municipality: Glen \\(East\\))"};
    }
    void reportPages()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, type);
        QFETCH(QByteArrayList, contains);
        const Answer a = get(QStringLiteral("/zarnweb/Report/") + name);
        QCOMPARE(a.status, 200);
        QCOMPARE(a.type, type);
        for (const QByteArray& text : contains)
            QVERIFY2(a.body.contains(text), text.constData());
    }

    void pdfCrossReferencePointsAtItsObjects()
    {
        const QByteArray pdf = get(QStringLiteral("/zarnweb/Report/2-2-pdf-r.pdf")).body;
        const qsizetype xref =
            pdf.mid(pdf.lastIndexOf("startxref\n") + 10).split('\n').value(0).toLongLong();
        QCOMPARE(pdf.mid(xref, 5), QByteArray("xref\n"));
        const QList<QByteArray> entries = pdf.mid(xref).split('\n').mid(3, 5);
        for (int i = 0; i < entries.size(); ++i)
            QCOMPARE(pdf.mid(entries.at(i).left(10).toLongLong(), 8),
                     QByteArray::number(i + 1) + " 0 obj\n");
    }

    void unknownPathsAreNotFound_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("report the database lacks") << "/zarnweb/Report/9-9-999-wrpt.html";
        QTest::newRow("report in another folder") << "/zarnweb/1-1-101-wrpt-08_01_02_08.html";
        QTest::newRow("library file that does not exist") << "/lib/leaflet/nothing.js";
        QTest::newRow("escape from the library") << "/lib/leaflet/..%2Fpackage.json";
        QTest::newRow("escape from the images")
            << "/lib/leaflet/images/..%2F..%2F..%2Fpackage.json";
        QTest::newRow("hidden file") << "/lib/leaflet/.stradex-lock";
    }
    void unknownPathsAreNotFound()
    {
        QFETCH(QString, path);
        QCOMPARE(get(path).status, 404);
    }

    void mapScriptOpensOnTheStations()
    {
        const Answer a = get(QStringLiteral("/zarnweb/Report/zarnmap.js"));
        QCOMPARE(a.status, 200);
        QCOMPARE(a.type, QByteArray("text/javascript; charset=utf-8"));
        QVERIFY(a.body.startsWith("var ZARN_AREA = [[40.6704,-75.5],[41.25,-74.6438]];\n"));
        for (const char* function :
             {"initMap(", "createHtmlContent(", "addMarker(", "getMapAttributes("})
            QVERIFY2(a.body.contains(QByteArray("function ") + function), function);
    }

    void providerApis_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("Google") << "/maps/api/js?sensor=false"
                                << "GOOGLE";
        QTest::newRow("Yahoo") << "/ajaxymap?v=3.8&appid=Kv3.x"
                               << "YAHOO";
        QTest::newRow("Microsoft") << "/mapcontrol/mapcontrol.ashx?v=6.2"
                                   << "MICROSOFT";
    }
    void providerApis()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        const Answer a = get(path);
        QCOMPARE(a.status, 200);
        QCOMPARE(a.type, QByteArray("text/javascript; charset=utf-8"));
        QVERIFY(a.body.contains("Leaflet 1.9.4"));
        QVERIFY(!a.body.contains("sourceMappingURL"));
        const QRegularExpression settings(QStringLiteral("var ZarnProvider = (\\{.*\\});"));
        const QString line = settings.match(QString::fromUtf8(a.body)).captured(1);
        QVERIFY(line.contains(QStringLiteral("\"name\":\"%1\"").arg(name)));
        QVERIFY(line.contains(
            QStringLiteral("\"library\":\"%1/lib/leaflet/\"").arg(m_server->baseAddress())));
        QVERIFY(
            line.contains(QStringLiteral("\"tiles\":\"http://tiles.example/{z}/{x}/{y}.png\"")));
    }

    void libraryFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("type");
        QTest::newRow("style sheet")
            << "/lib/leaflet/leaflet.css" << QByteArray("text/css; charset=utf-8");
        QTest::newRow("marker picture")
            << "/lib/leaflet/images/marker-icon.png" << QByteArray("image/png");
    }
    void libraryFiles()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, type);
        const Answer a = get(path);
        QCOMPARE(a.status, 200);
        QCOMPARE(a.type, type);
        QVERIFY(!a.body.isEmpty());
    }
};

QTEST_MAIN(TestSiteMap)
#include "test_sitemap.moc"
