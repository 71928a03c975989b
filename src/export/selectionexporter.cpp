#include "export/selectionexporter.h"

#include "data/resultset.h"
#include "export/atomicfile.h"
#include "export/xlswriter.h"
#include "export/xmlpacketwriter.h"
#include "platform/messagesink.h"
#include "platform/stradexerror.h"

#include <QDir>
#include <QElapsedTimer>

#include <exception>
#include <new>

namespace {

qint64 uptimeMilliseconds()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

QString kindName(ExportKind kind)
{
    switch (kind) {
    case ExportKind::Xml:
        return QStringLiteral("XML file");
    case ExportKind::Xls:
        return QStringLiteral("Excel sheet");
    case ExportKind::Html:
        return QStringLiteral("HTML report");
    }
    return {};
}

// Step 9 of every export that got past the checks, however it ends.
class Restore final
{
public:
    Restore(ExportHost& host, ResultSet& rows)
        : m_host(host)
        , m_rows(rows)
        , m_recNo(rows.recNo())
    {
        m_rows.disableControls();
    }
    ~Restore()
    {
        m_host.focusCommandDock();
        m_host.setBusyCursor(false);
        if (m_rows.isOpen())
            m_rows.setRecNo(m_recNo);
        m_rows.enableControls();
    }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    ExportHost& m_host;
    ResultSet& m_rows;
    int m_recNo;
};

} // namespace

SelectionExporter::SelectionExporter(ExportHost& host)
    : m_host(host)
    , m_clock(uptimeMilliseconds)
{
}

SaveDialogOptions SelectionExporter::dialogOptions(ExportKind kind)
{
    switch (kind) {
    case ExportKind::Xml:
        return {QStringLiteral("save your xml file as ..."), QStringLiteral("xml"),
                QStringLiteral("XML File|*xml"), 1};
    case ExportKind::Xls:
        return {QStringLiteral("save your xls file as ..."), QStringLiteral("xls"),
                QStringLiteral("XLS File|*xls"), 1};
    case ExportKind::Html:
        return {QStringLiteral("save your html file as ..."), QStringLiteral("html"),
                QStringLiteral("HTML File|*html"), 1};
    }
    return {};
}

bool SelectionExporter::ExportSelection(ExportKind kind)
{
    ResultSet& rows = m_host.resultSet();
    if (!rows.isOpen() || rows.recordCount() < 1) {
        m_host.messages().message(QString::fromLatin1(NoStationMessage));
        return false;
    }

    bool failed = false;
    QString failure;
    {
        Restore restore(m_host, rows);
        m_host.setPanelText(3, QString::fromLatin1(SavingText));
        m_host.setBusyCursor(true);
        SaveDialog& dialog = m_host.saveDialog();
        if (!dialog.run(dialogOptions(kind))) {
            m_host.setPanelText(3, QString());
            return false;
        }
        const QString path = dialog.fileName();
        const qint64 start = m_clock();
        try {
            write(kind, path);
        } catch (const StradexError& e) {
            failed = true;
            failure = e.message();
        } catch (const std::bad_alloc&) {
            failed = true;
            failure = QStringLiteral("there is not enough memory for it");
        } catch (const std::exception& e) {
            failed = true;
            failure = QString::fromLocal8Bit(e.what());
        }
        if (failed) {
            const QString shown = QDir::toNativeSeparators(path);
            m_host.setPanelText(3, QString::fromLatin1(SaveFailedPrefix) + shown);
            failure = QStringLiteral("The %1 could not be saved as \"%2\": %3.")
                          .arg(kindName(kind), shown, failure);
        } else {
            m_host.setPanelText(3, path + QString::fromLatin1(SavedSuffix));
            dialog.clearFileName();
            m_host.setPanelText(1, QString::fromLatin1(DurationFormat).arg(m_clock() - start));
        }
    }
    // Told once the cursor and the grid are back, so that the box is not shown over an
    // hourglass.
    if (failed) {
        m_host.messages().error(failure);
        return false;
    }
    return true;
}

void SelectionExporter::write(ExportKind kind, const QString& path)
{
    ResultSet& rows = m_host.resultSet();
    switch (kind) {
    case ExportKind::Xml:
        writeFileAtomically(path,
                            [&rows](QIODevice& device) { XmlPacketWriter(rows).write(device); });
        break;
    case ExportKind::Xls: {
        XlsWriter writer(rows);
        writer.setColumns(m_host.visibleGridColumns());
        writer.setFooter({QString::fromLatin1(Disclaimer)});
        writer.setAuthor(QString::fromLatin1(AuthorName));
        writer.setSheetName(QStringLiteral("Stations"));
        writeFileAtomically(path, [&writer](QIODevice& device) { writer.write(device); });
        break;
    }
    case ExportKind::Html:
        if (!m_htmlWriter)
            throw StradexError(QStringLiteral("the HTML report writer is not available"));
        m_htmlWriter(path);
        break;
    }
}
