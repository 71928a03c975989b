#include "export/xmlpacketwriter.h"

#include "data/resultset.h"
#include "export/outputbuffer.h"

#include <array>
#include <charconv>
#include <cstring>
#include <vector>

namespace {

constexpr QLatin1StringView ReplacedInAttributeNames(" !#$%()*?");

// For every byte, what an attribute value holds instead of it; empty when the byte
// stands for itself. Characters below a blank that have no entity of their own become
// numeric character references as well, so that no value changes on the way.
struct EscapeTable
{
    std::array<std::array<char, 7>, 256> text{};
    std::array<unsigned char, 256> length{};

    constexpr EscapeTable()
    {
        auto set = [this](unsigned char c, const char* s) {
            std::size_t n = 0;
            while (s[n]) {
                text[c][n] = s[n];
                ++n;
            }
            length[c] = static_cast<unsigned char>(n);
        };
        for (unsigned c = 0; c < 0x20; ++c) {
            const char ref[7] = {'&', '#', '0', char('0' + c / 10), char('0' + c % 10), ';', 0};
            set(static_cast<unsigned char>(c), ref);
        }
        set('&', "&amp;");
        set('<', "&lt;");
        set('>', "&gt;");
        set('"', "&quot;");
        set('\'', "&apos;");
        set('\\', "&#092;");
    }
};

constexpr EscapeTable Escapes;

void appendEscaped(OutputBuffer& out, const char* s, qsizetype n)
{
    // Every byte becomes at most six.
    char* p = out.reserve(n * 6);
    char* const start = p;
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const unsigned len = Escapes.length[c];
        if (len == 0) {
            *p++ = char(c);
        } else {
            std::memcpy(p, Escapes.text[c].data(), len);
            p += len;
        }
    }
    out.advance(p - start);
}

QByteArray escaped(QByteArrayView text)
{
    QByteArray out;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (Escapes.length[c])
            out.append(Escapes.text[c].data(), Escapes.length[c]);
        else
            out.append(ch);
    }
    return out;
}

void appendHex(OutputBuffer& out, QByteArrayView bytes)
{
    out.append(bytes.toByteArray().toHex());
}

struct Column
{
    QByteArray attribute; // ' ' + attrname + "=\""
    FieldType type;
};

} // namespace

QString XmlPacketWriter::attributeName(const QString& fieldName)
{
    QString name = fieldName;
    for (QChar& c : name) {
        if (ReplacedInAttributeNames.contains(c))
            c = QLatin1Char('_');
    }
    return name;
}

void XmlPacketWriter::write(QIODevice& device) const
{
    OutputBuffer out(device);
    out.append("<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<DATAPACKET Version=\"2.0\">"
               "\r\n<METADATA>\r\n<FIELDS>\r\n");
    std::vector<Column> columns;
    for (int c = 0; c < m_rows.fieldCount(); ++c) {
        const FieldDef& field = m_rows.field(c);
        const QString attr = attributeName(field.name);
        out.append("<FIELD");
        if (attr != field.name) {
            out.append(" fieldname=\"" + escaped(field.name.toUtf8()) + '"');
        }
        out.append(" attrname=\"" + escaped(attr.toUtf8()));
        switch (field.type) {
        case FieldType::Text:
            out.append("\" fieldtype=\"string.uni\" WIDTH=\"");
            out.append(QByteArray::number(field.size * 2));
            out.append("\"/>\r\n");
            break;
        case FieldType::Integer:
            out.append("\" fieldtype=\"i8\"/>\r\n");
            break;
        case FieldType::Float:
            out.append("\" fieldtype=\"r8\"/>\r\n");
            break;
        case FieldType::Blob:
            out.append("\" fieldtype=\"bin.hex\" SUBTYPE=\"Binary\"/>\r\n");
            break;
        }
        columns.push_back({' ' + escaped(attr.toUtf8()) + "=\"", field.type});
    }
    out.append("</FIELDS>\r\n<PARAMS DISABLE_EDITS=\"TRUE\" DISABLE_INSERTS=\"TRUE\" "
               "DISABLE_DELETES=\"TRUE\"/>\r\n</METADATA>\r\n<ROWDATA>\r\n");

    char number[32];
    const int fields = int(columns.size());
    for (int r = 0; r < m_rows.recordCount(); ++r) {
        out.append("<ROW");
        for (int c = 0; c < fields; ++c) {
            if (m_rows.isNull(r, c))
                continue;
            const Column& col = columns[std::size_t(c)];
            out.append(col.attribute);
            switch (col.type) {
            case FieldType::Text: {
                const QByteArrayView v = m_rows.utf8(r, c);
                appendEscaped(out, v.data(), v.size());
                break;
            }
            case FieldType::Integer: {
                const auto res =
                    std::to_chars(number, number + sizeof number, m_rows.integer(r, c));
                out.append(QByteArrayView(number, res.ptr - number));
                break;
            }
            case FieldType::Float: {
                // The shortest text that reads back as the same number.
                const auto res = std::to_chars(number, number + sizeof number, m_rows.real(r, c));
                out.append(QByteArrayView(number, res.ptr - number));
                break;
            }
            case FieldType::Blob:
                appendHex(out, m_rows.utf8(r, c));
                break;
            }
            out.append('"');
        }
        out.append("/>\r\n");
    }
    out.append("</ROWDATA>\r\n</DATAPACKET>\r\n");
    out.flush();
}
