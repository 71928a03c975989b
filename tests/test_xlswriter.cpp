// The .xls workbook, read back cell for cell by a real reader (xlrd) and checked by
// `file`: caption row, cell types, footer, widths, long and non-ASCII texts, and
// selections longer than one sheet.

#include "data/querycomposer.h"
#include "data/stationdata.h"
#include "data/stationfields.h"
#include "dbresource.h"
#include "export/xlswriter.h"
#include "support/fixturedb.h"
#include "support/xlsreadback.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace FixtureDb;

namespace {

const QString Footer = QStringLiteral("Thanks for using the program.");

// The grid's columns in their first layout: every field but the hidden images.
QList<int> gridColumns()
{
    QList<int> columns;
    for (int c = 0; c < StationField::Count; ++c) {
        if (c != StationField::column(StationField::Images))
            columns << c;
    }
    return columns;
}

// The sheet cell that shows the result-set value: a number, a text, or null.
QJsonValue expectedCell(const ResultSet& rs, int row, int column)
{
    if (rs.isNull(row, column))
        return QJsonValue::Null;
    switch (rs.field(column).type) {
    case FieldType::Integer:
    case FieldType::Float:
        return rs.real(row, column);
    default: {
        const QString text = rs.text(row, column);
        return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
    }
    }
}

QJsonValue cell(const QJsonArray& row, int column)
{
    return column < row.size() ? row.at(column) : QJsonValue(QJsonValue::Null);
}

} // namespace

class TestXlsWriter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;
    StationData m_shipped; // the embedded database's "all data"

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void load(StationData& data, const QStringList& statements)
    {
        const QString file = path(QStringLiteral("f%1.db").arg(m_files++));
        create(file, QStringList{QStringLiteral("CREATE TABLE \"all data\" ") + stationColumns()} +
                         statements);
        data.open(file);
        data.runQuery(QueryComposer::selectHead(QStringLiteral("ALL DATA")));
    }

    QString write(const ResultSet& rs, const QList<int>& columns, const QString& name)
    {
        XlsWriter writer(rs);
        writer.setColumns(columns);
        writer.setFooter({Footer});
        writer.setAuthor(QStringLiteral("Korva Zarn"));
        writer.setSheetName(QStringLiteral("Stations"));
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(file.fileName()));
        writer.write(file);
        return file.fileName();
    }

    // Compares a sheet's caption and data rows with the records [first, first + count).
    void compareRows(const QJsonArray& rows, const ResultSet& rs, const QList<int>& columns,
                     int first, int count)
    {
        QVERIFY(rows.size() >= 1 + count);
        QJsonArray caption;
        for (int c : columns)
            caption << rs.field(c).name;
        QCOMPARE(rows.at(0).toArray(), caption);
        for (int r = 0; r < count; ++r) {
            const QJsonArray row = rows.at(1 + r).toArray();
            QVERIFY2(row.size() <= columns.size(), qPrintable(QStringLiteral("row %1").arg(r)));
            for (int i = 0; i < columns.size(); ++i) {
                const QJsonValue expected = expectedCell(rs, first + r, columns[i]);
                if (cell(row, i) != expected)
                    QFAIL(qPrintable(QStringLiteral("record %1, column %2: %3 instead of %4")
                                         .arg(first + r)
                                         .arg(rs.field(columns[i]).name,
                                              cell(row, i).toVariant().toString(),
                                              expected.toVariant().toString())));
            }
        }
    }

    static int footerCount(const QJsonObject& book)
    {
        int n = 0;
        for (const QJsonValue& sheet : book[QStringLiteral("sheets")].toArray()) {
            for (const QJsonValue& row : sheet[QStringLiteral("rows")].toArray())
                n += row.toArray().contains(Footer);
        }
        return n;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString db = path(QStringLiteral("zarn.db"));
        QVERIFY(QFile::copy(stationDatabaseResource(), db));
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
        m_shipped.open(db);
        m_shipped.runQuery(QueryComposer::selectHead(QStringLiteral("ALL DATA")));
    }

    void sheetFollowsTheGridColumns_data()
    {
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("first layout") << gridColumns();
        QTest::newRow("columns moved") << QList<int>{8, 0, 4, 3, 1, 2, 5, 6, 7, 10, 9};
        QTest::newRow("images shown") << QList<int>{0, 11, 4};
    }
    void sheetFollowsTheGridColumns()
    {
        QFETCH(QList<int>, columns);
        StationData data;
        const QString t = QStringLiteral("all data");
        load(
            data,
            {station(t, QStringLiteral("1-1-101"), QStringLiteral("O'Hara"), QStringLiteral("Town"),
                     500, QStringLiteral("'1-1-101a-08'")),
             station(t, QStringLiteral("1-1-102"), QStringLiteral("Bramton"),
                     QStringLiteral("A municipality with a much longer name"), 70000),
             station(t, QStringLiteral("2-2-201"), QStringLiteral("Calder"),
                     QStringLiteral("Glenmont"), 12),
             QStringLiteral(
                 "UPDATE \"all data\" SET SI_SRI=NULL, SI_MP=0.1 WHERE SI_STATION_NUM='1-1-102'")});
        const ResultSet& rs = data.resultSet();
        const QJsonObject book = readXlsBack(write(rs, columns, QStringLiteral("grid.xls")));
        QCOMPARE(book[QStringLiteral("author")].toString(), QStringLiteral("Korva Zarn"));
        const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
        QCOMPARE(sheets.size(), 1);
        const QJsonObject sheet = sheets.at(0).toObject();
        QCOMPARE(sheet[QStringLiteral("name")].toString(), QStringLiteral("Stations"));
        const QJsonArray rows = sheet[QStringLiteral("rows")].toArray();
        compareRows(rows, rs, columns, 0, rs.recordCount());
        QCOMPARE(rows.size(), 1 + rs.recordCount() + 1);
        QCOMPARE(rows.last().toArray(), QJsonArray{Footer});
        QCOMPARE(footerCount(book), 1);

        const QJsonArray bold = sheet[QStringLiteral("bold")].toArray();
        for (int i = 0; i < columns.size(); ++i) {
            QVERIFY(bold.at(0).toArray().at(i).toBool());
            QVERIFY(!bold.at(1).toArray().at(i).toBool());
        }

        // Each column is a little wider than its longest text, caption included.
        const QJsonArray widths = sheet[QStringLiteral("widths")].toArray();
        for (int i = 0; i < columns.size(); ++i) {
            qsizetype longest = rs.field(columns[i]).name.size();
            for (int r = 0; r < rs.recordCount(); ++r)
                longest = std::max(longest, rs.text(r, columns[i]).size());
            const int width = widths.at(i).toInt();
            QVERIFY2(width >= longest * 256 && width <= (longest + 4) * 256,
                     qPrintable(QStringLiteral("%1: %2 for %3 characters")
                                    .arg(rs.field(columns[i]).name)
                                    .arg(width)
                                    .arg(longest)));
        }
    }

    void shippedTableReadsBackCellForCell()
    {
        const ResultSet& rs = m_shipped.resultSet();
        QCOMPARE(rs.recordCount(), 1997);
        const QString file = write(rs, gridColumns(), QStringLiteral("all data.xls"));
        const QString type = fileTypeOf(file);
        QVERIFY2(type.startsWith(QLatin1String("CDFV2")) ||
                     type.startsWith(QLatin1String("Composite Document File V2")),
                 qPrintable(type));
        const QJsonObject book = readXlsBack(file);
        const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
        QCOMPARE(sheets.size(), 1);
        const QJsonArray rows = sheets.at(0)[QStringLiteral("rows")].toArray();
        compareRows(rows, rs, gridColumns(), 0, 1997);
        QCOMPARE(rows.size(), 1 + 1997 + 1);
        QCOMPARE(footerCount(book), 1);
    }

    // A spreadsheet program opens the sheet: LibreOffice, where it is installed, turns it
    // into CSV text with the same rows.
    void spreadsheetProgramOpensTheSheet()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        const ResultSet& rs = m_shipped.resultSet();
        const QString file = write(rs, gridColumns(), QStringLiteral("office.xls"));
        QProcess office;
        office.start(soffice, {QStringLiteral("-env:UserInstallation=file://") +
                                   path(QStringLiteral("office-profile")),
                               QStringLiteral("--headless"), QStringLiteral("--norestore"),
                               QStringLiteral("--convert-to"), QStringLiteral("csv"),
                               QStringLiteral("--outdir"), path(QStringLiteral("csv")), file});
        QVERIFY(office.waitForFinished(180000));
        QFile csv(path(QStringLiteral("csv/office.csv")));
        QVERIFY2(csv.open(QIODevice::ReadOnly), office.readAllStandardError().constData());
        const QStringList lines =
            QString::fromUtf8(csv.readAll()).split(QStringLiteral("\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 1997 + 1);
        QStringList caption;
        for (int c : gridColumns())
            caption << rs.field(c).name;
        QCOMPARE(lines.first().trimmed(), caption.join(QLatin1Char(',')));
        // The station data hold no commas or quotes, so a line splits at its commas.
        for (int r = 0; r < 1997; ++r) {
            const QStringList cells = lines.at(1 + r).trimmed().split(QLatin1Char(','));
            QCOMPARE(cells.size(), gridColumns().size());
            for (int i = 0; i < cells.size(); ++i) {
                const int c = gridColumns().at(i);
                if (isNumeric(rs.field(c).type) && !rs.isNull(r, c))
                    QCOMPARE(cells.at(i).toDouble(), rs.real(r, c));
                else
                    QCOMPARE(cells.at(i), rs.text(r, c));
            }
        }
        QVERIFY(lines.last().startsWith(Footer));
    }

    // Texts of 255 characters beyond Latin-1 fill the string table's records over and
    // over, so that strings are cut between records, in the middle of wide characters.
    void longAndNonAsciiTextsReadBack()
    {
        StationData data;
        const QString t = QStringLiteral("all data");
        QStringList statements;
        const QStringList words = {QStringLiteral("Ωμέγα οδός "), QStringLiteral("Café Müller "),
                                   QStringLiteral("道路 "), QStringLiteral("Zoë 🚗 "),
                                   QStringLiteral("plain ")};
        for (int i = 0; i < 400; ++i) {
            QString location;
            while (location.size() < 255 + i % 7)
                location += words.at((i + location.size()) % words.size());
            const QString number = QStringLiteral("%1-%2").arg(i % 13).arg(i);
            statements
                << station(t, number, words.at(i % words.size()).trimmed(), QStringLiteral("Town"),
                           i)
                << QStringLiteral(
                       "UPDATE \"all data\" SET SI_LOCATION='%1', SI_STREET_NAME='ROUTE %2   ' "
                       "WHERE SI_STATION_NUM='%3'")
                       .arg(QueryComposer::sqlValue(location))
                       .arg(i)
                       .arg(number);
        }
        load(data, statements);
        const ResultSet& rs = data.resultSet();
        QCOMPARE(rs.recordCount(), 400);
        const int location = StationField::column(StationField::Location);
        QCOMPARE(rs.text(1, location).size(), 255);
        const QJsonArray rows = readXlsBack(write(
            rs, gridColumns(),
            QStringLiteral("texts.xls")))[QStringLiteral("sheets")][0][QStringLiteral("rows")]
                                    .toArray();
        compareRows(rows, rs, gridColumns(), 0, rs.recordCount());
    }

    // 65,535 records: the first sheet takes all it can but one, so that the last sheet
    // has room for the footer. The file is larger than the 109 allocation-table sectors
    // of the container's header can describe.
    void longSelectionContinuesOnAnotherSheet()
    {
        StationData data;
        load(data,
             {QStringLiteral(
                 "INSERT INTO \"all data\" WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                 "FROM n WHERE i < 65535) "
                 "SELECT printf('%06d', i), printf('%010d__', i), i / 100.0, 'ROUTE ' || (i % 50), "
                 "'BET ' || i || ' RD & ' || (i + 1) || ' ST', 40 + i / 1e5, -74 - i / 1e5, i * 3, "
                 "printf('%06d-wrpt.html', i), 'Town ' || (i % 40), 'County ' || (i % 21), NULL "
                 "FROM n")});
        const ResultSet& rs = data.resultSet();
        QCOMPARE(rs.recordCount(), 65535);
        const QString file = write(rs, gridColumns(), QStringLiteral("long.xls"));
        QVERIFY(QFileInfo(file).size() > 109LL * 128 * 512);
        const QJsonObject book = readXlsBack(file);
        const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
        QCOMPARE(sheets.size(), 2);
        QCOMPARE(sheets.at(1)[QStringLiteral("name")].toString(), QStringLiteral("Stations (2)"));
        const QJsonArray first = sheets.at(0)[QStringLiteral("rows")].toArray();
        const QJsonArray second = sheets.at(1)[QStringLiteral("rows")].toArray();
        QCOMPARE(first.size(), XlsWriter::MaxRowsPerSheet - 1);
        compareRows(first, rs, gridColumns(), 0, 65534);
        compareRows(second, rs, gridColumns(), 65534, 1);
        QCOMPARE(second.size(), 3);
        QCOMPARE(second.last().toArray(), QJsonArray{Footer});
        QCOMPARE(footerCount(book), 1);
    }
};

QTEST_GUILESS_MAIN(TestXlsWriter)
#include "test_xlswriter.moc"
