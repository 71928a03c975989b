#include "data/resultset.h"

#include "data/cursor.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t FirstArenaChunk = 16 * 1024;
constexpr std::size_t LargestArenaChunk = 4 * 1024 * 1024;
// What a closed result set keeps for its next load, of each kind of chunk.
constexpr std::size_t SpareBytes = 4 * 1024 * 1024;

// The number of bytes of the longest prefix of a UTF-8 text that holds at most
// maxUnits UTF-16 code units; a character is never cut in two.
std::size_t utf8PrefixForUtf16Units(const unsigned char* s, std::size_t bytes, int maxUnits)
{
    std::size_t i = 0;
    int units = 0;
    while (i < bytes) {
        const unsigned char c = s[i];
        std::size_t len = 1;
        int u = 1;
        if (c >= 0xF0) {
            len = 4;
            u = 2;
        } else if (c >= 0xE0) {
            len = 3;
        } else if (c >= 0xC0) {
            len = 2;
        }
        if (units + u > maxUnits || i + len > bytes)
            break;
        units += u;
        i += len;
    }
    return i;
}

std::uint32_t readLength(const char* block, int index)
{
    std::uint32_t len;
    std::memcpy(&len, block + index * sizeof(std::uint32_t), sizeof len);
    return len;
}

} // namespace

ResultSet::ResultSet(QObject* parent) : QObject(parent) {}

ResultSet::~ResultSet() = default;

void ResultSet::clear()
{
    m_fields.clear();
    m_columns.clear();
    for (auto& chunk : m_fixed) {
        if ((m_spareFixed.size() + 1) * FixedChunkWords * sizeof(std::uint64_t) > SpareBytes)
            break;
        m_spareFixed.push_back(std::move(chunk));
    }
    m_fixed.clear();
    // Chunks not reused by the last load stay spare behind the ones it used.
    std::vector<ArenaChunk> spare;
    std::size_t kept = 0;
    auto keep = [&](ArenaChunk& c) {
        if (c.data && kept + c.size <= SpareBytes) {
            kept += c.size;
            c.used = 0;
            spare.push_back(std::move(c));
        }
    };
    for (ArenaChunk& c : m_arena)
        keep(c);
    for (std::size_t i = m_nextSpareArena; i < m_spareArena.size(); ++i)
        keep(m_spareArena[i]);
    m_spareArena = std::move(spare);
    m_nextSpareArena = 0;
    m_arena.clear();
    m_textColumns = m_numericColumns = m_stride = m_rows = 0;
    m_textBytes = 0;
    m_open = false;
    m_recNo = -1;
    m_eof = true;
}

void ResultSet::close()
{
    if (!m_open && m_fields.isEmpty())
        return;
    emit aboutToReset();
    clear();
    emit reset();
}

void ResultSet::load(Cursor& query)
{
    emit aboutToReset();
    clear();
    try {
        if (!query.isOpen())
            query.open();
        const int n = query.fieldCount();
        for (int i = 0; i < n; ++i) {
            const FieldType t = query.fieldType(i);
            const bool isText = t == FieldType::Text || t == FieldType::Blob;
            m_fields << FieldDef{query.fieldName(i), t, t == FieldType::Text ? TextFieldSize : 0};
            m_columns.push_back({t, isText ? m_textColumns++ : m_numericColumns++});
        }
        const int maskWords = (n + 63) / 64;
        m_stride = 1 + m_numericColumns + maskWords;
        m_rowsPerChunk = std::max(1, int(FixedChunkWords / std::size_t(m_stride)));

        sqlite3_stmt* stmt = query.statement();
        std::vector<const unsigned char*> texts(m_textColumns);
        std::vector<std::uint32_t> lengths(m_textColumns);
        while (stmt && !query.eof()) {
            std::uint64_t* row = appendFixedRow();
            std::uint64_t* mask = row + 1 + m_numericColumns;
            std::size_t blockBytes = m_textColumns * sizeof(std::uint32_t);
            for (int i = 0; i < n; ++i) {
                const Column& c = m_columns[i];
                const bool null = sqlite3_column_type(stmt, i) == SQLITE_NULL;
                if (null)
                    mask[i / 64] |= std::uint64_t(1) << (i % 64);
                switch (c.type) {
                case FieldType::Integer: {
                    const std::int64_t v = null ? 0 : sqlite3_column_int64(stmt, i);
                    std::memcpy(&row[1 + c.slot], &v, sizeof v);
                    break;
                }
                case FieldType::Float: {
                    const double v = null ? 0.0 : sqlite3_column_double(stmt, i);
                    std::memcpy(&row[1 + c.slot], &v, sizeof v);
                    break;
                }
                case FieldType::Text:
                case FieldType::Blob: {
                    const unsigned char* p = nullptr;
                    std::size_t len = 0;
                    if (!null) {
                        p = c.type == FieldType::Text
                                ? sqlite3_column_text(stmt, i)
                                : static_cast<const unsigned char*>(sqlite3_column_blob(stmt, i));
                        len = std::size_t(sqlite3_column_bytes(stmt, i));
                        // A UTF-8 text of at most 255 bytes holds at most 255 characters.
                        if (c.type == FieldType::Text && len > std::size_t(TextFieldSize))
                            len = utf8PrefixForUtf16Units(p, len, TextFieldSize);
                    }
                    texts[c.slot] = p;
                    lengths[c.slot] = std::uint32_t(len);
                    blockBytes += len;
                    break;
                }
                }
            }
            if (m_textColumns > 0) {
                char* block = allocateText(blockBytes, row[0]);
                std::memcpy(block, lengths.data(), m_textColumns * sizeof(std::uint32_t));
                char* out = block + m_textColumns * sizeof(std::uint32_t);
                for (int t = 0; t < m_textColumns; ++t) {
                    if (lengths[t])
                        std::memcpy(out, texts[t], lengths[t]);
                    out += lengths[t];
                }
                m_textBytes += blockBytes - m_textColumns * sizeof(std::uint32_t);
            }
            ++m_rows;
            query.next();
        }
        query.close();
    } catch (...) {
        query.close();
        clear();
        emit reset();
        throw;
    }
    m_open = true;
    m_recNo = m_rows > 0 ? 0 : -1;
    m_eof = m_rows == 0;
    emit reset();
    emit currentChanged(m_recNo);
}

std::uint64_t* ResultSet::appendFixedRow()
{
    const int inChunk = m_rows % m_rowsPerChunk;
    if (inChunk == 0) {
        if (!m_spareFixed.empty()) {
            m_fixed.push_back(std::move(m_spareFixed.back()));
            m_spareFixed.pop_back();
        } else {
            m_fixed.push_back(std::make_unique_for_overwrite<std::uint64_t[]>(FixedChunkWords));
        }
    }
    std::uint64_t* row = m_fixed.back().get() + std::size_t(inChunk) * m_stride;
    std::fill(row, row + m_stride, 0);
    return row;
}

char* ResultSet::allocateText(std::size_t bytes, std::uint64_t& ref)
{
    if (m_arena.empty() || m_arena.back().size - m_arena.back().used < bytes) {
        std::size_t size = m_arena.empty()
                               ? FirstArenaChunk
                               : std::min(m_arena.back().size * 2, LargestArenaChunk);
        size = std::max(size, bytes);
        if (m_nextSpareArena < m_spareArena.size() && m_spareArena[m_nextSpareArena].size >= bytes)
            m_arena.push_back(std::move(m_spareArena[m_nextSpareArena++]));
        else
            m_arena.push_back({std::make_unique_for_overwrite<char[]>(size), size, 0});
    }
    ArenaChunk& chunk = m_arena.back();
    ref = (std::uint64_t(m_arena.size() - 1) << 32) | chunk.used;
    char* p = chunk.data.get() + chunk.used;
    chunk.used += bytes;
    return p;
}

const std::uint64_t* ResultSet::fixedRow(int row) const
{
    return m_fixed[std::size_t(row / m_rowsPerChunk)].get()
           + std::size_t(row % m_rowsPerChunk) * m_stride;
}

const char* ResultSet::textBlock(int row) const
{
    const std::uint64_t ref = fixedRow(row)[0];
    return m_arena[std::size_t(ref >> 32)].data.get() + (ref & 0xFFFFFFFFu);
}

int ResultSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool ResultSet::isNull(int row, int column) const
{
    const std::uint64_t* mask = fixedRow(row) + 1 + m_numericColumns;
    return (mask[column / 64] >> (column % 64)) & 1u;
}

QByteArrayView ResultSet::utf8(int row, int column) const
{
    const Column& c = m_columns[std::size_t(column)];
    if (c.type != FieldType::Text && c.type != FieldType::Blob)
        return {};
    const char* block = textBlock(row);
    std::size_t offset = m_textColumns * sizeof(std::uint32_t);
    for (int t = 0; t < c.slot; ++t)
        offset += readLength(block, t);
    return QByteArrayView(block + offset, qsizetype(readLength(block, c.slot)));
}

qint64 ResultSet::integer(int row, int column) const
{
    const Column& c = m_columns[std::size_t(column)];
    const std::uint64_t* r = fixedRow(row);
    switch (c.type) {
    case FieldType::Integer: {
        std::int64_t v;
        std::memcpy(&v, &r[1 + c.slot], sizeof v);
        return v;
    }
    case FieldType::Float:
        return qint64(real(row, column));
    default:
        return text(row, column).toLongLong();
    }
}

double ResultSet::real(int row, int column) const
{
    const Column& c = m_columns[std::size_t(column)];
    const std::uint64_t* r = fixedRow(row);
    switch (c.type) {
    case FieldType::Float: {
        double v;
        std::memcpy(&v, &r[1 + c.slot], sizeof v);
        return v;
    }
    case FieldType::Integer:
        return double(integer(row, column));
    default:
        return text(row, column).toDouble();
    }
}

QString ResultSet::text(int row, int column) const
{
    if (isNull(row, column))
        return QString();
    switch (m_columns[std::size_t(column)].type) {
    case FieldType::Integer:
        return QString::number(integer(row, column));
    case FieldType::Float:
        return QString::number(real(row, column), 'g', 15);
    case FieldType::Text:
    case FieldType::Blob:
        break;
    }
    const QByteArrayView bytes = utf8(row, column);
    return QString::fromUtf8(bytes.data(), bytes.size());
}

QVariant ResultSet::value(int row, int column) const
{
    if (isNull(row, column))
        return QVariant();
    switch (m_columns[std::size_t(column)].type) {
    case FieldType::Integer:
        return integer(row, column);
    case FieldType::Float:
        return real(row, column);
    case FieldType::Blob:
        return utf8(row, column).toByteArray();
    case FieldType::Text:
        break;
    }
    return text(row, column);
}

void ResultSet::moveTo(int row, bool eof)
{
    const bool moved = row != m_recNo;
    m_recNo = row;
    m_eof = eof;
    if (!moved)
        return;
    if (m_disableCount > 0)
        m_movedWhileDisabled = true;
    else
        emit currentChanged(m_recNo);
}

void ResultSet::setRecNo(int row)
{
    if (m_rows == 0)
        return;
    moveTo(std::clamp(row, 0, m_rows - 1), false);
}

void ResultSet::first()
{
    if (m_rows == 0) {
        m_eof = true;
        return;
    }
    moveTo(0, false);
}

void ResultSet::next()
{
    if (m_rows == 0 || m_eof) {
        m_eof = true;
        return;
    }
    if (m_recNo + 1 >= m_rows)
        m_eof = true;
    else
        moveTo(m_recNo + 1, false);
}

void ResultSet::disableControls()
{
    ++m_disableCount;
}

void ResultSet::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_movedWhileDisabled) {
        m_movedWhileDisabled = false;
        emit currentChanged(m_recNo);
    }
}

std::size_t ResultSet::overheadBytes() const
{
    std::size_t bytes = (m_fixed.size() + m_spareFixed.size()) * FixedChunkWords * sizeof(std::uint64_t);
    for (const ArenaChunk& c : m_arena)
        bytes += c.size;
    for (std::size_t i = m_nextSpareArena; i < m_spareArena.size(); ++i)
        bytes += m_spareArena[i].size;
    return bytes - m_textBytes;
}
