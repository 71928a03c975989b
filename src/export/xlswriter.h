#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;
class ResultSet;

// Writes result-set rows as an Excel 97-2003 workbook (.xls: BIFF8 records in an OLE2
// compound document): a bold caption row with the field names of the chosen columns,
// one row per record with numbers as number cells and texts as text cells, then the
// footer lines. Column widths fit the content. A sheet holds at most 65,536 rows; longer
// selections continue on further sheets, each with its own caption row.
class XlsWriter final
{
public:
    static constexpr int MaxRowsPerSheet = 65536;
    static constexpr int MaxColumns = 256;

    explicit XlsWriter(const ResultSet& rows);

    // The result-set columns in sheet order; all columns when the list is empty.
    void setColumns(const QList<int>& columns) { m_columns = columns; }
    void setFooter(const QStringList& lines) { m_footer = lines; }
    // Recorded as the workbook's last author.
    void setAuthor(const QString& name) { m_author = name; }
    void setSheetName(const QString& name) { m_sheetName = name; }

    // Raises StradexError when the rows do not fit the format or the device refuses them.
    void write(QIODevice& device) const;

private:
    const ResultSet& m_rows;
    QList<int> m_columns;
    QStringList m_footer;
    QString m_author;
    QString m_sheetName = QStringLiteral("Sheet1");
};
