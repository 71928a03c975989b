// The photo viewer's widgets against the site stand-in's photo server on a loopback
// port: the web image's downloads and faults, and the panel as the user drives it.

#include "dbresource.h"
#include "photos/imagenames.h"
#include "photos/photopanel.h"
#include "photos/webimage.h"
#include "platform/config.h"
#include "platform/recordingseams.h"
#include "siteserver.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

class TestPhotoPanel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SiteServer> m_server;
    QString m_photoServer;

    QString address(const QString& name) const
    {
        return ImageNames::photoAddress(m_photoServer, name);
    }

    // Loads a picture and waits until the download ends; returns whether it completed.
    static bool loadAndWait(WebImage& image, const QString& address)
    {
        QSignalSpy completed(&image, &WebImage::downloadCompleted);
        QSignalSpy failed(&image, &WebImage::downloadFailed);
        image.load(address);
        if (!QTest::qWaitFor([&] { return !completed.isEmpty() || !failed.isEmpty(); }, 15000))
            return false;
        return !completed.isEmpty();
    }

    static void sendMouse(QWidget* target, QEvent::Type type, QPoint local)
    {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

private slots:
    void initTestCase()
    {
        const QString db = m_dir.filePath(QStringLiteral("stations.sqlite"));
        QVERIFY(QFile::copy(stationDatabaseResource(), db));
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
        m_server = std::make_unique<SiteServer>(
            SiteServer::Options{db, SiteServer::defaultWebModules(), m_dir.filePath("state"), {}});
        QVERIFY(m_server->listen(0) != 0);
        // The program's own photo path, on the test's port.
        m_photoServer = m_server->baseAddress() + QUrl(Config::defaults().photoServer).path();
    }

    void downloadReportsProgressAndCompletes()
    {
        WebImage image;
        QSignalSpy progress(&image, &WebImage::downloadProgressed);
        QSignalSpy completed(&image, &WebImage::downloadCompleted);
        image.load(address(QStringLiteral("1-8-163a-07")));
        QVERIFY(image.downloading());
        QVERIFY(completed.wait(15000));
        QVERIFY(!image.downloading());
        QCOMPARE(image.picture().size(), QSize(800, 550));
        QVERIFY(!progress.isEmpty());
        const qint64 total = progress.last().at(1).toLongLong();
        QVERIFY(total > 10000); // the server announces the length
        QCOMPARE(progress.last().at(0).toLongLong(), total);
        for (const QList<QVariant>& report : progress)
            QCOMPARE(report.at(1).toLongLong(), total);
    }

    void slowReplyArrivesInPiecesAndLoadsWhileRunningAreDropped()
    {
        WebImage image;
        QSignalSpy progress(&image, &WebImage::downloadProgressed);
        QSignalSpy completed(&image, &WebImage::downloadCompleted);
        // Pieces further apart than the reply's 100 ms choke on progress reports.
        const QString slow = m_photoServer + QStringLiteral("fault-slow.jpg?pieces=6&interval=150");
        image.load(slow);
        image.load(address(QStringLiteral("1-8-163b-07"))); // dropped: one download at a time
        QCOMPARE(image.address(), slow);
        QVERIFY(completed.wait(15000));
        QCOMPARE(completed.size(), 1);
        QList<qint64> received;
        for (const QList<QVariant>& report : progress) {
            if (received.isEmpty() || received.last() != report.at(0).toLongLong())
                received << report.at(0).toLongLong();
        }
        QVERIFY2(received.size() >= 4, qPrintable(QString::number(received.size())));
        QVERIFY(std::is_sorted(received.begin(), received.end()));
        QVERIFY(received.first() < progress.last().at(1).toLongLong());
        QTest::qWait(300);
        QCOMPARE(completed.size(), 1); // the dropped load never ran
    }

    void faultsLeaveThePicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("not found") << "fault-notfound";
        QTest::newRow("server error") << "fault-error";
        QTest::newRow("not an image") << "fault-notimage";
        QTest::newRow("empty reply") << "fault-empty";
        QTest::newRow("empty name") << "";
        QTest::newRow("name the server lacks") << "9-9-999z-07";
    }
    void faultsLeaveThePicture()
    {
        QFETCH(QString, name);
        WebImage image;
        QVERIFY(loadAndWait(image, address(QStringLiteral("4-0-663a-07"))));
        const QImage before = image.picture();
        QSignalSpy failed(&image, &WebImage::downloadFailed);
        QSignalSpy completed(&image, &WebImage::downloadCompleted);
        image.load(address(name));
        QVERIFY(failed.wait(15000));
        QCOMPARE(completed.size(), 0);
        QVERIFY(!image.downloading());
        QCOMPARE(image.picture(), before);
    }

    void stalledDownloadEndsSoLaterLoadsRun()
    {
        WebImage image;
        image.setTransferTimeout(300);
        QSignalSpy failed(&image, &WebImage::downloadFailed);
        image.load(m_photoServer + QStringLiteral("fault-slow.jpg?pieces=4&interval=5000"));
        QVERIFY(failed.wait(5000));
        QVERIFY(!image.downloading());
        image.setTransferTimeout(WebImage::DefaultTransferTimeout);
        QVERIFY(loadAndWait(image, address(QStringLiteral("1-8-163a-07"))));
    }

    void panelOpensStepsAndShowsProgress()
    {
        QWidget window;
        window.resize(1200, 800);
        auto* pnlGrid = new QWidget(&window);
        pnlGrid->setGeometry(230, 40, 950, 700);
        auto* grid = new QWidget(pnlGrid);
        grid->setGeometry(0, 0, 901, 650);
        RecordingMessageSink messages;
        RecordingAddressOpener opener;
        auto* panel = new PhotoPanel(m_photoServer, messages, opener, &window);
        panel->setPlacementWidgets(grid, pnlGrid);
        panel->clearLabels();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        auto* pb = panel->findChild<QProgressBar*>(QStringLiteral("pb"));
        auto* station = panel->findChild<QLabel*>(QStringLiteral("Label6"));
        auto* count = panel->findChild<QLabel*>(QStringLiteral("Label5"));
        QVERIFY(pb && station && count);
        QVERIFY(!panel->isVisible());
        QCOMPARE(station->text(), QString());
        QCOMPARE(pb->value(), 50);
        QCOMPARE(pb->maximum(), 100);

        QSignalSpy completed(panel->webImage(), &WebImage::downloadCompleted);
        panel->openPhotos(QStringLiteral("1-8-163"),
                          QStringLiteral("1-8-163a-07,1-8-163b-07,1-8-163sketch-07"));
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->pos(), QPoint(450 + 230 - 328, PhotoPanel::DesignTop));
        QCOMPARE(station->text(), QStringLiteral("Station 1-8-163"));
        QCOMPARE(count->text(), QStringLiteral("Images 1 of 3"));
        QVERIFY(completed.wait(15000));
        QCOMPARE(pb->value(), 0);
        QVERIFY(pb->maximum() > 10000);
        QCOMPARE(panel->webImage()->picture().size(), QSize(800, 550));

        auto* next = panel->findChild<QPushButton*>(QStringLiteral("rzBtnNext"));
        auto* previous = panel->findChild<QPushButton*>(QStringLiteral("RzBitBtn1"));
        auto* fullView = panel->findChild<QPushButton*>(QStringLiteral("fullviewBtn"));
        QTest::mouseClick(next, Qt::LeftButton);
        QVERIFY(completed.wait(15000));
        QTest::mouseClick(next, Qt::LeftButton);
        QVERIFY(completed.wait(15000));
        QCOMPARE(count->text(), QStringLiteral("Images 3 of 3"));
        QCOMPARE(panel->webImage()->address(), address(QStringLiteral("1-8-163sketch-07")));
        QTest::mouseClick(previous, Qt::LeftButton);
        QCOMPARE(count->text(), QStringLiteral("Images 2 of 3"));
        QVERIFY(completed.wait(15000));

        QTest::mouseClick(fullView, Qt::LeftButton);
        QTest::mouseDClick(panel->webImage(), Qt::LeftButton);
        QCOMPARE(opener.opened, QStringList(2, address(QStringLiteral("1-8-163b-07"))));

        // A station without names only gets the message.
        const QImage shown = panel->webImage()->picture();
        panel->openPhotos(QStringLiteral("2-2-222"), QString());
        QCOMPARE(messages.messages, QStringList{"There is no picture for station: 2-2-222"});
        QVERIFY(panel->isVisible());
        QCOMPARE(station->text(), QStringLiteral("Station 1-8-163"));
        QCOMPARE(count->text(), QStringLiteral("Images 2 of 3"));
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(count->text(), QStringLiteral("Images 2 of 3"));
        QCOMPARE(panel->webImage()->picture(), shown);

        // A failing download keeps the picture and the bar, and says nothing.
        const int barBefore = pb->value();
        panel->openPhotos(QStringLiteral("3-3-333"), QStringLiteral("fault-error,fault-empty"));
        QSignalSpy failed(panel->webImage(), &WebImage::downloadFailed);
        QVERIFY(failed.wait(15000));
        QCOMPARE(panel->webImage()->picture(), shown);
        QCOMPARE(pb->value(), barBefore);
        QCOMPARE(messages.messages.size(), 1);
        QVERIFY(messages.errors.isEmpty());

        auto* close = panel->findChild<QPushButton*>(QStringLiteral("RzBitBtn2"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QVERIFY(panel->webImage()->picture().isNull());
    }

    void panelDragsByItsSurfaceOnly()
    {
        QWidget window;
        window.resize(1200, 800);
        RecordingMessageSink messages;
        RecordingAddressOpener opener;
        auto* panel = new PhotoPanel(m_photoServer, messages, opener, &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        panel->openPhotos(QStringLiteral("1-8-163"), QStringLiteral("1-8-163a-07"));
        // No placement widgets: the panel centres on the window.
        const QPoint opened(600 - 328, PhotoPanel::DesignTop);
        QCOMPARE(panel->pos(), opened);

        // Beside the photo frame, left of it: the panel's own surface.
        const QPoint grip(10, 300);
        sendMouse(panel, QEvent::MouseButtonPress, grip);
        sendMouse(panel, QEvent::MouseMove, grip + QPoint(37, -21));
        QCOMPARE(panel->pos(), opened + QPoint(37, -21));
        sendMouse(panel, QEvent::MouseMove, grip + QPoint(-500, 700));
        QCOMPARE(panel->pos(), opened + QPoint(37 - 500, -21 + 700)); // also out of the window
        sendMouse(panel, QEvent::MouseButtonRelease, grip);
        const QPoint dropped = panel->pos();
        sendMouse(panel, QEvent::MouseMove, grip + QPoint(5, 5));
        QCOMPARE(panel->pos(), dropped);

        // A press on a label is not on the surface.
        auto* label = panel->findChild<QLabel*>(QStringLiteral("Label6"));
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
        sendMouse(panel, QEvent::MouseMove, label->pos() + QPoint(40, 40));
        QCOMPARE(panel->pos(), dropped);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(2, 2));

        // The next open centres again and keeps the dragged top edge.
        panel->openPhotos(QStringLiteral("4-0-663"), QStringLiteral("4-0-663a-07"));
        QCOMPARE(panel->pos(), QPoint(opened.x(), dropped.y()));
    }
};

QTEST_MAIN(TestPhotoPanel)
#include "test_photopanel.moc"
