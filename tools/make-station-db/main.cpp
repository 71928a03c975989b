// make-station-db: writes the station database that the program carries inside itself.
//
//   make-station-db OUTPUT                 the shipped tables "aadt 2007", "aadt 2008", "all data"
//   make-station-db OUTPUT --rows N        one table "all data" of N rows (for benchmarks)

#include "stationgenerator.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>

namespace {

constexpr std::uint64_t kSeed = 0x5354524144455832ull; // fixed: the file is the same at every build

const char* kColumns = "(SI_STATION_NUM TEXT%s, SI_SRI TEXT, SI_MP NUMERIC, SI_STREET_NAME TEXT, "
                       "SI_LOCATION TEXT, SI_LAT NUMERIC, SI_LON NUMERIC, AADT INTEGER, REPORT TEXT, "
                       "municipality_descr TEXT, county_descr TEXT, IMAGENAMES TEXT)";

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

void exec(sqlite3* db, const std::string& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string message = err ? err : "unknown error";
        sqlite3_free(err);
        throw std::runtime_error(message + " in: " + sql);
    }
}

void createTable(sqlite3* db, const std::string& name, bool keyed)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, kColumns, keyed ? " PRIMARY KEY" : "");
    exec(db, "CREATE TABLE \"" + name + "\" " + buf);
}

class Inserter
{
public:
    Inserter(sqlite3* db, const std::string& table) : m_db(db)
    {
        const std::string sql = "INSERT INTO \"" + table + "\" VALUES (?,?,?,?,?,?,?,?,?,?,?,?)";
        check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr));
    }
    ~Inserter() { sqlite3_finalize(m_stmt); }

    void insert(const StationRow& r)
    {
        auto text = [&](int i, const std::string& s) {
            check(m_db, sqlite3_bind_text(m_stmt, i, s.c_str(), int(s.size()), SQLITE_TRANSIENT));
        };
        auto optionalText = [&](int i, const std::optional<std::string>& s) {
            if (s)
                text(i, *s);
            else
                check(m_db, sqlite3_bind_null(m_stmt, i));
        };
        text(1, r.stationNumber);
        optionalText(2, r.sri);
        if (r.isIntegerMilePost)
            check(m_db, sqlite3_bind_int64(m_stmt, 3, r.milePostHundredths));
        else
            check(m_db, sqlite3_bind_double(m_stmt, 3, double(r.milePostHundredths) / 100.0));
        text(4, r.streetName);
        text(5, r.location);
        check(m_db, sqlite3_bind_double(m_stmt, 6, double(r.latitudeTenThousandths) / 10000.0));
        check(m_db, sqlite3_bind_double(m_stmt, 7, double(r.longitudeTenThousandths) / 10000.0));
        check(m_db, sqlite3_bind_int64(m_stmt, 8, r.aadt));
        text(9, r.report);
        text(10, r.municipality);
        text(11, r.county);
        optionalText(12, r.imageNames);
        check(m_db, sqlite3_step(m_stmt));
        check(m_db, sqlite3_reset(m_stmt));
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void requireAllCounties(const std::vector<StationRow>& rows)
{
    std::set<std::string> counties;
    for (const StationRow& r : rows)
        counties.insert(r.county);
    if (counties.size() != 21)
        throw std::runtime_error("a year table lacks a county");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--rows") == 0)) {
        std::fprintf(stderr, "usage: make-station-db OUTPUT [--rows N]\n");
        return 2;
    }
    const std::string out = argv[1];
    const std::string temp = out + ".part";
    std::remove(temp.c_str());

    sqlite3* db = nullptr;
    try {
        if (sqlite3_open(temp.c_str(), &db) != SQLITE_OK)
            throw std::runtime_error("cannot create " + temp);
        exec(db, "PRAGMA page_size=1024");
        exec(db, "PRAGMA encoding='UTF-8'");
        exec(db, "PRAGMA journal_mode=OFF");
        exec(db, "BEGIN");
        if (argc == 4) {
            const long long rows = std::atoll(argv[3]);
            createTable(db, "all data", false);
            Inserter all(db, "all data");
            LargeTableGenerator generator(kSeed);
            for (long long i = 0; i < rows; ++i)
                all.insert(generator.next());
        } else {
            const StationTables t = generateShippedTables(kSeed);
            requireAllCounties(t.year2007);
            requireAllCounties(t.year2008);
            createTable(db, "aadt 2007", true);
            createTable(db, "aadt 2008", true);
            createTable(db, "all data", false);
            Inserter y7(db, "aadt 2007"), y8(db, "aadt 2008"), all(db, "all data");
            for (const StationRow& r : t.year2007) {
                y7.insert(r);
                all.insert(r);
            }
            for (const StationRow& r : t.year2008) {
                y8.insert(r);
                all.insert(r);
            }
        }
        exec(db, "COMMIT");
        sqlite3_close(db);
        db = nullptr;
        if (std::rename(temp.c_str(), out.c_str()) != 0)
            throw std::runtime_error("cannot write " + out);
    } catch (const std::exception& e) {
        if (db)
            sqlite3_close(db);
        std::remove(temp.c_str());
        std::fprintf(stderr, "make-station-db: %s\n", e.what());
        return 1;
    }
    return 0;
}
