#pragma once

#include <QString>

class QIODevice;
class ResultSet;

// Writes the whole result set as an XML data packet: the field descriptions, the flags
// that mark the packet read-only, and one ROW element per record in the set's order.
class XmlPacketWriter final
{
public:
    explicit XmlPacketWriter(const ResultSet& rows)
        : m_rows(rows)
    {
    }

    // Raises StradexError when the device refuses the data.
    void write(QIODevice& device) const;

    // The attribute name of a field: blanks and ! # $ % ( ) * ? become underscores.
    static QString attributeName(const QString& fieldName);

private:
    const ResultSet& m_rows;
};
