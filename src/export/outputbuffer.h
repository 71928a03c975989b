#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstring>
#include <memory>

class QIODevice;

// Collects the bytes a writer produces and hands them to the device in large blocks;
// a device that refuses bytes raises a StradexError with the device's reason.
class OutputBuffer final
{
public:
    static constexpr qsizetype BlockSize = 256 * 1024;

    // With a name, the error reads "Can't write <name>: <reason>".
    explicit OutputBuffer(QIODevice& device, const QString& name = {});
    ~OutputBuffer();
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // Room for at least n more bytes; returns where they go. Commit them with advance().
    char* reserve(qsizetype n)
    {
        if (m_used + n > m_capacity)
            makeRoom(n);
        return m_data.get() + m_used;
    }
    void advance(qsizetype n) { m_used += n; }

    // Bytes appended since the buffer was made.
    qint64 total() const { return m_flushed + m_used; }

    void append(QByteArrayView bytes)
    {
        if (bytes.size() >= BlockSize) {
            appendLarge(bytes);
            return;
        }
        char* p = reserve(bytes.size());
        if (!bytes.isEmpty())
            std::memcpy(p, bytes.data(), std::size_t(bytes.size()));
        m_used += bytes.size();
    }
    void append(char c)
    {
        *reserve(1) = c;
        ++m_used;
    }

    // Writes what is collected; the buffer is empty afterwards.
    void flush();

private:
    void makeRoom(qsizetype n);
    void appendLarge(QByteArrayView bytes);
    void writeAll(const char* p, qsizetype n);

    QIODevice& m_device;
    QString m_name;
    std::unique_ptr<char[]> m_data;
    qsizetype m_capacity = 0;
    qsizetype m_used = 0;
    qint64 m_flushed = 0;
};
