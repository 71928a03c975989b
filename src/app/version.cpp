#include "app/version.h"

#include "stradexconfig.h"

std::optional<FileVersion> programFileVersion()
{
#if STRADEX_HAS_FILE_VERSION
    return FileVersion{STRADEX_FILE_VERSION_MS, STRADEX_FILE_VERSION_LS};
#else
    return std::nullopt;
#endif
}

QString formatVersion(const std::optional<FileVersion>& version)
{
    if (!version)
        return QString();
    return QStringLiteral("%1.%2.%3.%4")
        .arg(version->mostSignificant >> 16)
        .arg(version->mostSignificant & 0xFFFFu)
        .arg(version->leastSignificant >> 16)
        .arg(version->leastSignificant & 0xFFFFu);
}

QString prefixVersion(const QString& plain)
{
    return plain.isEmpty() ? QString() : QStringLiteral(" - Version ") + plain;
}

QString versionString()
{
    return formatVersion(programFileVersion());
}

QString versionStringWithPrefix()
{
    return prefixVersion(versionString());
}
