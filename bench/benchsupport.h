#pragma once

#include <QString>

#include <cstddef>

class StationData;

namespace BenchSupport {
// A copy of the embedded station database in the bench folder.
QString shippedDatabase();
// A generated database with one table "all data" of the given number of rows, made
// once by make-station-db and kept in the bench folder.
QString largeDatabase(long long rows);
// The station data of a database with all of its table "all data" loaded, opened once
// per database for the whole run.
StationData& allDataOf(const QString& database);
// The peak resident memory of the process so far, in bytes.
std::size_t peakResidentBytes();
// The resident memory of the process now, in bytes.
std::size_t residentBytes();
} // namespace BenchSupport
