#include "data/filterbar.h"
#include "data/querycomposer.h"
#include "data/recordnavigator.h"
#include "data/stationdata.h"
#include "platform/recordingseams.h"
#include "support/fixturedb.h"
#include "support/userinput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using FixtureDb::station;

namespace {

using UserInput::pick;

QStringList entries(const QComboBox* box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

} // namespace

class TestFilterBar : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;
    std::unique_ptr<StationData> m_data;
    std::unique_ptr<RecordingMessageSink> m_messages;
    std::unique_ptr<FilterBar> m_bar;
    const QString m_table = QStringLiteral("AADT 2008");

    void loadArea(AreaKind kind, const QString& county)
    {
        m_data->runQuery(m_data->composer().composeArea(m_table, kind, county, {}));
    }

private slots:
    void initTestCase()
    {
        m_db = m_dir.filePath(QStringLiteral("filter.db"));
        const QString t = QStringLiteral("aadt 2008");
        FixtureDb::create(
            m_db, {QStringLiteral("CREATE TABLE \"aadt 2008\" ") + FixtureDb::stationColumns(),
                   station(t, "1-1-001", "Calder", "Redside", 950),
                   station(t, "1-1-002", "Birchwood", "Oakwood", 51200),
                   station(t, "1-1-003", "Birchwood", "Cedar", 950),
                   station(t, "1-1-004", "Birchwood", "Oakwood", 800)});
    }

    void init()
    {
        m_data = std::make_unique<StationData>();
        m_data->open(m_db);
        m_messages = std::make_unique<RecordingMessageSink>();
        m_bar = std::make_unique<FilterBar>(*m_data, *m_messages, [this] { return m_table; });
        loadArea(AreaKind::AllCounties, {});
        m_bar->fillColumns(
            {"Station Number", "Street-Route Name", "Municipality", "County", "SRI", "AADT"});
        m_bar->resize(1000, FilterBar::DesignHeight);
        m_bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
    }

    void cleanup() { m_bar.reset(); }

    void designPlaces()
    {
        QCOMPARE(m_bar->height(), 45);
        QCOMPARE(m_bar->columnsCB()->geometry().topLeft(), QPoint(59, 10));
        QCOMPARE(m_bar->columnsCB()->width(), 145);
        QCOMPARE(m_bar->operatorsCB()->geometry().topLeft(), QPoint(215, 10));
        QCOMPARE(m_bar->operatorsCB()->width(), 81);
        QCOMPARE(m_bar->valuesCB()->geometry().topLeft(), QPoint(300, 10));
        QCOMPARE(m_bar->valuesCB()->width(), 145);
        QCOMPARE(m_bar->goSpBtn()->geometry(), QRect(461, 4, 39, 37));
        QCOMPARE(m_bar->goSpBtn()->toolTip(), QStringLiteral("Execute query"));
        // The record navigator ends at the bar's right edge.
        const QRect nav = m_bar->RzDBNavigator1()->geometry();
        QCOMPARE(nav.width(), 180);
        QVERIFY(nav.right() < m_bar->width() && nav.right() > m_bar->width() - 10);
        QCOMPARE(entries(m_bar->columnsCB()),
                 QStringList({"select..", "Station Number", "Street-Route Name", "Municipality",
                              "County", "SRI", "AADT"}));
    }

    // The user's picks and typing walk the bar from Idle to Ready.
    void userWalksToReady()
    {
        QComboBox* columns = m_bar->columnsCB();
        QComboBox* operators = m_bar->operatorsCB();
        QComboBox* values = m_bar->valuesCB();
        QToolButton* go = m_bar->goSpBtn();
        QVERIFY(!operators->isEnabled() && !values->isEnabled() && !go->isEnabled());

        pick(columns, 6);
        QVERIFY(operators->isEnabled());
        QCOMPARE(entries(operators), QStringList({"select..", "=", "<", "<=", ">", ">=", "<>"}));
        QCOMPARE(operators->currentIndex(), 0);
        // Distinct values in the engine's order, behind the prompt; the box stays blank.
        QCOMPARE(entries(values), QStringList({"select or type in", "950", "51200", "800"}));
        QVERIFY(!values->isEnabled());
        QCOMPARE(values->currentText(), QString());

        pick(operators, 5);
        QVERIFY(values->isEnabled());
        QCOMPARE(values->currentText(), QStringLiteral("select or type in"));
        QVERIFY(!go->isEnabled());

        values->lineEdit()->clear();
        QTest::keyClicks(values->lineEdit(), QStringLiteral("900"));
        QVERIFY(go->isEnabled());
        QCOMPARE(m_bar->state().valueText(), QStringLiteral("900"));

        // Picking an entry of the value list is a change as well.
        pick(operators, 1);
        QVERIFY(!go->isEnabled());
        pick(values, 2);
        QVERIFY(go->isEnabled());
        QCOMPARE(m_bar->state().valueText(), QStringLiteral("51200"));
        QCOMPARE(m_bar->state().state(), FilterBarState::State::Ready);
    }

    // Setting a box from the program is no user change.
    void programChangesDoNotDriveTheBar()
    {
        m_bar->columnsCB()->setCurrentIndex(6);
        QCOMPARE(m_bar->state().state(), FilterBarState::State::Idle);
        QVERIFY(!m_bar->operatorsCB()->isEnabled());

        pick(m_bar->columnsCB(), 4);
        pick(m_bar->operatorsCB(), 1);
        m_bar->valuesCB()->setEditText(QStringLiteral("Calder"));
        QVERIFY(!m_bar->goSpBtn()->isEnabled());
    }

    void valueListFollowsTableAndArea_data()
    {
        QTest::addColumn<bool>("county");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("all counties")
            << false << QStringList({"select or type in", "Calder", "Birchwood"});
        QTest::newRow("one county") << true << QStringList({"select or type in", "Birchwood"});
    }

    void valueListFollowsTableAndArea()
    {
        QFETCH(bool, county);
        QFETCH(QStringList, values);
        if (county)
            loadArea(AreaKind::County, QStringLiteral("Birchwood"));
        pick(m_bar->columnsCB(), 4);
        QCOMPARE(entries(m_bar->valuesCB()), values);
    }

    void resetReturnsToIdle()
    {
        pick(m_bar->columnsCB(), 1);
        pick(m_bar->operatorsCB(), 3);
        QTest::keyClicks(m_bar->valuesCB()->lineEdit(), QStringLiteral("1-1"));
        QVERIFY(m_bar->goSpBtn()->isEnabled());
        m_bar->reset();
        QCOMPARE(m_bar->columnsCB()->currentIndex(), 0);
        QCOMPARE(m_bar->operatorsCB()->count(), 0);
        QCOMPARE(m_bar->valuesCB()->count(), 0);
        QCOMPARE(m_bar->valuesCB()->currentText(), QString());
        QVERIFY(!m_bar->operatorsCB()->isEnabled());
        QVERIFY(!m_bar->valuesCB()->isEnabled());
        QVERIFY(!m_bar->goSpBtn()->isEnabled());
    }

    // After a failed load there are no fields to filter: the user is told once.
    void columnWithoutFieldsIsReported()
    {
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 m_data->runQuery(QStringLiteral("select nothing from nowhere")));
        pick(m_bar->columnsCB(), 1);
        QCOMPARE(m_messages->errors,
                 QStringList{QStringLiteral("Field 'Station Number' not found")});
        QVERIFY(!m_bar->operatorsCB()->isEnabled());
        QVERIFY(!m_bar->goSpBtn()->isEnabled());
    }

    // The navigator buttons move the current record and are enabled where they can move.
    void recordNavigatorMovesTheCurrentRecord()
    {
        RecordNavigator* nav = m_bar->RzDBNavigator1();
        ResultSet& rs = m_data->resultSet();
        QCOMPARE(rs.recNo(), 0);
        QVERIFY(!nav->firstButton()->isEnabled() && !nav->priorButton()->isEnabled());
        QTest::mouseClick(nav->lastButton(), Qt::LeftButton);
        QCOMPARE(rs.recNo(), rs.recordCount() - 1);
        QVERIFY(!nav->nextButton()->isEnabled() && !nav->lastButton()->isEnabled());
        QTest::mouseClick(nav->priorButton(), Qt::LeftButton);
        QCOMPARE(rs.recNo(), rs.recordCount() - 2);
        QTest::mouseClick(nav->nextButton(), Qt::LeftButton);
        QCOMPARE(rs.recNo(), rs.recordCount() - 1);
        QTest::mouseClick(nav->firstButton(), Qt::LeftButton);
        QCOMPARE(rs.recNo(), 0);
        QVERIFY(nav->nextButton()->isEnabled() && nav->lastButton()->isEnabled());

        loadArea(AreaKind::County, QStringLiteral("Nowhere")); // no records
        for (QToolButton* b :
             {nav->firstButton(), nav->priorButton(), nav->nextButton(), nav->lastButton()})
            QVERIFY(!b->isEnabled());
    }
};

QTEST_MAIN(TestFilterBar)
#include "test_filterbar.moc"
