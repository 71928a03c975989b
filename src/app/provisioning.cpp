#include "app/provisioning.h"

#include "platform/stradexerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

HeldDataFile& HeldDataFile::operator=(HeldDataFile&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

HeldDataFile::~HeldDataFile()
{
    release();
}

void HeldDataFile::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

QString DataFolder::localDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString DataFolder::dataFolderFor(const QString& localDataFolder)
{
    // Everything up to and including the last separator, then the folder's own name.
    QString path = QDir::fromNativeSeparators(localDataFolder);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral("korva");
}

QString DataFolder::stationDatabaseFileFor(const QString& localDataFolder)
{
    return dataFolderFor(localDataFolder) + QStringLiteral("/KORVAZARN.dat");
}

namespace {
[[noreturn]] void cannotWrite(const QString& path, const QString& reason)
{
    throw StradexError(QStringLiteral("Cannot write the station database file %1: %2").arg(path, reason));
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

HeldDataFile provisionStationDatabase(const QString& resourcePath, const QString& localDataFolder)
{
    QFile resource(resourcePath);
    if (!resource.open(QIODevice::ReadOnly))
        throw StradexError(
            QStringLiteral("The program's station database (resource \"zarndatabase\", %1) is missing.")
                .arg(resourcePath));
    const QByteArray bytes = resource.readAll();
    resource.close();

    const QString folder = DataFolder::dataFolderFor(localDataFolder);
    QDir().mkpath(folder); // when it cannot be made, writing the file reports it
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString path = DataFolder::stationDatabaseFileFor(localDataFolder);
    const QByteArray nativePath = QFile::encodeName(path);
    const int fd = ::open(nativePath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        cannotWrite(path, systemError());
    HeldDataFile held(fd);
    // A running copy holds the file with a shared lock for as long as it runs.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        cannotWrite(path, errno == EWOULDBLOCK
                              ? QStringLiteral("another running copy of the program is using it.")
                              : systemError());
    if (::ftruncate(fd, 0) != 0)
        cannotWrite(path, systemError());
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            cannotWrite(path, systemError());
        written += n;
    }
    ::flock(fd, LOCK_SH);
    return held;
}
