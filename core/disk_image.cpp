#include "disk_image.h"

#include "errors.h"

#include <algorithm>

namespace mosaiqua {

namespace {

constexpr int kBlockBytes = 256;
constexpr int kEntryBytes = 32;

struct Layout {
    int directoryTrack, directorySector; // the chain's start; 18/0's own pointer is ignored
    int headerTrack, headerSector;
    std::size_t nameOffset, idOffset;
};

Layout LayoutOf(DiskKind kind) {
    if (kind == DiskKind::D81)
        return {40, 3, 40, 0, 0x04, 0x16};
    return {18, 1, 18, 0, 0x90, 0xA2};
}

[[noreturn]] void Damaged(const std::string& reason) {
    throw UserError(UserError::Kind::CannotOpenFile, "The disk image is damaged: " + reason);
}

std::string Place(int track, int sector) {
    return "track " + std::to_string(track) + " sector " + std::to_string(sector);
}

// Walks a chain of blocks by their links only, refusing links off the disk and blocks seen twice
// (which also bounds it by the disk's size: a longer chain must repeat a block).
class ChainWalk final {
public:
    ChainWalk(std::span<const std::uint8_t> image, const DiskGeometry& geometry, std::string what)
        : m_image(image), m_geometry(geometry), m_what(std::move(what)),
          m_seen(std::size_t(geometry.totalBlocks()), false) {}

    // The block at (track, sector), or throws with the reason.
    const std::uint8_t* visit(int track, int sector, bool first) {
        if (!m_geometry.contains(track, sector))
            Damaged(m_what + (first ? " starts at " : " links to ") + Place(track, sector) +
                    ", outside the disk's " + std::to_string(m_geometry.tracks()) + " tracks.");
        const int block = m_geometry.blockIndex(track, sector);
        if (m_seen[std::size_t(block)])
            Damaged(m_what + " comes back to " + Place(track, sector) + " (its chain loops).");
        m_seen[std::size_t(block)] = true;
        return m_image.data() + std::size_t(block) * kBlockBytes;
    }

private:
    std::span<const std::uint8_t> m_image;
    const DiskGeometry& m_geometry;
    std::string m_what;
    std::vector<bool> m_seen;
};

const std::uint8_t* Block(std::span<const std::uint8_t> image, const DiskGeometry& geometry, int track,
                          int sector) {
    return image.data() + std::size_t(geometry.blockIndex(track, sector)) * kBlockBytes;
}

int BlocksFree(std::span<const std::uint8_t> image, const DiskGeometry& geometry) {
    int free = 0;
    if (geometry.kind() == DiskKind::D81) {
        // 40/1 and 40/2 hold 40 tracks each: a free count and five bitmap bytes per track.
        for (int track = 1; track <= 80; ++track)
            if (track != 40)
                free += Block(image, geometry, 40, 1 + (track - 1) / 40)[0x10 + 6 * ((track - 1) % 40)];
        return free;
    }
    const std::uint8_t* bam = Block(image, geometry, 18, 0);
    // The counts of tracks past 35 (on 40-track disks) sit where each DOS extension chose; the
    // drive's own listing counts 35.
    for (int track = 1; track <= 35; ++track)
        if (track != 18)
            free += bam[4 + 4 * (track - 1)];
    // The second side's counts at $DD are left empty by some writers; its bitmaps on 53/0 are
    // what every writer keeps.
    if (geometry.kind() == DiskKind::D71) {
        const std::uint8_t* bitmaps = Block(image, geometry, 53, 0);
        for (int track = 36; track <= 70; ++track)
            for (int sector = 0; track != 53 && sector < geometry.sectorsIn(track); ++sector)
                free += (bitmaps[3 * (track - 36) + sector / 8] >> (sector % 8)) & 1;
    }
    return free;
}

std::optional<int> FirstLoadAddress(std::span<const std::uint8_t> image, const DiskGeometry& geometry,
                                    const DiskEntry& entry) {
    if (!geometry.contains(entry.track, entry.sector))
        return std::nullopt;
    const std::uint8_t* block = Block(image, geometry, entry.track, entry.sector);
    if (block[0] == 0 && block[1] < 3)
        return std::nullopt;
    return block[2] | block[3] << 8;
}

} // namespace

DiskGeometry::DiskGeometry(DiskKind kind, int tracks, bool errorBytes)
    : m_kind(kind), m_tracks(tracks), m_errorBytes(errorBytes) {
    for (int t = 1; t <= tracks; ++t)
        m_trackStart[std::size_t(t)] = m_trackStart[std::size_t(t - 1)] + sectorsIn(t);
}

int DiskGeometry::sectorsIn(int track) const {
    if (m_kind == DiskKind::D81)
        return 40;
    if (m_kind == DiskKind::D71 && track > 35)
        track -= 35; // the second side repeats the zones
    return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17;
}

std::optional<DiskGeometry> DiskGeometry::ForSize(std::uint64_t size) {
    std::vector<DiskGeometry> candidates{DiskGeometry(DiskKind::D71, 70, false),
                                         DiskGeometry(DiskKind::D81, 80, false)};
    for (int tracks = 35; tracks <= 42; ++tracks)
        candidates.push_back(DiskGeometry(DiskKind::D64, tracks, false));
    for (DiskGeometry& geometry : candidates) {
        const std::uint64_t blocks = std::uint64_t(geometry.totalBlocks());
        if (size == blocks * kBlockBytes)
            return geometry;
        if (size == blocks * (kBlockBytes + 1)) {
            geometry.m_errorBytes = true;
            return geometry;
        }
    }
    return std::nullopt;
}

DiskDirectory ReadDiskDirectory(std::span<const std::uint8_t> image, const DiskGeometry& geometry) {
    if (image.size() < std::size_t(geometry.totalBlocks()) * kBlockBytes)
        Damaged("it is cut short.");
    const Layout layout = LayoutOf(geometry.kind());
    DiskDirectory directory;
    const std::uint8_t* header = Block(image, geometry, layout.headerTrack, layout.headerSector);
    std::copy_n(header + layout.nameOffset, directory.name.size(), directory.name.begin());
    std::copy_n(header + layout.idOffset, directory.id.size(), directory.id.begin());
    directory.blocksFree = BlocksFree(image, geometry);

    ChainWalk walk(image, geometry, "the directory");
    int track = layout.directoryTrack, sector = layout.directorySector;
    for (bool first = true; track != 0; first = false) {
        const std::uint8_t* block = walk.visit(track, sector, first);
        for (int slot = 0; slot < kBlockBytes / kEntryBytes; ++slot) {
            const std::uint8_t* e = block + slot * kEntryBytes;
            if (e[2] == 0)
                continue; // scratched or never used
            DiskEntry entry;
            entry.typeByte = e[2];
            entry.track = e[3];
            entry.sector = e[4];
            std::copy_n(e + 5, entry.name.size(), entry.name.begin());
            entry.blocks = e[0x1E] | e[0x1F] << 8;
            if (entry.type() == int(CbmFileType::Prg))
                entry.loadAddress = FirstLoadAddress(image, geometry, entry);
            directory.entries.push_back(entry);
        }
        track = block[0];
        sector = block[1];
    }
    return directory;
}

std::vector<std::uint8_t> ReadDiskFile(std::span<const std::uint8_t> image, const DiskGeometry& geometry,
                                       int track, int sector, const std::string& what) {
    if (image.size() < std::size_t(geometry.totalBlocks()) * kBlockBytes)
        Damaged("it is cut short.");
    // The chain is checked and measured first, so the data is copied into one buffer of its size.
    std::vector<const std::uint8_t*> blocks;
    ChainWalk walk(image, geometry, what);
    for (const std::uint8_t* block = walk.visit(track, sector, true);;
         block = walk.visit(block[0], block[1], false)) {
        blocks.push_back(block);
        if (block[0] == 0)
            break;
    }
    // In the last block the sector byte is the index of its last used byte.
    const std::uint8_t last = blocks.back()[1];
    const std::size_t lastBytes = last >= 2 ? last - 1 : 0;
    std::vector<std::uint8_t> data((blocks.size() - 1) * (kBlockBytes - 2) + lastBytes);
    std::uint8_t* out = data.data();
    for (std::size_t i = 0; i + 1 < blocks.size(); ++i, out += kBlockBytes - 2)
        std::copy_n(blocks[i] + 2, kBlockBytes - 2, out);
    std::copy_n(blocks.back() + 2, lastBytes, out);
    return data;
}

const char* CbmFileTypeKeyword(int type) {
    switch (type) {
    case 1:
        return "seq";
    case 2:
        return "prg";
    case 3:
        return "usr";
    case 4:
        return "rel";
    case 5:
        return "cbm";
    default:
        return "del";
    }
}

} // namespace mosaiqua
