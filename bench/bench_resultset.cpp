// The query runner loading a whole table into the result set, beside plain SQLite
// loops over the same statement: one that only steps, and one that also reads every
// column's value, which is the least any loader must do.

#include "benchsupport.h"
#include "data/querycomposer.h"
#include "data/stationdata.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

QString allDataStatement()
{
    QueryComposer c;
    return c.composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {});
}

void plainLoop(benchmark::State& state, const QString& path, bool readValues)
{
    sqlite3* db = nullptr;
    // The same open flags as the program's connection.
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    const QByteArray sql = allDataStatement().toUtf8();
    long long rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
        rows = 0;
        std::size_t bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            if (readValues) {
                for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                    switch (sqlite3_column_type(stmt, i)) {
                    case SQLITE_INTEGER:
                        bytes += std::size_t(sqlite3_column_int64(stmt, i));
                        break;
                    case SQLITE_FLOAT:
                        bytes += std::size_t(sqlite3_column_double(stmt, i));
                        break;
                    case SQLITE_NULL:
                        break;
                    default:
                        benchmark::DoNotOptimize(sqlite3_column_text(stmt, i));
                        bytes += std::size_t(sqlite3_column_bytes(stmt, i));
                    }
                }
            }
            ++rows;
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(bytes);
    }
    sqlite3_close(db);
    state.counters["rows"] = double(rows);
    state.SetItemsProcessed(state.iterations() * rows);
}

void runner(benchmark::State& state, const QString& path)
{
    StationData data;
    data.open(path);
    const QString sql = allDataStatement();
    const std::size_t before = BenchSupport::residentBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(data.runQuery(sql));
    const ResultSet& rs = data.resultSet();
    const double rows = rs.recordCount();
    state.counters["rows"] = rows;
    state.counters["overhead_bytes_per_row"] = double(rs.overheadBytes()) / rows;
    state.counters["text_bytes_per_row"] = double(rs.textBytes()) / rows;
    state.counters["resident_growth_bytes_per_row"] =
        (double(BenchSupport::residentBytes()) - double(before)) / rows;
    state.counters["peak_rss_MB"] = double(BenchSupport::peakResidentBytes()) / (1024.0 * 1024.0);
    state.SetItemsProcessed(state.iterations() * rs.recordCount());
}

constexpr long long LargeRows = 1000000;

void BM_AllData_PlainStep(benchmark::State& s) { plainLoop(s, BenchSupport::shippedDatabase(), false); }
void BM_AllData_PlainRead(benchmark::State& s) { plainLoop(s, BenchSupport::shippedDatabase(), true); }
void BM_AllData_Runner(benchmark::State& s) { runner(s, BenchSupport::shippedDatabase()); }
void BM_Large_PlainStep(benchmark::State& s) { plainLoop(s, BenchSupport::largeDatabase(LargeRows), false); }
void BM_Large_PlainRead(benchmark::State& s) { plainLoop(s, BenchSupport::largeDatabase(LargeRows), true); }
void BM_Large_Runner(benchmark::State& s) { runner(s, BenchSupport::largeDatabase(LargeRows)); }

} // namespace

BENCHMARK(BM_AllData_PlainStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllData_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllData_Runner)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large_PlainStep)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Large_PlainRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Large_Runner)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
