#include "stationreports.h"

#include "siteserver.h"

#include <QFile>
#include <QHttpServerRouterRule>
#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionMatch>

#include <memory>
#include <sqlite3.h>

namespace {

QString columnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text) : QString();
}

// "aadt 2008" counts the year 2008; a table of all years names no year.
QString countYear(const QString& table)
{
    static const QRegularExpression year(QStringLiteral("(19|20)\\d\\d"));
    const QRegularExpressionMatch m = year.match(table);
    return m.hasMatch() ? m.captured() : QStringLiteral("all years");
}

// The labelled figures of a station, in the order every format shows them.
QList<std::pair<QString, QString>> figures(const StationReports::Station& s)
{
    bool ok = false;
    const qlonglong aadt = s.aadt.toLongLong(&ok);
    const QString volume =
        ok ? QLocale(QLocale::English, QLocale::UnitedStates).toString(aadt) : s.aadt;
    return {
        {QStringLiteral("Station number"), s.number},
        {QStringLiteral("SRI"), s.sri},
        {QStringLiteral("Mile post"), s.milePost},
        {QStringLiteral("Street-route name"), s.streetName},
        {QStringLiteral("Location"), s.location},
        {QStringLiteral("Municipality"), s.municipality},
        {QStringLiteral("County"), s.county},
        {QStringLiteral("Latitude"), s.latitude},
        {QStringLiteral("Longitude"), s.longitude},
        {QStringLiteral("AADT"), volume},
        {QStringLiteral("Count year"), countYear(s.table)},
        {QStringLiteral("Photos"), s.imageNames.isEmpty() ? QStringLiteral("none") : s.imageNames}};
}

QString title(const StationReports::Station& s)
{
    return QStringLiteral("AADT report, station ") + s.number;
}

QByteArray htmlTable(const StationReports::Station& s)
{
    QString html = QStringLiteral(
        "<table border=\"1\" cellpadding=\"4\" style=\"border-collapse:collapse\">\r\n");
    for (const auto& [label, value] : figures(s))
        html += QStringLiteral("<tr><th align=\"left\">%1</th><td>%2</td></tr>\r\n")
                    .arg(label.toHtmlEscaped(), value.toHtmlEscaped());
    return (html + QStringLiteral("</table>\r\n")).toUtf8();
}

QByteArray htmlPage(const StationReports::Station& s)
{
    const QByteArray t = title(s).toHtmlEscaped().toUtf8();
    return QByteArrayLiteral("<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>") + t +
           QByteArrayLiteral(
               "</title>\r\n<style>body{font:13px tahoma,arial,sans-serif;margin:24px}"
               "h1{font-size:18px;color:#003366}th{background:#e8eef4}</style></head>\r\n"
               "<body><h1>") +
           t + QByteArrayLiteral("</h1>\r\n") + htmlTable(s) +
           QByteArrayLiteral(
               "<p>Annual average daily traffic counted by the agency.</p></body></html>\r\n");
}

// An HTML table, which spreadsheet programs open as a sheet.
QByteArray spreadsheet(const StationReports::Station& s)
{
    return QByteArrayLiteral("<html><head><meta charset=\"utf-8\"></head><body>\r\n") +
           htmlTable(s) + QByteArrayLiteral("</body></html>\r\n");
}

QByteArray plainText(const StationReports::Station& s)
{
    QString text = title(s) + QStringLiteral("\r\n\r\n");
    for (const auto& [label, value] : figures(s))
        text += label + QStringLiteral(": ") + value + QStringLiteral("\r\n");
    return text.toUtf8();
}

QByteArray rtfText(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}')
            out += '\\' + QByteArray(1, char(u));
        else if (u < 0x80)
            out += char(u);
        else
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
    }
    return out;
}

QByteArray richText(const StationReports::Station& s)
{
    QByteArray rtf =
        QByteArrayLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs22\r\n{\\b\\fs28 ") +
        rtfText(title(s)) + QByteArrayLiteral("}\\par\\par\r\n");
    for (const auto& [label, value] : figures(s))
        rtf += QByteArrayLiteral("{\\b ") + rtfText(label) + QByteArrayLiteral(":} ") +
               rtfText(value) + QByteArrayLiteral("\\par\r\n");
    return rtf + QByteArrayLiteral("}\r\n");
}

// Text for a PDF string in the standard Latin encoding of the base fonts.
QByteArray pdfText(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'(' || u == u')')
            out += '\\' + QByteArray(1, char(u));
        else if (u >= 0x20 && u < 0x7f)
            out += char(u);
        else
            out += '?';
    }
    return out;
}

// A one-page PDF with the figures in Helvetica.
QByteArray pdfDocument(const StationReports::Station& s)
{
    QByteArray content = QByteArrayLiteral("BT /F1 16 Tf 56 780 Td (") + pdfText(title(s)) +
                         QByteArrayLiteral(") Tj ET\n");
    int y = 740;
    for (const auto& [label, value] : figures(s)) {
        content += "BT /F1 11 Tf 56 " + QByteArray::number(y) + " Td (" +
                   pdfText(label + QStringLiteral(": ") + value) + ") Tj ET\n";
        y -= 18;
    }
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 0 R >> "
        ">> "
        "/Contents 5 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content +
            "endstream",
    };
    QByteArray pdf = QByteArrayLiteral("%PDF-1.4\n");
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// Matches "/zarnweb/Report/<name>" only for the report names it knows, so that the
// other documents of the folder (the manual, the update file, the map script) keep
// their own routes whatever the order of registration.
class ReportRule final : public QHttpServerRouterRule
{
public:
    ReportRule(const QString& pattern, std::shared_ptr<const StationReports> reports,
               RouterHandler handler)
        : QHttpServerRouterRule(pattern, std::move(handler))
        , m_reports(std::move(reports))
    {
    }

protected:
    bool matches(const QHttpServerRequest& request, QRegularExpressionMatch* match) const override
    {
        return QHttpServerRouterRule::matches(request, match) &&
               m_reports->knows(match->captured(1));
    }

private:
    std::shared_ptr<const StationReports> m_reports;
};

} // namespace

StationReports::StationReports(const QString& databasePath)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(databasePath).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    QStringList tables;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name",
                           -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW)
            tables << columnText(stmt, 0);
    }
    sqlite3_finalize(stmt);
    // A count year's table names the year of the report; "all data" adds nothing new.
    for (const QString& table : tables) {
        const QString sql =
            QStringLiteral("SELECT REPORT, SI_STATION_NUM, SI_SRI, SI_MP, SI_STREET_NAME, "
                           "SI_LOCATION, SI_LAT, SI_LON, AADT, municipality_descr, "
                           "county_descr, IMAGENAMES FROM \"%1\"")
                .arg(QString(table).replace(QLatin1Char('"'), QLatin1String("\"\"")));
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt);
            continue; // not a station table
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const QString report = columnText(stmt, 0);
            if (report.isEmpty() || m_stations.contains(report))
                continue;
            m_stations.insert(report,
                              {table, columnText(stmt, 1), columnText(stmt, 2), columnText(stmt, 3),
                               columnText(stmt, 4), columnText(stmt, 5), columnText(stmt, 6),
                               columnText(stmt, 7), columnText(stmt, 8), columnText(stmt, 9),
                               columnText(stmt, 10), columnText(stmt, 11)});
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
}

QByteArray StationReports::document(const QString& reportName, QByteArray* contentType) const
{
    const auto it = m_stations.constFind(reportName);
    if (it == m_stations.constEnd())
        return {};
    const QString extension = reportName.section(QLatin1Char('.'), -1).toLower();
    QByteArray type;
    QByteArray body;
    if (extension == QLatin1String("pdf")) {
        type = "application/pdf";
        body = pdfDocument(*it);
    } else if (extension == QLatin1String("rtf")) {
        type = "application/rtf";
        body = richText(*it);
    } else if (extension == QLatin1String("txt")) {
        type = "text/plain; charset=utf-8";
        body = plainText(*it);
    } else if (extension == QLatin1String("xls")) {
        type = "application/vnd.ms-excel";
        body = spreadsheet(*it);
    } else {
        type = "text/html; charset=utf-8";
        body = htmlPage(*it);
    }
    if (contentType)
        *contentType = type;
    return body;
}

void StationReports::add(SiteServer& server)
{
    auto reports = std::make_shared<const StationReports>(server.options().databasePath);
    server.http().route<ReportRule>(QLatin1String(Folder) + QStringLiteral("<arg>"), reports,
                                    [reports](const QString& name) {
                                        QByteArray type;
                                        const QByteArray body = reports->document(name, &type);
                                        return QHttpServerResponse(type, body);
                                    });
}
