#include "export/htmlreportwriter.h"

#include "data/cursor.h"
#include "export/outputbuffer.h"
#include "export/reportassets.h"
#include "photos/imagenames.h"
#include "platform/stradexerror.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <sqlite3.h>
#include <vector>

namespace {

// Text for element content and double-quoted attribute values.
struct Html
{
    QByteArrayView text;
};
// Text for element content and double-quoted attribute values of the feed.
struct Xml
{
    QByteArrayView text;
};
// A value inside the query of an address in a double-quoted attribute: the characters
// that would end or split the value are percent-encoded, then the text is escaped.
struct QueryValue
{
    QByteArrayView text;
};
// An address written as an attribute value without quotes.
struct UnquotedAddress
{
    QByteArrayView text;
};

// The report or feed lines, written to a device in blocks; every line ends in CR LF.
// A line's pieces are written in one go: room for the most they can take is made once,
// then each piece is copied, escaped or encoded into it.
class Lines final
{
public:
    Lines(QIODevice& device, const QString& name)
        : m_out(device, name)
    {
    }

    // The pieces, then the line end.
    template <typename... Pieces> void line(const Pieces&... pieces)
    {
        char* const start = m_out.reserve((most(pieces) + ... + 2));
        char* p = start;
        ((p = put(p, pieces)), ...);
        *p++ = '\r';
        *p++ = '\n';
        m_out.advance(p - start);
    }

    // One piece of a line that end() finishes.
    template <typename Piece> Lines& operator<<(const Piece& piece)
    {
        char* const start = m_out.reserve(most(piece));
        m_out.advance(put(start, piece) - start);
        return *this;
    }
    Lines& operator<<(const QString& text) { return *this << Html{text.toUtf8()}; }

    void end() { line(); }

    void flush() { m_out.flush(); }

private:
    // The most bytes a piece can take: an escaped or encoded character takes at most six.
    template <std::size_t N> static qsizetype most(const char (&)[N]) { return qsizetype(N - 1); }
    static qsizetype most(QByteArrayView text) { return text.size(); }
    static qsizetype most(Html v) { return 6 * v.text.size(); }
    static qsizetype most(Xml v) { return 6 * v.text.size(); }
    static qsizetype most(QueryValue v) { return 6 * v.text.size(); }
    static qsizetype most(UnquotedAddress v) { return 6 * v.text.size(); }

    // Each writes its piece at p and returns where the next one goes.
    template <std::size_t N> static char* put(char* p, const char (&text)[N])
    {
        std::memcpy(p, text, N - 1);
        return p + (N - 1);
    }
    static char* put(char* p, QByteArrayView text)
    {
        if (!text.isEmpty())
            std::memcpy(p, text.data(), std::size_t(text.size()));
        return p + text.size();
    }
    static char* put(char* p, Html v) { return escape(p, v.text); }
    static char* put(char* p, Xml v) { return escape(p, v.text); }
    static char* put(char* p, QueryValue v)
    {
        return encode(p, v.text, [](char c) { return c == '%' || c == '&' || c == '#'; });
    }
    static char* put(char* p, UnquotedAddress v)
    {
        return encode(p, v.text, [](char c) {
            return static_cast<unsigned char>(c) <= 32 || c == '"' || c == '\'' || c == '<' ||
                   c == '>' || c == '=' || c == '`';
        });
    }

    static bool special(char c)
    {
        static constexpr auto table = [] {
            std::array<bool, 256> t{};
            t['&'] = t['<'] = t['>'] = t['"'] = true;
            return t;
        }();
        return table[static_cast<unsigned char>(c)];
    }

    static QByteArrayView entity(char c)
    {
        switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        default:
            return "&quot;";
        }
    }

    // Whether any of the eight bytes of v is one of the four escaped characters.
    static bool anySpecial(std::uint64_t v)
    {
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        constexpr std::uint64_t highs = 0x8080808080808080ULL;
        const auto zeroByte = [](std::uint64_t x) { return (x - ones) & ~x & highs; };
        return (zeroByte(v ^ (ones * '&')) | zeroByte(v ^ (ones * '<')) |
                zeroByte(v ^ (ones * '>')) | zeroByte(v ^ (ones * '"'))) != 0;
    }

    // The same four characters are escaped for HTML and for XML; runs of other
    // characters are copied at once. Long runs are passed over eight bytes at a time.
    static char* escape(char* out, QByteArrayView text)
    {
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end) {
            const char* run = p;
            for (std::uint64_t word; end - p >= 8; p += 8) {
                std::memcpy(&word, p, 8);
                if (anySpecial(word))
                    break;
            }
            while (p < end && !special(*p))
                ++p;
            out = put(out, QByteArrayView(run, p - run));
            if (p < end)
                out = put(out, entity(*p++));
        }
        return out;
    }

    // Percent-encodes the characters that encoded() picks, and escapes the rest.
    template <typename Pick> static char* encode(char* out, QByteArrayView text, Pick encoded)
    {
        static constexpr char hex[] = "0123456789ABCDEF";
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end) {
            const char* run = p;
            while (p < end && !encoded(*p))
                ++p;
            out = escape(out, QByteArrayView(run, p - run));
            if (p < end) {
                const auto u = static_cast<unsigned char>(*p++);
                *out++ = '%';
                *out++ = hex[u >> 4];
                *out++ = hex[u & 15];
            }
        }
        return out;
    }

    OutputBuffer m_out;
};

// A value as Lines writes it, for the values that every row repeats.
template <typename Value> QByteArray rendered(Value value)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Lines lines(buffer, QString());
    lines << value;
    lines.flush();
    return bytes;
}

// The text of a field of the query's current row, as the grid shows it: NULL as the
// empty text, an integer in decimal, a floating-point value in its general form with at
// most 15 significant digits, a text as stored. Numbers are written into scratch (32
// bytes); texts point into the query's row, valid until the next step.
QByteArrayView fieldText(const Cursor& query, int i, char* scratch)
{
    sqlite3_stmt* stmt = query.statement();
    if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
        return {};
    switch (query.fieldType(i)) {
    case FieldType::Integer: {
        const auto r = std::to_chars(scratch, scratch + 32, sqlite3_column_int64(stmt, i));
        return {scratch, r.ptr - scratch};
    }
    case FieldType::Float: {
        const auto r = std::to_chars(scratch, scratch + 32, sqlite3_column_double(stmt, i),
                                     std::chars_format::general, 15);
        return {scratch, r.ptr - scratch};
    }
    case FieldType::Text:
    case FieldType::Blob:
        break;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    return {text, sqlite3_column_bytes(stmt, i)};
}

int requiredField(const Cursor& query, const char* name)
{
    const int i = query.fieldIndex(QLatin1String(name));
    if (i < 0)
        throw StradexError(QStringLiteral("Field '%1' not found").arg(QLatin1String(name)));
    return i;
}

[[noreturn]] void fileFailed(const QSaveFile& file)
{
    throw StradexError(QStringLiteral("Can't create the file %1: %2")
                           .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
}

void openFile(QSaveFile& file)
{
    // A file that its owner marked read-only is kept, although the folder would let a
    // new file take its place.
    const QFileInfo target(file.fileName());
    if (target.exists() && !(target.permissions() & QFileDevice::WriteOwner)) {
        throw StradexError(QStringLiteral("Can't create the file %1: the file is read-only")
                               .arg(QDir::toNativeSeparators(file.fileName())));
    }
    // Unbuffered: the lines come in large blocks, and a short write fails at once.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fileFailed(file);
}

void commitFile(QSaveFile& file)
{
    if (!file.commit())
        fileFailed(file);
}

} // namespace

HtmlReportWriter::HtmlReportWriter(const Config& config)
    : m_config(config)
    , m_creationText(creationText(QDateTime::currentDateTime()))
{
}

HtmlReportWriter HtmlReportWriter::forProgram(const Config& config, const QString& tableText,
                                              int recordCount)
{
    HtmlReportWriter writer(config);
    writer.setProgramFolder(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    writer.setTableText(tableText);
    writer.setRecordCount(recordCount);
    writer.setCreationText(creationText(QDateTime::currentDateTime(), QLocale::system()));
    return writer;
}

QString HtmlReportWriter::creationText(const QDateTime& at, const QLocale& locale)
{
    // The long time format ends in the time zone, which the report leaves out.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    return locale.toString(at.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(at.time(), timeFormat.trimmed());
}

QString HtmlReportWriter::feedName(const QString& path)
{
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString file = path.mid(slash + 1);
    QString name = file;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    name += QStringLiteral(".rss");
    // A report named like its feed would be replaced by it.
    return name == file ? file + QStringLiteral(".rss") : name;
}

QString HtmlReportWriter::ReplaceAll(const QString& source, const QString& searched,
                                     const QString& replacement)
{
    if (searched.isEmpty())
        return source;
    QString result = source;
    if (replacement.contains(searched))
        return result.replace(searched, replacement);
    // A new occurrence can only begin within the searched text's length before the
    // replacement's end, so the search resumes there instead of at the beginning.
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = result.indexOf(searched, from);
        if (at < 0)
            return result;
        result.replace(at, searched.size(), replacement);
        from = std::max<qsizetype>(0, at - searched.size() + 1);
    }
}

HtmlReportWriter::Pages HtmlReportWriter::compose(const QString& feedName, Cursor& query) const
{
    Pages pages;
    QBuffer report(&pages.report);
    QBuffer feed(&pages.feed);
    report.open(QIODevice::WriteOnly);
    feed.open(QIODevice::WriteOnly);
    write(feedName, query, report, feed);
    return pages;
}

void HtmlReportWriter::write(const QString& feed, Cursor& query, QIODevice& reportDevice,
                             QIODevice& feedDevice) const
{
    const ReportAssets assets(m_config, m_assetRoot);
    const QString head = assets.headTemplate();

    const QString programFolder = m_programFolder;
    QString programUrlFolder = ReplaceAll(programFolder, QStringLiteral("\\"), QStringLiteral("/"));
    // A folder of this system already starts with the root slash of file:///.
    if (programUrlFolder.startsWith(QLatin1Char('/')))
        programUrlFolder.remove(0, 1);
    const QByteArray photoServer = rendered(Html{m_config.photoServer.toUtf8()});

    query.open();
    const int fields = query.fieldCount();
    if (fields < 3)
        throw StradexError(QStringLiteral("The station query has too few fields for a report"));
    const int latitude = requiredField(query, "latitude");
    const int longitude = requiredField(query, "longitude");
    const int aadt = requiredField(query, "aadt");
    const int milePost = requiredField(query, "mile post");
    const int stationNumber = requiredField(query, "station number");
    const int sri = requiredField(query, "sri");
    const int images = requiredField(query, "images");

    enum class Cell
    {
        Plain,
        Skip,
        Report,
        Station
    };
    std::vector<Cell> cells(std::size_t(fields), Cell::Plain);
    for (int i = 0; i < fields; ++i) {
        const QString& name = query.fieldName(i);
        if (name == QLatin1String("Images"))
            cells[std::size_t(i)] = Cell::Skip;
        else if (name == QLatin1String("AADT Report"))
            cells[std::size_t(i)] = Cell::Report;
        else if (name == QLatin1String("Station Number"))
            cells[std::size_t(i)] = Cell::Station;
    }

    Lines report(reportDevice, QStringLiteral("the report"));
    Lines rss(feedDevice, QStringLiteral("the feed"));

    rss.line(R"(<?xml version="1.0" encoding="utf-8" standalone="yes"?>)");
    rss.line(
        R"(<rss version="2.0" xmlns:media="http://search.yahoo.com/mrss" xmlns:atom="http://www.w3.org/2005/Atom">)");
    rss.line("<channel>");
    rss << "<atom:icon>" << Xml{m_config.headerImageUrl.toUtf8()} << "</atom:icon>";
    rss.end();

    // The template's lines, its last (empty) one included.
    for (const QString& line : head.split(QRegularExpression(QStringLiteral("\r\n|\n"))))
        report.line(line.toUtf8());

    report << R"(<link id="gallery" rel="alternate" href=")" << feed
           << R"(" type="application/rss+xml">)";
    report.end();
    report.line("</head>");
    report.line(R"~(<body onunload="GUnload()">)~");
    report.line(R"(<div id="main">)");
    report.line(
        R"(<table align="center" BORDERCOLOR="#0099FF" bgcolor="#F5F5F5"  RULES=NONE FRAME=BOX cellpadding="2" cellspacing="0" border="3" width="900px">)");
    report << R"(<tr><td align="center" bgcolor="#0099FF"><h3>Korva Traffic Monitoring Stations ()"
           << m_tableText << ")</h3></td></tr>";
    report.end();
    report << R"(<tr><td>Total stations identified: <b><span id="count"></span>)"
           << QByteArray::number(m_recordCount) << "</b>.</td></tr>";
    report.end();
    report << "<tr><td>This report was created at: <b>" << m_creationText
           << "</b> by Korva Stradex application, running from " << programFolder << ".</td></tr>";
    report.end();
    report.line(
        R"(<tr><td><a href="javascript:PicLensLite.start();">View the station photos and sketches <img src="PicLensButton.png" border ="0">)");
    report
        << R"(</a><font color="#C0C0C0" >  Piclens plugin is needed for this slide show. Download it <a href=")"
        << m_config.slideShowPluginPage
        << R"(" target=_blank>here</a> if you do not have it installed already. </font></td></tr>)";
    report.end();
    report.line(
        "<tr><td>Live Internet connection is required to view maps and station images.</td></tr>");
    report.line(
        R"(<tr><td><font color="#C0C0C0">Disclaimer: All data in this report are provided as is and for information only. Please view the Help File of Korva Stradex for metadata. )");
    report
        << m_config.reportNotice
        << R"( <a id="sh" style="color:#ff0000;background-color:#ffff00; cursor:pointer"> [show/hide filters]</a> </font></td></tr>)";
    report.end();
    report.line("</table>");
    report.line(
        R"(<table id="details_table" align="center" BORDERCOLOR="#0099FF" RULES=NONE FRAME=BOX cellpadding="5" cellspacing="0" border="3" width="900px" class="tablesorter">)");
    for (const char* line : {"<thead>", "<tr>", "</tr>", "</thead>", "<thead>", "<tr>"})
        report.line(line);
    for (int i = 0; i < fields; ++i) {
        if (cells[std::size_t(i)] != Cell::Skip) {
            report << "<th>" << query.fieldName(i) << "</th>";
            report.end();
        }
    }
    for (const char* line :
         {"<th>Map</th>", "<th>Site Photos</th>", "</tr>", "</thead>", "<tbody>"})
        report.line(line);

    const QByteArray reportBase =
        rendered(UnquotedAddress{m_config.reportServer.toUtf8() + "/zarnweb/Report/"});
    const QByteArray mapSearch = rendered(Html{m_config.mapSearchPage.toUtf8() + "?q="});
    std::vector<char> scratch(std::size_t(fields) * 32);
    std::vector<QByteArrayView> text(static_cast<std::size_t>(fields));
    for (; !query.eof(); query.next()) {
        for (int i = 0; i < fields; ++i)
            text[std::size_t(i)] = fieldText(query, i, scratch.data() + i * 32);
        const QByteArrayView lat = text[std::size_t(latitude)];
        const QByteArrayView lon = text[std::size_t(longitude)];

        report.line("<tr>");
        for (int i = 0; i < fields; ++i) {
            const QByteArrayView value = text[std::size_t(i)];
            switch (cells[std::size_t(i)]) {
            case Cell::Skip:
                continue;
            case Cell::Report:
                report.line(
                    R"(<td align="center"><a href=)", reportBase, UnquotedAddress{value},
                    R"( target=_blank><img src="icons/small/kword.png" border="0"></a></td>)");
                break;
            case Cell::Station:
                report.line(R"(<td><a target=_blank href=")", mapSearch, QueryValue{lat}, ",",
                            QueryValue{lon}, R"(">)", Html{value}, "</a></td>");
                break;
            case Cell::Plain:
                report.line("<td>", Html{value}, "</td>");
                break;
            }
        }

        report.line(R"(<td align="left">)");
        report.line(R"(<a href="icons/small/loc.html?latitude=)", QueryValue{lat},
                    "&longitude=", QueryValue{lon}, "&aadt=", QueryValue{text[std::size_t(aadt)]});
        report.line("&mp=", QueryValue{text[std::size_t(milePost)]});
        report.line("&station=", QueryValue{text[std::size_t(stationNumber)]});
        report.line("&sri=", QueryValue{text[std::size_t(sri)]});
        report.line(R"(" rel="lyteframe" title="Station Name:)");
        report.line(
            Html{text[0]},
            R"(. Location may not be exact." rev="width: 580px; height: 480px; scrolling: no;">)");
        report.line(R"(<img src="icons/small/map1.png" border="0"></a>)");
        report.line("</td>");

        const QByteArrayView imagesText = text[std::size_t(images)];
        const QList<QByteArray> photos = ImageNames::split(imagesText);
        const QByteArrayView station = text[0];
        if (!photos.isEmpty()) {
            // The feed's description reads "and" for every "&" of the location.
            QByteArray description;
            description.append("Located at: ").append(text[1]).append(", ").append(text[2]);
            if (description.contains('&'))
                description.replace('&', "and");
            const QByteArrayView number = text[std::size_t(stationNumber)];
            for (const QByteArray& name : photos) {
                rss.line("<item>");
                rss.line("<title>Station Number: ", Xml{number}, "</title>");
                rss.line("<description>", Xml{description}, "</description>");
                rss.line("<link>", photoServer, Xml{name}, ".jpg</link>");
                rss.line(R"(<media:thumbnail url=")", photoServer, Xml{name}, R"(-tb.jpg"/>)");
                rss.line(R"(<media:content url=")", photoServer, Xml{name}, R"(.jpg"/>)");
                rss.line("</item>");
            }
        }

        // A photo's link, between what goes before it and what ends its line.
        auto photoLine = [&](QByteArrayView before, QByteArrayView photo, QByteArrayView after) {
            report.line(before, R"(<a href=")", photoServer, Html{photo}, R"(.jpg" rel="lytebox[)",
                        Html{station}, R"(]" title="Station Number: )", Html{station}, R"(">)",
                        after);
        };
        if (photos.isEmpty()) {
            report.line(
                R"(<td align="left"><img src="icons/small/gray_image.png" border="0"></td>)");
        } else if (photos.size() == 1) {
            photoLine(R"(<td align="left">)", photos.first(),
                      R"(<img src="icons/small/image.png" border="0"></a></td>)");
        } else {
            report.line(R"(<td align="left">)");
            photoLine({}, photos.first(), R"(<img src="icons/small/image.png" border="0"></a>)");
            for (qsizetype p = 1; p < photos.size(); ++p)
                photoLine({}, photos.at(p), "</a>");
            report.line("</td>");
        }
        report.line("</tr>");
    }
    // The walk is over; the next query run would close the query anyway.
    query.close();

    const QString mapIcon =
        QStringLiteral("file:///") + programUrlFolder + QStringLiteral("icons/small/map1.png");
    for (const char* line :
         {"</tbody>", "</table>", R"(<script language="JavaScript">)",
          R"(tigra_tables("details_table", 1, 0, "#FFFFFF", "#F5F5F5", "#66CCFF", "#0099FF");)",
          "</script>", "<div>", "</div>", "</div>", R"(<font color="#ffffff">)"})
        report.line(line);
    report << "<img width=0 height=0 src=\"" << mapIcon << "\" >";
    report.end();
    report.line("<script>");
    report.line("document.write(new Date())");
    // The address goes into a script string: quotes and backslashes escaped for it.
    QString scriptIcon = mapIcon;
    scriptIcon.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""));
    scriptIcon.replace(QLatin1Char('<'), QLatin1String("\\x3c"));
    report << "stradex_image.src = \"" << QByteArrayView(scriptIcon.toUtf8()) << "\"";
    report.end();
    for (const char* line : {"</script>", "</font>", "</body>", "</html>"})
        report.line(line);

    rss.line("</channel>");
    rss.line("</rss>");
    report.flush();
    rss.flush();
}

void HtmlReportWriter::WriteHtmlReport(const QString& path, Cursor& stationQuery) const
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath() + QLatin1Char('/');
    const QString feed = feedName(path);

    const ReportAssets assets(m_config, m_assetRoot);
    assets.WriteReportAssets(folder);

    // Both files are written beside their final names and replace them only when the
    // whole walk succeeded.
    QSaveFile report(info.absoluteFilePath());
    QSaveFile rss(folder + feed);
    openFile(report);
    openFile(rss);
    write(feed, stationQuery, report, rss);
    commitFile(report);
    commitFile(rss);
}
