#pragma once

#include "data/fieldtype.h"

#include <QByteArrayView>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

class Cursor;

// A result field: its name, value type and, for text, its size in characters.
struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;
};

// The in-memory, read-only copy of a station query's complete result, with a current
// record that the grid, the station list and the exports share.
//
// Rows are stored compactly: a fixed-size record per row (the offset of the row's text
// block, the numeric values and a null mask) in chunks of rows, and the row's texts as
// one UTF-8 block in a chunked arena, so that loading copies each value once.
class ResultSet final : public QObject
{
    Q_OBJECT

public:
    static constexpr int TextFieldSize = 255;

    explicit ResultSet(QObject* parent = nullptr);
    ~ResultSet() override;

    // Runs the query's statement (when the query is not open yet), reads all rows and
    // closes the query. Text values longer than 255 characters are cut to 255.
    void load(Cursor& query);
    void close();
    bool isOpen() const { return m_open; }

    int recordCount() const { return m_rows; }
    int fieldCount() const { return m_fields.size(); }
    const FieldDef& field(int column) const { return m_fields.at(column); }
    // The column of the field with this name, ignoring case; -1 when none.
    int fieldIndex(const QString& name) const;

    bool isNull(int row, int column) const;
    // The value as the user sees it: text as stored, an integer in decimal, a float in
    // its general form with at most 15 significant digits; NULL reads as "".
    QString text(int row, int column) const;
    // The stored UTF-8 bytes of a text or binary value (empty for NULL).
    QByteArrayView utf8(int row, int column) const;
    qint64 integer(int row, int column) const;
    double real(int row, int column) const;
    QVariant value(int row, int column) const;

    // The current record, 0-based; -1 when the set is closed or empty.
    int recNo() const { return m_recNo; }
    void setRecNo(int row);
    void first();
    void next();
    // True after next() stepped past the last record, or when there is no record.
    bool eof() const { return m_eof; }

    // Bound controls stop following the current record while a routine walks the data.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // Memory held for the rows beyond the texts themselves, in bytes.
    std::size_t overheadBytes() const;
    std::size_t textBytes() const { return m_textBytes; }

signals:
    void aboutToReset();
    void reset();
    void currentChanged(int recNo);

private:
    struct Column
    {
        FieldType type;
        int slot; // numeric slot, or index among the text columns
    };

    void clear();
    const std::uint64_t* fixedRow(int row) const;
    std::uint64_t* appendFixedRow();
    char* allocateText(std::size_t bytes, std::uint64_t& ref);
    const char* textBlock(int row) const;
    void moveTo(int row, bool eof);

    QList<FieldDef> m_fields;
    std::vector<Column> m_columns;
    int m_textColumns = 0;
    int m_numericColumns = 0;
    int m_stride = 0; // 64-bit words per fixed row
    int m_rows = 0;
    bool m_open = false;
    int m_recNo = -1;
    bool m_eof = true;
    int m_disableCount = 0;
    bool m_movedWhileDisabled = false;

    // Fixed rows live in chunks of one size, whatever the row width, so that the chunks
    // of one load can serve the next (a reload then causes no fresh page faults).
    static constexpr std::size_t FixedChunkWords = 4096;
    int m_rowsPerChunk = 1;
    std::vector<std::unique_ptr<std::uint64_t[]>> m_fixed;
    std::vector<std::unique_ptr<std::uint64_t[]>> m_spareFixed;

    struct ArenaChunk
    {
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
        std::size_t used = 0;
    };
    std::vector<ArenaChunk> m_arena;
    std::vector<ArenaChunk> m_spareArena; // kept for the next load, in allocation order
    std::size_t m_nextSpareArena = 0;
    std::size_t m_textBytes = 0;
};
