#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The two 32-bit file-version words: major and minor in the most significant word,
// release and build in the least significant one.
struct FileVersion
{
    quint32 mostSignificant = 0;
    quint32 leastSignificant = 0;
};

// The file version compiled into the program; none when it was built without one.
std::optional<FileVersion> programFileVersion();

// major.minor.release.build in decimal, or the empty text without a version.
QString formatVersion(const std::optional<FileVersion>& version);

// " - Version " followed by the plain text, or the empty text when that is empty.
QString prefixVersion(const QString& plain);

// The program's version string, computed at each use.
QString versionString();
QString versionStringWithPrefix();
