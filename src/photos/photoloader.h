#pragma once

#include <QString>

// What the photo viewer asks of the widget that downloads and shows its picture.
class PhotoLoader
{
public:
    virtual ~PhotoLoader() = default;

    // Starts loading the picture at an address in the background. A load asked for
    // while an earlier one still runs is dropped.
    virtual void load(const QString& address) = 0;
    // Whether a background download is running.
    virtual bool downloading() const = 0;
    // Removes the picture shown.
    virtual void clear() = 0;
};
