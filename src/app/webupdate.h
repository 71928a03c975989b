#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

class QNetworkReply;
class UpdatePrompts;
struct UpdateControlFile;

// The update component: fetches the update control file, compares it with the running
// version and, when a newer version exists, asks the user, downloads the file into a
// folder of the user's choice and keeps it only when it matches its checksum. It
// reports each step through statusReported.
class WebUpdate final : public QObject
{
    Q_OBJECT

public:
    // The status codes of statusReported.
    enum Status
    {
        Connecting = 1,            // fetching the control file
        ControlFileReceived = 2,   // the control file was read
        NoConnection = 3,          // the control file could not be fetched
        NoNewVersion = 4,          // the running version is the newest
        NewVersionFound = 5,       // a newer version exists
        UpdateDeclined = 6,        // the user chose not to download it
        Downloading = 7,           // the download has started
        DownloadFailed = 8,        // the download failed or was cancelled; nothing was kept
        ChecksumMismatch = 9,      // the downloaded file did not match; nothing was kept
        DownloadDone = 10,         // the file was saved
        ControlFileUnreadable = 11 // the control file was fetched but could not be read
    };
    Q_ENUM(Status)

    struct Settings
    {
        QString url;                                  // address of the control file
        QString agent = QStringLiteral("TWebUpdate"); // User-Agent of every request
        QString runningVersion;                       // the version to compare with
        int transferTimeoutMs = 30000;                // a request that stalls this long fails
    };

    explicit WebUpdate(UpdatePrompts& prompts, QObject* parent = nullptr);
    ~WebUpdate() override;

    void setSettings(const Settings& settings) { m_settings = settings; }
    const Settings& settings() const { return m_settings; }

    // Runs one complete check and returns when it has ended; the event loop keeps
    // running meanwhile. A call while a check runs does nothing and returns false.
    bool doUpdate();
    bool isRunning() const { return m_running; }

signals:
    void statusReported(const QString& text, int statusCode, int errorCode);

private:
    void run();
    void download(const UpdateControlFile& control, const QUrl& source, const QString& name);
    QNetworkReply* get(const QUrl& url);
    void waitFor(QNetworkReply* reply);
    void report(Status status, const QString& text, int errorCode = 0);

    UpdatePrompts& m_prompts;
    Settings m_settings;
    QNetworkAccessManager m_network;
    bool m_running = false;
};
