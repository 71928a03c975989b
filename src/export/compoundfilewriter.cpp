#include "export/compoundfilewriter.h"

#include "export/outputbuffer.h"
#include "platform/stradexerror.h"

#include <QtEndian>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t FreeSector = 0xFFFFFFFFu;
constexpr std::uint32_t EndOfChain = 0xFFFFFFFEu;
constexpr std::uint32_t FatSector = 0xFFFFFFFDu;
constexpr std::uint32_t DifatSector = 0xFFFFFFFCu;
constexpr std::uint32_t NoStream = 0xFFFFFFFFu;
constexpr int EntriesPerSector = CompoundFileWriter::SectorSize / 4;
constexpr int HeaderDifatEntries = 109;
constexpr int DirectoryEntrySize = 128;

// Little-endian fields at fixed offsets of a block.
class Block
{
public:
    explicit Block(qsizetype size)
        : m_data(size, '\0')
    {
    }
    void u8(qsizetype at, std::uint8_t v) { m_data[at] = char(v); }
    void u16(qsizetype at, std::uint16_t v) { qToLittleEndian(v, m_data.data() + at); }
    void u32(qsizetype at, std::uint32_t v) { qToLittleEndian(v, m_data.data() + at); }
    const QByteArray& bytes() const { return m_data; }

private:
    QByteArray m_data;
};

void directoryEntry(Block& dir, int index, const QString& name, std::uint8_t type,
                    std::uint32_t child, std::uint32_t start, std::uint32_t size)
{
    const qsizetype at = qsizetype(index) * DirectoryEntrySize;
    const QString n = name.left(31);
    for (int i = 0; i < n.size(); ++i)
        dir.u16(at + 2 * i, n.at(i).unicode());
    dir.u16(at + 64, std::uint16_t((n.size() + 1) * 2));
    dir.u8(at + 66, type);
    dir.u8(at + 67, 1); // black: a tree of one node per level is trivially balanced
    dir.u32(at + 68, NoStream);
    dir.u32(at + 72, NoStream);
    dir.u32(at + 76, child);
    dir.u32(at + 116, start);
    dir.u32(at + 120, size);
}

void emptyDirectoryEntry(Block& dir, int index)
{
    const qsizetype at = qsizetype(index) * DirectoryEntrySize;
    dir.u32(at + 68, NoStream);
    dir.u32(at + 72, NoStream);
    dir.u32(at + 76, NoStream);
}

} // namespace

void CompoundFileWriter::write(QIODevice& device, const QString& streamName, qint64 contentSize,
                               const std::function<void(OutputBuffer&)>& produce)
{
    const qint64 streamSize = std::max<qint64>(contentSize, MiniStreamCutoff);
    if (streamSize > 0x7FFFFFFF)
        throw StradexError(QStringLiteral("the sheet is too large for the .xls format"));

    const std::uint32_t streamSectors = std::uint32_t((streamSize + SectorSize - 1) / SectorSize);
    const std::uint32_t directorySector = streamSectors;
    // The allocation table must describe every sector, its own included.
    std::uint32_t fatSectors = 1;
    std::uint32_t difatSectors = 0;
    for (;;) {
        difatSectors =
            fatSectors > HeaderDifatEntries
                ? (fatSectors - HeaderDifatEntries + EntriesPerSector - 2) / (EntriesPerSector - 1)
                : 0;
        const std::uint32_t total = streamSectors + 1 + fatSectors + difatSectors;
        if (std::uint64_t(fatSectors) * EntriesPerSector >= total)
            break;
        ++fatSectors;
    }
    const std::uint32_t firstFat = directorySector + 1;
    const std::uint32_t firstDifat = firstFat + fatSectors;

    Block header(SectorSize);
    const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (int i = 0; i < 8; ++i)
        header.u8(i, signature[i]);
    header.u16(24, 0x003E);
    header.u16(26, 0x0003);
    header.u16(28, 0xFFFE);
    header.u16(30, 9);
    header.u16(32, 6);
    header.u32(44, fatSectors);
    header.u32(48, directorySector);
    header.u32(56, MiniStreamCutoff);
    header.u32(60, EndOfChain);
    header.u32(68, difatSectors ? firstDifat : EndOfChain);
    header.u32(72, difatSectors);
    for (int i = 0; i < HeaderDifatEntries; ++i)
        header.u32(76 + 4 * i, std::uint32_t(i) < fatSectors ? firstFat + i : FreeSector);

    OutputBuffer out(device);
    out.append(header.bytes());
    const qint64 before = out.total();
    produce(out);
    if (out.total() - before != contentSize)
        throw StradexError(QStringLiteral("the stream came out with %1 bytes instead of %2")
                               .arg(out.total() - before)
                               .arg(contentSize));
    const qint64 padding = qint64(streamSectors) * SectorSize - contentSize;
    char* zeros = out.reserve(qsizetype(padding));
    std::fill(zeros, zeros + padding, '\0');
    out.advance(qsizetype(padding));

    Block dir(SectorSize);
    directoryEntry(dir, 0, QStringLiteral("Root Entry"), 5, 1, EndOfChain, 0);
    directoryEntry(dir, 1, streamName, 2, NoStream, 0, std::uint32_t(streamSize));
    emptyDirectoryEntry(dir, 2);
    emptyDirectoryEntry(dir, 3);
    out.append(dir.bytes());

    std::vector<std::uint32_t> fat(std::size_t(fatSectors) * EntriesPerSector, FreeSector);
    for (std::uint32_t s = 0; s < streamSectors; ++s)
        fat[s] = s + 1 < streamSectors ? s + 1 : EndOfChain;
    fat[directorySector] = EndOfChain;
    for (std::uint32_t s = 0; s < fatSectors; ++s)
        fat[firstFat + s] = FatSector;
    for (std::uint32_t s = 0; s < difatSectors; ++s)
        fat[firstDifat + s] = DifatSector;
    char* p = out.reserve(qsizetype(fat.size() * 4));
    for (std::size_t i = 0; i < fat.size(); ++i)
        qToLittleEndian(fat[i], p + 4 * i);
    out.advance(qsizetype(fat.size() * 4));

    // Allocation-table sectors beyond the header's 109 are listed in chained sectors of
    // 127 entries each, the last entry pointing at the next such sector.
    std::uint32_t listed = HeaderDifatEntries;
    for (std::uint32_t d = 0; d < difatSectors; ++d) {
        Block sector(SectorSize);
        for (int i = 0; i < EntriesPerSector - 1; ++i, ++listed)
            sector.u32(4 * i, listed < fatSectors ? firstFat + listed : FreeSector);
        sector.u32(SectorSize - 4, d + 1 < difatSectors ? firstDifat + d + 1 : EndOfChain);
        out.append(sector.bytes());
    }
    out.flush();
}
