#pragma once

// Disk images built byte by byte from the 1541's layout, for the container tests.
#include "core/container.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace mosaiqua::test {

class DiskBuilder final {
public:
    // 35..42 tracks of a D64; `errorBytes` appends one `$01` per block.
    explicit DiskBuilder(int tracks, bool errorBytes = false) : m_tracks(tracks) {
        int blocks = 0;
        for (int t = 1; t <= tracks; ++t)
            blocks += Sectors(t);
        m_bytes.assign(std::size_t(blocks) * 256, 0);
        if (errorBytes)
            m_bytes.resize(m_bytes.size() + std::size_t(blocks), 0x01);
        link(18, 0, 18, 1); // readers ignore it, but other tools follow it
        block(18, 0)[2] = 'A';
        std::memset(block(18, 0) + 0x90, 0xA0, 0x1B);
        setName(block(18, 0) + 0x90, "EMPTY");
        std::memcpy(block(18, 0) + 0xA2,
                    "01\xA0"
                    "2A",
                    5);
        link(18, 1, 0, 0xFF); // an empty directory
    }
    static int Sectors(int track) { return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17; }
    std::uint8_t* block(int track, int sector) {
        std::size_t before = 0;
        for (int t = 1; t < track; ++t)
            before += std::size_t(Sectors(t));
        return m_bytes.data() + (before + std::size_t(sector)) * 256;
    }
    void link(int track, int sector, int toTrack, int toSector) {
        block(track, sector)[0] = std::uint8_t(toTrack);
        block(track, sector)[1] = std::uint8_t(toSector);
    }
    static void setName(std::uint8_t* at, const std::string& name) {
        std::memset(at, 0xA0, 16);
        std::memcpy(at, name.data(), name.size());
    }
    // A directory entry in slot 0..7 of a directory block.
    void entry(int dirTrack, int dirSector, int slot, std::uint8_t type, int track, int sector,
               const std::string& name, int blocks) {
        std::uint8_t* e = block(dirTrack, dirSector) + slot * 32;
        e[2] = type;
        e[3] = std::uint8_t(track);
        e[4] = std::uint8_t(sector);
        setName(e + 5, name);
        e[0x1E] = std::uint8_t(blocks);
        e[0x1F] = std::uint8_t(blocks >> 8);
    }
    // Spreads `data` over the blocks in order, 254 bytes each, linking them.
    void chain(const std::vector<std::pair<int, int>>& blocks, const std::vector<std::uint8_t>& data) {
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const std::size_t from = i * 254, count = std::min<std::size_t>(254, data.size() - from);
            std::memcpy(block(blocks[i].first, blocks[i].second) + 2, data.data() + from, count);
            if (i + 1 < blocks.size())
                link(blocks[i].first, blocks[i].second, blocks[i + 1].first, blocks[i + 1].second);
            else
                link(blocks[i].first, blocks[i].second, 0, int(count) + 1);
        }
    }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    int m_tracks;
    std::vector<std::uint8_t> m_bytes;
};

// A PRG's bytes: the load address, then `count` bytes counting up from `seed`.
inline std::vector<std::uint8_t> Program(int loadAddress, std::size_t count, std::uint8_t seed = 1) {
    std::vector<std::uint8_t> bytes{std::uint8_t(loadAddress), std::uint8_t(loadAddress >> 8)};
    for (std::size_t i = 0; i < count; ++i)
        bytes.push_back(std::uint8_t(seed + i * 7));
    return bytes;
}

// True when memory from `address` holds `bytes` and every other RAM byte is 0.
inline ::testing::AssertionResult HoldsOnly(const MemoryImage& image, int address,
                                            const std::vector<std::uint8_t>& bytes) {
    for (int a = 0; a < 0x10000; ++a) {
        const bool inside = a >= address && a < address + int(bytes.size());
        const std::uint8_t want = inside ? bytes[std::size_t(a - address)] : 0;
        if (image.byteAt(a) != want)
            return ::testing::AssertionFailure()
                   << "byte at " << a << " is " << int(image.byteAt(a)) << ", not " << int(want);
    }
    return ::testing::AssertionSuccess();
}

} // namespace mosaiqua::test
