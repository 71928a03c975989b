// The export commands: each thread hands its kind's export to the user-interface
// thread and waits for it; requests that arrive during an export wait their turn.

#include "data/querycomposer.h"
#include "data/stationdata.h"
#include "export/exportcommands.h"
#include "export/selectionexporter.h"
#include "platform/recordingseams.h"
#include "support/fixturedb.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ExportKind)

namespace {

// A save dialog that is always cancelled, and notes where and when it ran.
class NotingSaveDialog final : public SaveDialog
{
public:
    bool run(const SaveDialogOptions& options) override
    {
        titles << options.title;
        threads << QThread::currentThread();
        if (onRun)
            onRun();
        return false;
    }
    QString fileName() const override { return {}; }
    void clearFileName() override {}

    QStringList titles;
    QList<QThread*> threads;
    std::function<void()> onRun;
};

class FakeMainWindow final : public ExportHost
{
public:
    ResultSet& resultSet() override { return data.resultSet(); }
    void setPanelText(int, const QString&) override {}
    void setBusyCursor(bool) override {}
    void focusCommandDock() override {}
    SaveDialog& saveDialog() override { return dialog; }
    MessageSink& messages() override { return sink; }
    QList<int> visibleGridColumns() const override { return {0}; }

    StationData data;
    NotingSaveDialog dialog;
    RecordingMessageSink sink;
};

const QString XmlTitle = QStringLiteral("save your xml file as ...");
const QString XlsTitle = QStringLiteral("save your xls file as ...");
const QString HtmlTitle = QStringLiteral("save your html file as ...");

// Lets queued calls run until the condition holds or five seconds have passed.
bool spinUntil(const std::function<bool()>& condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

} // namespace

class TestExportCommands : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakeMainWindow m_window;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString db = m_dir.filePath(QStringLiteral("stations.db"));
        const QString t = QStringLiteral("all data");
        FixtureDb::create(
            db, {QStringLiteral("CREATE TABLE \"all data\" ") + FixtureDb::stationColumns(),
                 FixtureDb::station(t, QStringLiteral("1-1-101"), QStringLiteral("Bramton"),
                                    QStringLiteral("Town"), 500)});
        m_window.data.open(db);
        m_window.data.runQuery(QueryComposer::selectHead(QStringLiteral("ALL DATA")));
    }
    void init()
    {
        m_window.dialog.titles.clear();
        m_window.dialog.threads.clear();
        m_window.dialog.onRun = nullptr;
    }

    void commandRunsTheExportOnTheUserInterfaceThread_data()
    {
        QTest::addColumn<int>("dockItem"); // -1: the command's own handler
        QTest::addColumn<ExportKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("tbtnXMLClick") << -1 << ExportKind::Xml << XmlTitle;
        QTest::newRow("tbnXLSClick") << -1 << ExportKind::Xls << XlsTitle;
        QTest::newRow("tbtnHTMLClick") << -1 << ExportKind::Html << HtmlTitle;
        QTest::newRow("dock item 0") << 0 << ExportKind::Html << HtmlTitle;
        QTest::newRow("dock item 1") << 1 << ExportKind::Xls << XlsTitle;
        QTest::newRow("dock item 2") << 2 << ExportKind::Xml << XmlTitle;
    }
    void commandRunsTheExportOnTheUserInterfaceThread()
    {
        QFETCH(int, dockItem);
        QFETCH(ExportKind, kind);
        QFETCH(QString, title);
        SelectionExporter exporter(m_window);
        ExportCommands commands(exporter);
        QSignalSpy finished(&commands, &ExportCommands::exportFinished);
        bool threadWaited = false;
        m_window.dialog.onRun = [&] {
            threadWaited = commands.thread(kind) && commands.thread(kind)->isRunning();
        };

        if (dockItem >= 0) {
            QVERIFY(commands.dockItemClick(dockItem));
        } else if (kind == ExportKind::Xml) {
            commands.tbtnXMLClick();
        } else if (kind == ExportKind::Xls) {
            commands.tbnXLSClick();
        } else {
            commands.tbtnHTMLClick();
        }
        QVERIFY(commands.thread(kind));
        // The command returns at once; the export waits for the event loop.
        QVERIFY(m_window.dialog.titles.isEmpty());

        QTRY_COMPARE(m_window.dialog.titles, QStringList{title});
        QCOMPARE(m_window.dialog.threads, QList<QThread*>{QThread::currentThread()});
        QVERIFY(threadWaited);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).value<ExportKind>(), kind);
        QCOMPARE(finished.at(0).at(1).toBool(), false);
        // The finished thread is freed.
        QTRY_VERIFY(!commands.thread(kind));
    }

    void otherDockItemsAreNotExports()
    {
        SelectionExporter exporter(m_window);
        ExportCommands commands(exporter);
        for (int item : {-1, 3, 4})
            QVERIFY(!commands.dockItemClick(item));
        for (ExportKind kind : {ExportKind::Xml, ExportKind::Xls, ExportKind::Html})
            QVERIFY(!commands.thread(kind));
    }

    // A request reaching the user-interface thread while an export's dialog runs its
    // event loop runs after that export, not inside it.
    void requestsDuringAnExportWaitTheirTurn()
    {
        SelectionExporter exporter(m_window);
        ExportCommands commands(exporter);
        QSignalSpy finished(&commands, &ExportCommands::exportFinished);
        int dialogsWhenSecondArrived = -1;
        bool first = true;
        m_window.dialog.onRun = [&] {
            if (!std::exchange(first, false))
                return;
            commands.tbnXLSClick();
            QPointer<QThread> second = commands.thread(ExportKind::Xls);
            QVERIFY(spinUntil([&] { return !second || second->isFinished(); }));
            dialogsWhenSecondArrived = int(m_window.dialog.titles.size());
        };

        commands.tbtnXMLClick();
        QTRY_COMPARE(m_window.dialog.titles.size(), 2);
        QCOMPARE(dialogsWhenSecondArrived, 1);
        QCOMPARE(m_window.dialog.titles, QStringList({XmlTitle, XlsTitle}));
        QCOMPARE(finished.size(), 2);
        QCOMPARE(finished.at(0).at(0).value<ExportKind>(), ExportKind::Xml);
        QCOMPARE(finished.at(1).at(0).value<ExportKind>(), ExportKind::Xls);
    }

    // Closing the window before a started export reached it: the thread is released
    // rather than left waiting for ever, and the export does not run.
    void deletingTheCommandsReleasesAWaitingThread()
    {
        SelectionExporter exporter(m_window);
        auto commands = std::make_unique<ExportCommands>(exporter);
        QPointer<QThread> thread;
        {
            commands->tbtnXMLClick();
            thread = commands->thread(ExportKind::Xml);
            QVERIFY(thread);
        }
        commands.reset();
        QVERIFY(!thread || thread->isFinished());
        QCoreApplication::processEvents();
        QVERIFY(m_window.dialog.titles.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExportCommands)
#include "test_exportcommands.moc"
