#include "export/xlswriter.h"

#include "data/resultset.h"
#include "export/compoundfilewriter.h"
#include "export/outputbuffer.h"
#include "platform/stradexerror.h"

#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <sys/mman.h>
#include <utility>
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

// Zeroed memory for the writer's large tables. Large blocks come straight from the
// system, zeroed only as they are touched, and in huge pages where the system offers
// them: the string index is probed at random, and with 4 KiB pages nearly every probe
// of a large selection would cost a TLB miss, and every page a fault.
class ZeroedBlock
{
public:
    static constexpr std::size_t HugePage = std::size_t(2) << 20;

    ZeroedBlock() = default;
    explicit ZeroedBlock(std::size_t bytes)
    {
        if (bytes >= HugePage) {
            m_mapped = bytes + HugePage; // room to start on a huge-page boundary
            m_base =
                mmap(nullptr, m_mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (m_base == MAP_FAILED)
                throw std::bad_alloc();
            const auto start = (reinterpret_cast<std::uintptr_t>(m_base) + HugePage - 1) &
                               ~std::uintptr_t(HugePage - 1);
            m_data = reinterpret_cast<void*>(start);
            madvise(m_data, bytes, MADV_HUGEPAGE); // a hint: without it, plain pages
        } else {
            m_base = m_data = std::calloc(std::max<std::size_t>(bytes, 1), 1);
            if (!m_data)
                throw std::bad_alloc();
        }
    }
    ~ZeroedBlock() { release(); }
    ZeroedBlock(ZeroedBlock&& other) noexcept { *this = std::move(other); }
    ZeroedBlock& operator=(ZeroedBlock&& other) noexcept
    {
        if (this != &other) {
            release();
            m_base = std::exchange(other.m_base, nullptr);
            m_data = std::exchange(other.m_data, nullptr);
            m_mapped = std::exchange(other.m_mapped, 0);
        }
        return *this;
    }

    template <typename T> T* as() const { return static_cast<T*>(m_data); }

private:
    void release()
    {
        if (m_mapped)
            munmap(m_base, m_mapped);
        else
            std::free(m_base);
        m_base = m_data = nullptr;
        m_mapped = 0;
    }

    void* m_base = nullptr;
    void* m_data = nullptr;
    std::size_t m_mapped = 0;
};

// A growing byte block with little-endian appends.
class Bytes
{
public:
    qsizetype size() const { return m_size; }
    void reserve(qsizetype n)
    {
        if (n > m_capacity)
            reallocate(n);
    }
    char* grow(qsizetype n)
    {
        if (m_size + n > m_capacity)
            reallocate(std::max(m_capacity * 2, m_size + n));
        char* p = m_data.as<char>() + m_size;
        m_size += n;
        return p;
    }
    void u8(std::uint8_t v) { *grow(1) = char(v); }
    void u16(std::uint16_t v) { qToLittleEndian(v, grow(2)); }
    void u32(std::uint32_t v) { qToLittleEndian(v, grow(4)); }
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
    void patch16(qsizetype at, std::uint16_t v) { qToLittleEndian(v, m_data.as<char>() + at); }
    void patch32(qsizetype at, std::uint32_t v) { qToLittleEndian(v, m_data.as<char>() + at); }
    QByteArrayView view() const { return QByteArrayView(m_data.as<char>(), m_size); }

private:
    void reallocate(qsizetype capacity)
    {
        ZeroedBlock data{std::size_t(capacity)};
        if (m_size > 0)
            std::memcpy(data.as<char>(), m_data.as<char>(), std::size_t(m_size));
        m_data = std::move(data);
        m_capacity = capacity;
    }

    ZeroedBlock m_data;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
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

// Whether two texts of the same length are equal; short texts are compared in words
// here rather than in a library call.
bool sameBytes(const char* a, const char* b, std::size_t n)
{
    for (; n >= 8; a += 8, b += 8, n -= 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        if (x != y)
            return false;
    }
    for (; n > 0; ++a, ++b, --n) {
        if (*a != *b)
            return false;
    }
    return true;
}

int decimalDigits(std::uint64_t v)
{
    int n = 1;
    for (; v >= 10; v /= 10)
        ++n;
    return n;
}

// About the characters a number cell shows: the length of the shortest text that
// reads back as the number. Numbers of at most six decimals between a thousandth and a
// billion, which is what station data hold, are measured without formatting them: no
// other text of at most six decimals reads back as the same number, as numbers of that
// size lie closer together than a millionth.
int numberWidth(double v)
{
    const double magnitude = std::fabs(v);
    if (magnitude >= 1e-3 && magnitude < 1e9) {
        const double scaled = magnitude * 1e6;
        const auto units = static_cast<std::uint64_t>(scaled);
        if (double(units) == scaled && double(units) / 1e6 == magnitude) {
            std::uint64_t fraction = units % 1000000;
            int decimals = 6;
            for (; decimals > 0 && fraction % 10 == 0; --decimals)
                fraction /= 10;
            return int(v < 0) + decimalDigits(units / 1000000) + (decimals ? 1 + decimals : 0);
        }
    }
    char digits[32];
    const auto res = std::to_chars(digits, digits + sizeof digits, v);
    return int(res.ptr - digits);
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

// A fast hash of a short byte string, for the string table's probing.
std::uint32_t hashBytes(const char* p, std::size_t n)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    if (n > 0) {
        std::uint64_t w = 0;
        std::memcpy(&w, p, n);
        h = (h ^ w) * 0x94D049BB133111EBull;
    }
    h ^= h >> 29;
    h *= 0x9E3779B97F4A7C15ull;
    return std::uint32_t(h >> 32);
}

// The shared string table: every distinct text once, cells refer to it by index. It
// keeps views of the texts, which must outlive it. The slots of its open-addressing
// index hold each text's hash beside its number, so that a probe touches the texts only
// when the hashes agree.
class StringTable
{
public:
    // Room for at most `capacity` distinct texts. The index grows with the texts
    // actually added: made for all of them at once, it would mostly be empty.
    explicit StringTable(std::size_t capacity)
        : m_strings(capacity * sizeof(Entry))
        , m_capacity(capacity)
    {
        rehash(4096);
    }

    static std::uint32_t hash(QByteArrayView utf8)
    {
        return hashBytes(utf8.data(), std::size_t(utf8.size()));
    }
    // Starts loading the slot where a text of this hash is looked for first.
    void prefetch(std::uint32_t hash) const
    {
        __builtin_prefetch(m_slots.as<std::uint64_t>() + (hash & (m_slotCount - 1)));
    }

    std::uint32_t add(QByteArrayView utf8) { return add(utf8, hash(utf8)); }
    // One more cell refers to the text of this index.
    std::uint32_t addAgain(std::uint32_t index)
    {
        ++m_references;
        return index;
    }
    std::uint32_t add(QByteArrayView utf8, std::uint32_t hash)
    {
        ++m_references;
        if ((m_size + 1) * 2 > m_slotCount)
            rehash(m_slotCount * 2);
        const char* p = utf8.data();
        const std::uint32_t n = std::uint32_t(utf8.size());
        const std::size_t mask = m_slotCount - 1;
        std::uint64_t* table = m_slots.as<std::uint64_t>();
        Entry* entries = m_strings.as<Entry>();
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = table[i];
            if (slot == Empty) {
                if (m_size == m_capacity)
                    throw std::length_error("string table full");
                const std::uint32_t index = std::uint32_t(m_size++);
                table[i] = (std::uint64_t(hash) << 32) | (index + 1);
                entries[index] = {p, n};
                return index;
            }
            if (std::uint32_t(slot >> 32) == hash) {
                const std::uint32_t index = std::uint32_t(slot) - 1;
                const Entry& e = entries[index];
                if (e.length == n && sameBytes(e.text, p, n))
                    return index;
            }
        }
    }

    // Cells that refer to a text, and distinct texts.
    std::uint32_t references() const { return m_references; }
    std::size_t size() const { return m_size; }
    QByteArrayView at(std::size_t i) const
    {
        const Entry& e = m_strings.as<Entry>()[i];
        return QByteArrayView(e.text, e.length);
    }

private:
    // A slot holds a text's hash and its index + 1; an empty slot is zero, so that a new
    // index comes from the system already cleared rather than filled here.
    static constexpr std::uint64_t Empty = 0;
    struct Entry
    {
        const char* text;
        std::uint32_t length;
    };
    void rehash(std::size_t size)
    {
        ZeroedBlock block(size * sizeof(std::uint64_t));
        std::uint64_t* table = block.as<std::uint64_t>();
        const std::uint64_t* old = m_slots.as<std::uint64_t>();
        const std::size_t mask = size - 1;
        for (std::size_t s = 0; s < m_slotCount; ++s) {
            const std::uint64_t slot = old[s];
            if (slot == Empty)
                continue;
            std::size_t i = (slot >> 32) & mask;
            while (table[i] != Empty)
                i = (i + 1) & mask;
            table[i] = slot;
        }
        m_slots = std::move(block);
        m_slotCount = size;
    }

    ZeroedBlock m_strings; // Entry[m_capacity], the first m_size in use
    std::size_t m_capacity;
    std::size_t m_size = 0;
    ZeroedBlock m_slots;
    std::size_t m_slotCount = 0;
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
    qsizetype textBytes = 0;
    for (std::size_t i = 0; i < count; ++i)
        textBytes += 3 + table.at(i).size() * 2;
    // The largest the table can come out, with a record head for every record's worth.
    out.reserve(out.size() + 8 + textBytes + (textBytes / (MaxRecordData - 4) + 2) * 5 + 2 +
                8 * qsizetype(count / perBucket + 1) + 16);

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
    int firstRecord = 0;
    int records = 0;
    bool footer = false;
    int rows = 0; // rows used, caption included
    qint64 cellBytes = 0;
    Bytes head; // BOF, column widths, dimensions
    Bytes tail; // window settings, EOF
};

constexpr int LabelBytes = 14;  // LABELSST, header included
constexpr int NumberBytes = 18; // NUMBER, header included

char* putLabel(char* p, int row, int col, std::uint16_t xf, std::uint32_t index)
{
    qToLittleEndian<std::uint16_t>(LabelSst, p);
    qToLittleEndian<std::uint16_t>(LabelBytes - 4, p + 2);
    qToLittleEndian<std::uint16_t>(std::uint16_t(row), p + 4);
    qToLittleEndian<std::uint16_t>(std::uint16_t(col), p + 6);
    qToLittleEndian<std::uint16_t>(xf, p + 8);
    qToLittleEndian<std::uint32_t>(index, p + 10);
    return p + LabelBytes;
}

char* putNumber(char* p, int row, int col, double value)
{
    qToLittleEndian<std::uint16_t>(Number, p);
    qToLittleEndian<std::uint16_t>(NumberBytes - 4, p + 2);
    qToLittleEndian<std::uint16_t>(std::uint16_t(row), p + 4);
    qToLittleEndian<std::uint16_t>(std::uint16_t(col), p + 6);
    qToLittleEndian<std::uint16_t>(CellXf, p + 8);
    std::memcpy(p + 10, &value, 8);
    return p + NumberBytes;
}

void writeSheetHead(Bytes& head, const Sheet& sheet, const std::vector<int>& widths)
{
    writeBof(head, 0x0010);
    for (std::size_t i = 0; i < widths.size(); ++i) {
        head.record(ColInfo, 12);
        head.u16(std::uint16_t(i));
        head.u16(std::uint16_t(i));
        head.u16(std::uint16_t(std::min(WidestColumn, widths[i] + 2) * 256));
        head.u16(CellXf);
        head.u16(0);
        head.u16(0);
    }
    head.record(Dimensions, 14);
    head.u32(0);
    head.u32(std::uint32_t(sheet.rows));
    head.u16(0);
    head.u16(std::uint16_t(widths.size()));
    head.u16(0);
}

void writeSheetTail(Bytes& tail, bool selected)
{
    tail.record(Window2, 18);
    // Grid lines, headers, zeros, outline symbols; the first sheet is the selected one.
    tail.u16(selected ? 0x06B6 : 0x00B6);
    tail.u16(0);
    tail.u16(0);
    tail.u16(64);
    tail.u16(0);
    tail.u16(0);
    tail.u16(0);
    tail.u32(0);
    tail.record(Eof, 0);
}

} // namespace

XlsWriter::XlsWriter(const ResultSet& rows)
    : m_rows(rows)
{
}

// Two passes over the rows: the first collects the shared strings, the column widths
// and the size of every sheet, which the workbook's head must know; the second writes
// the cells straight to the device.
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

    std::vector<bool> numeric;
    std::vector<QByteArray> owned; // captions and footer lines, seen by the string table
    owned.reserve(std::size_t(columnCount + footerLines));
    std::vector<int> widths;
    for (int c : columns) {
        const FieldDef& field = m_rows.field(c);
        numeric.push_back(isNumeric(field.type));
        owned.push_back(field.name.toUtf8());
        // The bold caption needs a little more room than its characters.
        widths.push_back(int(field.name.size()) + 1);
    }
    for (const QString& line : m_footer)
        owned.push_back(line.toUtf8());

    // First pass.
    int textColumns = 0;
    for (bool n : numeric)
        textColumns += !n;
    const std::size_t textCells = std::size_t(records) * std::size_t(textColumns);
    StringTable strings(textCells + owned.size() * sheets.size());
    std::vector<std::uint32_t> captionIndex(static_cast<std::size_t>(columnCount));
    std::vector<std::uint32_t> footerIndex(static_cast<std::size_t>(footerLines));
    // The string of every text cell, in writing order.
    ZeroedBlock textIndexBlock(textCells * sizeof(std::uint32_t));
    std::uint32_t* const textIndex = textIndexBlock.as<std::uint32_t>();
    std::size_t textCount = 0;
    struct PendingText
    {
        QByteArrayView text;
        std::uint32_t hash;
        int column;
        std::uint32_t index; // the column's last text's when it is the same, else NoIndex
    };
    constexpr std::uint32_t NoIndex = 0xFFFFFFFFu;
    std::vector<PendingText> pending(static_cast<std::size_t>(columnCount));
    // Each column's last text: runs of one value (a county, a municipality) are common in
    // a selection ordered by area, and are recognised without a lookup.
    struct LastText
    {
        QByteArrayView text;
        std::uint32_t index = NoIndex;
    };
    std::vector<LastText> last(static_cast<std::size_t>(columnCount));
    for (Sheet& sheet : sheets) {
        qint64 bytes = qint64(columnCount) * LabelBytes;
        for (int i = 0; i < columnCount; ++i)
            captionIndex[std::size_t(i)] = strings.add(owned[std::size_t(i)]);
        for (int record = sheet.firstRecord; record < sheet.firstRecord + sheet.records; ++record) {
            // The row's texts are hashed first and their slots fetched together, so that
            // the lookups of one row wait for memory once rather than once per text.
            std::size_t texts = 0;
            for (int i = 0; i < columnCount; ++i) {
                const int c = columns[i];
                if (m_rows.isNull(record, c))
                    continue;
                int& width = widths[std::size_t(i)];
                if (numeric[std::size_t(i)]) {
                    width = std::max(width, numberWidth(m_rows.real(record, c)));
                    bytes += NumberBytes;
                } else {
                    const QByteArrayView text = m_rows.utf8(record, c);
                    if (text.isEmpty())
                        continue;
                    const LastText& previous = last[std::size_t(i)];
                    if (previous.index != NoIndex && previous.text.size() == text.size() &&
                        sameBytes(previous.text.data(), text.data(), std::size_t(text.size()))) {
                        pending[texts++] = {text, 0, i, previous.index};
                    } else {
                        const std::uint32_t hash = StringTable::hash(text);
                        strings.prefetch(hash);
                        pending[texts++] = {text, hash, i, NoIndex};
                    }
                    // A text no longer in bytes than the width is no wider in characters.
                    if (text.size() > width)
                        width = std::max(width, displayLength(text));
                    bytes += LabelBytes;
                }
            }
            for (std::size_t t = 0; t < texts; ++t) {
                const PendingText& p = pending[t];
                if (p.index != NoIndex) {
                    textIndex[textCount++] = strings.addAgain(p.index);
                } else {
                    const std::uint32_t index = strings.add(p.text, p.hash);
                    last[std::size_t(p.column)] = {p.text, index};
                    textIndex[textCount++] = index;
                }
            }
        }
        if (sheet.footer) {
            for (int f = 0; f < footerLines; ++f) {
                if (m_footer.at(f).isEmpty())
                    continue;
                footerIndex[std::size_t(f)] = strings.add(owned[std::size_t(columnCount + f)]);
                bytes += LabelBytes;
            }
        }
        sheet.cellBytes = bytes;
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

    qint64 position = globals.size();
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        Sheet& sheet = sheets[s];
        writeSheetHead(sheet.head, sheet, widths);
        writeSheetTail(sheet.tail, s == 0);
        globals.patch32(sheetOffsets[s], std::uint32_t(position));
        position += sheet.head.size() + sheet.cellBytes + sheet.tail.size();
    }

    // Second pass: the same cells in the same order, now with their string indices.
    CompoundFileWriter::write(device, QStringLiteral("Workbook"), position, [&](OutputBuffer& out) {
        out.append(globals.view());
        std::size_t nextText = 0;
        for (const Sheet& sheet : sheets) {
            out.append(sheet.head.view());
            char* const captionStart = out.reserve(qsizetype(columnCount) * LabelBytes);
            char* p = captionStart;
            for (int i = 0; i < columnCount; ++i)
                p = putLabel(p, 0, i, CaptionXf, captionIndex[std::size_t(i)]);
            out.advance(p - captionStart);
            for (int r = 0; r < sheet.records; ++r) {
                const int record = sheet.firstRecord + r;
                const int row = 1 + r;
                char* const start = out.reserve(qsizetype(columnCount) * NumberBytes);
                p = start;
                for (int i = 0; i < columnCount; ++i) {
                    const int c = columns[i];
                    if (m_rows.isNull(record, c))
                        continue;
                    if (numeric[std::size_t(i)]) {
                        p = putNumber(p, row, i, m_rows.real(record, c));
                    } else if (!m_rows.utf8(record, c).isEmpty()) {
                        p = putLabel(p, row, i, CellXf, textIndex[nextText++]);
                    }
                }
                out.advance(p - start);
            }
            if (sheet.footer) {
                for (int f = 0; f < footerLines; ++f) {
                    if (m_footer.at(f).isEmpty())
                        continue;
                    p = out.reserve(LabelBytes);
                    putLabel(p, 1 + sheet.records + f, 0, CellXf, footerIndex[std::size_t(f)]);
                    out.advance(LabelBytes);
                }
            }
            out.append(sheet.tail.view());
        }
    });
}
