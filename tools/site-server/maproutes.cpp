#include "maproutes.h"

#include "siteserver.h"

#include <QDir>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <sqlite3.h>

namespace {

using StatusCode = QHttpServerResponse::StatusCode;

const QByteArray JavaScript = QByteArrayLiteral("text/javascript; charset=utf-8");

// The provider APIs that the map host page loads, each standing in for the real one.
struct Provider
{
    const char* name;  // as the page's PROVIDER names it
    const char* label; // shown in the map's attribution
    const char* path;
};
constexpr Provider Providers[] = {
    {"GOOGLE", "Google Maps (stand-in)", "/maps/api/js"},
    {"YAHOO", "Yahoo! Maps (stand-in)", "/ajaxymap"},
    {"MICROSOFT", "Microsoft Virtual Earth (stand-in)", "/mapcontrol/mapcontrol.ashx"},
};

QByteArray readResource(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The box around every station of the database, as [[south, west], [north, east]];
// the map opens on it. Without stations, the agency's region.
QJsonArray stationArea(const QString& databasePath)
{
    double box[4] = {40.0, -78.0, 43.0, -74.5};
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        const char* sql =
            "SELECT min(SI_LAT), min(SI_LON), max(SI_LAT), max(SI_LON) FROM \"all data\" "
            "WHERE SI_LAT BETWEEN -90 AND 90 AND SI_LON BETWEEN -180 AND 180";
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL) {
            for (int i = 0; i < 4; ++i)
                box[i] = sqlite3_column_double(stmt, i);
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return QJsonArray{QJsonArray{box[0], box[1]}, QJsonArray{box[2], box[3]}};
}

// The address the client used to reach this server, so that the scripts it is given
// load the map library from the same place.
QString originOf(const QHttpServerRequest& request, const QString& fallback)
{
    const QString host = QString::fromLatin1(request.value(QByteArrayLiteral("Host")));
    static const QRegularExpression hostName(QStringLiteral("^[A-Za-z0-9.\\-]+(:\\d+)?$"));
    return hostName.match(host).hasMatch() ? QStringLiteral("http://") + host : fallback;
}

QByteArray jsonText(const QJsonValue& value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}

// A file of Leaflet's dist folder (or its images folder), by plain file name only.
QHttpServerResponse leafletFile(const QString& folder, const QString& name)
{
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_\\-][A-Za-z0-9_.\\-]*$"));
    if (!plainName.match(name).hasMatch())
        return QHttpServerResponse(StatusCode::NotFound);
    QFile f(QDir(folder).filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return QHttpServerResponse(StatusCode::NotFound);
    QByteArray type = QByteArrayLiteral("application/octet-stream");
    if (name.endsWith(QLatin1String(".js")))
        type = JavaScript;
    else if (name.endsWith(QLatin1String(".css")))
        type = QByteArrayLiteral("text/css; charset=utf-8");
    else if (name.endsWith(QLatin1String(".png")))
        type = QByteArrayLiteral("image/png");
    else if (name.endsWith(QLatin1String(".svg")))
        type = QByteArrayLiteral("image/svg+xml");
    else if (name.endsWith(QLatin1String(".map")))
        type = QByteArrayLiteral("application/json");
    return QHttpServerResponse(type, f.readAll());
}

} // namespace

void MapRoutes::add(SiteServer& server)
{
    const QString dist = server.options().webModules + QStringLiteral("/leaflet/dist");
    if (!QFile::exists(dist + QStringLiteral("/leaflet.js")))
        std::fprintf(stderr, "site-server: Leaflet is missing in %s (run scripts/setup)\n",
                     qPrintable(dist));

    // The remote map script, opening on the area of the stations it was given.
    const QByteArray mapScript = QByteArrayLiteral("var ZARN_AREA = ") +
                                 jsonText(stationArea(server.options().databasePath)) +
                                 QByteArrayLiteral(";\n") +
                                 readResource(QStringLiteral(":/sitemap/zarnmap.js"));
    server.http().route(QStringLiteral("/zarnweb/Report/zarnmap.js"),
                        [mapScript] { return QHttpServerResponse(JavaScript, mapScript); });

    // The provider APIs: the map library, its style sheet, and the provider's settings.
    const QByteArray providerScript = readResource(QStringLiteral(":/sitemap/providerapi.js"));
    const QString tiles = server.options().tileAddress;
    for (const Provider& p : Providers) {
        server.http().route(QLatin1String(p.path), [p, dist, providerScript, tiles,
                                                    &server](const QHttpServerRequest& request) {
            const QByteArray library = readResource(dist + QStringLiteral("/leaflet.js"));
            if (library.isEmpty())
                return QHttpServerResponse(StatusCode::NotFound);
            const QJsonObject settings{
                {QStringLiteral("name"), QString::fromLatin1(p.name)},
                {QStringLiteral("label"), QString::fromLatin1(p.label)},
                {QStringLiteral("tiles"), tiles},
                {QStringLiteral("library"),
                 originOf(request, server.baseAddress()) + QLatin1String(LeafletFolder)}};
            // The library's source map is not served; browsers would look for it beside this
            // script.
            QByteArray body = library;
            body.replace(QByteArrayLiteral("//# sourceMappingURL=leaflet.js.map"), QByteArray());
            body += QByteArrayLiteral("\nvar ZarnProvider = ") + jsonText(settings) +
                    QByteArrayLiteral(";\n");
            body += providerScript;
            return QHttpServerResponse(JavaScript, body);
        });
    }

    server.http().route(QLatin1String(LeafletFolder) + QStringLiteral("<arg>"),
                        [dist](const QString& name) { return leafletFile(dist, name); });
    server.http().route(QLatin1String(LeafletFolder) + QStringLiteral("images/<arg>"),
                        [dist](const QString& name) {
                            return leafletFile(dist + QStringLiteral("/images"), name);
                        });
}
