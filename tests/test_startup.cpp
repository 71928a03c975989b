#include "app/fonts.h"
#include "app/uSplash.h"
#include "app/uStradexMain.h"
#include "data/stationdata.h"
#include "dbresource.h"
#include "app/recordingupdateprompts.h"
#include "platform/recordingseams.h"
#include "support/fakemapbrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
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

    void missingDatabaseIsReportedAndTheWindowStillOpens()
    {
        RecordingMessageSink messages;
        RecordingAddressOpener addresses;
        const QString missing = m_dir.filePath(QStringLiteral("gone/KORVAZARN.dat"));
        RecordingSaveDialog saves;
        RecordingUpdatePrompts prompts;
        FakeMapBrowser browser;
        TfrmMainStradex w({Config::defaults(), &messages, &addresses, &saves, missing, &prompts, &browser,
                           [] { return true; }});
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
