#pragma once

#include "platform/config.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

class Cursor;
class QIODevice;

// Writes the HTML report of a station selection: the report assets beside it, the page
// (the head template, the header box, one table row per station with its map and photo
// links, the tail) and the gallery feed, a Media RSS 2.0 file of every station photo.
//
// Values go into the page escaped for HTML and into the feed escaped for XML, so a "<",
// "&" or double quote in the data shows as itself instead of breaking the page. Both
// files are UTF-8 without a byte-order mark, with CR LF line ends.
class HtmlReportWriter final
{
public:
    struct Pages
    {
        QByteArray report;
        QByteArray feed;
    };

    explicit HtmlReportWriter(const Config& config);

    // A writer with the running program's inputs: its folder, the local date and time now
    // and the system's date and time formats.
    static HtmlReportWriter forProgram(const Config& config, const QString& tableText,
                                       int recordCount);

    // The program folder, with its trailing separator.
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }
    // The table choice's text, named in the report's title.
    void setTableText(const QString& text) { m_tableText = text; }
    // The result set's record count, the report's total.
    void setRecordCount(int count) { m_recordCount = count; }
    // The creation time as the report shows it (see creationText).
    void setCreationText(const QString& text) { m_creationText = text; }
    // Reads assets and the head template from another store folder (for tests).
    void setAssetRoot(const QString& root) { m_assetRoot = root; }

    // Writes the missing assets into the report's folder, then the report at path and
    // the feed beside it. Runs the station query's current statement once, so the report
    // lists the rows of the grid in the grid's order, and closes the query afterwards.
    // Raises an error when an asset, the report or the feed cannot be written; the report
    // and the feed are written only when the whole walk succeeded.
    void WriteHtmlReport(const QString& path, Cursor& stationQuery) const;

    // Writes the report and the feed of the station query's rows to the two devices, in
    // blocks as they are made. The feed's name is the one the page links.
    void write(const QString& feedName, Cursor& stationQuery, QIODevice& report,
               QIODevice& feed) const;

    // The report and the feed in memory.
    Pages compose(const QString& feedName, Cursor& stationQuery) const;

    // The feed's file name: the report's file name without its extension, + ".rss" (for a
    // report that itself ends in ".rss", its whole name + ".rss").
    static QString feedName(const QString& path);

    // The source with every occurrence of searched replaced, case-sensitively; text that a
    // replacement forms with its neighbours is replaced as well. A replacement that holds
    // the searched text is made in one pass, as repeating it would never end.
    static QString ReplaceAll(const QString& source, const QString& searched,
                              const QString& replacement);

    // The local date and time as the report shows it: the short date, a blank and the
    // long time of the locale, without the time zone.
    static QString creationText(const QDateTime& at, const QLocale& locale = QLocale::system());

private:
    Config m_config;
    QString m_programFolder;
    QString m_tableText;
    int m_recordCount = 0;
    QString m_creationText;
    QString m_assetRoot;
};
