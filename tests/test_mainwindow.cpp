#include "app/commanddock.h"
#include "app/dockitem.h"
#include "app/fonts.h"
#include "app/uStradexMain.h"
#include "data/areanavigator.h"
#include "data/filterbar.h"
#include "data/resultsetmodel.h"
#include "data/stationdata.h"
#include "data/stationfields.h"
#include "data/stationgrid.h"
#include "dbresource.h"
#include "export/exportcommands.h"
#include "map/stationlistwidget.h"
#include "map/stationmapwidget.h"
#include "photos/photopanel.h"
#include "app/recordingupdateprompts.h"
#include "platform/recordingseams.h"
#include "support/fakemapbrowser.h"
#include "support/fixturedb.h"
#include "support/userinput.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <sqlite3.h>

namespace {

using UserInput::pick;

// Types text into a line edit key by key, any characters included.
void type(QWidget* edit, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &release);
    }
}

// Reads the station database directly, with bound values, to check what the window shows.
class Reference
{
public:
    explicit Reference(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
    }
    ~Reference() { sqlite3_close(m_db); }

    QStringList column(const QString& sql, const QStringList& values = {}) const
    {
        sqlite3_stmt* stmt = nullptr;
        QStringList out;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            qFatal("reference statement failed: %s", sqlite3_errmsg(m_db));
        QList<QByteArray> keep;
        for (int i = 0; i < values.size(); ++i) {
            keep << values.at(i).toUtf8();
            sqlite3_bind_text(stmt, i + 1, keep.last().constData(), int(keep.last().size()),
                              SQLITE_STATIC);
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            out << (text ? QString::fromUtf8(text) : QString());
        }
        sqlite3_finalize(stmt);
        return out;
    }

    int count(const QString& sql, const QStringList& values = {}) const
    {
        return column(sql, values).value(0).toInt();
    }

private:
    sqlite3* m_db = nullptr;
};

QStringList gridColumn(const ResultSet& rs, StationField::Number field)
{
    QStringList out;
    for (int r = 0; r < rs.recordCount(); ++r)
        out << rs.text(r, StationField::column(field));
    return out;
}

bool nonDecreasing(const QStringList& list)
{
    for (int i = 1; i < list.size(); ++i)
        if (list.at(i - 1) > list.at(i))
            return false;
    return true;
}

bool nonDecreasing(const QList<qint64>& list)
{
    return std::is_sorted(list.begin(), list.end());
}

QList<qint64> aadtColumn(const ResultSet& rs)
{
    QList<qint64> out;
    for (int r = 0; r < rs.recordCount(); ++r)
        out << rs.integer(r, StationField::column(StationField::Aadt));
    return out;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;
    std::unique_ptr<Reference> m_ref;
    RecordingMessageSink m_messages;
    RecordingAddressOpener m_addresses;
    RecordingSaveDialog m_saves;
    RecordingUpdatePrompts m_prompts;
    FakeMapBrowser m_browser;
    std::unique_ptr<TfrmMainStradex> m_w;

    Config config() const
    {
        Config c = Config::defaults();
        c.reportServer = QStringLiteral("http://reports.test");
        return c;
    }

    void open(const QString& path)
    {
        m_w = std::make_unique<TfrmMainStradex>(
            MainWindowEnvironment{config(), &m_messages, &m_addresses, &m_saves, path, &m_prompts,
                                  &m_browser, [] { return true; }});
    }

    void show()
    {
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }

    const ResultSet& rows() const { return m_w->stationData().resultSet(); }

    void clickNode(QTreeWidgetItem* node)
    {
        AreaNavigator* tv = m_w->TV();
        tv->scrollToItem(node);
        QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, tv->visualItemRect(node).center());
    }

    void clickTitle(StationField::Number field)
    {
        QHeaderView* header = m_w->RzDBGrid1()->horizontalHeader();
        const int logical = StationField::column(field);
        m_w->RzDBGrid1()->scrollTo(m_w->RzDBGrid1()->resultModel()->index(0, logical));
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(logical) + 20, header->height() / 2));
    }

    // Column, operator and value as the user picks and types them, then the button.
    void runFilter(int column, int op, const QString& value)
    {
        FilterBar* bar = m_w->pnlSearch();
        pick(bar->columnsCB(), column);
        pick(bar->operatorsCB(), op);
        bar->valuesCB()->lineEdit()->selectAll();
        if (value.isEmpty())
            QTest::keyClick(bar->valuesCB()->lineEdit(), Qt::Key_Delete);
        else
            type(bar->valuesCB()->lineEdit(), value);
        QVERIFY(bar->goSpBtn()->isEnabled());
        QTest::mouseClick(bar->goSpBtn(), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        registerProgramFonts();
        m_db = m_dir.filePath(QStringLiteral("KORVAZARN.dat"));
        QVERIFY(QFile::copy(stationDatabaseResource(), m_db));
        QFile::setPermissions(m_db, QFile::ReadOwner | QFile::WriteOwner);
        m_ref = std::make_unique<Reference>(m_db);
    }

    void init()
    {
        m_messages = {};
        m_addresses = {};
        open(m_db);
    }

    void cleanup() { m_w.reset(); }

    void formCreateEndState()
    {
        QCOMPARE(m_messages.errors, QStringList());
        QStringList tables;
        for (int i = 0; i < m_w->AADTCB()->count(); ++i)
            tables << m_w->AADTCB()->itemText(i);
        QCOMPARE(tables, QStringList({"ALL DATA", "AADT 2008", "AADT 2007"}));
        QCOMPARE(m_w->currentTable(), QStringLiteral("ALL DATA"));

        // The navigator: the root, then the counties in the engine's order, collapsed.
        AreaNavigator* tv = m_w->TV();
        QCOMPARE(tv->currentItem(), tv->root());
        QCOMPARE(m_w->selectedNodeText(), QStringLiteral("All Counties"));
        QCOMPARE(tv->root()->childCount(), 0);
        const QStringList counties =
            m_ref->column(QStringLiteral("select distinct(county_descr) from \"all data\""));
        QCOMPARE(tv->topLevelItemCount(), counties.size() + 1);
        for (int i = 0; i < counties.size(); ++i) {
            QTreeWidgetItem* county = tv->topLevelItem(i + 1);
            QCOMPARE(county->text(0), counties.at(i));
            QCOMPARE(AreaNavigator::kindOf(county), AreaKind::County);
            QVERIFY(!county->isExpanded());
            QStringList municipalities;
            for (int m = 0; m < county->childCount(); ++m) {
                municipalities << county->child(m)->text(0);
                QCOMPARE(AreaNavigator::kindOf(county->child(m)), AreaKind::Municipality);
            }
            QCOMPARE(
                municipalities,
                m_ref->column(QStringLiteral("select distinct(municipality_descr) from \"all data\""
                                             " where county_descr = ?"),
                              {counties.at(i)}));
        }
        QCOMPARE(AreaNavigator::kindOf(tv->root()), AreaKind::AllCounties);

        // The first load: all stations of ALL DATA, by county and municipality.
        QCOMPARE(rows().recordCount(), 1997);
        QCOMPARE(m_w->stationData().stationQuery().sql(),
                 QueryComposer::selectHead(QStringLiteral("ALL DATA")) +
                     QStringLiteral(" order by county_descr, municipality_descr"));
        QCOMPARE(m_w->panelText(0), QStringLiteral("Number of stations: 1997"));
        QCOMPARE(m_w->panelText(1), QStringLiteral("Query Time:"));
        QCOMPARE(m_w->panelText(2), QStringLiteral("Tool Tip Hint:"));
        QCOMPARE(m_w->panelText(3), QStringLiteral("Save Status:"));

        StationGrid* grid = m_w->RzDBGrid1();
        QVERIFY(grid->alternatingRowColors());
        QVERIFY(grid->isColumnHidden(StationField::column(StationField::Images)));
        QCOMPARE(grid->columnWidth(StationField::column(StationField::Location)), 300);
        QCOMPARE(grid->columnWidth(StationField::column(StationField::AadtReport)), 200);
        QCOMPARE(grid->columnWidth(StationField::column(StationField::MilePost)), 100);

        QStringList columns;
        for (int i = 0; i < m_w->pnlSearch()->columnsCB()->count(); ++i)
            columns << m_w->pnlSearch()->columnsCB()->itemText(i);
        QCOMPARE(columns, QStringList({"select..", "Station Number", "Street-Route Name",
                                       "Municipality", "County", "SRI", "AADT"}));
        QCOMPARE(m_w->pnlSearch()->state().state(), FilterBarState::State::Idle);

        QTabWidget* pages = m_w->AdvPageControl1();
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QStringLiteral(" Data Grid"));
        QCOMPARE(pages->tabText(1), QStringLiteral(" Station Map"));
        QCOMPARE(pages->widget(1)->objectName(), QStringLiteral("mapsheet"));
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(m_w->mapContainer()->layout());

        CommandDock* dock = m_w->AdvSmoothDock1();
        QCOMPARE(dock->count(), 10);
        QCOMPARE(dock->selectedIndex(), 5);
        for (int i = 0; i < dock->count(); ++i)
            QCOMPARE(dock->item(i)->isEnabled(), i != 6);
        QVERIFY(dock->isHidden());

        QCOMPARE(m_w->windowTitle(),
                 QStringLiteral("Korva Traffic Monitoring Station Database  - Version 3.0.0.0"));
        QCOMPARE(m_w->minimumSize(), QSize(1050, 700));
        QCOMPARE(m_w->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(m_w->font().pixelSize(), 11);

        show();
        QVERIFY(dock->isVisible());
    }

    void layoutDesignSizes()
    {
        show();
        QCOMPARE(m_w->size(), QSize(1251, 721));
        QCOMPARE(m_w->findChild<QWidget*>("PnlTreeview")->width(), 215);
        QCOMPARE(m_w->Splitter1()->handleWidth(), 4);
        QCOMPARE(m_w->Splitter2()->handleWidth(), 3);
        QCOMPARE(m_w->findChild<QWidget*>("pnlHeader")->height(), 93);
        QCOMPARE(m_w->pnlSearch()->height(), 45);
        QCOMPARE(m_w->statusBar()->height(), 19);
        const QWidget* logo = m_w->findChild<QWidget*>("Image1");
        QCOMPARE(logo->height(), 45);
        QVERIFY(logo->width() >= 213);
        const int widths[] = {160, 350, 200, 350};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(m_w->findChild<QWidget*>(QStringLiteral("sbMainPanel%1").arg(i))->width(),
                     widths[i]);
        // The splitters move: the left panel can be widened.
        m_w->Splitter1()->setSizes({300, 900});
        QCOMPARE(m_w->findChild<QWidget*>("PnlTreeview")->width(), 300);
        // The window keeps its minimum size.
        m_w->resize(800, 500);
        QCOMPARE(m_w->size(), QSize(1050, 700));
    }

    void navigatorSelectionAndClicks_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("runs");
        QTest::newRow("keyboard to the first county") << "key" << 1;
        QTest::newRow("click on another county") << "click county" << 2;
        QTest::newRow("click on a municipality") << "click municipality" << 2;
        QTest::newRow("click on the selected root") << "click root" << 1;
    }

    void navigatorSelectionAndClicks()
    {
        QFETCH(QString, action);
        QFETCH(int, runs);
        show();
        AreaNavigator* tv = m_w->TV();
        QTreeWidgetItem* target = tv->root();
        QSignalSpy ran(&m_w->stationData(), &StationData::queryRan);
        if (action == QLatin1String("key")) {
            tv->setFocus();
            QTest::keyClick(tv, Qt::Key_Down);
            target = tv->topLevelItem(1);
        } else if (action == QLatin1String("click county")) {
            target = tv->topLevelItem(3);
            clickNode(target);
        } else if (action == QLatin1String("click municipality")) {
            tv->expandItem(tv->topLevelItem(2));
            target = tv->topLevelItem(2)->child(1);
            clickNode(target);
        } else {
            clickNode(target);
        }
        QCOMPARE(tv->currentItem(), target);
        QCOMPARE(ran.size(), runs);

        const QString table = QStringLiteral("\"all data\"");
        switch (AreaNavigator::kindOf(target)) {
        case AreaKind::AllCounties:
            QCOMPARE(rows().recordCount(), 1997);
            break;
        case AreaKind::County:
            QCOMPARE(rows().recordCount(),
                     m_ref->count("select count(*) from " + table + " where county_descr = ?",
                                  {target->text(0)}));
            QCOMPARE(gridColumn(rows(), StationField::County).removeDuplicates(),
                     rows().recordCount() - 1);
            QVERIFY(nonDecreasing(gridColumn(rows(), StationField::Municipality)));
            break;
        case AreaKind::Municipality:
            QCOMPARE(rows().recordCount(),
                     m_ref->count("select count(*) from " + table +
                                      " where county_descr = ? and municipality_descr = ?",
                                  {target->parent()->text(0), target->text(0)}));
            QVERIFY(nonDecreasing(gridColumn(rows(), StationField::StreetRouteName)));
            break;
        }
        QCOMPARE(m_w->panelText(0),
                 QStringLiteral("Number of stations: %1").arg(rows().recordCount()));
        QCOMPARE(m_w->pnlSearch()->state().state(), FilterBarState::State::Idle);
    }

    // A change of table re-runs the selected area against the new table; the tree keeps
    // the areas of the table it was built from.
    void tableChangeKeepsTheTree()
    {
        show();
        AreaNavigator* tv = m_w->TV();
        QStringList before;
        for (int i = 0; i < tv->topLevelItemCount(); ++i)
            before << tv->topLevelItem(i)->text(0);
        QTreeWidgetItem* county = tv->topLevelItem(1);
        tv->expandItem(county);
        QTreeWidgetItem* municipality = county->child(county->childCount() - 1);
        clickNode(municipality);
        pick(m_w->pnlSearch()->columnsCB(), 6);

        pick(m_w->AADTCB(), 2);
        QCOMPARE(m_w->currentTable(), QStringLiteral("AADT 2007"));
        QCOMPARE(rows().recordCount(), m_ref->count("select count(*) from \"aadt 2007\" where "
                                                    "county_descr = ? and municipality_descr = ?",
                                                    {county->text(0), municipality->text(0)}));
        QStringList after;
        for (int i = 0; i < tv->topLevelItemCount(); ++i)
            after << tv->topLevelItem(i)->text(0);
        QCOMPARE(after, before);
        QCOMPARE(tv->currentItem(), municipality);
        QCOMPARE(m_w->pnlSearch()->state().state(), FilterBarState::State::Idle);
        QVERIFY(m_w->stationData().composer().currentQuery().contains(
            QStringLiteral("FROM \"AADT 2007\"")));
    }

    // AADT >= 50000 for all counties, ordered by AADT; title clicks sort the filtered
    // rows descending, then ascending; a click on the selected node drops the filter.
    void filterSortAndDrop()
    {
        show();
        runFilter(6, 5, QStringLiteral("50000"));
        QCOMPARE(m_messages.errors, QStringList());
        const int expected =
            m_ref->count(QStringLiteral("select count(*) from \"all data\" where aadt >= 50000"));
        QVERIFY(expected > 0);
        QCOMPARE(rows().recordCount(), expected);
        QCOMPARE(m_w->panelText(0), QStringLiteral("Number of stations: %1").arg(expected));
        QList<qint64> aadt = aadtColumn(rows());
        QVERIFY(nonDecreasing(aadt));
        QVERIFY(aadt.first() >= 50000);

        clickTitle(StationField::Aadt);
        aadt = aadtColumn(rows());
        QCOMPARE(aadt.size(), expected);
        QVERIFY(std::is_sorted(aadt.rbegin(), aadt.rend()));
        clickTitle(StationField::Aadt);
        QVERIFY(nonDecreasing(aadtColumn(rows())));
        // One toggle for every column: a click on another column continues it.
        clickTitle(StationField::Aadt);
        clickTitle(StationField::StationNumber);
        QCOMPARE(rows().recordCount(), expected);
        QVERIFY(nonDecreasing(gridColumn(rows(), StationField::StationNumber)));
        // Pressing the button again runs the same filter.
        QTest::mouseClick(m_w->pnlSearch()->goSpBtn(), Qt::LeftButton);
        QCOMPARE(rows().recordCount(), expected);

        clickNode(m_w->TV()->root());
        QCOMPARE(rows().recordCount(), 1997);
        QCOMPARE(m_w->stationData().composer().currentQuery(),
                 m_w->stationData().composer().baseQuery());
    }

    void badFilterValues_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reference");

        const QString like = QStringLiteral("'%' || ? || '%'");
        QTest::newRow("quote in a name") << 4 << 1 << "O'Brien"
                                         << "county_descr = ?";
        QTest::newRow("quote in a like") << 1 << 3 << "1-4'"
                                         << "si_station_num like " + like;
        QTest::newRow("empty value") << 1 << 1 << ""
                                     << "si_station_num = ?";
        QTest::newRow("matches nothing") << 2 << 3 << "ZZQX"
                                         << "si_street_name like " + like;
        QTest::newRow("very long")
            << 2 << 3 << QString(600, QLatin1Char('A')) << "si_street_name like " + like;
        QTest::newRow("non-ASCII")
            << 3 << 1 << QStringLiteral("Zürich–東京") << "municipality_descr = ?";
        QTest::newRow("like anywhere") << 1 << 3 << "20"
                                       << "si_station_num like " + like;
        QTest::newRow("prompt text as value") << 1 << 1 << "select or type in"
                                              << "si_station_num = ?";
    }

    void badFilterValues()
    {
        QFETCH(int, column);
        QFETCH(int, op);
        QFETCH(QString, value);
        QFETCH(QString, reference);
        show();
        runFilter(column, op, value);
        QCOMPARE(m_messages.errors, QStringList());
        const int expected =
            m_ref->count("select count(*) from \"all data\" where " + reference, {value});
        QCOMPARE(rows().recordCount(), expected);
        QCOMPARE(m_w->panelText(0), QStringLiteral("Number of stations: %1").arg(expected));
        // The window goes on working.
        clickNode(m_w->TV()->root());
        QCOMPARE(rows().recordCount(), 1997);
    }

    // A table the statements do not fit: the engine's message once, an empty grid, and
    // the next table works again.
    void rejectedStatementIsShownOnce()
    {
        const QString db = m_dir.filePath(QStringLiteral("broken.dat"));
        QFile::remove(db);
        QVERIFY(QFile::copy(m_db, db));
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
        sqlite3* handle = nullptr;
        QCOMPARE(sqlite3_open(db.toUtf8().constData(), &handle), SQLITE_OK);
        QCOMPARE(
            sqlite3_exec(handle, "CREATE TABLE \"aaa broken\" (x TEXT)", nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(handle);

        open(db);
        show();
        QCOMPARE(m_w->AADTCB()->itemText(3), QStringLiteral("AAA BROKEN"));
        pick(m_w->AADTCB(), 3);
        QCOMPARE(m_messages.errors.size(), 1);
        QVERIFY(m_messages.errors.first().contains(QStringLiteral("no such column")));
        QCOMPARE(m_w->RzDBGrid1()->model()->rowCount(), 0);
        // The arrow keys passed AADT 2007 on the way: its count stays in panel 0.
        QCOMPARE(m_w->panelText(0),
                 QStringLiteral("Number of stations: %1")
                     .arg(m_ref->count(QStringLiteral("select count(*) from \"aadt 2007\""))));

        pick(m_w->AADTCB(), 0);
        QCOMPARE(m_messages.errors.size(), 1);
        QCOMPARE(rows().recordCount(), 1997);
    }

    void gridClicksReachTheSeams()
    {
        show();
        StationGrid* grid = m_w->RzDBGrid1();
        QSignalSpy photos(grid, &StationGrid::photoRequested);
        const auto click = [&](StationField::Number field) {
            const QModelIndex index = grid->resultModel()->index(0, StationField::column(field));
            grid->scrollTo(index);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(index).center());
        };
        click(StationField::AadtReport);
        QCOMPARE(m_addresses.opened,
                 QStringList{"http://reports.test/zarnweb/Report/" +
                             rows().text(0, StationField::column(StationField::AadtReport))});
        click(StationField::StationNumber);
        QCOMPARE(photos.size(), 1);
        QCOMPARE(photos.at(0).at(0).toString(),
                 rows().text(0, StationField::column(StationField::StationNumber)));
        QCOMPARE(photos.at(0).at(1).toString(),
                 rows().text(0, StationField::column(StationField::Images)));
    }

    void dockHover_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("panel");
        QTest::newRow("html") << 0 << "Save as HTML report";
        QTest::newRow("xls") << 1 << "Save as XSL report";
        QTest::newRow("spacer") << 6 << "";
        QTest::newRow("update") << 9 << "Check for update";
    }

    void dockHover()
    {
        QFETCH(int, index);
        QFETCH(QString, panel);
        show();
        QCOMPARE(m_w->panelText(2), QStringLiteral("Tool Tip Hint:"));
        CommandDock* dock = m_w->AdvSmoothDock1();
        QTest::mouseMove(dock, dock->item(index)->geometry().center());
        QCOMPARE(m_w->panelText(2), panel);
    }

    void dockCommands_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("visible");
        QTest::newRow("manual") << 3
                                << QStringList{"http://reports.test/zarnweb/Report/Stradex.pdf"}
                                << 1 << true;
        QTest::newRow("exit") << 5 << QStringList() << 1 << false;
        QTest::newRow("data grid") << 7 << QStringList() << 0 << true;
        QTest::newRow("station map") << 8 << QStringList() << 1 << true;
    }

    void dockCommands()
    {
        QFETCH(int, index);
        QFETCH(QStringList, opened);
        QFETCH(int, tab);
        QFETCH(bool, visible);
        show();
        m_w->AdvPageControl1()->setCurrentIndex(index == 8 ? 0 : 1);
        CommandDock* dock = m_w->AdvSmoothDock1();
        const QPoint at = dock->item(index)->geometry().center();
        QTest::mouseMove(dock, at);
        QTest::mouseClick(dock, Qt::LeftButton, {}, dock->item(index)->geometry().center());
        QCOMPARE(m_addresses.opened, opened);
        QCOMPARE(m_w->AdvPageControl1()->currentIndex(), tab);
        QCOMPARE(m_w->isVisible(), visible);
        QCOMPARE(m_messages.errors, QStringList());
    }

    void selectionMark_data()
    {
        QTest::addColumn<int>("county");       // top-level index; 0 is the root
        QTest::addColumn<int>("municipality"); // child index, -1 for the county itself
        QTest::addColumn<bool>("marked");
        QTest::newRow("root") << 0 << -1 << false;
        QTest::newRow("first county") << 1 << -1 << true;
        QTest::newRow("later county") << 4 << -1 << true;
        QTest::newRow("first municipality") << 2 << 0 << false;
        QTest::newRow("second municipality") << 2 << 1 << true;
    }

    // A selected entry that is not first among its siblings is red on yellow.
    void selectionMark()
    {
        QFETCH(int, county);
        QFETCH(int, municipality);
        QFETCH(bool, marked);
        show();
        AreaNavigator* tv = m_w->TV();
        QTreeWidgetItem* node = tv->topLevelItem(county);
        if (municipality >= 0) {
            tv->expandItem(node);
            node = node->child(municipality);
        }
        clickNode(node);
        const QImage image = tv->viewport()->grab().toImage();
        const QRect r = tv->visualItemRect(node);
        int yellow = 0;
        int red = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb p = image.pixel(x, y) & 0xFFFFFF;
                yellow += p == 0xFFFF00;
                red += p == 0xFF0000;
            }
        }
        QCOMPARE(yellow > 50, marked);
        QCOMPARE(red > 0, marked);
    }

    // The map view follows the navigator while its tab shows, and FormShow loaded its page.
    void mapFollowsTheNavigator()
    {
        m_browser.calls.clear();
        m_browser.loaded.clear();
        m_browser.state = FakeMapBrowser::Uninitialized;
        show();
        QCOMPARE(m_browser.calls.value(0), QStringLiteral("navigate about:blank"));
        QCOMPARE(m_browser.loaded.size(), 1);
        StationListWidget* list = m_w->stationMap()->stationTV();
        QCOMPARE(list->topLevelItemCount(), 0); // the grid tab showed at the first load

        m_w->AdvPageControl1()->setCurrentIndex(TfrmMainStradex::MapTab);
        QTreeWidgetItem* county = m_w->TV()->topLevelItem(1);
        m_w->AdvPageControl1()->setCurrentIndex(TfrmMainStradex::GridTab);
        clickNode(county);
        QCOMPARE(list->topLevelItemCount(), 0);
        m_w->AdvPageControl1()->setCurrentIndex(TfrmMainStradex::MapTab);
        m_w->TVClick();
        QCOMPARE(list->topLevelItemCount(), rows().recordCount() + 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Stations in ") + county->text(0));
        QCOMPARE(list->topLevelItem(1)->text(0),
                 QStringLiteral("Station number ") + rows().text(0, 0));
    }

    // A click on a station number opens the photo viewer (or says there is no picture).
    void stationClickOpensThePhotoViewer()
    {
        show();
        PhotoPanel* panel = m_w->AdvSmoothPanel1();
        QVERIFY(!panel->isVisible());
        const ResultSet& rs = rows();
        int withPhotos = -1;
        int without = -1;
        for (int r = 0; r < rs.recordCount(); ++r) {
            const bool has = !rs.text(r, StationField::column(StationField::Images)).isEmpty();
            if (has && withPhotos < 0)
                withPhotos = r;
            if (!has && without < 0)
                without = r;
        }
        QVERIFY(withPhotos >= 0 && without >= 0);
        StationGrid* grid = m_w->RzDBGrid1();
        const auto clickStation = [&](int row) {
            const QModelIndex index = grid->resultModel()->index(row, 0);
            grid->scrollTo(index);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
        };
        clickStation(without);
        QCOMPARE(m_messages.messages,
                 QStringList{QStringLiteral("There is no picture for station: ") + rs.text(without, 0)});
        QVERIFY(!panel->isVisible());
        clickStation(withPhotos);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->viewer().count(),
                 rs.text(withPhotos, StationField::column(StationField::Images)).count(QLatin1Char(',')) + 1);
    }

    // Dock items 2, 1 and 0 save the selection as XML, XLS and an HTML report.
    void dockExportsSaveTheSelection_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("xml") << 2 << "selection.xml" << QByteArray("<?xml version=\"1.0\" standalone=\"yes\"?>");
        QTest::newRow("xls") << 1 << "selection.xls" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
        QTest::newRow("html") << 0 << "selection.html" << QByteArray("<!DOCTYPE HTML PUBLIC");
    }
    void dockExportsSaveTheSelection()
    {
        QFETCH(int, item);
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        show();
        QTemporaryDir out;
        const QString path = out.filePath(name);
        m_saves.answer = path;
        QSignalSpy finished(m_w->exportCommands(), &ExportCommands::exportFinished);
        CommandDock* dock = m_w->AdvSmoothDock1();
        QTest::mouseClick(dock, Qt::LeftButton, {}, dock->item(item)->geometry().center());
        QVERIFY(finished.wait(20000) || finished.size() == 1);
        QCOMPARE(m_messages.errors, QStringList());
        QCOMPARE(m_w->panelText(3), path + QStringLiteral(" saved"));
        QVERIFY(m_w->panelText(1).startsWith(QStringLiteral("Last operation duration: ")));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY2(f.read(start.size()) == start, qPrintable(path));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
