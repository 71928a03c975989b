#pragma once

#include "platform/config.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

// One file that every HTML report needs beside it: its path under the report folder and
// the name and type of the resource that holds it.
struct ReportAsset
{
    const char* path;
    const char* name;
    const char* type;
};

// The report asset store: the scripts, style sheets, pictures and page texts that the
// program carries, read by resource name and type and written beside a report.
//
// Two texts hold the configuration's map service host, location-map key and report map
// centre as placeholders, filled in when they are read: the report head template and the
// station location page. Every other asset is written byte for byte.
class ReportAssets final
{
public:
    // The program's embedded store; root names another folder of the same layout
    // (<type>/<name>, both lower-case), which tests use.
    explicit ReportAssets(const Config& config, const QString& root = QString());

    // The assets in writing order.
    static const QList<ReportAsset>& table();

    // Appends the resource's bytes to the stream and moves the stream back to its start.
    // Name and type are compared without regard to case. A missing resource raises
    // "Can't load resource: " followed by the name.
    void LoadResourceToStream(const QString& name, const QString& type, QIODevice& stream) const;

    // The resource's bytes (templates filled in); raises like LoadResourceToStream.
    QByteArray resource(const QString& name, const QString& type) const;

    // The text that opens every report page, with the configuration filled in.
    QString headTemplate() const;

    // Writes every asset that does not exist yet under folder, creating the folders
    // icons, icons/small and images; an existing file is never touched. A folder or file
    // that cannot be made raises an error naming it; assets written before stay.
    // Returns the number of files written.
    int WriteReportAssets(const QString& folder) const;

private:
    QByteArray fillTemplate(QByteArray text) const;

    Config m_config;
    QString m_root;
};
