#include "stationgenerator.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>

std::uint64_t Random::next()
{
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int Random::between(int lo, int hi)
{
    const std::uint64_t span = std::uint64_t(std::int64_t(hi) - lo + 1);
    return lo + int(next() % span);
}

namespace {

template <typename T> void shuffle(std::vector<T>& v, Random& r)
{
    for (std::size_t i = v.size(); i > 1; --i)
        std::swap(v[i - 1], v[std::size_t(r.between(0, int(i) - 1))]);
}

std::string format(const char* pattern, long long a)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, a);
    return buf;
}

const std::vector<std::string> kCounties = {
    "Wexmoor",  "Bramton",   "Calder",    "Dunhollow", "Elmsreach", "Fallowfen", "Greyhaven",
    "Harrowby", "Ironvale",  "Juniper",   "Kestrel",   "Larchmont", "Marwick",   "Northmere",
    "Oakridge", "Pellham",   "Quarry",    "Ravensby",  "Stillwater", "Thornbury", "Birchwood",
};

const std::vector<std::string> kPlacePrefixes = {
    "Ash",  "Bell", "Cedar", "Deer",  "East",  "Fair",  "Glen", "High", "Lake", "Mill",
    "North", "Oak", "Pine",  "River", "Spring", "West", "Wood", "Stone", "Maple", "Rock",
    "Clear", "Fox", "Green", "Red",   "Silver", "South", "Elk", "Hazel", "Briar", "Cold",
};
const std::vector<std::string> kPlaceSuffixes = {
    "field", "ton", "ville", "wood", "brook", "dale", "ford", "haven", "port", "view",
    "burg", "mont", "ridge", "water", "crest", "ham", "land", "side",
};
const std::vector<std::string> kPlaceKinds = {" Township", " Borough", " City", " Town", " Village", ""};
const std::vector<std::string> kSharedMunicipalities = {
    "Washington Township", "Union Township", "Franklin Borough", "Springfield", "Town",
};

const std::vector<std::string> kStreetWords = {
    "OAK",      "ELM",     "MAPLE",    "MAIN",     "CHURCH",   "MILL",      "RIVER",   "LAKE",
    "HILL",     "PARK",    "SPRUCE",   "CEDAR",    "WALNUT",   "CHESTNUT",  "RIDGE",   "VALLEY",
    "SCHOOL",   "STATION", "BRIDGE",   "FERRY",    "CANAL",    "FOREST",    "MEADOW",  "ORCHARD",
    "QUARRY",   "SUMMIT",  "UNION",    "WASHINGTON", "LINCOLN", "FRANKLIN", "JEFFERSON", "MADISON",
    "HAMILTON", "PROSPECT", "HIGHLAND", "SUNSET",  "POND",     "BROAD",     "CENTER",  "GROVE",
};
const std::vector<std::string> kStreetKinds = {"RD", "ST", "AVE", "BLVD", "LN", "PIKE", "TPKE", "DR"};
const std::vector<std::string> kDirections = {"N", "S", "E", "W"};
const std::vector<std::string> kSriSuffixes = {"__", "__", "__", "_N", "_S", "_E", "_W", "NB", "SB", "_1"};

std::string streetName(Random& r)
{
    std::string s;
    switch (r.between(0, 9)) {
    case 0:
        s = "STATE HIGHWAY " + std::to_string(r.between(1, 99));
        break;
    case 1:
        s = "COUNTY ROUTE " + std::to_string(r.between(500, 699));
        break;
    case 2:
        s = "US ROUTE " + std::to_string(r.pick(std::vector<int>{1, 9, 22, 30, 46, 130, 202, 206, 322}));
        break;
    case 3:
        s = "INTERSTATE " + std::to_string(r.pick(std::vector<int>{76, 78, 80, 81, 84, 95, 280, 287}));
        if (r.chance(40))
            s += r.chance(50) ? " EASTBOUND" : " WESTBOUND";
        if (r.chance(10))
            s += " COLLECTOR DISTRIBUTOR RD";
        break;
    case 4:
        s = "OLD " + r.pick(kStreetWords) + " " + r.pick(kStreetKinds);
        break;
    default:
        s = r.pick(kStreetWords) + " " + r.pick(kStreetKinds);
        if (r.chance(15))
            s = r.pick(kDirections) + " " + s;
        break;
    }
    if (s.size() > 50)
        s.resize(50);
    if (r.chance(2))
        s = " " + s.substr(0, 49);
    return s;
}

std::string crossStreet(Random& r)
{
    return r.chance(25) ? "CR " + std::to_string(r.between(500, 699))
                        : r.pick(kStreetWords) + " " + r.pick(kStreetKinds);
}

std::string location(Random& r, const std::string& municipality)
{
    std::string s;
    const int form = r.between(0, 19);
    if (form < 7) {
        s = "BET " + crossStreet(r) + " & " + crossStreet(r);
    } else if (form < 13) {
        s = std::to_string(r.between(0, 4)) + "." + std::to_string(r.between(1, 9)) + " MI "
            + r.pick(kDirections) + " OF " + crossStreet(r);
    } else if (form < 16) {
        s = r.pick(kDirections) + " OF " + crossStreet(r) + " INTERCHANGE";
    } else if (form < 18) {
        s = "AT " + crossStreet(r) + " " + r.pick(std::vector<std::string>{"BRIDGE", "OVERPASS", "UNDERPASS"});
    } else {
        s = "BET " + crossStreet(r) + " & " + crossStreet(r) + " NEAR " + municipality + " LINE";
    }
    if (s.size() > 73)
        s.resize(73);
    if (r.chance(2))
        s = s.substr(0, 72) + " ";
    return s;
}

std::optional<std::string> sri(Random& r)
{
    const int k = r.between(0, 99);
    if (k < 84)
        return format("%08lld", r.between(1, 999)) + r.pick(kSriSuffixes);
    if (k < 91) {
        const std::vector<std::string> heads = {"CR", "S", "I", "US", "SR"};
        return r.pick(heads) + std::to_string(r.between(1, 999));
    }
    if (k < 93)
        return std::string("Private Road");
    return std::nullopt;
}

std::string stationNumber(Random& r)
{
    if (r.chance(88))
        return std::to_string(r.between(1, 9)) + "-" + std::to_string(r.between(0, 9)) + "-"
               + std::to_string(r.between(100, 999));
    std::string s;
    const int letters = r.between(2, 3);
    for (int i = 0; i < letters; ++i)
        s += char('A' + r.between(0, 25));
    const int digits = r.between(6, 7) - letters;
    for (int i = 0; i < digits; ++i)
        s += char('0' + r.between(0, 9));
    return s;
}

std::int64_t aadt(Random& r)
{
    const int tier = r.between(0, 99);
    if (tier < 15)
        return r.between(300, 999);
    if (tier < 50)
        return r.between(1000, 9999);
    if (tier < 85)
        return r.between(10000, 49999);
    if (tier < 97)
        return r.between(50000, 99999);
    return r.between(100000, 142000);
}

std::string reportName(Random& r, const std::string& station, int year)
{
    const std::string yy = format("%02lld", year % 100);
    std::string name = station + "-wrpt-" + yy + "_" + format("%02lld", r.between(1, 12)) + "_"
                       + format("%02lld", r.between(1, 28)) + "_" + yy;
    const int k = r.between(0, 99);
    if (k < 90)
        return name + ".html";
    if (k < 93)
        return name + ".xls";
    if (k < 96)
        return name + ".pdf";
    if (k < 98)
        return name + ".rtf";
    return name + ".txt";
}

std::optional<std::string> imageNames(Random& r, const std::string& station, int year)
{
    if (r.chance(45))
        return std::nullopt;
    const int k = r.between(0, 99);
    int count = k < 60 ? r.between(1, 3) : k < 85 ? r.between(4, 6) : k < 95 ? r.between(7, 9)
                                                                              : r.between(10, 13);
    const bool sketch = r.chance(35);
    const std::string yy = format("%02lld", year % 100);
    for (;; --count) {
        std::string s;
        for (int i = 0; i < count; ++i) {
            if (i)
                s += ",";
            if (sketch && i == count - 1)
                s += station + "sketch-" + yy;
            else
                s += station + char('a' + i) + "-" + yy;
        }
        if (s.size() <= 160)
            return s;
    }
}

struct County
{
    std::string name;
    std::vector<std::string> municipalities;
    std::int64_t centreLat;
    std::int64_t centreLon;
};

std::vector<County> makeCounties(Random& r)
{
    std::vector<County> counties;
    for (const std::string& name : kCounties) {
        County c{name, {}, 402000 + r.between(0, 26000), -779000 + r.between(0, 33000)};
        const int n = r.between(4, 10);
        std::set<std::string> seen;
        while (int(c.municipalities.size()) < n) {
            std::string m = r.pick(kPlacePrefixes) + r.pick(kPlaceSuffixes) + r.pick(kPlaceKinds);
            if (m.size() <= 25 && seen.insert(m).second)
                c.municipalities.push_back(m);
        }
        counties.push_back(c);
    }
    // A few names recur in several counties.
    for (const std::string& shared : kSharedMunicipalities) {
        const int times = r.between(2, 3);
        std::set<int> used;
        while (int(used.size()) < times) {
            const int i = r.between(0, int(counties.size()) - 1);
            if (used.insert(i).second)
                counties[std::size_t(i)].municipalities.push_back(shared);
        }
    }
    return counties;
}

StationRow makeStation(Random& r, const std::vector<County>& counties, const std::string& number, int year)
{
    const County& c = r.pick(counties);
    StationRow s;
    s.stationNumber = number;
    s.county = c.name;
    s.municipality = r.pick(c.municipalities);
    s.sri = sri(r);
    s.isIntegerMilePost = r.chance(25);
    s.milePostHundredths = s.isIntegerMilePost ? r.between(0, 120) : r.between(1, 12000);
    s.streetName = streetName(r);
    s.location = location(r, s.municipality);
    s.latitudeTenThousandths = c.centreLat + r.between(-1800, 1800);
    s.longitudeTenThousandths = c.centreLon + r.between(-2200, 2200);
    s.aadt = aadt(r);
    s.report = reportName(r, number, year);
    s.imageNames = imageNames(r, number, year);
    return s;
}

// The same station counted again in another year: new count, report and photos.
StationRow recount(Random& r, StationRow s, int year)
{
    s.aadt = std::max<std::int64_t>(250, s.aadt + s.aadt * r.between(-8, 8) / 100);
    s.report = reportName(r, s.stationNumber, year);
    s.imageNames = imageNames(r, s.stationNumber, year);
    return s;
}

// Replaces the station number at the start of a report name with another one.
void misnameReport(StationRow& row, const std::string& other)
{
    row.report = other + row.report.substr(row.stationNumber.size());
}

} // namespace

StationTables generateShippedTables(std::uint64_t seed)
{
    constexpr int both = 620, only2007 = 957 - both, only2008 = 1040 - both;
    Random r(seed);
    const std::vector<County> counties = makeCounties(r);

    std::set<std::string> seen;
    std::vector<std::string> numbers;
    while (int(numbers.size()) < both + only2007 + only2008) {
        std::string n = stationNumber(r);
        if (seen.insert(n).second)
            numbers.push_back(n);
    }

    StationTables t;
    for (int i = 0; i < int(numbers.size()); ++i) {
        const bool in2007 = i < both + only2007;
        const bool in2008 = i < both || i >= both + only2007;
        StationRow first = makeStation(r, counties, numbers[std::size_t(i)], in2007 ? 2007 : 2008);
        if (in2007)
            t.year2007.push_back(first);
        if (in2008)
            t.year2008.push_back(in2007 ? recount(r, first, 2008) : first);
    }
    shuffle(t.year2007, r);
    shuffle(t.year2008, r);

    // Nine report names carry another station's number.
    std::set<std::pair<int, int>> misnamed;
    while (misnamed.size() < 9) {
        const int table = r.between(0, 1);
        auto& rows = table == 0 ? t.year2007 : t.year2008;
        const int i = r.between(0, int(rows.size()) - 1);
        if (!misnamed.insert({table, i}).second)
            continue;
        std::string other;
        do {
            other = r.pick(numbers);
        } while (other == rows[std::size_t(i)].stationNumber);
        misnameReport(rows[std::size_t(i)], other);
    }
    return t;
}

struct LargeTableGenerator::Counties
{
    std::vector<County> list;
};

LargeTableGenerator::LargeTableGenerator(std::uint64_t seed)
    : m_random(seed)
    , m_counties(std::make_unique<Counties>(Counties{makeCounties(m_random)}))
{
}

LargeTableGenerator::~LargeTableGenerator() = default;

StationRow LargeTableGenerator::next()
{
    return makeStation(m_random, m_counties->list, stationNumber(m_random),
                       m_random.chance(50) ? 2007 : 2008);
}
