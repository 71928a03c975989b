#include "reportmapapi.h"

#include "siteserver.h"

#include <QFile>
#include <QHttpServerResponse>

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QHttpServerResponse scriptResponse(const QByteArray& type, const QByteArray& body)
{
    if (body.isEmpty())
        return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
    QHttpServerResponse response(type, body);
    // Pages opened from disk load the script from here: let any origin read it.
    response.setHeader(QByteArrayLiteral("Access-Control-Allow-Origin"), QByteArrayLiteral("*"));
    return response;
}

} // namespace

void addReportMapApiRoutes(SiteServer& server)
{
    Q_INIT_RESOURCE(reportmapapi);
    const QString leaflet = server.options().webModules + QStringLiteral("/leaflet/dist/");
    const QByteArray leafletScript = readFile(leaflet + QStringLiteral("leaflet.js"));
    const QByteArray api = readFile(QStringLiteral(":/site/reportmapapi.js"));
    // One response, so that the page's next scripts find the API defined.
    const QByteArray script =
        leafletScript.isEmpty() || api.isEmpty() ? QByteArray() : leafletScript + "\n;\n" + api;
    const QByteArray style = readFile(leaflet + QStringLiteral("leaflet.css"));

    server.http().route(QStringLiteral("/maps"), [script] {
        return scriptResponse(QByteArrayLiteral("text/javascript; charset=utf-8"), script);
    });
    server.http().route(QStringLiteral("/maps/leaflet.css"), [style] {
        return scriptResponse(QByteArrayLiteral("text/css; charset=utf-8"), style);
    });
}
