// Writing the HTML report of a selection, beside writing the same rows as plain CSV in
// the same run: both run the station query's statement once, read every value of every
// row and write one file through QSaveFile, which is the least the report must do. The
// report is written into a folder that already holds its assets, as every report after
// the first one in a folder is; "Discarded" writes the report and feed to a device that
// keeps nothing, which shows the writer's own cost without the file system.

#include "benchsupport.h"
#include "data/querycomposer.h"
#include "data/stationdata.h"
#include "export/htmlreportwriter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <benchmark/benchmark.h>
#include <charconv>
#include <map>
#include <memory>
#include <sqlite3.h>

namespace {

constexpr long long LargeRows = 200000;


// The station query's rows as CSV, written to the device in blocks as the report is:
// texts quoted where they must be, numbers as the report writes them.
void writeCsv(Cursor& query, QIODevice& device)
{
    QByteArray out;
    out.reserve(80 * 1024);
    query.open();
    sqlite3_stmt* stmt = query.statement();
    const int fields = query.fieldCount();
    char number[32];
    for (; !query.eof(); query.next()) {
        for (int c = 0; c < fields; ++c) {
            if (c > 0)
                out.append(',');
            if (sqlite3_column_type(stmt, c) == SQLITE_NULL)
                continue;
            switch (query.fieldType(c)) {
            case FieldType::Integer: {
                const auto r =
                    std::to_chars(number, number + sizeof number, sqlite3_column_int64(stmt, c));
                out.append(number, r.ptr - number);
                break;
            }
            case FieldType::Float: {
                const auto r =
                    std::to_chars(number, number + sizeof number, sqlite3_column_double(stmt, c),
                                  std::chars_format::general, 15);
                out.append(number, r.ptr - number);
                break;
            }
            default: {
                const QByteArrayView text(
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                    sqlite3_column_bytes(stmt, c));
                if (text.indexOf(',') < 0 && text.indexOf('"') < 0 && text.indexOf('\n') < 0) {
                    out.append(text);
                } else {
                    out.append('"');
                    for (const char ch : text) {
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
        if (out.size() >= 64 * 1024) {
            device.write(out);
            out.resize(0);
        }
    }
    device.write(out);
    query.close();
}

HtmlReportWriter writer(const StationData& data)
{
    Config config = Config::defaults();
    HtmlReportWriter w(config);
    w.setProgramFolder(QStringLiteral("/opt/Korva Stradex/"));
    w.setTableText(QStringLiteral("ALL DATA"));
    w.setRecordCount(data.resultSet().recordCount());
    return w;
}

QString folder()
{
    const QString f = QStringLiteral(STRADEX_BENCH_DIR "/report");
    QDir().mkpath(f);
    return f;
}

void Csv(benchmark::State& state, const QString& database)
{
    StationData& data = BenchSupport::allDataOf(database);
    const QString path = folder() + QStringLiteral("/stations.csv");
    for (auto _ : state) {
        QSaveFile file(path);
        file.open(QIODevice::WriteOnly);
        writeCsv(data.stationQuery(), file);
        file.commit();
    }
    const double bytes = double(QFile(path).size());
    state.counters["rows"] = data.resultSet().recordCount();
    state.counters["file_MB"] = bytes / (1024.0 * 1024.0);
    state.SetBytesProcessed(state.iterations() * qint64(bytes));
}

void Report(benchmark::State& state, const QString& database)
{
    StationData& data = BenchSupport::allDataOf(database);
    const HtmlReportWriter w = writer(data);
    const QString path = folder() + QStringLiteral("/stations.html");
    w.WriteHtmlReport(path, data.stationQuery()); // the assets, once
    for (auto _ : state)
        w.WriteHtmlReport(path, data.stationQuery());
    const double bytes =
        double(QFile(path).size() + QFile(folder() + QStringLiteral("/stations.rss")).size());
    state.counters["rows"] = data.resultSet().recordCount();
    state.counters["file_MB"] = bytes / (1024.0 * 1024.0);
    state.SetBytesProcessed(state.iterations() * qint64(bytes));
}

// A device that takes every byte and keeps none.
class Discard final : public QIODevice
{
public:
    Discard() { open(QIODevice::WriteOnly); }
    qint64 written = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 n) override
    {
        written += n;
        return n;
    }
};

void Discarded(benchmark::State& state, const QString& database)
{
    StationData& data = BenchSupport::allDataOf(database);
    const HtmlReportWriter w = writer(data);
    qint64 bytes = 0;
    for (auto _ : state) {
        Discard report, feed;
        w.write(QStringLiteral("stations.rss"), data.stationQuery(), report, feed);
        bytes = report.written + feed.written;
    }
    state.counters["rows"] = data.resultSet().recordCount();
    state.SetBytesProcessed(state.iterations() * bytes);
}

// One run of the statement reading every value of every row, as any writer must.
qint64 readAll(Cursor& query)
{
    query.open();
    sqlite3_stmt* stmt = query.statement();
    const int fields = query.fieldCount();
    qint64 read = 0;
    for (; !query.eof(); query.next()) {
        for (int c = 0; c < fields; ++c) {
            switch (query.fieldType(c)) {
            case FieldType::Integer:
                read += sqlite3_column_int64(stmt, c);
                break;
            case FieldType::Float:
                read += qint64(sqlite3_column_double(stmt, c));
                break;
            default:
                read += sqlite3_column_bytes(stmt, c) + (sqlite3_column_text(stmt, c) != nullptr);
            }
        }
    }
    query.close();
    return read;
}

// Storing the finished report and feed, made beforehand, as the writer stores them; with
// readRows, each time after reading the rows as well.
void stored(benchmark::State& state, const QString& database, bool readRows, const char* name)
{
    StationData& data = BenchSupport::allDataOf(database);
    const HtmlReportWriter w = writer(data);
    const HtmlReportWriter::Pages pages =
        w.compose(QStringLiteral("stations.rss"), data.stationQuery());
    const QString base = folder() + QStringLiteral("/stations-") + QLatin1String(name);
    for (auto _ : state) {
        if (readRows)
            benchmark::DoNotOptimize(readAll(data.stationQuery()));
        QSaveFile report(base + QStringLiteral(".html")), feed(base + QStringLiteral(".rss"));
        report.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        feed.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        report.write(pages.report);
        feed.write(pages.feed);
        report.commit();
        feed.commit();
    }
    const qint64 bytes = pages.report.size() + pages.feed.size();
    state.counters["rows"] = data.resultSet().recordCount();
    state.counters["file_MB"] = double(bytes) / (1024.0 * 1024.0);
    state.SetBytesProcessed(state.iterations() * bytes);
}

void Bytes(benchmark::State& state, const QString& database)
{
    stored(state, database, false, "bytes");
}

// The least any writer of this report must spend: reading the rows and storing the bytes.
void Floor(benchmark::State& state, const QString& database)
{
    stored(state, database, true, "floor");
}

QString shipped()
{
    return BenchSupport::shippedDatabase();
}
QString large()
{
    return BenchSupport::largeDatabase(LargeRows);
}

} // namespace

BENCHMARK_CAPTURE(Csv, AllData, shipped())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Report, AllData, shipped())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Discarded, AllData, shipped())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Bytes, AllData, shipped())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Floor, AllData, shipped())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Csv, Rows200k, large())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Report, Rows200k, large())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Discarded, Rows200k, large())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Bytes, Rows200k, large())->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
