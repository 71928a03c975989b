#include "export/outputbuffer.h"

#include "platform/stradexerror.h"

#include <QIODevice>

OutputBuffer::OutputBuffer(QIODevice& device)
    : m_device(device)
{
    m_data.resize(BlockSize);
}

OutputBuffer::~OutputBuffer() = default;

void OutputBuffer::makeRoom(qsizetype n)
{
    flush();
    if (n > m_data.size())
        m_data.resize(n);
}

void OutputBuffer::flush()
{
    writeAll(m_data.constData(), m_used);
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
            const QString reason = m_device.errorString();
            throw StradexError(reason.isEmpty() ? QStringLiteral("the data could not be written")
                                                : reason);
        }
        p += written;
        n -= qsizetype(written);
    }
}
