#pragma once

// The twelve fields of a station record, numbered as the program refers to them.
// The grid column that shows field k is column k - 1.
namespace StationField {
enum Number : int {
    StationNumber = 1,
    StreetRouteName = 2,
    Location = 3,
    MilePost = 4,
    Aadt = 5,
    AadtReport = 6,
    Sri = 7,
    Municipality = 8,
    County = 9,
    Latitude = 10,
    Longitude = 11,
    Images = 12,
};
constexpr int Count = 12;

// The column index of field number n.
constexpr int column(Number n)
{
    return static_cast<int>(n) - 1;
}
} // namespace StationField
