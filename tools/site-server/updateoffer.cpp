#include "updateoffer.h"

#include "siteserver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHttpServerResponse>
#include <QSaveFile>

namespace {
const QByteArray PlainText("text/plain");

QString offerFolder(const QString& stateFolder)
{
    return stateFolder + QStringLiteral("/update");
}

QString defaultFileName()
{
    return QStringLiteral("Stradex-%1.tar.gz").arg(UpdateOffer::programVersion());
}

// What the default offer hands out: a stand-in for the release archive.
QByteArray defaultContent()
{
    return QByteArrayLiteral("Stradex ") + UpdateOffer::programVersion().toUtf8() +
           QByteArrayLiteral(" release archive (site stand-in)\n");
}

QByteArray controlFile(const QString& version, const QDate& date, const QString& fileName,
                       const QByteArray& sha256Hex)
{
    return QByteArrayLiteral("# Stradex update control file\n") + "version=" + version.toUtf8() +
           "\ndate=" + date.toString(QStringLiteral("dd/MM/yyyy")).toUtf8() + "\nfile=download/" +
           fileName.toUtf8() + "\nsha256=" + sha256Hex + "\n";
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() && f.commit();
}

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}
} // namespace

QString UpdateOffer::programVersion()
{
    return QStringLiteral(STRADEX_PROGRAM_VERSION);
}

QDate UpdateOffer::programDate()
{
    return QDate(2009, 5, 15);
}

void UpdateOffer::addRoutes(SiteServer& server)
{
    const QString state = server.options().stateFolder;
    server.http().route(QStringLiteral("/zarnweb/Report/stradex.inf"), [state] {
        QFile published(offerFolder(state) + QStringLiteral("/stradex.inf"));
        if (!state.isEmpty() && published.open(QIODevice::ReadOnly))
            return QHttpServerResponse(PlainText, published.readAll());
        const QByteArray sum =
            QCryptographicHash::hash(defaultContent(), QCryptographicHash::Sha256).toHex();
        return QHttpServerResponse(
            PlainText, controlFile(programVersion(), programDate(), defaultFileName(), sum));
    });
    server.http().route(
        QStringLiteral("/zarnweb/Report/download/<arg>"), [state](const QString& name) {
            if (!isPlainName(name))
                return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
            QFile published(offerFolder(state) + QLatin1Char('/') + name);
            if (!state.isEmpty() && name != QLatin1String("stradex.inf") &&
                published.open(QIODevice::ReadOnly))
                return QHttpServerResponse(QByteArrayLiteral("application/octet-stream"),
                                           published.readAll());
            if (name == defaultFileName())
                return QHttpServerResponse(QByteArrayLiteral("application/octet-stream"),
                                           defaultContent());
            return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
        });
}

void UpdateOffer::publish(const QString& stateFolder, const QString& version, const QDate& date,
                          const QString& fileName, const QByteArray& content,
                          const QByteArray& sha256)
{
    const QString folder = offerFolder(stateFolder);
    QDir().mkpath(folder);
    const QByteArray sum =
        sha256.isEmpty() ? QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex()
                         : sha256;
    // The file first, so that a control file never names a file that is not there yet.
    writeFile(folder + QLatin1Char('/') + fileName, content);
    writeFile(folder + QStringLiteral("/stradex.inf"), controlFile(version, date, fileName, sum));
}

void UpdateOffer::withdraw(const QString& stateFolder)
{
    QDir(offerFolder(stateFolder)).removeRecursively();
}
