#include "data/cursor.h"

#include "data/database.h"
#include "platform/stradexerror.h"

#include <sqlite3.h>

Cursor::~Cursor()
{
    close();
}

void Cursor::fail() const
{
    throw StradexError(m_db.isOpen() ? m_db.lastError()
                                     : QStringLiteral("The station database is not open"));
}

void Cursor::open()
{
    close();
    if (!m_db.isOpen())
        fail();
    const QByteArray sql = m_sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db.handle(), sql.constData(), int(sql.size()), &stmt, nullptr)
        != SQLITE_OK) {
        sqlite3_finalize(stmt);
        fail();
    }
    if (!stmt) // only blanks or a comment: a statement without rows
        return;
    m_stmt = stmt;
    try {
        step();
    } catch (...) {
        close();
        throw;
    }
    const int n = sqlite3_column_count(stmt);
    m_names.reserve(n);
    m_types.reserve(n);
    for (int i = 0; i < n; ++i) {
        m_names << QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char* declared = sqlite3_column_decltype(stmt, i);
        if (declared && *declared)
            m_types << fieldTypeFromDeclaredType(declared);
        else
            m_types << fieldTypeFromStorageClass(m_eof ? SQLITE_NULL : sqlite3_column_type(stmt, i));
    }
}

void Cursor::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        m_eof = false;
    } else if (rc == SQLITE_DONE) {
        m_eof = true;
    } else {
        m_eof = true;
        fail();
    }
}

void Cursor::close()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    m_eof = true;
    m_names.clear();
    m_types.clear();
}

void Cursor::next()
{
    if (m_stmt && !m_eof)
        step();
}

int Cursor::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Cursor::isNull(int i) const
{
    return !m_stmt || m_eof || sqlite3_column_type(m_stmt, i) == SQLITE_NULL;
}

QString Cursor::fieldText(int i) const
{
    if (isNull(i))
        return QString();
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, i));
}

qint64 Cursor::fieldInt(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw StradexError(QStringLiteral("Field '%1' not found").arg(name));
    return isNull(i) ? 0 : sqlite3_column_int64(m_stmt, i);
}
