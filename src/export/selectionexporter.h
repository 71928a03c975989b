#pragma once

#include "export/exporthost.h"
#include "platform/savedialog.h"

#include <QString>

#include <functional>

// The export routine: checks that there is a selection, asks for the file, writes the
// XML packet, the Excel sheet or the HTML report, times the writing and reports in the
// status bar. A failed export is reported to the user and leaves no partial file
// behind; cursor, focus, current record and bound controls are restored in every case.
class SelectionExporter final
{
public:
    // Writes the HTML report of the current selection to the path; raises StradexError.
    using HtmlReportWriter = std::function<void(const QString& path)>;
    // A millisecond tick counter.
    using Clock = std::function<qint64()>;

    static constexpr const char* NoStationMessage = "No station identified, no report";
    static constexpr const char* SavingText = "Saving...";
    static constexpr const char* SavedSuffix = " saved";
    static constexpr const char* DurationFormat = "Last operation duration: %1 ms";
    static constexpr const char* SaveFailedPrefix = "Save failed: ";
    static constexpr const char* Disclaimer =
        "Thanks for using Korva Stradex Program. Please refer to the Legal Disclaimer on the "
        "Stradex Help File";
    static constexpr const char* AuthorName = "Korva Zarn";

    explicit SelectionExporter(ExportHost& host);

    void setHtmlReportWriter(HtmlReportWriter writer) { m_htmlWriter = std::move(writer); }
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // Exports the selection as the kind; returns true when a file was written.
    bool ExportSelection(ExportKind kind);

    // The save dialog's settings for the kind.
    static SaveDialogOptions dialogOptions(ExportKind kind);

private:
    void write(ExportKind kind, const QString& path);

    ExportHost& m_host;
    HtmlReportWriter m_htmlWriter;
    Clock m_clock;
};
