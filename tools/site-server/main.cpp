// site-server: stands in for the agency's report server and photo server on loopback.
//
//   site-server [--port N]      listens on 127.0.0.1:N (default 8470) until SIGINT or SIGTERM
//               [--tiles URL]   map tiles ({z}/{x}/{y}; default OpenStreetMap's)
//               [--no-tiles]    the map without tiles: markers over a plain background

#include "dbresource.h"
#include "siteserver.h"

#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2];

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}
} // namespace

int main(int argc, char** argv)
{
    // The station photos are drawn with QPainter, whose text needs a QGuiApplication;
    // the server has no window, so it runs on the offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    quint16 port = 8470;
    QString tiles = QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png");
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--port") && i + 1 < args.size()) {
            port = quint16(args.at(++i).toUInt());
        } else if (args.at(i) == QLatin1String("--tiles") && i + 1 < args.size()) {
            tiles = args.at(++i);
        } else if (args.at(i) == QLatin1String("--no-tiles")) {
            tiles.clear();
        } else {
            std::fprintf(stderr, "usage: site-server [--port N] [--tiles URL | --no-tiles]\n");
            return 2;
        }
    }

    // Stop cleanly on a signal: the handler only wakes the event loop.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return 1;
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QGuiApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    const QString state = QDir::tempPath() + QStringLiteral("/stradex-site-%1").arg(port);
    QDir().mkpath(state);
    const QString db = state + QStringLiteral("/stations.sqlite");
    QFile::remove(db);
    QFile::copy(stationDatabaseResource(), db);
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);

    SiteServer server({db, SiteServer::defaultWebModules(), state, tiles});
    if (server.listen(port) == 0) {
        std::fprintf(stderr, "site-server: cannot listen on 127.0.0.1:%u\n", unsigned(port));
        return 1;
    }
    std::printf("site-server: serving %s\n", qPrintable(server.baseAddress()));
    std::fflush(stdout);
    return app.exec();
}
