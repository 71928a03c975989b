// make-test-report: writes the HTML report of a table of the embedded station database,
// pointed at a site stand-in, for the browser tests of the report page.
//
//   make-test-report OUT.html --site http://127.0.0.1:PORT [--table "ALL DATA"]
//
// The report lists the table's stations in the order of the navigator's root, with the
// program's configuration except that every address of the site names the given one.

#include "data/querycomposer.h"
#include "data/stationdata.h"
#include "dbresource.h"
#include "export/htmlreportwriter.h"
#include "platform/stradexerror.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

namespace {

// The address with its scheme, host and port taken from site.
QString onSite(const QString& address, const QUrl& site)
{
    QUrl url(address);
    url.setScheme(site.scheme());
    url.setHost(site.host());
    url.setPort(site.port());
    return url.toString();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString out;
    QString table = QStringLiteral("ALL DATA");
    QUrl site;
    bool usage = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--site") && i + 1 < args.size())
            site = QUrl(args.at(++i));
        else if (args.at(i) == QLatin1String("--table") && i + 1 < args.size())
            table = args.at(++i);
        else if (out.isEmpty() && !args.at(i).startsWith(QLatin1String("--")))
            out = args.at(i);
        else
            usage = true;
    }
    if (usage || out.isEmpty() || !site.isValid() || site.port() <= 0) {
        std::fprintf(stderr,
                     "usage: make-test-report OUT.html --site http://HOST:PORT [--table NAME]\n");
        return 2;
    }

    Config config = Config::defaults();
    config.reportServer = site.toString(QUrl::RemovePath | QUrl::StripTrailingSlash);
    config.photoServer = onSite(config.photoServer, site);
    config.mapSearchPage = onSite(config.mapSearchPage, site);
    config.slideShowPluginPage = onSite(config.slideShowPluginPage, site);
    config.headerImageUrl = onSite(config.headerImageUrl, site);
    config.reportMapsHost = QStringLiteral("%1:%2").arg(site.host()).arg(site.port());

    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("stations.db"));
    if (!QFile::copy(stationDatabaseResource(), db)) {
        std::fprintf(stderr, "make-test-report: cannot copy the station database\n");
        return 1;
    }
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
    try {
        StationData data;
        data.open(db);
        QueryComposer composer;
        const int count = data.runQuery(composer.composeArea(table, AreaKind::AllCounties, {}, {}));
        HtmlReportWriter::forProgram(config, table, count)
            .WriteHtmlReport(out, data.stationQuery());
        std::printf("%d stations\n", count);
    } catch (const StradexError& e) {
        std::fprintf(stderr, "make-test-report: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
