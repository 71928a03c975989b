#pragma once

#include "data/fieldtype.h"

#include <QList>
#include <QString>

class Database;
struct sqlite3_stmt;

// A forward-only query channel on the connection: one SELECT statement, read row by row.
class Cursor final
{
public:
    explicit Cursor(Database& db) : m_db(db) {}
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    void setSql(const QString& sql) { m_sql = sql; }
    const QString& sql() const { return m_sql; }

    // Executes the statement and stands on the first row (or at the end when there is
    // none). A statement that the engine rejects raises an error with its message.
    void open();
    void close();
    bool isOpen() const { return m_stmt != nullptr; }
    bool eof() const { return m_eof; }
    void next();

    int fieldCount() const { return m_names.size(); }
    const QString& fieldName(int i) const { return m_names.at(i); }
    FieldType fieldType(int i) const { return m_types.at(i); }
    // The index of the result column with this name, ignoring case; -1 when none.
    int fieldIndex(const QString& name) const;

    bool isNull(int i) const;
    // The value of field i of the current row as text, full length; NULL reads as "".
    QString fieldText(int i) const;
    // The value of the named field of the current row as an integer.
    qint64 fieldInt(const QString& name) const;

    sqlite3_stmt* statement() const { return m_stmt; }
    Database& database() const { return m_db; }

private:
    [[noreturn]] void fail() const;
    void step();

    Database& m_db;
    QString m_sql;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_eof = true;
    QList<QString> m_names;
    QList<FieldType> m_types;
};
