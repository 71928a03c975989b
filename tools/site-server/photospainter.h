#pragma once

#include <QImage>
#include <QString>

// What a station photo or sketch shows of its station.
struct PhotosSubject
{
    QString name;     // the photo name, without ".jpg"
    QString station;  // station number
    QString route;    // street-route name
    QString location; // e.g. "1.6 MI E OF CR 614"
    QString municipality;
    QString county;
    QString aadt;
    QString year;        // the count year, e.g. "2007"
    int index = 0;       // the photo's place among the station's names, from 0
    int count = 1;       // how many names the station has
    bool sketch = false; // a location sketch rather than a photograph
};

// Draws the pictures of the photo server stand-in: a roadside photograph of a count
// station, or a pencil sketch of its location, each labelled with the station number
// and the photo name. The same subject always gives the same picture.
namespace PhotosPainter {

constexpr int Width = 800;
constexpr int Height = 550;
constexpr int ThumbnailWidth = 160;
constexpr int ThumbnailHeight = 110;

QImage paint(const PhotosSubject& subject);

} // namespace PhotosPainter
