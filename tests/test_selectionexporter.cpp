// The export routine with a fake main window: what it checks, asks, writes and reports,
// and what it restores, for every kind, for a cancel and for every kind of failure.

#include "data/querycomposer.h"
#include "data/stationdata.h"
#include "data/stationfields.h"
#include "export/selectionexporter.h"
#include "platform/messagesink.h"
#include "platform/recordingseams.h"
#include "platform/stradexerror.h"
#include "support/filesizelimit.h"
#include "support/fixturedb.h"
#include "support/xlsreadback.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>


Q_DECLARE_METATYPE(ExportKind)

using namespace FixtureDb;

namespace {

const QString Disclaimer = QString::fromLatin1(SelectionExporter::Disclaimer);

// The save dialog: answers like the recording one, and lets time pass while it is open.
class SlowSaveDialog final : public SaveDialog
{
public:
    bool run(const SaveDialogOptions& options) override
    {
        *now += 5000;
        if (onRun)
            onRun();
        return inner.run(options);
    }
    QString fileName() const override { return inner.fileName(); }
    void clearFileName() override { inner.clearFileName(); }

    RecordingSaveDialog inner;
    qint64* now = nullptr;
    std::function<void()> onRun;
};

class FakeMainWindow;

// Messages, with whether the busy cursor was still on when each was shown.
class StateSink final : public MessageSink
{
public:
    explicit StateSink(const QList<bool>& cursor)
        : m_cursor(cursor)
    {
    }
    void message(const QString& text) override { messages << text; }
    void information(const QString& text) override { messages << text; }
    void error(const QString& text) override
    {
        errors << text;
        busyWhenShown << (!m_cursor.isEmpty() && m_cursor.last());
    }

    QStringList messages;
    QStringList errors;
    QList<bool> busyWhenShown;

private:
    const QList<bool>& m_cursor;
};

class FakeMainWindow final : public ExportHost
{
public:
    FakeMainWindow() { dialog.now = &now; }

    ResultSet& resultSet() override { return data.resultSet(); }
    void setPanelText(int panel, const QString& text) override { panels[panel] = text; }
    void setBusyCursor(bool busy) override { cursor << busy; }
    void focusCommandDock() override { ++focus; }
    SaveDialog& saveDialog() override { return dialog; }
    MessageSink& messages() override { return sink; }
    QList<int> visibleGridColumns() const override { return columns; }

    StationData data;
    qint64 now = 1000;
    QMap<int, QString> panels;
    QList<bool> cursor;
    int focus = 0;
    SlowSaveDialog dialog;
    StateSink sink{cursor};
    QList<int> columns = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
};

QString extension(ExportKind kind)
{
    return SelectionExporter::dialogOptions(kind).defaultSuffix;
}

QStringList listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// The main window and the routine it owns, with the fixture's five stations loaded and
// the fourth one current.
struct Fixture
{
    FakeMainWindow window;
    SelectionExporter exporter{window};
    ResultSet& rows = window.resultSet();

    explicit Fixture(const QString& database)
    {
        window.data.open(database);
        window.data.runQuery(window.data.composer().composeArea(QStringLiteral("ALL DATA"),
                                                                AreaKind::AllCounties, {}, {}));
        rows.setRecNo(3);
        window.panels[1] = QStringLiteral("Last operation duration: 5 ms");
        window.panels[3] = QStringLiteral("earlier.xml saved");
        exporter.setClock([this] { return window.now += 7; });
        exporter.setHtmlReportWriter(
            [](const QString&) { throw StradexError(QStringLiteral("no report expected")); });
    }
};

} // namespace

class TestSelectionExporter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_stations;
    std::unique_ptr<QTemporaryDir> m_out; // a fresh folder for each test's files

    QString out(const QString& name) const { return m_out->filePath(name); }

    // What the routine leaves behind whatever happened after its checks.
    static void verifyRestored(const Fixture& f)
    {
        QCOMPARE(f.window.cursor, QList<bool>({true, false}));
        QCOMPARE(f.window.focus, 1);
        QCOMPARE(f.rows.recNo(), 3);
        QVERIFY(!f.rows.controlsDisabled());
    }

    static void addKinds()
    {
        QTest::addColumn<ExportKind>("kind");
        QTest::newRow("xml") << ExportKind::Xml;
        QTest::newRow("xls") << ExportKind::Xls;
        QTest::newRow("html") << ExportKind::Html;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_stations = m_dir.filePath(QStringLiteral("stations.db"));
        const QString t = QStringLiteral("all data");
        create(
            m_stations,
            {QStringLiteral("CREATE TABLE \"all data\" ") + stationColumns(),
             station(t, QStringLiteral("1-1-101"), QStringLiteral("O'Hara"), QStringLiteral("Town"),
                     500, QStringLiteral("'1-1-101a-08'")),
             station(t, QStringLiteral("1-1-102"), QStringLiteral("O'Hara"), QStringLiteral("Town"),
                     70000),
             station(t, QStringLiteral("2-2-201"), QStringLiteral("Bramton"),
                     QStringLiteral("Town"), 1200),
             station(t, QStringLiteral("2-2-202"), QStringLiteral("Bramton"),
                     QStringLiteral("Eastham"), 30000),
             station(t, QStringLiteral("3-3-301"), QStringLiteral("Calder"),
                     QStringLiteral("Glenmont"), 65000),
             QStringLiteral("UPDATE \"all data\" SET SI_SRI=NULL WHERE SI_STATION_NUM='2-2-202'")});
    }
    void init()
    {
        m_out = std::make_unique<QTemporaryDir>();
        QVERIFY(m_out->isValid());
    }

    void nothingToExport_data()
    {
        QTest::addColumn<ExportKind>("kind");
        QTest::addColumn<bool>("open");
        for (ExportKind kind : {ExportKind::Xml, ExportKind::Xls, ExportKind::Html}) {
            const QByteArray k = extension(kind).toLatin1();
            QTest::addRow("%s, closed result set", k.constData()) << kind << false;
            QTest::addRow("%s, no stations", k.constData()) << kind << true;
        }
    }
    void nothingToExport()
    {
        QFETCH(ExportKind, kind);
        QFETCH(bool, open);
        Fixture f(m_stations);
        if (open)
            f.window.data.runQuery(QueryComposer::selectHead(QStringLiteral("ALL DATA")) +
                                   QStringLiteral(" WHERE AADT < 0"));
        else
            f.rows.close();
        const auto panels = f.window.panels;

        QVERIFY(!f.exporter.ExportSelection(kind));
        QCOMPARE(f.window.sink.messages,
                 QStringList{QStringLiteral("No station identified, no report")});
        QVERIFY(f.window.dialog.inner.runs.isEmpty());
        QCOMPARE(f.window.panels, panels);
        QVERIFY(f.window.cursor.isEmpty());
        QCOMPARE(f.window.focus, 0);
        QCOMPARE(f.rows.isOpen(), open);
        QVERIFY(!f.rows.controlsDisabled());
    }

    void cancel_data()
    {
        QTest::addColumn<ExportKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("filter");
        QTest::newRow("xml") << ExportKind::Xml << "save your xml file as ..."
                             << "xml"
                             << "XML File|*xml";
        QTest::newRow("xls") << ExportKind::Xls << "save your xls file as ..."
                             << "xls"
                             << "XLS File|*xls";
        QTest::newRow("html") << ExportKind::Html << "save your html file as ..."
                              << "html"
                              << "HTML File|*html";
    }
    void cancel()
    {
        QFETCH(ExportKind, kind);
        QFETCH(QString, title);
        QFETCH(QString, suffix);
        QFETCH(QString, filter);
        Fixture f(m_stations);
        // While the dialog is open: "Saving...", the busy cursor, the grid held still.
        QString panelDuringDialog;
        QList<bool> cursorDuringDialog;
        bool heldDuringDialog = false;
        f.window.dialog.onRun = [&] {
            panelDuringDialog = f.window.panels[3];
            cursorDuringDialog = f.window.cursor;
            heldDuringDialog = f.rows.controlsDisabled();
        };

        QVERIFY(!f.exporter.ExportSelection(kind));
        QCOMPARE(f.window.dialog.inner.runs.size(), 1);
        const SaveDialogOptions& options = f.window.dialog.inner.runs.constFirst();
        QCOMPARE(options.title, title);
        QCOMPARE(options.defaultSuffix, suffix);
        QCOMPARE(options.filter, filter);
        QCOMPARE(options.filterIndex, 1);
        QCOMPARE(panelDuringDialog, QStringLiteral("Saving..."));
        QCOMPARE(cursorDuringDialog, QList<bool>{true});
        QVERIFY(heldDuringDialog);

        QCOMPARE(f.window.panels[3], QString());
        QCOMPARE(f.window.panels[1], QStringLiteral("Last operation duration: 5 ms"));
        verifyRestored(f);
        QVERIFY(f.window.sink.messages.isEmpty() && f.window.sink.errors.isEmpty());
        QVERIFY(listing(m_out->path()).isEmpty());
    }

    // A name typed without extension gets the kind's; the duration leaves out the time
    // the dialog was open (the dialog takes 5000 ms, the writing 7 ms).
    void saves_data() { addKinds(); }
    void saves()
    {
        QFETCH(ExportKind, kind);
        Fixture f(m_stations);
        QString reportPath;
        f.exporter.setHtmlReportWriter([&reportPath](const QString& path) {
            reportPath = path;
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                throw StradexError(file.errorString());
            file.write("<html></html>");
        });
        f.window.dialog.inner.answer = out(QStringLiteral("selection"));

        QVERIFY(f.exporter.ExportSelection(kind));
        const QString path = out(QStringLiteral("selection.") + extension(kind));
        QCOMPARE(listing(m_out->path()), QStringList{QFileInfo(path).fileName()});
        QCOMPARE(f.window.panels[3], path + QStringLiteral(" saved"));
        QCOMPARE(f.window.panels[1], QStringLiteral("Last operation duration: 7 ms"));
        QCOMPARE(f.window.dialog.inner.clears, 1);
        QCOMPARE(f.window.dialog.fileName(), QString());
        verifyRestored(f);
        QVERIFY(f.window.sink.messages.isEmpty() && f.window.sink.errors.isEmpty());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        switch (kind) {
        case ExportKind::Xml: {
            QXmlStreamReader reader(&file);
            int rows = 0;
            while (!reader.atEnd()) {
                reader.readNext();
                rows += reader.isStartElement() && reader.name() == QLatin1String("ROW");
            }
            QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
            QCOMPARE(rows, 5);
            break;
        }
        case ExportKind::Xls: {
            const QJsonArray rows =
                readXlsBack(path)[QStringLiteral("sheets")][0][QStringLiteral("rows")].toArray();
            QCOMPARE(rows.size(), 1 + 5 + 1);
            QCOMPARE(rows.at(0).toArray().size(), 11);
            QCOMPARE(rows.at(1).toArray().at(0).toString(), f.rows.text(0, 0));
            break;
        }
        case ExportKind::Html:
            QCOMPARE(reportPath, path);
            break;
        }
    }

    // The caption row takes the grid's visible columns in their display order.
    void xlsCaptionFollowsTheGrid()
    {
        Fixture f(m_stations);
        f.window.columns = {8, 0, 4};
        f.window.dialog.inner.answer = out(QStringLiteral("grid.xls"));
        QVERIFY(f.exporter.ExportSelection(ExportKind::Xls));
        const QJsonArray rows = readXlsBack(out(
            QStringLiteral("grid.xls")))[QStringLiteral("sheets")][0][QStringLiteral("rows")]
                                    .toArray();
        QCOMPARE(rows.at(0).toArray(), (QJsonArray{"County", "Station Number", "AADT"}));
        QCOMPARE(rows.at(2).toArray(),
                 (QJsonArray{f.rows.text(1, 8), f.rows.text(1, 0), f.rows.integer(1, 4)}));
    }

    void twoXlsExportsEachEndWithOneFooterLine()
    {
        Fixture f(m_stations);
        for (const QString& name : {QStringLiteral("first.xls"), QStringLiteral("second.xls")}) {
            f.window.dialog.inner.answer = out(name);
            QVERIFY(f.exporter.ExportSelection(ExportKind::Xls));
        }
        for (const QString& name : {QStringLiteral("first.xls"), QStringLiteral("second.xls")}) {
            const QJsonArray rows =
                readXlsBack(out(name))[QStringLiteral("sheets")][0][QStringLiteral("rows")]
                    .toArray();
            QCOMPARE(rows.size(), 1 + 5 + 1);
            QCOMPARE(rows.last().toArray(), QJsonArray{Disclaimer});
        }
    }

    // However the writing walks the records, the grid shows the row it was on and never
    // another one.
    void recordPositionKept_data() { addKinds(); }
    void recordPositionKept()
    {
        QFETCH(ExportKind, kind);
        Fixture f(m_stations);
        f.exporter.setHtmlReportWriter([&f](const QString&) {
            for (f.rows.first(); !f.rows.eof(); f.rows.next()) {
            }
        });
        QSignalSpy moves(&f.rows, &ResultSet::currentChanged);
        f.window.dialog.inner.answer = out(QStringLiteral("walk"));
        QVERIFY(f.exporter.ExportSelection(kind));
        verifyRestored(f);
        for (const QList<QVariant>& move : std::as_const(moves))
            QCOMPARE(move.at(0).toInt(), 3);
    }

    void xmlListsRowsInTitleClickOrder()
    {
        Fixture f(m_stations);
        QueryComposer& composer = f.window.data.composer();
        f.window.data.runQuery(composer.composeTitleSort(QStringLiteral("AADT"))); // descending
        f.rows.setRecNo(3);
        f.window.dialog.inner.answer = out(QStringLiteral("sorted.xml"));
        QVERIFY(f.exporter.ExportSelection(ExportKind::Xml));

        QFile file(out(QStringLiteral("sorted.xml")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&file);
        QStringList counts;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement &&
                reader.name() == QLatin1String("ROW"))
                counts << reader.attributes().value(QStringLiteral("AADT")).toString();
        }
        QCOMPARE(counts, QStringList({"70000", "65000", "30000", "1200", "500"}));
    }

    void failures_data()
    {
        QTest::addColumn<ExportKind>("kind");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        for (ExportKind kind : {ExportKind::Xml, ExportKind::Xls}) {
            const QByteArray k = extension(kind).toLatin1();
            QTest::addRow("%s, missing folder", k.constData()) << kind << "missing/out"
                                                               << "does not exist";
            QTest::addRow("%s, read-only file", k.constData()) << kind << "read-only"
                                                               << "read-only";
            QTest::addRow("%s, folder in the way", k.constData()) << kind << "folder"
                                                                  << "folder";
            QTest::addRow("%s, full disk", k.constData()) << kind << "full"
                                                          << "File too large";
        }
        QTest::newRow("html, writer fails") << ExportKind::Html << "report"
                                            << "the report template is missing";
    }
    void failures()
    {
        QFETCH(ExportKind, kind);
        QFETCH(QString, target);
        QFETCH(QString, reason);
        Fixture f(m_stations);
        f.exporter.setHtmlReportWriter([](const QString&) {
            throw StradexError(QStringLiteral("the report template is missing"));
        });
        const QString path = out(target + QLatin1Char('.') + extension(kind));
        if (target == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (target != QLatin1String("missing/out")) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        if (target == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(path,
                                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QStringList before = listing(m_out->path());
        f.window.dialog.inner.answer = path;

        {
            std::optional<FileSizeLimit> fullDisk;
            if (target == QLatin1String("full"))
                fullDisk.emplace(1024);
            QVERIFY(!f.exporter.ExportSelection(kind));
        }
        QCOMPARE(f.window.sink.errors.size(), 1);
        const QString error = f.window.sink.errors.constFirst();
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)) && error.contains(reason),
                 qPrintable(error));
        QCOMPARE(f.window.sink.busyWhenShown, QList<bool>{false});
        QCOMPARE(f.window.panels[3],
                 QStringLiteral("Save failed: ") + QDir::toNativeSeparators(path));
        QCOMPARE(f.window.panels[1], QStringLiteral("Last operation duration: 5 ms"));
        verifyRestored(f);

        // Nothing half-written: the folder holds what it held, an old file is untouched.
        QCOMPARE(listing(m_out->path()), before);
        if (QFileInfo(path).isFile()) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("old"));
        }
    }
};

QTEST_GUILESS_MAIN(TestSelectionExporter)
#include "test_selectionexporter.moc"
