#include "app/webupdate.h"

#include "app/updatecontrolfile.h"
#include "app/updateprompts.h"
#include "platform/stradexerror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QScopeGuard>

#include <memory>

namespace {
struct ReplyDeleter
{
    void operator()(QNetworkReply* r) const { r->deleteLater(); }
};
using ReplyPtr = std::unique_ptr<QNetworkReply, ReplyDeleter>;

// A name to save under: the last part of the address, never a path.
QString safeFileName(const QUrl& url)
{
    const QString name = url.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QString();
    return name;
}
} // namespace

WebUpdate::WebUpdate(UpdatePrompts& prompts, QObject* parent)
    : QObject(parent)
    , m_prompts(prompts)
{
    // Every check asks the server afresh.
    m_network.setCache(nullptr);
}

WebUpdate::~WebUpdate() = default;

bool WebUpdate::doUpdate()
{
    if (m_running)
        return false;
    m_running = true;
    const auto done = qScopeGuard([this] { m_running = false; });
    run();
    return true;
}

void WebUpdate::report(Status status, const QString& text, int errorCode)
{
    emit statusReported(text, status, errorCode);
}

QNetworkReply* WebUpdate::get(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_settings.agent);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(m_settings.transferTimeoutMs);
    return m_network.get(request);
}

void WebUpdate::waitFor(QNetworkReply* reply)
{
    if (reply->isFinished())
        return;
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

void WebUpdate::run()
{
    const QUrl url(m_settings.url);
    report(Connecting, QStringLiteral("Connecting to %1").arg(m_settings.url));
    ReplyPtr reply(get(url));
    waitFor(reply.get());
    if (reply->error() != QNetworkReply::NoError) {
        report(NoConnection, reply->errorString(), reply->error());
        m_prompts.warn(QStringLiteral("The update information could not be fetched from %1.\n\n%2")
                           .arg(m_settings.url, reply->errorString()));
        return;
    }

    UpdateControlFile control;
    int newer = 0;
    try {
        control = UpdateControlFile::parse(reply->readAll());
        newer = compareVersions(control.version, m_settings.runningVersion);
    } catch (const StradexError& e) {
        report(ControlFileUnreadable, e.message());
        m_prompts.warn(e.message());
        return;
    }
    const QString date = control.date.toString(QLatin1String(UpdateControlFile::DateFormat));
    report(ControlFileReceived,
           QStringLiteral("Newest version %1 of %2").arg(control.version, date));
    if (newer <= 0) {
        report(NoNewVersion, QStringLiteral("No new version found"));
        return;
    }

    // A file address that names no file on a web server is refused before the user is asked.
    const QUrl source = QUrl(m_settings.url).resolved(QUrl(control.file));
    const QString name = safeFileName(source);
    const bool web =
        source.scheme() == QLatin1String("http") || source.scheme() == QLatin1String("https");
    if (!source.isValid() || !web || name.isEmpty()) {
        const QString why =
            QStringLiteral("The update information is not readable: \"%1\" names no file.")
                .arg(control.file);
        report(ControlFileUnreadable, why);
        m_prompts.warn(why);
        return;
    }

    report(NewVersionFound, QStringLiteral("Version %1 of %2 found").arg(control.version, date));
    const QString running =
        m_settings.runningVersion.isEmpty()
            ? QStringLiteral("You have a version without a number.")
            : QStringLiteral("You have version %1.").arg(m_settings.runningVersion);
    if (!m_prompts.ask(QStringLiteral("Stradex %1 of %2 is available. %3\n\nDownload it now?")
                           .arg(control.version, date, running))) {
        report(UpdateDeclined, QStringLiteral("Update declined"));
        return;
    }
    download(control, source, name);
}

void WebUpdate::download(const UpdateControlFile& control, const QUrl& source, const QString& name)
{
    const QString folder = m_prompts.chooseFolder(name);
    if (folder.isEmpty()) {
        report(UpdateDeclined, QStringLiteral("No folder chosen"));
        return;
    }
    const QString target = QDir(folder).absoluteFilePath(name);

    // The file appears under its name only once it is complete and its checksum matches;
    // until then it is a temporary file that is removed on any failure.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        const QString why =
            QStringLiteral("Stradex %1 was not downloaded.\n\n%2 cannot be written: %3")
                .arg(control.version, QDir::toNativeSeparators(target), file.errorString());
        report(DownloadFailed, why);
        m_prompts.warn(why);
        return;
    }

    report(Downloading, QStringLiteral("Downloading %1").arg(source.toString()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    bool cancelled = false;
    QString writeError;
    ReplyPtr reply(get(source));
    QNetworkReply* r = reply.get();
    const auto take = [&] {
        const QByteArray data = r->readAll();
        hash.addData(data);
        if (writeError.isEmpty() && file.write(data) != data.size()) {
            writeError = QStringLiteral("%1 cannot be written: %2")
                             .arg(QDir::toNativeSeparators(target), file.errorString());
            r->abort();
        }
    };
    connect(r, &QNetworkReply::readyRead, this, take);
    connect(r, &QNetworkReply::downloadProgress, this, [&](qint64 received, qint64 total) {
        if (!cancelled && writeError.isEmpty() && !m_prompts.progress(received, total)) {
            cancelled = true;
            r->abort();
        }
    });
    waitFor(r);
    disconnect(r, nullptr, this, nullptr);
    if (!cancelled && writeError.isEmpty() && r->error() == QNetworkReply::NoError)
        take(); // what arrived together with the end of the reply
    m_prompts.downloadEnded();

    if (cancelled) {
        file.cancelWriting();
        report(DownloadFailed, QStringLiteral("Download cancelled"), r->error());
        m_prompts.inform(QStringLiteral("The download was cancelled; nothing was saved."));
        return;
    }
    const auto fail = [&](Status status, const QString& why, int errorCode) {
        file.cancelWriting();
        report(status, why, errorCode);
        m_prompts.warn(why);
    };
    if (!writeError.isEmpty() || r->error() != QNetworkReply::NoError) {
        const QString cause = writeError.isEmpty() ? r->errorString() : writeError;
        fail(DownloadFailed,
             QStringLiteral("The download of Stradex %1 failed; nothing was saved.\n\n%2")
                 .arg(control.version, cause),
             writeError.isEmpty() ? int(r->error()) : 0);
        return;
    }
    if (hash.result() != control.sha256) {
        fail(ChecksumMismatch,
             QStringLiteral("The downloaded file %1 does not match its checksum and was not kept. "
                            "Please try again later.")
                 .arg(name),
             0);
        return;
    }
    if (!file.commit()) {
        fail(DownloadFailed,
             QStringLiteral("The download of Stradex %1 failed; nothing was saved.\n\n%2 cannot be "
                            "written: %3")
                 .arg(control.version, QDir::toNativeSeparators(target), file.errorString()),
             0);
        return;
    }
    report(DownloadDone, QStringLiteral("Saved %1").arg(target));
    m_prompts.inform(QStringLiteral("Stradex %1 was saved as\n%2")
                         .arg(control.version, QDir::toNativeSeparators(target)));
}
