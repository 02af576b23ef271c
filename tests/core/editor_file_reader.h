#pragma once

// Readers for SpritePad version 1 and CharPad version 5 files, written from the published layouts
// (not from the writers), so that a saved file is checked against what an editor would read.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mosaiqua::test {

struct SpdFile {
    int version = 0;
    int sprites = 0, animations = 0;
    int background = 0, multicolour1 = 0, multicolour2 = 0;
    std::vector<std::vector<std::uint8_t>> data; // 63 bytes each
    std::vector<std::uint8_t> attributes;
    std::vector<std::uint8_t> animationArrays; // first, last, speed, attributes: 4 x animations
};

inline SpdFile ReadSpd(const std::vector<std::uint8_t>& f) {
    SpdFile s;
    EXPECT_TRUE(f.size() >= 9 && f[0] == 'S' && f[1] == 'P' && f[2] == 'D');
    if (f.size() < 9)
        return s;
    s.version = f[3];
    s.sprites = f[4] + 1;
    s.animations = f[5] + 1;
    s.background = f[6], s.multicolour1 = f[7], s.multicolour2 = f[8];
    EXPECT_EQ(f.size(), std::size_t(9 + 64 * s.sprites + 4 * s.animations));
    if (f.size() != std::size_t(9 + 64 * s.sprites + 4 * s.animations))
        return s;
    for (int i = 0; i < s.sprites; ++i) {
        const auto sprite = f.begin() + 9 + 64 * i;
        s.data.emplace_back(sprite, sprite + 63);
        s.attributes.push_back(sprite[63]);
    }
    s.animationArrays.assign(f.begin() + 9 + 64 * s.sprites, f.end());
    return s;
}

struct CtmFile {
    int version = 0;
    int background = 0, multicolour1 = 0, multicolour2 = 0, characterColour = 0;
    int colouring = 0, flags = 0;
    int characters = 0, mapWidth = 0, mapHeight = 0;
    std::vector<std::uint8_t> characterData, attributes;
    std::vector<int> map;
};

inline CtmFile ReadCtm(const std::vector<std::uint8_t>& f) {
    CtmFile c;
    EXPECT_TRUE(f.size() >= 20 && f[0] == 'C' && f[1] == 'T' && f[2] == 'M');
    if (f.size() < 20)
        return c;
    const auto word = [&](std::size_t at) { return f[at] | (f[at + 1] << 8); };
    c.version = f[3];
    c.background = f[4], c.multicolour1 = f[5], c.multicolour2 = f[6], c.characterColour = f[7];
    c.colouring = f[8], c.flags = f[9];
    c.characters = word(10) + 1;
    EXPECT_EQ(c.flags & 1, 0) << "this reader knows files without tiles only";
    c.mapWidth = word(16), c.mapHeight = word(18);
    std::size_t at = 20;
    const std::size_t end = at + std::size_t(c.characters) * 9 + std::size_t(c.mapWidth * c.mapHeight) * 2;
    EXPECT_EQ(f.size(), end);
    if (f.size() != end)
        return c;
    c.characterData.assign(f.begin() + 20, f.begin() + 20 + 8 * c.characters);
    at += std::size_t(8 * c.characters);
    c.attributes.assign(f.begin() + std::ptrdiff_t(at), f.begin() + std::ptrdiff_t(at) + c.characters);
    for (at += std::size_t(c.characters); at < f.size(); at += 2)
        c.map.push_back(word(at));
    return c;
}

} // namespace mosaiqua::test
