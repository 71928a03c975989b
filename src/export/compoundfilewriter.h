#pragma once

#include <QString>

#include <functional>

class OutputBuffer;
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

    // Writes the container with a stream of streamSize bytes, which `produce` appends
    // to the buffer it is given, so that the stream need not be held in memory. Raises
    // StradexError when the device refuses the data or the stream has another size.
    static void write(QIODevice& device, const QString& streamName, qint64 streamSize,
                      const std::function<void(OutputBuffer&)>& produce);
};
