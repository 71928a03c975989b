#pragma once

#include "photos/photoloader.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

// A picture downloaded from an address in the background and shown stretched to the
// widget's area. One download at a time: a load asked for while one runs is dropped.
// A download that fails leaves the picture as it was and is reported only by
// downloadFailed, which the program does not show to the user.
class WebImage final : public QWidget, public PhotoLoader
{
    Q_OBJECT

public:
    // A download that receives nothing for this long fails, so that a stalled
    // connection cannot block every later load.
    static constexpr int DefaultTransferTimeout = 30000;

    explicit WebImage(QWidget* parent = nullptr);
    ~WebImage() override;

    void load(const QString& address) override;
    bool downloading() const override { return !m_reply.isNull(); }
    void clear() override;

    QImage picture() const { return m_picture; }
    // The address of the download that runs, or of the last one.
    QString address() const { return m_address; }
    void setTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }

signals:
    // Bytes received so far and the total the server announced (0 when it announced none).
    void downloadProgressed(qint64 received, qint64 total);
    void downloadCompleted();
    void downloadFailed(const QString& reason);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void finish();

    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QString m_address;
    QImage m_picture;
    int m_transferTimeout = DefaultTransferTimeout;
};
