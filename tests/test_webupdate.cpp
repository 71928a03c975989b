#include "app/recordingupdateprompts.h"
#include "app/updatecheck.h"
#include "app/updatecontrolfile.h"
#include "app/version.h"
#include "app/webupdate.h"
#include "dbresource.h"
#include "platform/config.h"
#include "platform/recordingseams.h"
#include "siteserver.h"
#include "updateoffer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const QString PreviousText = QStringLiteral("a file the user already had\n");

// A release archive large enough to arrive in several pieces.
QByteArray releaseArchive()
{
    QByteArray data;
    data.reserve(300 * 1024);
    quint32 x = 12345;
    while (data.size() < 300 * 1024) {
        x = x * 1103515245u + 12345u;
        data.append(char(x >> 24));
    }
    return data;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

// One use of the update command as the main window wires it: the component's status
// reports go to the program's status rule, and its prompts are answered as prepared.
struct UpdateRun
{
    RecordingMessageSink messages;  // the program's own messages
    RecordingUpdatePrompts prompts; // the component's conversation with the user
    QList<int> codes;

    bool run(WebUpdate& update)
    {
        QObject::connect(&update, &WebUpdate::statusReported, &update,
                         [this](const QString&, int code, int) {
                             codes << code;
                             showUpdateStatus(messages, code);
                         });
        const bool ran = update.doUpdate();
        QObject::disconnect(&update, &WebUpdate::statusReported, &update, nullptr);
        return ran;
    }
};

class TestWebUpdate : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_state;
    QTemporaryDir m_work;
    std::unique_ptr<SiteServer> m_server;
    QString m_downloads;
    QString m_lastAgent;

    Config config() const
    {
        Config c = Config::defaults();
        c.reportServer = m_server->baseAddress();
        return c;
    }

    WebUpdate::Settings settings() const { return updateCheckSettings(config()); }

private slots:
    void initTestCase()
    {
        const QString db = m_work.filePath(QStringLiteral("stations.sqlite"));
        QVERIFY(QFile::copy(stationDatabaseResource(), db));
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
        SiteServer::Options options;
        options.databasePath = db;
        options.webModules = SiteServer::defaultWebModules();
        options.stateFolder = m_state.path();
        m_server = std::make_unique<SiteServer>(options);
        QVERIFY(m_server->listen(0) != 0);
        // Tells which agent asked, then answers with the default control file's text.
        m_server->http().route(
            QStringLiteral("/agent/stradex.inf"), [this](const QHttpServerRequest& request) {
                m_lastAgent = QString::fromUtf8(request.value("User-Agent"));
                return QHttpServerResponse(QByteArrayLiteral("text/plain"),
                                           QByteArrayLiteral("not a control file"));
            });
        m_downloads = m_work.filePath(QStringLiteral("downloads"));
    }

    void init()
    {
        UpdateOffer::withdraw(m_state.path());
        QDir(m_downloads).removeRecursively();
        QVERIFY(QDir().mkpath(m_downloads));
    }

    void settingsFollowTheConfiguration()
    {
        const WebUpdate::Settings s = settings();
        QCOMPARE(s.url, m_server->baseAddress() + QStringLiteral("/zarnweb/Report/stradex.inf"));
        QCOMPARE(s.agent, QStringLiteral("TWebUpdate"));
        QCOMPARE(s.runningVersion, versionString());

        RecordingUpdatePrompts prompts;
        WebUpdate update(prompts);
        WebUpdate::Settings agentCheck = s;
        agentCheck.url = m_server->baseAddress() + QStringLiteral("/agent/stradex.inf");
        update.setSettings(agentCheck);
        UpdateRun run;
        QVERIFY(run.run(update));
        QCOMPARE(m_lastAgent, QStringLiteral("TWebUpdate"));
    }

    void statusRuleShowsOneBoxPerNoNewVersionReport_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("boxes");
        QTest::newRow("no new version") << QList<int>{1, 2, 4} << 1;
        QTest::newRow("reported twice in one run") << QList<int>{1, 4, 4} << 2;
        QTest::newRow("a newer version was found") << QList<int>{1, 2, 5, 7, 10} << 0;
        QTest::newRow("no connection") << QList<int>{1, 3} << 0;
        QTest::newRow("checksum mismatch") << QList<int>{1, 2, 5, 7, 9} << 0;
    }

    void statusRuleShowsOneBoxPerNoNewVersionReport()
    {
        QFETCH(QList<int>, codes);
        QFETCH(int, boxes);
        RecordingMessageSink messages;
        for (int code : codes)
            showUpdateStatus(messages, code);
        QCOMPARE(messages.informations,
                 QStringList(boxes, QString::fromLatin1(LatestVersionMessage)));
        QVERIFY(messages.messages.isEmpty() && messages.errors.isEmpty());
    }

    void sameVersionSaysLatestVersionOnce()
    {
        UpdateRun run;
        WebUpdate update(run.prompts);
        update.setSettings(settings());
        QVERIFY(run.run(update));

        QCOMPARE(run.messages.informations, QStringList{"You have the latest version of Stradex"});
        QCOMPARE(run.codes.count(WebUpdate::NoNewVersion), 1);
        QVERIFY(run.prompts.questions.isEmpty());
        QVERIFY(run.prompts.warnings.isEmpty());
        QVERIFY(run.prompts.informations.isEmpty());
        QVERIFY(entries(m_downloads).isEmpty());
    }

    void newerVersionIsDownloadedAndChecked()
    {
        const QByteArray archive = releaseArchive();
        UpdateOffer::publish(m_state.path(), QStringLiteral("3.1.0.0"), QDate(2009, 6, 1),
                             QStringLiteral("Stradex-3.1.0.0.tar.gz"), archive);
        UpdateRun run;
        run.prompts.folder = m_downloads;
        WebUpdate update(run.prompts);
        update.setSettings(settings());
        QVERIFY(run.run(update));

        // The program says nothing of its own; the component asked and reported.
        QVERIFY(run.messages.informations.isEmpty());
        QVERIFY(!run.codes.contains(WebUpdate::NoNewVersion));
        QCOMPARE(run.codes.last(), int(WebUpdate::DownloadDone));
        QCOMPARE(run.prompts.questions.size(), 1);
        QVERIFY(run.prompts.questions.first().contains(QStringLiteral("3.1.0.0")));
        QVERIFY(run.prompts.questions.first().contains(QStringLiteral("01/06/2009")));
        QCOMPARE(run.prompts.folderRequests, QStringList{"Stradex-3.1.0.0.tar.gz"});
        QVERIFY(run.prompts.progressReports > 0);
        QCOMPARE(run.prompts.lastReceived, qint64(archive.size()));
        QCOMPARE(run.prompts.downloadsEnded, 1);
        QVERIFY(run.prompts.warnings.isEmpty());

        const QString saved = QDir(m_downloads).filePath(QStringLiteral("Stradex-3.1.0.0.tar.gz"));
        QCOMPARE(entries(m_downloads), QStringList{"Stradex-3.1.0.0.tar.gz"});
        QCOMPARE(contents(saved), archive);
        QCOMPARE(run.prompts.informations.size(), 1);
        QVERIFY(run.prompts.informations.first().contains(QDir::toNativeSeparators(saved)));
    }

    void anOlderProgramGetsTheDefaultOffer()
    {
        // The stand-in's own offer is consistent: its file matches its checksum.
        UpdateRun run;
        run.prompts.folder = m_downloads;
        WebUpdate update(run.prompts);
        WebUpdate::Settings s = settings();
        s.runningVersion = QStringLiteral("2.0.0.0");
        update.setSettings(s);
        QVERIFY(run.run(update));

        const QString name = QStringLiteral("Stradex-%1.tar.gz").arg(UpdateOffer::programVersion());
        QCOMPARE(run.codes.last(), int(WebUpdate::DownloadDone));
        QVERIFY(
            run.prompts.questions.first().contains(QStringLiteral("You have version 2.0.0.0.")));
        QCOMPARE(entries(m_downloads), QStringList{name});
        QVERIFY(run.messages.informations.isEmpty());
    }

    void failuresAreReportedByTheComponentAndKeepNothing_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("lastCode");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("warning"); // part of the component's warning; empty: none

        QTest::newRow("wrong checksum") << "wrong checksum" << int(WebUpdate::ChecksumMismatch) << 1
                                        << "does not match its checksum";
        QTest::newRow("unreachable server")
            << "unreachable" << int(WebUpdate::NoConnection) << 0 << "could not be fetched";
        QTest::newRow("no control file")
            << "no control file" << int(WebUpdate::NoConnection) << 0 << "could not be fetched";
        QTest::newRow("unreadable control file")
            << "unreadable" << int(WebUpdate::ControlFileUnreadable) << 0 << "not readable";
        QTest::newRow("file missing on the server")
            << "file missing" << int(WebUpdate::DownloadFailed) << 1 << "nothing was saved";
        QTest::newRow("control file names a folder")
            << "names a folder" << int(WebUpdate::ControlFileUnreadable) << 0 << "names no file";
        QTest::newRow("control file names a local file")
            << "names a local file" << int(WebUpdate::ControlFileUnreadable) << 0
            << "names no file";
        QTest::newRow("user declines") << "declines" << int(WebUpdate::UpdateDeclined) << 1 << "";
        QTest::newRow("no folder chosen")
            << "no folder" << int(WebUpdate::UpdateDeclined) << 1 << "";
        QTest::newRow("download cancelled")
            << "cancels" << int(WebUpdate::DownloadFailed) << 1 << "";
    }

    void failuresAreReportedByTheComponentAndKeepNothing()
    {
        QFETCH(QString, situation);
        QFETCH(int, lastCode);
        QFETCH(int, questions);
        QFETCH(QString, warning);

        const QString name = QStringLiteral("Stradex-3.1.0.0.tar.gz");
        const QByteArray archive = releaseArchive();
        UpdateRun run;
        run.prompts.folder = m_downloads;
        WebUpdate::Settings s = settings();
        if (situation == QLatin1String("wrong checksum")) {
            UpdateOffer::publish(
                m_state.path(), QStringLiteral("3.1.0.0"), QDate(2009, 6, 1), name, archive,
                QCryptographicHash::hash("other", QCryptographicHash::Sha256).toHex());
        } else if (situation == QLatin1String("unreachable")) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            const quint16 closedPort = probe.serverPort();
            probe.close();
            s.url =
                QStringLiteral("http://127.0.0.1:%1/zarnweb/Report/stradex.inf").arg(closedPort);
        } else if (situation == QLatin1String("no control file")) {
            s.url = m_server->baseAddress() + QStringLiteral("/zarnweb/Report/nothing.inf");
        } else if (situation == QLatin1String("unreadable")) {
            s.url = m_server->baseAddress() + QStringLiteral("/");
        } else if (situation.startsWith(QLatin1String("names a"))) {
            const QString file =
                situation == QLatin1String("names a folder")
                    ? QStringLiteral("download/")
                    : QUrl::fromLocalFile(m_work.filePath(QStringLiteral("stations.sqlite")))
                          .toString();
            UpdateControlFile control{
                QStringLiteral("3.1.0.0"), QDate(2009, 6, 1), file,
                QCryptographicHash::hash(
                    contents(m_work.filePath(QStringLiteral("stations.sqlite"))),
                    QCryptographicHash::Sha256)};
            const QString folder = m_state.filePath(QStringLiteral("update"));
            QVERIFY(QDir().mkpath(folder));
            QFile f(folder + QStringLiteral("/stradex.inf"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(control.serialize());
        } else {
            UpdateOffer::publish(m_state.path(), QStringLiteral("3.1.0.0"), QDate(2009, 6, 1), name,
                                 archive);
            if (situation == QLatin1String("file missing"))
                QVERIFY(QFile::remove(m_state.filePath(QStringLiteral("update/") + name)));
            run.prompts.answerYes = situation != QLatin1String("declines");
            if (situation == QLatin1String("no folder"))
                run.prompts.folder.clear();
            run.prompts.cancelDownload = situation == QLatin1String("cancels");
        }
        // A file of the download's name that the user already had stays as it was.
        {
            QFile previous(QDir(m_downloads).filePath(name));
            QVERIFY(previous.open(QIODevice::WriteOnly));
            previous.write(PreviousText.toUtf8());
        }

        WebUpdate update(run.prompts);
        update.setSettings(s);
        QVERIFY(run.run(update));

        QCOMPARE(run.codes.first(), int(WebUpdate::Connecting));
        QCOMPARE(run.codes.last(), lastCode);
        QVERIFY(run.messages.informations.isEmpty());
        QVERIFY(run.messages.messages.isEmpty() && run.messages.errors.isEmpty());
        QCOMPARE(run.prompts.questions.size(), questions);
        if (warning.isEmpty()) {
            QVERIFY(run.prompts.warnings.isEmpty());
        } else {
            QCOMPARE(run.prompts.warnings.size(), 1);
            QVERIFY2(run.prompts.warnings.first().contains(warning),
                     qPrintable(run.prompts.warnings.first()));
        }
        QCOMPARE(entries(m_downloads), QStringList{name});
        QCOMPARE(contents(QDir(m_downloads).filePath(name)), PreviousText.toUtf8());
    }

    void eachUseIsAFreshCheck()
    {
        UpdateRun run;
        run.prompts.answerYes = false;
        WebUpdate update(run.prompts);
        update.setSettings(settings());

        QVERIFY(run.run(update));
        QCOMPARE(run.messages.informations.size(), 1);

        // The server now offers a newer version: the second use must ask anew.
        UpdateOffer::publish(m_state.path(), QStringLiteral("3.0.0.1"), QDate(2009, 6, 2),
                             QStringLiteral("Stradex-3.0.0.1.tar.gz"), "new");
        QVERIFY(run.run(update));
        QCOMPARE(run.messages.informations.size(), 1);
        QCOMPARE(run.prompts.questions.size(), 1);

        UpdateOffer::withdraw(m_state.path());
        QVERIFY(run.run(update));
        QCOMPARE(run.messages.informations.size(), 2);
        QCOMPARE(run.codes.count(WebUpdate::Connecting), 3);
    }

    void aUseWhileACheckRunsIsRefused()
    {
        RecordingUpdatePrompts prompts;
        WebUpdate update(prompts);
        update.setSettings(settings());
        int nested = -1;
        connect(&update, &WebUpdate::statusReported, this, [&](const QString&, int code, int) {
            if (code == WebUpdate::Connecting && nested == -1)
                nested = update.doUpdate() ? 1 : 0;
        });
        QVERIFY(update.doUpdate());
        QCOMPARE(nested, 0);
        QVERIFY(!update.isRunning());
        QVERIFY(update.doUpdate());
    }
};

QTEST_GUILESS_MAIN(TestWebUpdate)
#include "test_webupdate.moc"
