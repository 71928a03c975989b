#include "data/stationgridrules.h"

#include <QTest>

using namespace StationGridRules;

Q_DECLARE_METATYPE(StationGridRules::CellAction)

class TestStationGridRules : public QObject
{
    Q_OBJECT

private slots:
    void cells_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("photos");
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("shifted");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<bool>("photoTestRuns");
        QTest::addColumn<CellAction>("action");

        QTest::newRow("report with a name") << false << 6 << "1-4-201-wrpt.html" << false << 7
                                            << true << false << false << CellAction::OpenReport;
        QTest::newRow("report without a name")
            << false << 6 << "" << false << -1 << false << false << false << CellAction::None;
        QTest::newRow("station with photos") << false << 1 << "1-4-201" << true << 5 << true
                                             << false << true << CellAction::RequestPhotos;
        QTest::newRow("station without photos") << false << 1 << "1-4-202" << false << 6 << true
                                                << true << true << CellAction::RequestPhotos;
        QTest::newRow("other field") << false << 3 << "BET OAK RD" << true << -1 << false << false
                                     << false << CellAction::None;
        QTest::newRow("empty result, station")
            << true << 1 << "" << true << -1 << false << false << false << CellAction::None;
        QTest::newRow("empty result, report")
            << true << 6 << "x.html" << true << -1 << false << false << false << CellAction::None;
    }

    void cells()
    {
        QFETCH(bool, empty);
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(bool, photos);
        QFETCH(int, icon);
        QFETCH(bool, shifted);
        QFETCH(bool, grey);
        QFETCH(bool, photoTestRuns);
        QFETCH(CellAction, action);

        int tests = 0;
        const CellLook look = cellLook(empty, field, text, [&] {
            ++tests;
            return photos;
        });
        QCOMPARE(look.icon, icon);
        QCOMPARE(look.textShifted, shifted);
        QCOMPARE(look.greyText, grey);
        QCOMPARE(tests, photoTestRuns ? 1 : 0);
        QCOMPARE(cellAction(empty, field, text), action);
    }
};

QTEST_APPLESS_MAIN(TestStationGridRules)
#include "test_stationgridrules.moc"
