// The XML data packet: its exact form against a golden file, and values that survive
// the trip through a real XML reader.

#include "data/querycomposer.h"
#include "data/stationdata.h"
#include "data/stationfields.h"
#include "export/xmlpacketwriter.h"
#include "support/fixturedb.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace FixtureDb;

namespace {

const QString Table = QStringLiteral("all data");

// The station columns' SQL values with some of them replaced, as one INSERT.
QString row(const QString& number, const QMap<int, QString>& replaced = {})
{
    QStringList values = {QStringLiteral("'%1'").arg(number),
                          QStringLiteral("'00000202__'"),
                          QStringLiteral("31.28"),
                          QStringLiteral("'MAIN ST'"),
                          QStringLiteral("'BET OAK RD & ELM ST'"),
                          QStringLiteral("40.6704"),
                          QStringLiteral("-74.6438"),
                          QStringLiteral("5200"),
                          QStringLiteral("'%1-wrpt-08_01_02_08.html'").arg(number),
                          QStringLiteral("'Town'"),
                          QStringLiteral("'Bramton'"),
                          QStringLiteral("'%1a-08'").arg(number)};
    for (auto it = replaced.begin(); it != replaced.end(); ++it)
        values[it.key()] = it.value();
    return insert(Table, values);
}

// Table column positions (not result fields) of the station table.
enum TableColumn
{
    Sri = 1,
    Mp = 2,
    Street = 3,
    Location = 4,
    Lat = 5,
    Lon = 6,
    Aadt = 7,
    Municipality = 9,
    Images = 11
};

} // namespace

class TestXmlPacketWriter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    // Loads the rows into the result set of `data` in the grid's order.
    void load(StationData& data, const QStringList& rows)
    {
        const QString file = m_dir.filePath(QStringLiteral("f%1.db").arg(m_files++));
        QStringList statements = {QStringLiteral("CREATE TABLE \"all data\" ") + stationColumns()};
        statements << rows;
        create(file, statements);
        data.open(file);
        data.runQuery(QueryComposer::selectHead(QStringLiteral("ALL DATA")));
    }

    QByteArray packet(const ResultSet& rows)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        XmlPacketWriter(rows).write(buffer);
        return buffer.data();
    }

    // The attributes of the ROW elements, as a real reader returns them.
    QList<QXmlStreamAttributes> readRows(const QByteArray& xml)
    {
        QList<QXmlStreamAttributes> rows;
        QXmlStreamReader reader(xml);
        while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
            if (reader.isStartElement() && reader.name() == QLatin1String("ROW"))
                rows << reader.attributes();
        }
        if (reader.hasError())
            qWarning() << reader.errorString() << reader.lineNumber();
        return reader.hasError() ? QList<QXmlStreamAttributes>() : rows;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void packetMatchesGoldenFile()
    {
        StationData data;
        load(data,
             {row(QStringLiteral("1-1-101")),
              row(QStringLiteral("1-1-102"),
                  {{Sri, QStringLiteral("NULL")}, {Images, QStringLiteral("NULL")}}),
              row(QStringLiteral("1-1-103"),
                  {{Street, QStringLiteral("'MAIN ST   '")},
                   {Location,
                    QStringLiteral("'A&B <C> \"D\" ''E'' ' || char(9) || 'tab' || char(10) || "
                                   "'lf' || char(13) || 'cr\\back'")}}),
              row(QStringLiteral("1-1-104"), {{Mp, QStringLiteral("0.1")},
                                              {Lat, QStringLiteral("1.0/3")},
                                              {Lon, QStringLiteral("1e-7")},
                                              {Aadt, QStringLiteral("NULL")},
                                              {Municipality, QStringLiteral("'Café Ωmega'")}})});
        const QByteArray written = packet(data.resultSet());

        const QString golden = QStringLiteral(STRADEX_TEST_DATA "/export/packet.xml");
        if (qEnvironmentVariableIsSet("STRADEX_UPDATE_GOLDEN")) {
            QFile out(golden);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(written);
        }
        QFile expected(golden);
        QVERIFY2(expected.open(QIODevice::ReadOnly),
                 "run with STRADEX_UPDATE_GOLDEN=1 to create it");
        QCOMPARE(written, expected.readAll());
        QCOMPARE(readRows(written).size(), 4);
    }

    void valuesSurviveAnXmlReader_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("value");
        QTest::newRow("markup characters") << "'<a href=\"x\">Tom''s & Jerry''s</a>'"
                                           << "<a href=\"x\">Tom's & Jerry's</a>";
        QTest::newRow("tab, line feed, carriage return")
            << "'a' || char(9) || 'b' || char(10) || 'c' || char(13) || char(10) || 'd'"
            << "a\tb\nc\r\nd";
        QTest::newRow("backslashes") << "'C:\\data\\\\x'"
                                     << "C:\\data\\\\x";
        QTest::newRow("blanks at both ends") << "'  BET OAK RD   '"
                                             << "  BET OAK RD   ";
        QTest::newRow("beyond ASCII") << "'Zoë Ωμέγα 道路 🚗'"
                                      << "Zoë Ωμέγα 道路 🚗";
        QTest::newRow("empty text") << "''"
                                    << "";
    }
    void valuesSurviveAnXmlReader()
    {
        QFETCH(QString, sql);
        QFETCH(QString, value);
        StationData data;
        load(data, {row(QStringLiteral("9-9-901"), {{Location, sql}})});
        const QList<QXmlStreamAttributes> rows = readRows(packet(data.resultSet()));
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].hasAttribute(QStringLiteral("Location")));
        QCOMPARE(rows[0].value(QStringLiteral("Location")).toString(), value);
    }

    void floatsInShortestExactForm_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text");
        QTest::newRow("one decimal") << "0.1"
                                     << "0.1";
        QTest::newRow("mile post") << "31.28"
                                   << "31.28";
        QTest::newRow("negative longitude") << "-74.6438"
                                            << "-74.6438";
        QTest::newRow("a third") << "1.0/3"
                                 << "0.3333333333333333";
        QTest::newRow("whole number") << "31.0"
                                      << "31";
        QTest::newRow("tiny") << "1e-7"
                              << "1e-07";
        QTest::newRow("not quite a tenth") << "0.1 + 0.2"
                                           << "0.30000000000000004";
    }
    void floatsInShortestExactForm()
    {
        QFETCH(QString, sql);
        QFETCH(QString, text);
        StationData data;
        load(data, {row(QStringLiteral("9-9-901"), {{Lat, sql}})});
        const ResultSet& rs = data.resultSet();
        const QList<QXmlStreamAttributes> rows = readRows(packet(rs));
        QCOMPARE(rows.size(), 1);
        const QString written = rows[0].value(QStringLiteral("Latitude")).toString();
        QCOMPARE(written, text);
        QCOMPARE(written.toDouble(), rs.real(0, StationField::column(StationField::Latitude)));
    }
};

QTEST_GUILESS_MAIN(TestXmlPacketWriter)
#include "test_xmlpacketwriter.moc"
