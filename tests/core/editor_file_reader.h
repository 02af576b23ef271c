#pragma once

// Readers for SpritePad version 1 and CharPad version 5 files, written from the published layouts
// (not from the writers), so that a saved file is checked against what an editor would read.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace mosaiqua::test {

using Bytes = std::vector<std::uint8_t>;

struct SpdFile {
    Bytes header;                 // "SPD", version, sprites - 1, animations - 1, three colours
    std::vector<Bytes> data;      // 63 bytes a sprite
    Bytes attributes, animations; // one a sprite; the four animation arrays
};

inline SpdFile ReadSpd(const Bytes& f) {
    SpdFile s;
    const std::size_t sprites = f.size() > 4 ? f[4] + 1u : 0, animations = f.size() > 5 ? f[5] + 1u : 0;
    EXPECT_EQ(f.size(), 9 + 64 * sprites + 4 * animations);
    if (f.size() != 9 + 64 * sprites + 4 * animations)
        return s;
    s.header.assign(f.begin(), f.begin() + 9);
    for (std::size_t i = 0, at = 9; i < sprites; ++i, at += 64) {
        s.data.emplace_back(f.begin() + std::ptrdiff_t(at), f.begin() + std::ptrdiff_t(at + 63));
        s.attributes.push_back(f[at + 63]);
    }
    s.animations.assign(f.end() - std::ptrdiff_t(4 * animations), f.end());
    return s;
}

struct CtmFile {
    Bytes header; // "CTM", version, 4 colours, colouring, flags (the first 10 bytes)
    int characters = 0, mapWidth = 0, mapHeight = 0;
    Bytes characterData, attributes;
    std::vector<int> map;
};

// Files without tiles only.
inline CtmFile ReadCtm(const Bytes& f) {
    CtmFile c;
    EXPECT_TRUE(f.size() >= 20 && !(f[9] & 1)) << "not a CharPad file without tiles";
    if (f.size() < 20 || (f[9] & 1))
        return c;
    const auto word = [&](std::size_t at) { return f[at] | (f[at + 1] << 8); };
    c.header.assign(f.begin(), f.begin() + 10);
    c.characters = word(10) + 1, c.mapWidth = word(16), c.mapHeight = word(18);
    const std::size_t characters = std::size_t(c.characters), attributes = 20 + 8 * characters;
    EXPECT_EQ(f.size(), attributes + characters + std::size_t(c.mapWidth * c.mapHeight) * 2);
    if (f.size() != attributes + characters + std::size_t(c.mapWidth * c.mapHeight) * 2)
        return c;
    c.characterData.assign(f.begin() + 20, f.begin() + std::ptrdiff_t(attributes));
    c.attributes.assign(f.begin() + std::ptrdiff_t(attributes),
                        f.begin() + std::ptrdiff_t(attributes + characters));
    for (std::size_t at = attributes + characters; at < f.size(); at += 2)
        c.map.push_back(word(at));
    return c;
}

} // namespace mosaiqua::test
