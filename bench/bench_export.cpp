// Writing the selection as an XML data packet and as an .xls workbook, beside writing
// the same rows as plain CSV text in the same run: the least any export must do is read
// every value and put its text in a file. All three write through the same atomic file
// (a temporary file renamed into place), as the program does; the "Memory" variants
// write into a buffer and show the writers' own cost without the file system.

#include "benchsupport.h"
#include "data/querycomposer.h"
#include "data/stationdata.h"
#include "export/atomicfile.h"
#include "export/outputbuffer.h"
#include "export/xlswriter.h"
#include "export/xmlpacketwriter.h"

#include <QBuffer>
#include <QFile>

#include <benchmark/benchmark.h>
#include <charconv>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr long long LargeRows = 200000;

// The grid's visible columns: every field but the images.
QList<int> gridColumns()
{
    QList<int> columns;
    for (int c = 0; c < 11; ++c)
        columns << c;
    return columns;
}

// The rows as CSV: texts quoted where they must be, numbers in their shortest form.
void writeCsv(const ResultSet& rows, QIODevice& device)
{
    OutputBuffer out(device);
    char number[32];
    for (int r = 0; r < rows.recordCount(); ++r) {
        for (int c = 0; c < rows.fieldCount(); ++c) {
            if (c > 0)
                out.append(',');
            if (rows.isNull(r, c))
                continue;
            switch (rows.field(c).type) {
            case FieldType::Integer: {
                const auto res = std::to_chars(number, number + sizeof number, rows.integer(r, c));
                out.append(QByteArrayView(number, res.ptr - number));
                break;
            }
            case FieldType::Float: {
                const auto res = std::to_chars(number, number + sizeof number, rows.real(r, c));
                out.append(QByteArrayView(number, res.ptr - number));
                break;
            }
            default: {
                const QByteArrayView text = rows.utf8(r, c);
                if (text.indexOf(',') < 0 && text.indexOf('"') < 0 && text.indexOf('\n') < 0) {
                    out.append(text);
                } else {
                    out.append('"');
                    for (char ch : text) {
                        if (ch == '"')
                            out.append('"');
                        out.append(ch);
                    }
                    out.append('"');
                }
            }
            }
        }
        out.append("\r\n");
    }
    out.flush();
}

using Writer = std::function<void(const ResultSet&, QIODevice&)>;

void csv(const ResultSet& rows, QIODevice& device)
{
    writeCsv(rows, device);
}

void xml(const ResultSet& rows, QIODevice& device)
{
    XmlPacketWriter(rows).write(device);
}

void xls(const ResultSet& rows, QIODevice& device)
{
    XlsWriter writer(rows);
    writer.setColumns(gridColumns());
    writer.setFooter({QStringLiteral("Thanks for using Korva Stradex Program. Please refer to the "
                                     "Legal Disclaimer on the Stradex Help File")});
    writer.setAuthor(QStringLiteral("Korva Zarn"));
    writer.write(device);
}


void toFile(benchmark::State& state, const QString& database, const char* name, const Writer& write)
{
    const ResultSet& rows = BenchSupport::allDataOf(database).resultSet();
    const QString path = QStringLiteral(STRADEX_BENCH_DIR "/export-%1").arg(QLatin1String(name));
    for (auto _ : state)
        writeFileAtomically(path, [&](QIODevice& device) { write(rows, device); });
    const double bytes = double(QFile(path).size());
    state.counters["rows"] = rows.recordCount();
    state.counters["file_MB"] = bytes / (1024.0 * 1024.0);
    state.SetBytesProcessed(state.iterations() * qint64(bytes));
    QFile::remove(path);
}

void toMemory(benchmark::State& state, const QString& database, const Writer& write)
{
    const ResultSet& rows = BenchSupport::allDataOf(database).resultSet();
    QByteArray bytes;
    for (auto _ : state) {
        bytes.reserve(bytes.size()); // the last run's size: no growing in the loop
        bytes.resize(0);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        write(rows, buffer);
    }
    state.counters["rows"] = rows.recordCount();
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

QString shipped()
{
    return BenchSupport::shippedDatabase();
}
QString large()
{
    return BenchSupport::largeDatabase(LargeRows);
}

void BM_AllData_Csv(benchmark::State& s)
{
    toFile(s, shipped(), "all.csv", csv);
}
void BM_AllData_Xml(benchmark::State& s)
{
    toFile(s, shipped(), "all.xml", xml);
}
void BM_AllData_Xls(benchmark::State& s)
{
    toFile(s, shipped(), "all.xls", xls);
}
void BM_AllData_CsvMemory(benchmark::State& s)
{
    toMemory(s, shipped(), csv);
}
void BM_AllData_XmlMemory(benchmark::State& s)
{
    toMemory(s, shipped(), xml);
}
void BM_AllData_XlsMemory(benchmark::State& s)
{
    toMemory(s, shipped(), xls);
}
void BM_Large_Csv(benchmark::State& s)
{
    toFile(s, large(), "large.csv", csv);
}
void BM_Large_Xml(benchmark::State& s)
{
    toFile(s, large(), "large.xml", xml);
}
void BM_Large_Xls(benchmark::State& s)
{
    toFile(s, large(), "large.xls", xls);
}
void BM_Large_CsvMemory(benchmark::State& s)
{
    toMemory(s, large(), csv);
}
void BM_Large_XmlMemory(benchmark::State& s)
{
    toMemory(s, large(), xml);
}
void BM_Large_XlsMemory(benchmark::State& s)
{
    toMemory(s, large(), xls);
}

} // namespace

BENCHMARK(BM_AllData_Csv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllData_Xml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllData_Xls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllData_CsvMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllData_XmlMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllData_XlsMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large_Csv)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Large_Xml)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Large_Xls)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Large_CsvMemory)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Large_XmlMemory)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Large_XlsMemory)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
