#pragma once

#include <QString>

struct sqlite3;

// The one connection to the station database file; the program only reads through it.
class Database final
{
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file read-write without creating it. A missing file, or one
    // that cannot be opened, raises an error that names the file.
    void open(const QString& path);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    const QString& path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

    // The engine's message for the last failure on this connection.
    QString lastError() const;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
};
