#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A small, fixed pseudo-random generator (SplitMix64): the same seed gives the same
// numbers with every compiler and standard library.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next();
    // A number in [lo, hi], both included.
    int between(int lo, int hi);
    // True with a chance of percent in a hundred.
    bool chance(int percent) { return between(0, 99) < percent; }
    template <typename T> const T& pick(const std::vector<T>& v) { return v[std::size_t(between(0, int(v.size()) - 1))]; }

private:
    std::uint64_t m_state;
};

// One row of a station table. Numbers that are NULL hold no value.
struct StationRow
{
    std::string stationNumber;
    std::optional<std::string> sri;
    // The mile post: an integer when isIntegerMilePost, else hundredths.
    bool isIntegerMilePost = false;
    std::int64_t milePostHundredths = 0;
    std::string streetName;
    std::string location;
    std::int64_t latitudeTenThousandths = 0;
    std::int64_t longitudeTenThousandths = 0;
    std::int64_t aadt = 0;
    std::string report;
    std::string municipality;
    std::string county;
    std::optional<std::string> imageNames;
};

struct StationTables
{
    std::vector<StationRow> year2007;
    std::vector<StationRow> year2008;
};

// The shipped data: 957 rows for 2007 and 1040 for 2008, several hundred stations in
// both years, 21 counties whose order of first appearance is not alphabetical.
StationTables generateShippedTables(std::uint64_t seed);

// Rows of any number with the same value forms, for benchmarks; station numbers may recur.
class LargeTableGenerator
{
public:
    explicit LargeTableGenerator(std::uint64_t seed);
    ~LargeTableGenerator();
    StationRow next();

private:
    struct Counties;
    Random m_random;
    std::unique_ptr<Counties> m_counties;
};
