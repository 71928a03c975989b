#pragma once

#include "photospainter.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The photo server stand-in's pictures: a photo and a thumbnail for every image name of
// the station database, made as JPEG files at the first request and kept in a folder.
class PhotosStore final
{
public:
    // The names are read from the database at the first request, so that a server
    // without a database still starts.
    PhotosStore(const QString& databasePath, const QString& folder);

    // The JPEG of a photo name, or of its thumbnail; empty for a name the database does
    // not hold. Throws std::runtime_error when the picture cannot be made.
    QByteArray photo(const QString& name);
    QByteArray thumbnail(const QString& name);

    bool knows(const QString& name);
    // Every image name of the database, in the order of first appearance.
    QStringList names();

    // The picture of the slow fault, the same whatever the database holds.
    static QByteArray slowPicture();

private:
    void readNames();
    static QImage paint(const PhotosSubject& subject);
    static QByteArray encode(const QImage& image, int quality);
    QByteArray kept(const QString& name, bool thumbnail);

    QString m_databasePath;
    QString m_folder;
    bool m_read = false;
    QStringList m_names;
    QHash<QString, PhotosSubject> m_subjects;
};
