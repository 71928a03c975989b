#pragma once

#include <QIcon>
#include <QPixmap>

// The program's 16 by 16 pixel icon list, shared by the tabs, the area navigator, the
// station grid, the station list and the photo viewer. Index 6 is the grey copy of 5,
// index 20 the grey copy of 19.
namespace ImageList {
enum Index : int {
    PhotoPresent = 5,
    NoPhotos = 6,
    Report = 7,
    FolderClosed = 9,
    FolderOpen = 11,
    Grid = 13,
    Page = 15,
    Globe = 17,
    NextEnabled = 19,
    NextDisabled = 20,
    Map = 21,
};
constexpr int IconSize = 16;

// The picture at an index of the list; a null pixmap for an index that holds none.
QPixmap pixmap(int index);
QIcon icon(int index);
// The indices that hold a picture.
QList<int> indices();
} // namespace ImageList
