#pragma once

#include <QString>

// The nine texts of a station that its map marker carries, and the script that places
// the marker.
struct StationMarker
{
    QString latitude;
    QString longitude;
    QString stationNumber;
    QString sri;
    QString milePost;
    QString municipality;
    QString streetName;
    QString aadt;
    QString imageNames;

    // Whether latitude and longitude are plain decimal numbers, so that they can be
    // written into the script as numbers.
    bool hasPosition() const;

    // The call "addMarker(lat,lon,createHtmlContent("..",..))". The seven content values
    // are JavaScript string content: a double quote, backslash or line break in them is
    // escaped; other text is written as it is.
    QString script() const;

    // A value as the content of a double-quoted JavaScript string.
    static QString quotedContent(const QString& value);
};
