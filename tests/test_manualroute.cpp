#include "manualroute.h"
#include "siteserver.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTest>

class TestManualRoute : public QObject
{
    Q_OBJECT

private slots:
    void servesTheManualAsAPdf()
    {
        SiteServer server(SiteServer::Options{});
        QVERIFY(server.listen(0) != 0);

        QNetworkAccessManager network;
        QNetworkReply* reply = network.get(QNetworkRequest(
            QUrl(server.baseAddress() + QStringLiteral("/zarnweb/Report/Stradex.pdf"))));
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();

        QCOMPARE(reply->error(), QNetworkReply::NoError);
        QCOMPARE(reply->header(QNetworkRequest::ContentTypeHeader).toString(),
                 QStringLiteral("application/pdf"));
        const QByteArray pdf = reply->readAll();
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        // A real manual, not a stub page: several pages.
        const qsizetype pages = QString::fromLatin1(pdf).count(
            QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")));
        QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
    }
};

QTEST_GUILESS_MAIN(TestManualRoute)
#include "test_manualroute.moc"
