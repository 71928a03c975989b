// The photo viewer's rules: open, Previous, Next, close and Full View over a recording
// loader, the progress bar's position, the placement rule and dragging.

#include "photos/photoloader.h"
#include "photos/photoviewer.h"
#include "platform/recordingseams.h"

#include <QTest>

namespace {

const QString Server = QStringLiteral("http://photos.test/images/");

// Records the loads; while "downloading" it drops them, as the image widget does.
class RecordingLoader final : public PhotoLoader
{
public:
    void load(const QString& address) override
    {
        if (busy)
            ++dropped;
        else
            loads << address.mid(Server.size()).chopped(4); // the name, without ".jpg"
    }
    bool downloading() const override { return busy; }
    void clear() override { ++clears; }

    bool busy = false;
    QStringList loads;
    int dropped = 0;
    int clears = 0;
};

} // namespace

class TestPhotoViewer : public QObject
{
    Q_OBJECT

private slots:
    // Each step is "open|station|names", "next", "prev", "close", "full", "busy" (a
    // download starts running) or "idle" (it ends); after each step the count label is
    // compared with the next entry of captions.
    void sequences_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("loads");
        QTest::addColumn<QString>("station");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("back");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<bool>("showing");

        const QString one = QStringLiteral("Images 1 of 3");
        const QString two = QStringLiteral("Images 2 of 3");
        const QString three = QStringLiteral("Images 3 of 3");

        QTest::newRow("three names, to the end and back")
            << QStringList{"open|S1|a,b,c", "next", "next", "next", "prev", "prev", "prev"}
            << QStringList{one, two, three, three, two, one, one}
            << QStringList{"a", "b", "c", "b", "a"} << "Station S1" << 0 << -1 << QStringList{}
            << QStringList{} << true;
        QTest::newRow("previous right after open reloads the first photo once")
            << QStringList{"open|S1|a,b,c", "prev", "prev", "next"}
            << QStringList{one, one, one, two} << QStringList{"a", "a", "b"} << "Station S1" << 1
            << 0 << QStringList{} << QStringList{} << true;
        QTest::newRow("one name") << QStringList{"open|7-1-2|a", "next", "prev", "prev", "next"}
                                  << QStringList{"Images 1 of 1", "Images 1 of 1", "Images 1 of 1",
                                                 "Images 1 of 1", "Images 1 of 1"}
                                  << QStringList{"a", "a"} << "Station 7-1-2" << 0 << -1
                                  << QStringList{} << QStringList{} << true;
        QTest::newRow("station without names while showing")
            << QStringList{"open|S1|a,b", "next", "open|S2|", "next", "prev", "full"}
            << QStringList{"Images 1 of 2", "Images 2 of 2", "Images 2 of 2",
                           "Images 2 of 2", "Images 2 of 2", "Images 2 of 2"}
            << QStringList{"a", "b"} << "Station S1" << 1 << 0
            << QStringList{"There is no picture for station: S2"} << QStringList{Server + "b.jpg"}
            << true;
        QTest::newRow("station without names while hidden")
            << QStringList{"open|S2|  ", "next", "prev"} << QStringList{"", "", ""} << QStringList{}
            << "" << 0 << 0 << QStringList{"There is no picture for station: S2"} << QStringList{}
            << false;
        QTest::newRow("another station while showing restarts")
            << QStringList{"open|S1|a,b", "next", "open|S2|x,y,z", "next"}
            << QStringList{"Images 1 of 2", "Images 2 of 2", one, two}
            << QStringList{"a", "b", "x", "y"} << "Station S2" << 1 << 0 << QStringList{}
            << QStringList{} << true;
        QTest::newRow("next during a download moves the labels only")
            << QStringList{"open|S1|a,b,c", "busy", "next", "next", "full", "idle", "prev"}
            << QStringList{one, one, two, three, three, three, two} << QStringList{"a", "b"}
            << "Station S1" << 1 << 0 << QStringList{} << QStringList{Server + "c.jpg"} << true;
        QTest::newRow("close keeps the list and the address")
            << QStringList{"open|S1|a,b,c", "next", "close", "full", "next"}
            << QStringList{one, two, two, two, three} << QStringList{"a", "b", "c"} << "Station S1"
            << 2 << 1 << QStringList{} << QStringList{Server + "b.jpg"} << false;
        QTest::newRow("empty names from commas")
            << QStringList{"open|S1|a,,", "next", "next"} << QStringList{one, two, three}
            << QStringList{"a", "", ""} << "Station S1" << 2 << 1 << QStringList{} << QStringList{}
            << true;
    }
    void sequences()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, loads);
        QFETCH(QString, station);
        QFETCH(int, current);
        QFETCH(int, back);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, opened);
        QFETCH(bool, showing);
        QCOMPARE(captions.size(), steps.size());

        RecordingLoader loader;
        RecordingMessageSink sink;
        RecordingAddressOpener opener;
        PhotoViewer viewer(Server, loader, sink, opener);
        int closes = 0;
        for (int i = 0; i < steps.size(); ++i) {
            const QStringList step = steps.at(i).split(QLatin1Char('|'));
            const QString& op = step.at(0);
            if (op == QLatin1String("open")) {
                const bool shown = viewer.open(step.at(1), step.at(2));
                QCOMPARE(shown, viewer.count() > 0);
            } else if (op == QLatin1String("next")) {
                viewer.next();
            } else if (op == QLatin1String("prev")) {
                viewer.previous();
            } else if (op == QLatin1String("close")) {
                viewer.close();
                ++closes;
            } else if (op == QLatin1String("full")) {
                viewer.fullView();
            } else {
                loader.busy = op == QLatin1String("busy");
            }
            QVERIFY2(viewer.countCaption() == captions.at(i),
                     qPrintable(QStringLiteral("after step %1 (%2): %3")
                                    .arg(i)
                                    .arg(steps.at(i), viewer.countCaption())));
            // The current photo address always names the photo the count label names.
            if (viewer.count() > 0)
                QCOMPARE(viewer.currentAddress(),
                         Server + viewer.photos().at(viewer.currentIndex()) + ".jpg");
        }
        QCOMPARE(loader.loads, loads);
        QCOMPARE(loader.dropped, 0);
        QCOMPARE(loader.clears, closes);
        QCOMPARE(viewer.stationCaption(), station);
        QCOMPARE(viewer.currentIndex(), current);
        QCOMPARE(viewer.backIndex(), back);
        QCOMPARE(sink.messages, messages);
        QVERIFY(sink.errors.isEmpty());
        QCOMPARE(opener.opened, opened);
        QCOMPARE(viewer.showing(), showing);
    }

    // The bar starts at its design position; each report sets the position (within
    // the range it has) and then the maximum; completion sets the position to 0.
    void progress_data()
    {
        QTest::addColumn<QList<qint64>>("reports"); // pairs of received, total; -1, -1 completes
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("maximum");

        QTest::newRow("design") << QList<qint64>{} << 50 << 100;
        QTest::newRow("first report within the design range")
            << QList<qint64>{40, 9000} << 40 << 9000;
        QTest::newRow("first report beyond the design range")
            << QList<qint64>{4096, 9000} << 100 << 9000;
        QTest::newRow("second report") << QList<qint64>{4096, 9000, 8192, 9000} << 8192 << 9000;
        QTest::newRow("completed") << QList<qint64>{4096, 9000, 9000, 9000, -1, -1} << 0 << 9000;
        QTest::newRow("no size announced") << QList<qint64>{700, 0} << 0 << 0;
        QTest::newRow("next download after a completed one")
            << QList<qint64>{9000, 9000, -1, -1, 3000, 12000} << 3000 << 12000;
        QTest::newRow("beyond the integer range")
            << QList<qint64>{100, 5'000'000'000, 4'000'000'000, 5'000'000'000} << 2147483647
            << 2147483647;
    }
    void progress()
    {
        QFETCH(QList<qint64>, reports);
        QFETCH(int, position);
        QFETCH(int, maximum);
        RecordingLoader loader;
        RecordingMessageSink sink;
        RecordingAddressOpener opener;
        PhotoViewer viewer(Server, loader, sink, opener);
        for (qsizetype i = 0; i + 1 < reports.size(); i += 2) {
            if (reports.at(i) < 0)
                viewer.downloadCompleted();
            else
                viewer.downloadProgressed(reports.at(i), reports.at(i + 1));
        }
        QCOMPARE(viewer.progressPosition(), position);
        QCOMPARE(viewer.progressMaximum(), maximum);
    }

    void placement_data()
    {
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<int>("gridPanelLeft");
        QTest::addColumn<int>("panelWidth");
        QTest::addColumn<int>("left");

        // 657 / 2 = 328.5 rounds to 328 (even); 659 / 2 = 329.5 rounds to 330.
        QTest::newRow("even grid, half panel to even below") << 800 << 215 << 657 << 287;
        QTest::newRow("half grid to even below") << 801 << 215 << 657 << 287;
        QTest::newRow("half grid to even above") << 803 << 215 << 657 << 289;
        QTest::newRow("half panel to even above") << 800 << 215 << 659 << 285;
        QTest::newRow("panel wider than grid") << 301 << 0 << 657 << -178;
    }
    void placement()
    {
        QFETCH(int, gridWidth);
        QFETCH(int, gridPanelLeft);
        QFETCH(int, panelWidth);
        QFETCH(int, left);
        QCOMPARE(PhotoViewer::placedLeft(gridWidth, gridPanelLeft, panelWidth), left);
    }

    void halfRoundedEvenOfNegatives()
    {
        QCOMPARE(PhotoViewer::halfRoundedEven(-5), -2); // -2.5
        QCOMPARE(PhotoViewer::halfRoundedEven(-7), -4); // -3.5
        QCOMPARE(PhotoViewer::halfRoundedEven(-6), -3);
    }

    void dragging()
    {
        RecordingLoader loader;
        RecordingMessageSink sink;
        RecordingAddressOpener opener;
        PhotoViewer viewer(Server, loader, sink, opener);
        QCOMPARE(viewer.dragOffset(QPoint(30, 40)), QPoint());
        viewer.press(QPoint(10, 20));
        QVERIFY(viewer.dragging());
        QCOMPARE(viewer.pressPoint(), QPoint(10, 20));
        QCOMPARE(viewer.dragOffset(QPoint(25, 5)), QPoint(15, -15));
        QCOMPARE(viewer.dragOffset(QPoint(-100, 300)), QPoint(-110, 280));
        viewer.release();
        QVERIFY(!viewer.dragging());
        QCOMPARE(viewer.dragOffset(QPoint(25, 5)), QPoint());
    }
};

QTEST_GUILESS_MAIN(TestPhotoViewer)
#include "test_photoviewer.moc"
