#include "data/database.h"

#include "platform/stradexerror.h"

#include <sqlite3.h>

#include <QFile>

Database::~Database()
{
    close();
}

void Database::open(const QString& path)
{
    close();
    m_path = path;
    sqlite3* db = nullptr;
    // Only the user-interface thread uses the connection, so the engine need not lock
    // around every call.
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db))
                                  : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw StradexError(QStringLiteral("Cannot open the station database %1: %2").arg(path, reason));
    }
    m_db = db;
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

QString Database::lastError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}
