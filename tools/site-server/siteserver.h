#pragma once

#include <QHttpServer>
#include <QString>

// The agency site stand-in on loopback: the report server's pages and scripts and the
// photo server's pictures, served from the station database and the project's own files.
// The photo routes draw their pictures with QPainter: a program that serves them needs a
// QGuiApplication (site-server's main runs one on the offscreen platform).
class SiteServer final
{
public:
    struct Options
    {
        QString databasePath;  // the station database whose stations are served
        QString webModules;    // the npm packages folder (web/node_modules)
        QString stateFolder;   // where made files are kept between requests
        QString tileAddress;   // map tile address template ({z}/{x}/{y}); empty: no tiles
    };

    explicit SiteServer(const Options& options);

    // Listens on 127.0.0.1; port 0 takes a free one. Returns the port, 0 on failure.
    quint16 listen(quint16 port);
    quint16 port() const { return m_port; }
    QString baseAddress() const;

    QHttpServer& http() { return m_http; }
    const Options& options() const { return m_options; }

    // The default npm packages folder of the source tree.
    static QString defaultWebModules();

private:
    Options m_options;
    QHttpServer m_http;
    quint16 m_port = 0;
};
