#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

class QIODevice;

// Writes an OLE2 compound document (version 3, 512-byte sectors) that holds one stream
// under its root storage, as the .xls format keeps its workbook.
class CompoundFileWriter final
{
public:
    static constexpr int SectorSize = 512;
    // Streams shorter than this would belong in the mini stream; the stream is padded
    // with zero bytes to reach it, so that the container needs no mini stream.
    static constexpr int MiniStreamCutoff = 4096;

    // Writes the container with the stream made of the parts in order. Raises
    // StradexError when the device refuses the data.
    static void write(QIODevice& device, const QString& streamName,
                      const QList<QByteArrayView>& parts);
};
