#include "photos/webimage.h"

#include <QBuffer>
#include <QImageReader>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>

WebImage::WebImage(QWidget* parent)
    : QWidget(parent)
    , m_network(new QNetworkAccessManager(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

WebImage::~WebImage()
{
    // Nothing may reach the viewer from a widget that is going away.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void WebImage::load(const QString& address)
{
    if (downloading())
        return;
    m_address = address;
    QNetworkRequest request{QUrl(address)};
    request.setTransferTimeout(m_transferTimeout);
    m_reply = m_network->get(request);
    // QNetworkReply reports on the thread that owns the manager, the user-interface thread.
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        emit downloadProgressed(received, total < 0 ? 0 : total);
    });
    connect(m_reply, &QNetworkReply::finished, this, &WebImage::finish);
}

void WebImage::finish()
{
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    reply->deleteLater();
    m_reply.clear();

    QString failure;
    QImage image;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        failure = reply->errorString();
    } else if (reply->url().scheme().startsWith(QLatin1String("http")) && status != 200) {
        failure = QStringLiteral("reply status %1").arg(status);
    } else {
        QByteArray data = reply->readAll();
        if (data.isEmpty()) {
            failure = QStringLiteral("empty reply");
        } else {
            QBuffer buffer(&data);
            QImageReader reader(&buffer);
            if (!reader.read(&image))
                failure = QStringLiteral("not a picture: ") + reader.errorString();
        }
    }
    if (!failure.isEmpty()) {
        emit downloadFailed(failure);
        return;
    }
    m_picture = image;
    update();
    emit downloadCompleted();
}

void WebImage::clear()
{
    m_picture = QImage();
    update();
}

void WebImage::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_picture);
}

void WebImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}
