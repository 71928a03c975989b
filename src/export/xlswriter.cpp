#include "export/xlswriter.h"

#include "data/resultset.h"
#include "export/compoundfilewriter.h"
#include "platform/stradexerror.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

namespace {

// Record identifiers.
enum : std::uint16_t
{
    Eof = 0x000A,
    Codepage = 0x0042,
    Window1 = 0x003D,
    Continue = 0x003C,
    WriteAccess = 0x005C,
    ColInfo = 0x007D,
    BoundSheet = 0x0085,
    Font = 0x0031,
    Xf = 0x00E0,
    Sst = 0x00FC,
    LabelSst = 0x00FD,
    ExtSst = 0x00FF,
    Dimensions = 0x0200,
    Number = 0x0203,
    Window2 = 0x023E,
    Style = 0x0293,
    Bof = 0x0809,
};

constexpr int MaxRecordData = 8224;
constexpr std::uint16_t CellXf = 15;
constexpr std::uint16_t CaptionXf = 16;
constexpr int WidestColumn = 255; // characters

// A growing byte block with little-endian appends.
class Bytes
{
public:
    qsizetype size() const { return m_size; }
    void reserve(qsizetype n)
    {
        if (qsizetype(m_data.size()) < n)
            m_data.resize(std::size_t(n));
    }
    char* grow(qsizetype n)
    {
        if (m_size + n > qsizetype(m_data.size()))
            m_data.resize(std::max(m_data.size() * 2, std::size_t(m_size + n)));
        char* p = m_data.data() + m_size;
        m_size += n;
        return p;
    }
    void u8(std::uint8_t v) { *grow(1) = char(v); }
    void u16(std::uint16_t v) { qToLittleEndian(v, grow(2)); }
    void u32(std::uint32_t v) { qToLittleEndian(v, grow(4)); }
    void f64(double v) { std::memcpy(grow(8), &v, 8); }
    void raw(const void* p, qsizetype n)
    {
        if (n > 0)
            std::memcpy(grow(n), p, std::size_t(n));
    }
    void record(std::uint16_t id, std::uint16_t length)
    {
        u16(id);
        u16(length);
    }
    void patch16(qsizetype at, std::uint16_t v) { qToLittleEndian(v, m_data.data() + at); }
    void patch32(qsizetype at, std::uint32_t v) { qToLittleEndian(v, m_data.data() + at); }
    QByteArrayView view() const { return QByteArrayView(m_data.data(), m_size); }

private:
    std::vector<char> m_data;
    qsizetype m_size = 0;
};

bool isAscii(QByteArrayView s)
{
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The characters a cell shows, counting a character of several UTF-8 bytes once.
int displayLength(QByteArrayView utf8)
{
    int n = 0;
    for (char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// A text in the form the workbook stores it: one byte per character when every
// character is below U+0100, otherwise UTF-16.
struct StoredText
{
    QByteArray owned; // the characters when they are not the source bytes themselves
    QByteArrayView chars;
    int length = 0; // in characters (UTF-16 units)
    bool wide = false;

    explicit StoredText(QByteArrayView utf8)
    {
        if (isAscii(utf8)) {
            chars = utf8;
            length = int(utf8.size());
            return;
        }
        const QString s = QString::fromUtf8(utf8);
        length = int(s.size());
        wide = std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() > 0xFF; });
        if (wide) {
            owned.resize(s.size() * 2);
            qToLittleEndian<std::uint16_t>(s.utf16(), s.size(), owned.data());
        } else {
            owned = s.toLatin1();
        }
        chars = owned;
    }
};

// The shared string table: every distinct text once, cells refer to it by index.
class StringTable
{
public:
    std::uint32_t add(QByteArrayView utf8)
    {
        ++m_references;
        if (m_slots.empty() || (m_strings.size() + 1) * 2 > m_slots.size())
            rehash();
        const std::size_t hash = qHash(utf8);
        std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint32_t slot = m_slots[i];
            if (slot == Empty) {
                m_slots[i] = std::uint32_t(m_strings.size());
                m_strings.push_back({utf8, hash});
                return m_slots[i];
            }
            const Entry& e = m_strings[slot];
            if (e.hash == hash && e.text == utf8)
                return slot;
        }
    }
    // For texts that do not live in the result set.
    std::uint32_t addOwned(const QString& text)
    {
        m_owned.push_back(text.toUtf8());
        return add(m_owned.back());
    }

    std::uint32_t references() const { return m_references; }
    std::size_t size() const { return m_strings.size(); }
    QByteArrayView at(std::size_t i) const { return m_strings[i].text; }

private:
    static constexpr std::uint32_t Empty = 0xFFFFFFFFu;
    struct Entry
    {
        QByteArrayView text;
        std::size_t hash;
    };
    void rehash()
    {
        std::vector<std::uint32_t> index(std::max<std::size_t>(1024, m_slots.size() * 2), Empty);
        const std::size_t mask = index.size() - 1;
        for (std::uint32_t s = 0; s < m_strings.size(); ++s) {
            std::size_t i = m_strings[s].hash & mask;
            while (index[i] != Empty)
                i = (i + 1) & mask;
            index[i] = s;
        }
        m_slots = std::move(index);
    }

    std::vector<Entry> m_strings;
    std::vector<std::uint32_t> m_slots;
    std::deque<QByteArray> m_owned;
    std::uint32_t m_references = 0;
};

// Writes the string table's SST record, continuing it in CONTINUE records wherever a
// record would grow beyond the format's limit, and the EXTSST index to it.
void writeStringTable(Bytes& out, const StringTable& table)
{
    const std::size_t count = table.size();
    const std::size_t perBucket = std::max<std::size_t>(8, (count + 127) / 128);
    struct BucketStart
    {
        std::uint32_t streamPosition;
        std::uint16_t recordOffset;
    };
    std::vector<BucketStart> buckets;

    qsizetype recordStart = 0;
    int used = 0;
    auto begin = [&](std::uint16_t id) {
        recordStart = out.size();
        out.record(id, 0);
        used = 0;
    };
    auto end = [&] { out.patch16(recordStart + 2, std::uint16_t(used)); };
    auto put = [&](const void* p, int n) {
        out.raw(p, n);
        used += n;
    };

    begin(Sst);
    const std::uint32_t counts[2] = {qToLittleEndian(table.references()),
                                     qToLittleEndian(std::uint32_t(count))};
    put(counts, 8);
    for (std::size_t i = 0; i < count; ++i) {
        const StoredText text(table.at(i));
        const int charSize = text.wide ? 2 : 1;
        // The length and flags of a string never part from its first character.
        if (MaxRecordData - used < 3 + (text.length ? charSize : 0)) {
            end();
            begin(Continue);
        }
        if (i % perBucket == 0)
            buckets.push_back({std::uint32_t(out.size()), std::uint16_t(used + 4)});
        const std::uint16_t length = qToLittleEndian(std::uint16_t(text.length));
        const std::uint8_t flags = text.wide ? 1 : 0;
        put(&length, 2);
        put(&flags, 1);
        const char* p = text.chars.data();
        int left = text.length;
        while (left > 0) {
            int fit = (MaxRecordData - used) / charSize;
            if (fit == 0) {
                // A string that goes on in the next record repeats its flags there.
                end();
                begin(Continue);
                put(&flags, 1);
                continue;
            }
            const int n = std::min(fit, left);
            put(p, n * charSize);
            p += n * charSize;
            left -= n;
        }
    }
    end();

    out.record(ExtSst, std::uint16_t(2 + 8 * buckets.size()));
    out.u16(std::uint16_t(perBucket));
    for (const BucketStart& b : buckets) {
        out.u32(b.streamPosition);
        out.u16(b.recordOffset);
        out.u16(0);
    }
}

void writeBof(Bytes& out, std::uint16_t type)
{
    out.record(Bof, 16);
    out.u16(0x0600); // BIFF8
    out.u16(type);
    out.u16(0x0DBB); // build
    out.u16(0x07CC); // year
    out.u32(0);
    out.u32(0x00000006); // lowest version that saved the file
}

void writeShortText(Bytes& out, const QString& text)
{
    // Sheet and font names: one-byte length, flags, characters.
    const QByteArray latin = text.toLatin1();
    const bool wide = QString::fromLatin1(latin) != text;
    out.u8(std::uint8_t(text.size()));
    out.u8(wide ? 1 : 0);
    if (wide) {
        for (QChar c : text)
            out.u16(c.unicode());
    } else {
        out.raw(latin.constData(), latin.size());
    }
}

void writeFont(Bytes& out, bool bold)
{
    const QString name = QStringLiteral("Arial");
    out.record(Font, std::uint16_t(16 + name.size()));
    out.u16(200);          // 10 points, in twips
    out.u16(bold ? 1 : 0); // bold (older readers look here, not at the weight)
    out.u16(0x7FFF);       // automatic colour
    out.u16(bold ? 700 : 400);
    out.u16(0); // no super- or subscript
    out.u8(0);  // not underlined
    out.u8(0);  // family
    out.u8(0);  // character set
    out.u8(0);
    writeShortText(out, name);
}

void writeXf(Bytes& out, std::uint16_t font, bool style, std::uint8_t usedAttributes)
{
    out.record(Xf, 20);
    out.u16(font);
    out.u16(0);                       // number format "General"
    out.u16(style ? 0xFFF5 : 0x0001); // locked; a style, or a cell on style 0
    out.u8(0x20);                     // aligned to the bottom
    out.u8(0);
    out.u8(0);
    out.u8(usedAttributes);
    out.u32(0); // no borders
    out.u32(0);
    out.u16(0x20C0); // no fill: window colours
}

void writeGlobalsHead(Bytes& out, const QString& author)
{
    writeBof(out, 0x0005);

    // The name of the last user, padded with blanks to its fixed size.
    out.record(WriteAccess, 112);
    const QString user = author.left(54);
    const qsizetype start = out.size();
    out.u16(std::uint16_t(user.size()));
    out.u8(1);
    for (QChar c : user)
        out.u16(c.unicode());
    while (out.size() - start < 112)
        out.u8(' ');

    out.record(Codepage, 2);
    out.u16(1200); // UTF-16

    out.record(Window1, 18);
    out.u16(0x0168);
    out.u16(0x001E);
    out.u16(0x3A5C);
    out.u16(0x23BE);
    out.u16(0x0038); // horizontal and vertical scroll bars, sheet tabs
    out.u16(0);      // first sheet active
    out.u16(0);
    out.u16(1);
    out.u16(0x0258);

    // Font index 4 does not exist in the format: the fifth font has index 5.
    for (int i = 0; i < 4; ++i)
        writeFont(out, false);
    writeFont(out, true);

    writeXf(out, 0, true, 0x00);
    for (int i = 1; i < 15; ++i)
        writeXf(out, 0, true, 0xF4);
    writeXf(out, 0, false, 0x00); // CellXf
    writeXf(out, 5, false, 0x08); // CaptionXf: its own (bold) font

    out.record(Style, 4);
    out.u16(0x8000); // built-in style of XF 0: "Normal"
    out.u8(0);
    out.u8(0xFF);
}

struct Sheet
{
    Bytes cells;
    int firstRecord = 0;
    int records = 0;
    bool footer = false;
    int rows = 0; // rows used, caption included
};

} // namespace

XlsWriter::XlsWriter(const ResultSet& rows)
    : m_rows(rows)
{
}

void XlsWriter::write(QIODevice& device) const
{
    QList<int> columns;
    if (m_columns.isEmpty()) {
        for (int c = 0; c < m_rows.fieldCount(); ++c)
            columns << c;
    } else {
        for (int c : m_columns) {
            if (c >= 0 && c < m_rows.fieldCount())
                columns << c;
        }
    }
    if (columns.size() > MaxColumns)
        throw StradexError(QStringLiteral("a sheet holds at most %1 columns, the selection has %2")
                               .arg(MaxColumns)
                               .arg(columns.size()));
    const int columnCount = int(columns.size());
    const int records = m_rows.recordCount();
    const int footerLines = int(m_footer.size());
    const int capacity = MaxRowsPerSheet - 1; // below the caption row
    if (footerLines >= capacity)
        throw StradexError(QStringLiteral("the footer is longer than a sheet"));

    // Split the records over sheets so that the last one has room for the footer.
    std::vector<Sheet> sheets;
    for (int next = 0; sheets.empty() || !sheets.back().footer;) {
        Sheet& s = sheets.emplace_back();
        s.firstRecord = next;
        s.records = std::min(capacity, records - next);
        if (next + s.records == records && s.records + footerLines > capacity)
            s.records = capacity - footerLines;
        next += s.records;
        s.footer = next == records;
        s.rows = 1 + s.records + (s.footer ? footerLines : 0);
    }

    StringTable strings;
    std::vector<int> widths(std::size_t(columnCount), 0);
    for (int i = 0; i < columnCount; ++i) {
        // The bold caption needs a little more room than its characters.
        widths[std::size_t(i)] = int(m_rows.field(columns[i]).name.size()) + 1;
    }

    auto labelCell = [](Bytes& out, int row, int col, std::uint16_t xf, std::uint32_t index) {
        char* p = out.grow(14);
        qToLittleEndian<std::uint16_t>(LabelSst, p);
        qToLittleEndian<std::uint16_t>(10, p + 2);
        qToLittleEndian<std::uint16_t>(std::uint16_t(row), p + 4);
        qToLittleEndian<std::uint16_t>(std::uint16_t(col), p + 6);
        qToLittleEndian<std::uint16_t>(xf, p + 8);
        qToLittleEndian<std::uint32_t>(index, p + 10);
    };

    char digits[32];
    for (Sheet& sheet : sheets) {
        Bytes& out = sheet.cells;
        out.reserve(qsizetype(sheet.rows) * columnCount * 16 + 1024);
        for (int i = 0; i < columnCount; ++i)
            labelCell(out, 0, i, CaptionXf, strings.addOwned(m_rows.field(columns[i]).name));
        for (int r = 0; r < sheet.records; ++r) {
            const int record = sheet.firstRecord + r;
            const int row = 1 + r;
            for (int i = 0; i < columnCount; ++i) {
                const int c = columns[i];
                if (m_rows.isNull(record, c))
                    continue;
                int& width = widths[std::size_t(i)];
                switch (m_rows.field(c).type) {
                case FieldType::Integer:
                case FieldType::Float: {
                    double v;
                    if (m_rows.field(c).type == FieldType::Integer)
                        v = double(m_rows.integer(record, c));
                    else
                        v = m_rows.real(record, c);
                    char* p = out.grow(18);
                    qToLittleEndian<std::uint16_t>(Number, p);
                    qToLittleEndian<std::uint16_t>(14, p + 2);
                    qToLittleEndian<std::uint16_t>(std::uint16_t(row), p + 4);
                    qToLittleEndian<std::uint16_t>(std::uint16_t(i), p + 6);
                    qToLittleEndian<std::uint16_t>(CellXf, p + 8);
                    std::memcpy(p + 10, &v, 8);
                    const auto res = std::to_chars(digits, digits + sizeof digits, v);
                    width = std::max(width, int(res.ptr - digits));
                    break;
                }
                case FieldType::Text:
                case FieldType::Blob: {
                    const QByteArrayView text = m_rows.utf8(record, c);
                    if (text.isEmpty())
                        break;
                    labelCell(out, row, i, CellXf, strings.add(text));
                    width = std::max(width, displayLength(text));
                    break;
                }
                }
            }
        }
        if (sheet.footer) {
            for (int f = 0; f < footerLines; ++f) {
                if (m_footer.at(f).isEmpty())
                    continue;
                labelCell(out, 1 + sheet.records + f, 0, CellXf, strings.addOwned(m_footer.at(f)));
            }
        }
    }

    // Sheet bodies: BOF, column widths, dimensions, cells, window settings, EOF.
    std::vector<Bytes> heads(sheets.size());
    std::vector<Bytes> tails(sheets.size());
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        Bytes& head = heads[s];
        writeBof(head, 0x0010);
        for (int i = 0; i < columnCount; ++i) {
            head.record(ColInfo, 12);
            head.u16(std::uint16_t(i));
            head.u16(std::uint16_t(i));
            head.u16(std::uint16_t(std::min(WidestColumn, widths[std::size_t(i)] + 2) * 256));
            head.u16(CellXf);
            head.u16(0);
            head.u16(0);
        }
        head.record(Dimensions, 14);
        head.u32(0);
        head.u32(std::uint32_t(sheets[s].rows));
        head.u16(0);
        head.u16(std::uint16_t(columnCount));
        head.u16(0);

        Bytes& tail = tails[s];
        tail.record(Window2, 18);
        // Grid lines, headers, zeros, outline symbols; the first sheet is the selected one.
        tail.u16(s == 0 ? 0x06B6 : 0x00B6);
        tail.u16(0);
        tail.u16(0);
        tail.u16(64);
        tail.u16(0);
        tail.u16(0);
        tail.u16(0);
        tail.u32(0);
        tail.record(Eof, 0);
    }

    Bytes globals;
    writeGlobalsHead(globals, m_author);
    std::vector<qsizetype> sheetOffsets;
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        const QString name = s == 0
                                 ? m_sheetName.left(31)
                                 : QStringLiteral("%1 (%2)").arg(m_sheetName.left(25)).arg(s + 1);
        const QByteArray latin = name.toLatin1();
        const bool wide = QString::fromLatin1(latin) != name;
        globals.record(BoundSheet, std::uint16_t(8 + name.size() * (wide ? 2 : 1)));
        sheetOffsets.push_back(globals.size());
        globals.u32(0); // the position of the sheet's BOF, filled in below
        globals.u8(0);  // visible
        globals.u8(0);  // worksheet
        writeShortText(globals, name);
    }
    writeStringTable(globals, strings);
    globals.record(Eof, 0);

    QList<QByteArrayView> parts;
    parts << globals.view();
    qint64 position = globals.size();
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        globals.patch32(sheetOffsets[s], std::uint32_t(position));
        parts << heads[s].view() << sheets[s].cells.view() << tails[s].view();
        position += heads[s].size() + sheets[s].cells.size() + tails[s].size();
    }
    CompoundFileWriter::write(device, QStringLiteral("Workbook"), parts);
}
