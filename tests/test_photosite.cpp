// The photo server on the site stand-in: a picture for every image name the program can
// ask for, made once and kept, announced with its length.

#include "dbresource.h"
#include "photos/imagenames.h"
#include "photosstore.h"
#include "siteserver.h"

#include <QFile>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sqlite3.h>

class TestPhotoSite : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;
    std::unique_ptr<SiteServer> m_server;
    QNetworkAccessManager m_network;

    QString state() const { return m_dir.filePath(QStringLiteral("state")); }

    struct Reply
    {
        int status = 0;
        QByteArray type;
        qint64 length = -1;
        QByteArray body;
    };
    Reply get(const QString& file)
    {
        const QString path =
            QStringLiteral("/transportation/refdata/roadway/traffic_counts/Stradex/images/");
        QNetworkReply* reply =
            m_network.get(QNetworkRequest(QUrl(m_server->baseAddress() + path + file)));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        finished.wait(15000);
        Reply r;
        r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        r.type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        r.length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        r.body = reply->readAll();
        reply->deleteLater();
        return r;
    }

private slots:
    void initTestCase()
    {
        m_db = m_dir.filePath(QStringLiteral("stations.sqlite"));
        QVERIFY(QFile::copy(stationDatabaseResource(), m_db));
        QFile::setPermissions(m_db, QFile::ReadOwner | QFile::WriteOwner);
        m_server = std::make_unique<SiteServer>(
            SiteServer::Options{m_db, SiteServer::defaultWebModules(), state(), {}});
        QVERIFY(m_server->listen(0) != 0);
    }

    // Every name that the program splits out of an image-names text of any table.
    void everyImageNameOfTheDatabaseIsServed()
    {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(m_db.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        QSet<QString> expected;
        for (const char* table : {"aadt 2007", "aadt 2008", "all data"}) {
            sqlite3_stmt* statement = nullptr;
            const QByteArray sql = QByteArray("SELECT IMAGENAMES FROM \"") + table + "\"";
            QCOMPARE(sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr), SQLITE_OK);
            while (sqlite3_step(statement) == SQLITE_ROW) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
                for (const QString& name : ImageNames::split(QString::fromUtf8(text)))
                    expected.insert(name);
            }
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        QVERIFY(expected.size() > 1000);

        PhotosStore store(m_db, QString());
        const QStringList served = store.names();
        QCOMPARE(QSet<QString>(served.begin(), served.end()), expected);
        QCOMPARE(served.size(), expected.size()); // each name once
    }

    void picturesAreJpegsWithTheirLength_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("sketch");
        QTest::newRow("photo") << "1-8-163a-07.jpg" << QSize(800, 550) << false;
        QTest::newRow("later photo of a station") << "1-8-163e-07.jpg" << QSize(800, 550) << false;
        QTest::newRow("sketch") << "1-8-163sketch-07.jpg" << QSize(800, 550) << true;
        QTest::newRow("thumbnail") << "4-0-663a-07-tb.jpg" << QSize(160, 110) << false;
        QTest::newRow("sketch thumbnail") << "4-0-663sketch-07-tb.jpg" << QSize(160, 110) << true;
    }
    void picturesAreJpegsWithTheirLength()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(bool, sketch);
        const Reply r = get(file);
        QCOMPARE(r.status, 200);
        QCOMPARE(r.type, QByteArray("image/jpeg"));
        QCOMPARE(r.length, qint64(r.body.size()));
        QVERIFY(r.body.startsWith("\xFF\xD8\xFF"));
        const QImage image = QImage::fromData(r.body, "JPEG");
        QCOMPARE(image.size(), size);
        // A sketch is pencil on paper; a photo has a blue sky at its top.
        const QColor corner = image.pixelColor(size.width() / 20, size.height() / 30);
        if (sketch)
            QVERIFY2(corner.lightness() > 200 && corner.hslSaturation() < 80,
                     qPrintable(corner.name()));
        else
            QVERIFY2(corner.blue() > corner.red() + 40, qPrintable(corner.name()));
    }

    void aPictureIsMadeOnceAndKept()
    {
        const Reply first = get(QStringLiteral("3-5-750a-07.jpg"));
        QCOMPARE(first.status, 200);
        QFile kept(state() + QStringLiteral("/photos/3-5-750a-07.jpg"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), first.body);
        kept.close();
        // What is kept is what is served from then on.
        QVERIFY(kept.open(QIODevice::WriteOnly | QIODevice::Truncate));
        kept.write(first.body + QByteArray("kept"));
        kept.close();
        const Reply second = get(QStringLiteral("3-5-750a-07.jpg"));
        QCOMPARE(second.body, first.body + QByteArray("kept"));
        QCOMPARE(second.length, qint64(second.body.size()));
    }

    void unknownNamesAreNotFound_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("unknown name") << "9-9-999a-07.jpg";
        QTest::newRow("empty name") << ".jpg";
        QTest::newRow("not a picture name") << "1-8-163a-07.png";
        QTest::newRow("thumbnail of unknown name") << "9-9-999a-07-tb.jpg";
    }
    void unknownNamesAreNotFound()
    {
        QFETCH(QString, file);
        QCOMPARE(get(file).status, 404);
    }
};

QTEST_MAIN(TestPhotoSite)
#include "test_photosite.moc"
