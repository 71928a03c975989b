#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The rules that turn a station's image-names text into photo names and a photo name
// into the address of its picture on the photo server.
namespace ImageNames {

// Splits an image-names text into photo names, in order: names are separated by
// commas; blanks and control characters around them are skipped; a name in double
// quotes may hold any character (a doubled quote stands for one); a blank ends an
// unquoted name; a trailing comma adds one empty name. An empty text gives no names, and
// the text ends at a NUL character.
QStringList split(const QString& text);
// The same for a text in UTF-8, giving the names in UTF-8.
QList<QByteArray> split(QByteArrayView utf8);

// photo server base address + name + ".jpg"
QString photoAddress(const QString& photoServer, const QString& name);

// photo server base address + name + "-tb.jpg", the thumbnail of the gallery feed
QString thumbnailAddress(const QString& photoServer, const QString& name);

} // namespace ImageNames
