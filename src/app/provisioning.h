#pragma once

#include <QString>

// The station database file of the running program, held so that a second running
// copy cannot overwrite it.
class HeldDataFile final
{
public:
    HeldDataFile() = default;
    explicit HeldDataFile(int fd) : m_fd(fd) {}
    HeldDataFile(HeldDataFile&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    HeldDataFile& operator=(HeldDataFile&& other) noexcept;
    ~HeldDataFile();
    HeldDataFile(const HeldDataFile&) = delete;
    HeldDataFile& operator=(const HeldDataFile&) = delete;

    bool isHeld() const { return m_fd >= 0; }
    void release();

private:
    int m_fd = -1;
};

// Where the program keeps its data: the folder "korva" beside the per-user local data
// folder (~/.local/korva for ~/.local/share), and the file KORVAZARN.dat in it.
namespace DataFolder {
QString localDataFolder();
QString dataFolderFor(const QString& localDataFolder);
QString stationDatabaseFileFor(const QString& localDataFolder);
} // namespace DataFolder

// Writes the embedded station database to the data folder, replacing whatever file is
// there: the folder is created if needed and made private, the file written from the
// resource's bytes. A missing resource, or a file that cannot be written (also when
// another running copy holds it), raises an error that names the cause and the path.
HeldDataFile provisionStationDatabase(const QString& resourcePath, const QString& localDataFolder);
