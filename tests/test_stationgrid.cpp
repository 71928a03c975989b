#include "data/gridindicatorheader.h"
#include "data/querycomposer.h"
#include "data/resultsetmodel.h"
#include "data/stationdata.h"
#include "data/stationfields.h"
#include "data/stationgrid.h"
#include "platform/imagelist.h"
#include "platform/recordingseams.h"
#include "support/fixturedb.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using FixtureDb::station;

namespace {

const QString ReportServer = QStringLiteral("http://reports.test");

// Rows of the fixture, in the grid's order (by station number).
enum Row
{
    WithPhotos = 0,
    NoPhotosNoReport = 1,
    PhotosIn2008Only = 2
};

// True when every opaque pixel of the icon shows at the point.
bool showsIcon(const QImage& shot, const QPoint& at, int index)
{
    const QImage icon = ImageList::pixmap(index).toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb p = icon.pixel(x, y);
            if (qAlpha(p) < 255)
                continue;
            ++opaque;
            if ((shot.pixel(at + QPoint(x, y)) & 0xFFFFFF) != (p & 0xFFFFFF))
                return false;
        }
    }
    return opaque > 20;
}

// The colours in a rectangle of the picture.
QSet<QRgb> colours(const QImage& shot, const QRect& r)
{
    QSet<QRgb> set;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            set.insert(shot.pixel(x, y) & 0xFFFFFF);
    return set;
}

// The first column of the rectangle, from its left, that holds another colour than
// its top-right pixel (the cell's background); -1 when it is all background.
int firstInk(const QImage& shot, const QRect& r)
{
    const QRgb background = shot.pixel(r.topRight()) & 0xFFFFFF;
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if ((shot.pixel(x, y) & 0xFFFFFF) != background)
                return x - r.left();
    return -1;
}

} // namespace

class TestStationGrid : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;
    QString m_table = QStringLiteral("AADT 2008");
    std::unique_ptr<StationData> m_data;
    std::unique_ptr<RecordingAddressOpener> m_opener;
    std::unique_ptr<RecordingMessageSink> m_messages;
    std::unique_ptr<StationGrid> m_grid;

    void load()
    {
        m_data->runQuery(QueryComposer::selectHead(QStringLiteral("AADT 2008")) +
                         QStringLiteral(" order by si_station_num"));
        m_grid->layoutColumns(); // as the query runner does after every load
    }

    QRect cell(int row, StationField::Number field) const
    {
        return m_grid->visualRect(m_grid->resultModel()->index(row, StationField::column(field)));
    }

    QImage shot() const
    {
        m_grid->viewport()->repaint();
        return m_grid->viewport()->grab().toImage();
    }

private slots:
    void initTestCase()
    {
        m_db = m_dir.filePath(QStringLiteral("grid.db"));
        const QString y8 = QStringLiteral("aadt 2008");
        const QString y7 = QStringLiteral("aadt 2007");
        FixtureDb::create(
            m_db,
            {QStringLiteral("CREATE TABLE \"aadt 2008\" ") + FixtureDb::stationColumns(),
             QStringLiteral("CREATE TABLE \"aadt 2007\" ") + FixtureDb::stationColumns(),
             station(y8, "1-1-001", "Birchwood", "Oakwood", 1200, "'1-1-001a-08,1-1-001b-08'"),
             station(y8, "1-1-002", "Birchwood", "Oakwood", 800),
             QStringLiteral(
                 "UPDATE \"aadt 2008\" SET REPORT = '' WHERE SI_STATION_NUM = '1-1-002'"),
             station(y8, "1-1-003", "Calder", "Redside", 950, "'1-1-003a-08'"),
             station(y7, "1-1-001", "Birchwood", "Oakwood", 1100),
             station(y7, "1-1-003", "Calder", "Redside", 900, "''")});
    }

    void init()
    {
        m_table = QStringLiteral("AADT 2008");
        m_data = std::make_unique<StationData>();
        m_data->open(m_db);
        m_opener = std::make_unique<RecordingAddressOpener>();
        m_messages = std::make_unique<RecordingMessageSink>();
        m_grid = std::make_unique<StationGrid>(
            *m_data, [this] { return m_table; },
            StationGrid::Links{m_opener.get(), ReportServer, m_messages.get()});
        load();
        m_grid->resize(1100, 200);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    }

    void cleanup() { m_grid.reset(); }

    void columnLayoutAfterEveryLoad()
    {
        m_grid->setColumnWidth(0, 40);
        m_grid->horizontalHeader()->moveSection(0, 4);
        load();
        QCOMPARE(m_grid->horizontalHeader()->visualIndex(0), 0); // the load restores field order
        for (int c = 0; c < StationField::Count; ++c) {
            const int field = c + 1;
            QCOMPARE(m_grid->isColumnHidden(c), field == StationField::Images);
            const int width = field == StationField::Location     ? 300
                              : field == StationField::AadtReport ? 200
                                                                  : 100;
            if (field != StationField::Images)
                QCOMPARE(m_grid->columnWidth(c), width);
        }
        // Single-line rows: the font's height and a few pixels.
        QVERIFY(m_grid->rowHeight(0) < 2 * m_grid->fontMetrics().height());
        m_grid->setRowShading(true);
        QCOMPARE(m_grid->palette().color(QPalette::AlternateBase), QColor(234, 238, 255));
    }

    void paintsIconsAndTextColours_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("grey");

        QTest::newRow("station with photos") << int(WithPhotos) << 1 << false << 5 << false;
        QTest::newRow("station without photos") << int(NoPhotosNoReport) << 1 << false << 6 << true;
        QTest::newRow("highlighted station without photos")
            << int(NoPhotosNoReport) << 1 << true << 6 << true;
        QTest::newRow("highlighted station with photos")
            << int(WithPhotos) << 1 << true << 5 << false;
        QTest::newRow("report") << int(WithPhotos) << 6 << false << 7 << false;
        QTest::newRow("location") << int(WithPhotos) << 3 << false << -1 << false;
    }

    void paintsIconsAndTextColours()
    {
        QFETCH(int, row);
        QFETCH(int, field);
        QFETCH(bool, selected);
        QFETCH(int, icon);
        QFETCH(bool, grey);

        const QModelIndex index = m_grid->resultModel()->index(row, field - 1);
        if (selected)
            m_grid->setCurrentIndex(index);
        else
            m_grid->setCurrentIndex(m_grid->resultModel()->index(row == 0 ? 1 : 0, 3));
        const QImage image = shot();
        const QRect r = m_grid->visualRect(index);
        for (int i : {5, 6, 7})
            QCOMPARE(showsIcon(image, r.topLeft(), i), i == icon);
        // The text starts 2 pixels into the cell, or right of the icon's square.
        const int ink = firstInk(image, r.adjusted(icon >= 0 ? r.height() : 0, 0, 0, 0));
        QVERIFY2(ink >= 2 && ink <= 3, qPrintable(QString::number(ink)));
        // Grey text: pure grey strokes and nothing darker; normal text has dark strokes
        // (or, highlighted, light ones).
        const QSet<QRgb> text = colours(image, r.adjusted(r.height(), 0, 0, 0));
        int darkest = 255;
        for (QRgb c : text)
            darkest = std::min(darkest, qGray(c));
        QCOMPARE(text.contains(0x808080) && darkest >= 100, grey);
    }

    // A report cell without a name is painted without an icon or text.
    void emptyReportCellIsPlain()
    {
        const QRect r = cell(NoPhotosNoReport, StationField::AadtReport);
        QCOMPARE(colours(shot(), r).size(), 1);
    }

    // The photo test asks the current table at every paint: a station with photos in
    // one year's table only changes its icon when the table changes.
    void photoTestFollowsTheCurrentTable()
    {
        const QRect r = cell(WithPhotos, StationField::StationNumber);
        QVERIFY(showsIcon(shot(), r.topLeft(), ImageList::PhotoPresent));
        m_table = QStringLiteral("AADT 2007");
        QVERIFY(showsIcon(shot(), r.topLeft(), ImageList::NoPhotos));
        const QRect third = cell(PhotosIn2008Only, StationField::StationNumber);
        QVERIFY(showsIcon(shot(), third.topLeft(), ImageList::NoPhotos)); // empty names
    }

    // Icons follow the fields when the user drags a column elsewhere.
    void iconsFollowMovedColumns()
    {
        m_grid->horizontalHeader()->moveSection(0, 3);
        const QRect r = cell(WithPhotos, StationField::StationNumber);
        QVERIFY(r.left() > 300);
        QVERIFY(showsIcon(shot(), r.topLeft(), ImageList::PhotoPresent));
    }

    // A failing photo test is shown once, not once per painted cell.
    void photoTestFailureIsShownOnce()
    {
        m_table = QStringLiteral("NO SUCH TABLE");
        shot();
        shot();
        QTRY_COMPARE(m_messages->errors.size(), 1);
        QVERIFY(m_messages->errors.first().contains(QStringLiteral("no such table")));
        const QRect r = cell(WithPhotos, StationField::StationNumber);
        QVERIFY(showsIcon(shot(), r.topLeft(), ImageList::NoPhotos));
        QTest::qWait(20);
        QCOMPARE(m_messages->errors.size(), 1);
    }

    void clicks_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("photoRequest");

        QTest::newRow("report") << int(WithPhotos) << 6
                                << QStringList{ReportServer +
                                               "/zarnweb/Report/1-1-001-wrpt-08_01_02_08.html"}
                                << QStringList();
        QTest::newRow("empty report")
            << int(NoPhotosNoReport) << 6 << QStringList() << QStringList();
        QTest::newRow("station with photos") << int(WithPhotos) << 1 << QStringList()
                                             << QStringList{"1-1-001", "1-1-001a-08,1-1-001b-08"};
        QTest::newRow("station without photos")
            << int(NoPhotosNoReport) << 1 << QStringList() << QStringList{"1-1-002", ""};
        QTest::newRow("other cell") << int(WithPhotos) << 5 << QStringList() << QStringList();
    }

    void clicks()
    {
        QFETCH(int, row);
        QFETCH(int, field);
        QFETCH(QStringList, opened);
        QFETCH(QStringList, photoRequest);

        QSignalSpy photos(m_grid.get(), &StationGrid::photoRequested);
        const QRect r = m_grid->visualRect(m_grid->resultModel()->index(row, field - 1));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(m_opener->opened, opened);
        QCOMPARE(photos.size(), photoRequest.isEmpty() ? 0 : 1);
        if (!photoRequest.isEmpty())
            QCOMPARE(QStringList({photos.at(0).at(0).toString(), photos.at(0).at(1).toString()}),
                     photoRequest);
        // The click made the record current.
        QCOMPARE(m_data->resultSet().recNo(), row);
    }

    void pointer_data()
    {
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QString>("area");
        QTest::addColumn<int>("position"); // display position, 1-based
        QTest::addColumn<bool>("hint");
        QTest::addColumn<bool>("hand");

        QTest::newRow("title, first column") << false << "title" << 1 << true << true;
        QTest::newRow("title, third column") << false << "title" << 3 << true << false;
        QTest::newRow("cell, first column") << false << "cell" << 1 << false << true;
        QTest::newRow("cell, sixth column") << false << "cell" << 6 << false << true;
        QTest::newRow("cell, second column") << false << "cell" << 2 << false << false;
        QTest::newRow("indicator column") << false << "indicator" << 0 << false << false;
        QTest::newRow("below the rows") << false << "below" << 1 << false << false;
        // After a drag the hand stays on display positions 1 and 6.
        QTest::newRow("moved, first position") << true << "cell" << 1 << false << true;
        QTest::newRow("moved, station number elsewhere") << true << "cell" << 4 << false << false;
        QTest::newRow("moved, sixth position") << true << "title" << 6 << true << true;
    }

    void pointer()
    {
        QFETCH(bool, moved);
        QFETCH(QString, area);
        QFETCH(int, position);
        QFETCH(bool, hint);
        QFETCH(bool, hand);

        QHeaderView* titles = m_grid->horizontalHeader();
        if (moved)
            titles->moveSection(0, 3);
        const int logical = position > 0 ? titles->logicalIndex(position - 1) : 0;
        const int x = titles->sectionViewportPosition(logical) + 30;
        QWidget* target = m_grid->viewport();
        QPoint at(x, m_grid->rowViewportPosition(1) + 5);
        if (area == QLatin1String("title")) {
            target = titles->viewport();
            at.setY(titles->height() / 2);
        } else if (area == QLatin1String("indicator")) {
            target = m_grid->indicator()->viewport();
            at = QPoint(4, m_grid->rowViewportPosition(1) + 5);
        } else if (area == QLatin1String("below")) {
            at.setY(m_grid->rowViewportPosition(2) + m_grid->rowHeight(2) + 20);
        }
        // Start over a title, so that every row shows a change of the hint.
        QTest::mouseMove(titles->viewport(), QPoint(10, 5));
        QVERIFY(m_grid->hintShown());
        QTest::mouseMove(target, at);
        QCOMPARE(m_grid->hintShown(), hint);
        QCOMPARE(target->cursor().shape(), hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }

    void titleClickNamesTheClickedField()
    {
        QSignalSpy titles(m_grid.get(), &StationGrid::titleClicked);
        QHeaderView* header = m_grid->horizontalHeader();
        header->moveSection(StationField::column(StationField::County), 0);
        const int logical = StationField::column(StationField::County);
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(logical) + 10, header->height() / 2));
        QCOMPARE(titles.size(), 1);
        QCOMPARE(titles.at(0).at(0).toString(), QStringLiteral("County"));
    }

    // The current record and the current row follow each other, except while the data
    // are walked with the controls disabled.
    void currentRecordAndRowFollowEachOther()
    {
        ResultSet& rs = m_data->resultSet();
        QCOMPARE(m_grid->currentIndex().row(), 0);
        rs.setRecNo(2);
        QCOMPARE(m_grid->currentIndex().row(), 2);
        QCOMPARE(m_grid->indicator()->currentRow(), 2);

        const QRect r = cell(1, StationField::Location);
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(rs.recNo(), 1);
        QCOMPARE(m_grid->currentIndex().column(), StationField::column(StationField::Location));

        rs.disableControls();
        rs.first();
        rs.next();
        rs.next();
        QCOMPARE(m_grid->currentIndex().row(), 1);
        rs.enableControls();
        QCOMPARE(m_grid->currentIndex().row(), 2);
        // The column stays where the user put it.
        QCOMPARE(m_grid->currentIndex().column(), StationField::column(StationField::Location));

        load();
        QCOMPARE(m_grid->currentIndex().row(), 0);
    }
};

QTEST_MAIN(TestStationGrid)
#include "test_stationgrid.moc"
