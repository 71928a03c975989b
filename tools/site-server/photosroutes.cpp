#include "photosroutes.h"

#include "photosstore.h"
#include "siteserver.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include <exception>
#include <memory>

namespace {

using StatusCode = QHttpServerResponder::StatusCode;

// Sends a picture in pieces, one piece per interval, after the status line and the
// headers, which announce the whole length.
void sendInPieces(QHttpServerResponder& responder, QObject* owner, const QByteArray& body,
                  int pieces, int interval)
{
    responder.writeStatusLine(StatusCode::Ok);
    responder.writeHeaders(
        {{"Content-Type", "image/jpeg"}, {"Content-Length", QByteArray::number(body.size())}});
    const qsizetype pieceSize = (body.size() + pieces - 1) / pieces;
    // The first piece goes through the responder, which ends the headers; the rest go
    // straight to the connection after the responder is gone.
    responder.writeBody(body.left(pieceSize));
    const QPointer<QTcpSocket> socket = responder.socket();
    auto* timer = new QTimer(owner);
    auto sent = std::make_shared<qsizetype>(pieceSize);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, socket, body, pieceSize, sent] {
        if (!socket || socket->state() != QAbstractSocket::ConnectedState || *sent >= body.size()) {
            timer->deleteLater();
            return;
        }
        const QByteArray piece = body.mid(*sent, pieceSize);
        socket->write(piece);
        *sent += piece.size();
    });
    timer->start(interval);
}

int queryNumber(const QUrlQuery& query, const char* key, int fallback, int low, int high)
{
    bool ok = false;
    const int value = query.queryItemValue(QLatin1String(key)).toInt(&ok);
    return ok ? qBound(low, value, high) : fallback;
}

} // namespace

void PhotosRoutes::add(SiteServer& server)
{
    auto store =
        std::make_shared<PhotosStore>(server.options().databasePath, server.options().stateFolder);
    QHttpServer* http = &server.http();
    http->route(QLatin1String(Folder) + QStringLiteral("<arg>"),
                [store, http](const QString& file, const QHttpServerRequest& request,
                              QHttpServerResponder&& responder) {
                    if (file == QLatin1String("fault-notfound.jpg"))
                        return responder.write(StatusCode::NotFound);
                    if (file == QLatin1String("fault-error.jpg"))
                        return responder.write(StatusCode::InternalServerError);
                    if (file == QLatin1String("fault-notimage.jpg"))
                        return responder.write(
                            QByteArrayLiteral("This is a page of text, not a picture.\n"),
                            QByteArrayLiteral("image/jpeg"));
                    if (file == QLatin1String("fault-empty.jpg"))
                        return responder.write(QByteArray(), QByteArrayLiteral("image/jpeg"));
                    try {
                        if (file == QLatin1String("fault-slow.jpg")) {
                            const QUrlQuery query(request.url());
                            return sendInPieces(responder, http, PhotosStore::slowPicture(),
                                                queryNumber(query, "pieces", 8, 1, 1000),
                                                queryNumber(query, "interval", 200, 0, 600000));
                        }
                        QByteArray data;
                        if (file.endsWith(QLatin1String(".jpg")) && store->knows(file.chopped(4)))
                            data = store->photo(file.chopped(4));
                        else if (file.endsWith(QLatin1String("-tb.jpg")))
                            data = store->thumbnail(file.chopped(7));
                        if (data.isEmpty())
                            return responder.write(StatusCode::NotFound);
                        return responder.write(data, QByteArrayLiteral("image/jpeg"));
                    } catch (const std::exception& e) {
                        return responder.write(QByteArray(e.what()) + '\n',
                                               QByteArrayLiteral("text/plain"),
                                               StatusCode::InternalServerError);
                    }
                });
}
