#pragma once

#include "petscii.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

enum class DiskKind { D64, D71, D81 };

// Tracks and sectors of an image, decided by its size alone (disk images carry no signature).
class DiskGeometry final {
public:
    static std::optional<DiskGeometry> ForSize(std::uint64_t size);

    DiskKind kind() const { return m_kind; }
    int tracks() const { return m_tracks; }
    bool hasErrorBytes() const { return m_errorBytes; }
    int totalBlocks() const { return m_trackStart[std::size_t(m_tracks)]; }
    int sectorsIn(int track) const;
    bool contains(int track, int sector) const {
        return track >= 1 && track <= m_tracks && sector >= 0 && sector < sectorsIn(track);
    }
    // Blocks before (track, sector): its offset in the image is 256 times this.
    int blockIndex(int track, int sector) const { return m_trackStart[std::size_t(track - 1)] + sector; }

private:
    DiskGeometry(DiskKind kind, int tracks, bool errorBytes);
    DiskKind m_kind;
    int m_tracks;
    bool m_errorBytes;
    std::array<int, 81> m_trackStart{};
};

enum class CbmFileType { Del = 0, Seq = 1, Prg = 2, Usr = 3, Rel = 4 };

struct DiskEntry {
    PetsciiName name{};
    std::uint8_t typeByte = 0; // bits 0-3 the type, bit 6 locked, bit 7 closed
    int track = 0;
    int sector = 0;
    int blocks = 0;
    std::optional<int> loadAddress; // a PRG's first two bytes, when its first block is readable

    int type() const { return typeByte & 0x0F; }
    bool locked() const { return (typeByte & 0x40) != 0; }
    bool closed() const { return (typeByte & 0x80) != 0; }
};

struct DiskDirectory {
    PetsciiName name{};
    std::array<std::uint8_t, 5> id{}; // the ID, a `$A0`, the DOS type: "00 2A"
    int blocksFree = 0;
    std::vector<DiskEntry> entries; // in directory order, scratched entries left out
};

// Both throw UserError(CannotOpenFile) with the reason (in the user's words) when the image is
// damaged: a link outside the disk, a block visited twice.
DiskDirectory ReadDiskDirectory(std::span<const std::uint8_t> image, const DiskGeometry& geometry);
// The data bytes of the chain starting at (track, sector); `what` names it in messages.
std::vector<std::uint8_t> ReadDiskFile(std::span<const std::uint8_t> image, const DiskGeometry& geometry,
                                       int track, int sector, const std::string& what);

// "prg", "seq", "usr", "rel", "del" ("cbm" for a 1581 partition).
const char* CbmFileTypeKeyword(int type);

} // namespace mosaiqua
