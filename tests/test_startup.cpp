#include "app/fonts.h"
#include "app/uSplash.h"
#include "app/uStradexMain.h"
#include "data/stationdata.h"
#include "data/stationgrid.h"
#include "dbresource.h"
#include "platform/recordingseams.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;

private slots:
    void initTestCase()
    {
        registerProgramFonts();
        m_db = m_dir.filePath(QStringLiteral("KORVAZARN.dat"));
        QVERIFY(QFile::copy(stationDatabaseResource(), m_db));
        QFile::setPermissions(m_db, QFile::ReadOwner | QFile::WriteOwner);
    }

    void splashShowsTheVersionAndTakesThePictureSize()
    {
        TfrmSplash splash;
        QCOMPARE(splash.versionLabel()->text(), QStringLiteral("Version 3.0.0.0"));
        QCOMPARE(splash.versionLabel()->pos(), QPoint(262, 266));
        QCOMPARE(splash.imgSplash()->pixmap().size(), QSize(400, 300));
        splash.resize(640, 480);
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QCOMPARE(splash.size(), QSize(400, 300));
        QCOMPARE(splash.imgSplash()->pos(), QPoint(0, 0));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    }

    void mainWindowOpensOnAllData()
    {
        RecordingMessageSink messages;
        RecordingAddressOpener addresses;
        RecordingSaveDialog saves;
        TfrmMainStradex w({Config::defaults(), &messages, &addresses, &saves, m_db});
        QCOMPARE(messages.errors, QStringList());
        QStringList tables;
        for (int i = 0; i < w.AADTCB()->count(); ++i)
            tables << w.AADTCB()->itemText(i);
        QCOMPARE(tables, QStringList({"ALL DATA", "AADT 2008", "AADT 2007"}));
        QCOMPARE(w.AADTCB()->currentIndex(), 0);
        QCOMPARE(w.stationData().resultSet().recordCount(), 1997);
        QCOMPARE(w.panelText(0), QStringLiteral("Number of stations: 1997"));
        QCOMPARE(w.panelText(1), QStringLiteral("Query Time:"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Korva Traffic Monitoring Station Database  - Version 3.0.0.0"));
        QCOMPARE(w.minimumSize(), QSize(1050, 700));
        QTableView* grid = w.RzDBGrid1();
        QVERIFY(grid->isColumnHidden(11));
        QCOMPARE(grid->columnWidth(2), 300);
        QCOMPARE(grid->columnWidth(5), 200);
        QCOMPARE(grid->columnWidth(0), 100);
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Station Number"));
    }

    void missingDatabaseIsReportedAndTheWindowStillOpens()
    {
        RecordingMessageSink messages;
        RecordingAddressOpener addresses;
        const QString missing = m_dir.filePath(QStringLiteral("gone/KORVAZARN.dat"));
        RecordingSaveDialog saves;
        TfrmMainStradex w({Config::defaults(), &messages, &addresses, &saves, missing});
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors.first().contains(missing));
        QCOMPARE(w.AADTCB()->count(), 0);
        QCOMPARE(w.windowTitle(), QString::fromLatin1(TfrmMainStradex::DesignCaption));
        QCOMPARE(w.panelText(0), QStringLiteral("Number of records:"));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
