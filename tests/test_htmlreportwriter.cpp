// The HTML report writer: the report and feed of a small selection against golden files
// (in the grid's order and after a title-click sort), the feed name, the program-folder
// lines, escaping of markup in the data, and the files it writes or leaves alone.

#include "data/querycomposer.h"
#include "data/stationdata.h"
#include "export/htmlreportwriter.h"
#include "export/reportassets.h"
#include "platform/stradexerror.h"
#include "support/filesizelimit.h"
#include "support/fixturedb.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <optional>

using namespace FixtureDb;

namespace {

const QString Table = QStringLiteral("all data");

// Table column positions (not result fields) of the station table.
enum TableColumn
{
    Number = 0,
    Sri = 1,
    Mp = 2,
    Street = 3,
    Location = 4,
    Lat = 5,
    Lon = 6,
    Aadt = 7,
    Report = 8,
    Images = 11
};

// The station columns' SQL values with some of them replaced, as one INSERT.
QString row(const QString& number, int aadt, const QMap<int, QString>& replaced = {})
{
    QStringList values = {QStringLiteral("'%1'").arg(number),
                          QStringLiteral("'00000202__'"),
                          QStringLiteral("31.28"),
                          QStringLiteral("'MAIN ST'"),
                          QStringLiteral("'BET OAK RD & ELM ST'"),
                          QStringLiteral("40.6704"),
                          QStringLiteral("-74.6438"),
                          QString::number(aadt),
                          QStringLiteral("'%1-wrpt-08_01_02_08.html'").arg(number),
                          QStringLiteral("'Glenmont'"),
                          QStringLiteral("'Calder'"),
                          QStringLiteral("NULL")};
    for (auto it = replaced.begin(); it != replaced.end(); ++it)
        values[it.key()] = it.value();
    return insert(Table, values);
}

Config testConfig()
{
    Config c;
    c.reportServer = QStringLiteral("http://reports.korva.example");
    c.photoServer = QStringLiteral("http://photos.korva.example/stradex/images/");
    c.reportMapsHost = QStringLiteral("maps.korva.example");
    c.mapSearchPage = QStringLiteral("http://search.korva.example/maps");
    c.slideShowPluginPage = QStringLiteral("http://slides.korva.example/download/");
    c.headerImageUrl =
        QStringLiteral("http://photos.korva.example/transportation/images/header.gif");
    c.locationMapApiKey = QString(86, QLatin1Char('K'));
    c.reportNotice = QStringLiteral("Station positions are approximate.");
    c.reportMapCenterLatitude = QStringLiteral("41.65");
    c.reportMapCenterLongitude = QStringLiteral("-76.40");
    return c;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The station numbers of the report's rows, in page order (the text of each map-search link).
QStringList reportStations(const QByteArray& report)
{
    static const QRegularExpression link(
        QStringLiteral("<td><a target=_blank href=\"[^\"]*\">([^<]*)</a></td>"));
    QStringList numbers;
    for (auto it = link.globalMatch(QString::fromUtf8(report)); it.hasNext();)
        numbers << it.next().captured(1);
    return numbers;
}

} // namespace

class TestHtmlReportWriter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    StationData m_data;

    HtmlReportWriter writer(int recordCount) const
    {
        HtmlReportWriter w(testConfig());
        w.setProgramFolder(QStringLiteral("/opt/Korva Stradex/"));
        w.setTableText(QStringLiteral("ALL DATA"));
        w.setRecordCount(recordCount);
        w.setCreationText(QStringLiteral("3/5/24 2:07:09 PM"));
        return w;
    }

    // Opens a fixture of the given rows and runs the all-counties statement.
    void openStations(const QStringList& rows)
    {
        const QString file = m_dir.filePath(QStringLiteral("stations-%1.db").arg(++m_fixtures));
        create(file,
               QStringList{QStringLiteral("CREATE TABLE \"all data\" ") + stationColumns()} + rows);
        m_data.open(file);
        QueryComposer composer;
        m_data.runQuery(
            composer.composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {}));
    }
    int m_fixtures = 0;

    // A station without photos, one with one photo, one with three, one with a NULL SRI
    // and an empty image list, and one with a whole-number mile post, in two counties.
    void openSmallSelection()
    {
        openStations(
            {row(QStringLiteral("1-1-101"), 5200),
             row(QStringLiteral("1-1-102"), 64000, {{Images, QStringLiteral("'1-1-102a-08'")}}),
             row(QStringLiteral("1-1-103"), 800,
                 {{Images, QStringLiteral("'1-1-103a-08,1-1-103b-08,1-1-103sketch-08'")},
                  {Street, QStringLiteral("' RIVER RD'")}}),
             row(QStringLiteral("1-1-104"), 12500,
                 {{Sri, QStringLiteral("NULL")},
                  {Images, QStringLiteral("''")},
                  {Location, QStringLiteral("'AT MILL BRIDGE '")}}),
             row(QStringLiteral("2-2-201"), 31000,
                 {{Mp, QStringLiteral("38")},
                  {Lat, QStringLiteral("41.1")},
                  {Lon, QStringLiteral("-75.0031")},
                  {10, QStringLiteral("'Bramton'")},
                  {9, QStringLiteral("'Eastham'")},
                  {Images, QStringLiteral("'2-2-201a-07'")}})});
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void reportAndFeedMatchGoldenFiles_data()
    {
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QString>("golden");
        QTest::newRow("grid order") << false << "selection";
        QTest::newRow("after a title click on AADT") << true << "selection-by-aadt";
    }
    void reportAndFeedMatchGoldenFiles()
    {
        QFETCH(bool, sorted);
        QFETCH(QString, golden);
        openSmallSelection();
        if (sorted) {
            QueryComposer composer;
            composer.composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {});
            m_data.runQuery(composer.composeTitleSort(QStringLiteral("AADT")));
        }
        const ResultSet& rs = m_data.resultSet();
        const HtmlReportWriter::Pages pages =
            writer(rs.recordCount()).compose(QStringLiteral("stations.rss"), m_data.stationQuery());

        const QString base = QStringLiteral(STRADEX_TEST_DATA "/report/") + golden;
        if (qEnvironmentVariableIsSet("STRADEX_UPDATE_GOLDEN")) {
            QDir().mkpath(QStringLiteral(STRADEX_TEST_DATA "/report"));
            for (const auto& [suffix, bytes] :
                 {std::pair{".html", pages.report}, std::pair{".rss", pages.feed}}) {
                QFile out(base + QLatin1String(suffix));
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write(bytes);
            }
        }
        const QByteArray expectedReport = readFile(base + QStringLiteral(".html"));
        QVERIFY2(!expectedReport.isEmpty(),
                 "run with STRADEX_UPDATE_GOLDEN=1 to create the golden files");
        QCOMPARE(pages.report, expectedReport);
        QCOMPARE(pages.feed, readFile(base + QStringLiteral(".rss")));

        // The rows follow the grid's order, and the total is the number of rows.
        QStringList grid;
        for (int r = 0; r < rs.recordCount(); ++r)
            grid << rs.text(r, 0);
        QCOMPARE(reportStations(pages.report), grid);
        QVERIFY(pages.report.contains("<span id=\"count\"></span>5</b>"));
        QVERIFY(!pages.report.startsWith("\xEF\xBB\xBF"));
        QVERIFY(!QString::fromLatin1(pages.report + pages.feed)
                     .contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    }

    void feedNameDropsTheExtension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("feed");
        QTest::newRow("html") << "/home/ann/reports/stations.html"
                              << "stations.rss";
        QTest::newRow("dots in the name") << "/home/ann/aadt.2008.html"
                                          << "aadt.2008.rss";
        QTest::newRow("dot in the folder only") << "/home/ann/v1.2/report"
                                                << "report.rss";
        QTest::newRow("backslash folders") << "C:\\reports\\aadt.html"
                                           << "aadt.rss";
        QTest::newRow("report named like its feed") << "/home/ann/photos.rss"
                                                    << "photos.rss.rss";
    }
    void feedNameDropsTheExtension()
    {
        QFETCH(QString, path);
        QFETCH(QString, feed);
        QCOMPARE(HtmlReportWriter::feedName(path), feed);
    }

    void programFolderLines_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("creationEnd");
        QTest::addColumn<QString>("iconAddress");
        QTest::newRow("folder with a blank") << "/opt/Korva Stradex/"
                                             << "running from /opt/Korva Stradex/.</td></tr>"
                                             << "file:///opt/Korva Stradex/icons/small/map1.png";
        QTest::newRow("drive letter and backslashes")
            << "C:\\Program Files\\Stradex\\"
            << "running from C:\\Program Files\\Stradex\\.</td></tr>"
            << "file:///C:/Program Files/Stradex/icons/small/map1.png";
    }
    void programFolderLines()
    {
        QFETCH(QString, folder);
        QFETCH(QString, creationEnd);
        QFETCH(QString, iconAddress);
        openStations({row(QStringLiteral("1-1-101"), 5200)});
        HtmlReportWriter w = writer(1);
        w.setProgramFolder(folder);
        const QStringList lines =
            QString::fromUtf8(w.compose(QStringLiteral("r.rss"), m_data.stationQuery()).report)
                .split(QStringLiteral("\r\n"));
        const auto creation = std::find_if(lines.begin(), lines.end(), [](const QString& l) {
            return l.startsWith(
                QLatin1String("<tr><td>This report was created at: <b>3/5/24 2:07:09 PM</b>"));
        });
        QVERIFY(creation != lines.end());
        QVERIFY2(creation->endsWith(creationEnd), qPrintable(*creation));
        QVERIFY(
            lines.contains(QStringLiteral("<img width=0 height=0 src=\"%1\" >").arg(iconAddress)));
        QVERIFY(lines.contains(QStringLiteral("stradex_image.src = \"%1\"").arg(iconAddress)));
    }

    // A value with markup characters shows as itself in the page and the feed: the page
    // escapes it, addresses keep their parameters apart, and the feed stays valid XML.
    void markupInValuesIsEscaped_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("sqlValue");
        QTest::addColumn<QStringList>("pageTexts");
        QTest::addColumn<QString>("feedTitle");
        QTest::addColumn<QString>("feedDescription");
        QTest::newRow("location") << int(Location) << "'A<b>\"x\" & y'"
                                  << QStringList{"<td>A&lt;b&gt;&quot;x&quot; &amp; y</td>"}
                                  << "Station Number: 9-9-901"
                                  << "Located at: MAIN ST, A<b>\"x\" and y";
        QTest::newRow("station number")
            << int(Number) << "'9&<9>'"
            << QStringList{"\">9&amp;&lt;9&gt;</a></td>", "&station=9%26&lt;9&gt;",
                           "rel=\"lytebox[9&amp;&lt;9&gt;]\"",
                           "title=\"Station Name:\r\n9&amp;&lt;9&gt;. Location may not be exact.\""}
            << "Station Number: 9&<9>"
            << "Located at: MAIN ST, BET OAK RD and ELM ST";
        QTest::newRow("SRI with a percent sign and a hash")
            << int(Sri) << "'50%#1'" << QStringList{"<td>50%#1</td>", "&sri=50%25%231"}
            << "Station Number: 9-9-901"
            << "Located at: MAIN ST, BET OAK RD and ELM ST";
        QTest::newRow("report name with a blank and a quote")
            << int(Report) << "'a b\"c.html'"
            << QStringList{"<a href=http://reports.korva.example/zarnweb/Report/a%20b%22c.html "
                           "target=_blank>"}
            << "Station Number: 9-9-901"
            << "Located at: MAIN ST, BET OAK RD and ELM ST";
        // Every character of a value longer than the writer's block becomes an entity of
        // six bytes: the page and the feed still carry all of it.
        const int quotes = 100000;
        QTest::newRow("location of quotes, longer than a block")
            << int(Location) << QStringLiteral("replace(hex(zeroblob(%1)), '00', '\"')").arg(quotes)
            << QStringList{QStringLiteral("<td>") + QStringLiteral("&quot;").repeated(quotes) +
                           QStringLiteral("</td>")}
            << "Station Number: 9-9-901"
            << QStringLiteral("Located at: MAIN ST, ") + QString(quotes, QLatin1Char('"'));
        QTest::newRow("quoted photo name") << int(Images) << "'\"x\"\"<y>\"'"
                                           << QStringList{"<a "
                                                          "href=\"http://photos.korva.example/"
                                                          "stradex/images/x&quot;&lt;y&gt;.jpg\""}
                                           << "Station Number: 9-9-901"
                                           << "Located at: MAIN ST, BET OAK RD and ELM ST";
    }
    void markupInValuesIsEscaped()
    {
        QFETCH(int, column);
        QFETCH(QString, sqlValue);
        QFETCH(QStringList, pageTexts);
        QFETCH(QString, feedTitle);
        QFETCH(QString, feedDescription);
        QMap<int, QString> values{{column, sqlValue}};
        if (column != Images)
            values.insert(Images, QStringLiteral("'9-9-901a'"));
        openStations({row(QStringLiteral("9-9-901"), 100, values)});
        const HtmlReportWriter::Pages pages =
            writer(1).compose(QStringLiteral("r.rss"), m_data.stationQuery());

        const QString page = QString::fromUtf8(pages.report);
        for (const QString& text : pageTexts)
            QVERIFY2(page.contains(text), qPrintable(text));
        QVERIFY(!page.contains(QLatin1String("<b>\"x\"")));

        QXmlStreamReader xml(pages.feed);
        QString title, description;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("title"))
                title = xml.readElementText();
            else if (xml.name() == QLatin1String("description"))
                description = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(title, feedTitle);
        QCOMPARE(description, feedDescription);
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("searched");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::newRow("backslashes") << "C:\\Program Files\\Stradex\\"
                                     << "\\"
                                     << "/"
                                     << "C:/Program Files/Stradex/";
        QTest::newRow("ampersands") << "BET OAK RD & ELM ST & 5TH"
                                    << "&"
                                    << "and"
                                    << "BET OAK RD and ELM ST and 5TH";
        QTest::newRow("case-sensitive") << "And & and"
                                        << "and"
                                        << "or"
                                        << "And & or";
        QTest::newRow("replacement forms a new occurrence") << "aaab"
                                                            << "ab"
                                                            << "b"
                                                            << "b";
        QTest::newRow("replacement holds the searched text") << "a&b"
                                                             << "&"
                                                             << "&&"
                                                             << "a&&b";
        QTest::newRow("nothing searched") << "abc"
                                          << ""
                                          << "x"
                                          << "abc";
    }
    void replaceAll()
    {
        QFETCH(QString, source);
        QFETCH(QString, searched);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        QCOMPARE(HtmlReportWriter::ReplaceAll(source, searched, replacement), result);
    }

    void writesReportAndFeedBesideTheAssets()
    {
        openSmallSelection();
        const QString folder = m_dir.filePath(QStringLiteral("my reports"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/aadt.2008.html");
        const QString before = QDir::currentPath();

        const HtmlReportWriter w = writer(m_data.resultSet().recordCount());
        w.WriteHtmlReport(path, m_data.stationQuery());
        const HtmlReportWriter::Pages expected =
            w.compose(QStringLiteral("aadt.2008.rss"), m_data.stationQuery());
        QCOMPARE(readFile(path), expected.report);
        QCOMPARE(readFile(folder + QStringLiteral("/aadt.2008.rss")), expected.feed);
        QVERIFY(expected.report.contains("<link id=\"gallery\" rel=\"alternate\" "
                                         "href=\"aadt.2008.rss\" type=\"application/rss+xml\">"));
        QCOMPARE(QDir::currentPath(), before);
        QVERIFY(QFile::exists(folder + QStringLiteral("/icons/small/loc.html")));

        // A second report replaces its own files.
        openStations({row(QStringLiteral("3-3-301"), 10)});
        writer(1).WriteHtmlReport(path, m_data.stationQuery());
        QCOMPARE(reportStations(readFile(path)), QStringList{QStringLiteral("3-3-301")});
        QVERIFY(!readFile(folder + QStringLiteral("/aadt.2008.rss")).contains("<item>"));
    }

    // A failure ends the writer with an error and leaves no new report or feed.
    void failureLeavesNoReport_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing folder") << "folder"
                                        << "Can't create the file";
        QTest::newRow("rejected statement") << "statement"
                                            << "no such table";
        QTest::newRow("head template missing") << "template"
                                               << "Can't load resource: header";
        QTest::newRow("read-only report") << "read-only"
                                          << "the file is read-only";
        QTest::newRow("full disk") << "full"
                                   << "Can't write the report: File too large";
    }
    void failureLeavesNoReport()
    {
        QFETCH(QString, failure);
        QFETCH(QString, message);
        openSmallSelection();
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("stations.html"));
        HtmlReportWriter w = writer(5);
        if (failure == QLatin1String("folder")) {
            path = dir.filePath(QStringLiteral("gone/stations.html"));
        } else if (failure == QLatin1String("read-only")) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an older report");
            old.close();
            QVERIFY(old.setPermissions(QFileDevice::ReadOwner));
        } else if (failure == QLatin1String("statement")) {
            m_data.stationQuery().setSql(QStringLiteral("SELECT * FROM \"no table\""));
        } else if (failure == QLatin1String("full")) {
            // The assets fit; the report does not.
            ReportAssets(testConfig()).WriteReportAssets(dir.path());
        } else {
            // A store without the head template: a copy of the program's assets.
            const ReportAssets programStore(testConfig());
            const QString store = dir.filePath(QStringLiteral("store"));
            for (QDirIterator it(QStringLiteral(":/report"), QDir::Files,
                                 QDirIterator::Subdirectories);
                 it.hasNext();) {
                const QString file = it.next();
                const QString target = store + file.mid(QStringLiteral(":/report").size());
                QDir().mkpath(QFileInfo(target).path());
                QVERIFY(QFile::copy(file, target));
            }
            QVERIFY(QFile::remove(store + QStringLiteral("/txt/header")));
            w.setAssetRoot(store);
        }
        try {
            std::optional<FileSizeLimit> fullDisk;
            if (failure == QLatin1String("full"))
                fullDisk.emplace(4096);
            w.WriteHtmlReport(path, m_data.stationQuery());
            QFAIL("the writer did not fail");
        } catch (const StradexError& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        if (failure == QLatin1String("read-only"))
            QCOMPARE(readFile(path), QByteArray("an older report"));
        else
            QVERIFY(!QFile::exists(path));
        // No feed, and no temporary file left beside the report.
        const QStringList left =
            QDir(QFileInfo(path).path()).entryList(QDir::Files).filter(QStringLiteral("stations"));
        QCOMPARE(left, QFile::exists(path) ? QStringList{QStringLiteral("stations.html")}
                                           : QStringList());
        if (failure != QLatin1String("folder"))
            QVERIFY(QFile::exists(dir.filePath(QStringLiteral("icons/small/map1.png"))));
    }
};

QTEST_GUILESS_MAIN(TestHtmlReportWriter)
#include "test_htmlreportwriter.moc"
