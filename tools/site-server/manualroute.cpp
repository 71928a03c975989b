#include "manualroute.h"

#include "siteserver.h"

#include <QFile>
#include <QHttpServerResponse>

void addManualRoute(SiteServer& server)
{
    server.http().route(QStringLiteral("/zarnweb/Report/Stradex.pdf"), [] {
        // Made from the manual's text at build time and embedded in the stand-in.
        QFile pdf(QStringLiteral(":/manual/Stradex.pdf"));
        if (!pdf.open(QIODevice::ReadOnly))
            return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
        return QHttpServerResponse(QByteArrayLiteral("application/pdf"), pdf.readAll());
    });
}
