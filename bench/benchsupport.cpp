#include "benchsupport.h"

#include "data/stationdata.h"
#include "dbresource.h"

#include <QFile>

#include <cstdio>
#include <map>
#include <memory>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

QString BenchSupport::shippedDatabase()
{
    const QString path = QStringLiteral(STRADEX_BENCH_DIR "/zarndatabase.sqlite");
    if (!QFile::exists(path)) {
        QFile::copy(stationDatabaseResource(), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    return path;
}

QString BenchSupport::largeDatabase(long long rows)
{
    const QString path = QStringLiteral(STRADEX_BENCH_DIR "/stations-%1.sqlite").arg(rows);
    if (!QFile::exists(path)) {
        const std::string cmd = std::string(STRADEX_MAKE_STATION_DB) + " '" + path.toStdString()
                                + "' --rows " + std::to_string(rows);
        if (std::system(cmd.c_str()) != 0) {
            std::fprintf(stderr, "cannot generate %s\n", qPrintable(path));
            std::exit(1);
        }
    }
    return path;
}

std::size_t BenchSupport::peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return std::size_t(usage.ru_maxrss) * 1024;
}

std::size_t BenchSupport::residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return std::size_t(resident) * std::size_t(sysconf(_SC_PAGESIZE));
}

StationData& BenchSupport::allDataOf(const QString& database)
{
    static std::map<QString, std::unique_ptr<StationData>> opened;
    auto& data = opened[database];
    if (!data) {
        data = std::make_unique<StationData>();
        data->open(database);
        QueryComposer composer;
        data->runQuery(
            composer.composeArea(QStringLiteral("ALL DATA"), AreaKind::AllCounties, {}, {}));
    }
    return *data;
}
