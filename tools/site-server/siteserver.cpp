#include "siteserver.h"

#include "manualroute.h"
#include "maproutes.h"
#include "photosroutes.h"
#include "reportmapapi.h"
#include "stationreports.h"
#include "updateoffer.h"

#include <QHostAddress>

SiteServer::SiteServer(const Options& options) : m_options(options)
{
    m_http.route(QStringLiteral("/"), [] {
        return QHttpServerResponse(QByteArrayLiteral("text/html"),
                                   QByteArrayLiteral("<html><head><title>Korva site stand-in</title></head>"
                                                     "<body><h1>Korva site stand-in</h1></body></html>"));
    });
    UpdateOffer::addRoutes(*this);
    addManualRoute(*this);
    MapRoutes::add(*this);
    StationReports::add(*this);
    PhotosRoutes::add(*this);
    addReportMapApiRoutes(*this);
}

quint16 SiteServer::listen(quint16 port)
{
    m_port = m_http.listen(QHostAddress::LocalHost, port);
    return m_port;
}

QString SiteServer::baseAddress() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QString SiteServer::defaultWebModules()
{
    return QStringLiteral(STRADEX_WEB_MODULES);
}
