#include "export/outputbuffer.h"

#include "platform/stradexerror.h"

#include <QIODevice>

OutputBuffer::OutputBuffer(QIODevice& device, const QString& name)
    : m_device(device)
    , m_name(name)
{
    m_data.reset(new char[BlockSize]);
    m_capacity = BlockSize;
}

OutputBuffer::~OutputBuffer() = default;

void OutputBuffer::makeRoom(qsizetype n)
{
    flush();
    if (n > m_capacity) {
        m_data.reset(new char[std::size_t(n)]);
        m_capacity = n;
    }
}

void OutputBuffer::flush()
{
    writeAll(m_data.get(), m_used);
    m_flushed += m_used;
    m_used = 0;
}

void OutputBuffer::appendLarge(QByteArrayView bytes)
{
    // A large block goes to the device as it is rather than through the buffer.
    flush();
    writeAll(bytes.data(), bytes.size());
    m_flushed += bytes.size();
}

void OutputBuffer::writeAll(const char* p, qsizetype n)
{
    while (n > 0) {
        const qint64 written = m_device.write(p, n);
        if (written <= 0) {
            QString reason = m_device.errorString();
            if (reason.isEmpty())
                reason = QStringLiteral("the data could not be written");
            throw StradexError(m_name.isEmpty()
                                   ? reason
                                   : QStringLiteral("Can't write %1: %2").arg(m_name, reason));
        }
        p += written;
        n -= qsizetype(written);
    }
}
