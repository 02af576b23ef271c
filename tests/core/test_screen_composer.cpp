#include "core/screen_composer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace mosaiqua {
namespace {

// Colour code n draws as 0x100 + n, so every expected pixel names its code.
constexpr PaletteTable kPalette = {0x100, 0x101, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107,
                                   0x108, 0x109, 0x10A, 0x10B, 0x10C, 0x10D, 0x10E, 0x10F};
constexpr TColor P(int code) {
    return 0x100 + TColor(code);
}
// Frame pixel of display pixel (x, y) with the aligned scroll values.
constexpr int X(int x) {
    return 32 + x;
}
constexpr int Y(int y) {
    return 35 + y;
}

// Bank 0, screen $0400, characters $3000, bitmap $2000, 40 x 25, DEN on, YSCROLL 3; border 14,
// background 6, every cell colour 1.
struct Screen {
    MemoryImage ram;
    MachineState state;
    std::vector<std::uint8_t> rom;
    Screen() {
        state.vic[0x11] = 0x1B;
        state.vic[0x16] = 0x08;
        state.vic[0x18] = 0x1C | 0x08;
        state.vic[0x20] = 14;
        state.vic[0x21] = 6;
        state.vic[0x22] = 2, state.vic[0x23] = 3, state.vic[0x24] = 4;
        state.vic[0x25] = 9, state.vic[0x26] = 10;
        state.colourRam.assign(1024, 1);
    }
    void poke(int address, std::uint8_t value) { ram.write(std::size_t(address), &value, 1); }
    void cell(int column, int row, std::uint8_t code, std::uint8_t colour) {
        poke(0x0400 + row * 40 + column, code);
        state.colourRam[std::size_t(row * 40 + column)] = colour;
    }
    // Sprite n at (x, y), its data block at $0800 + n * 64 with its first line `a b c`.
    void sprite(int n, int x, int y, std::uint8_t colour, std::uint8_t a, std::uint8_t b = 0) {
        state.vic[std::size_t(2 * n)] = std::uint8_t(x);
        state.vic[0x10] = std::uint8_t((state.vic[0x10] & ~(1 << n)) | ((x >> 8) << n));
        state.vic[std::size_t(2 * n + 1)] = std::uint8_t(y);
        state.vic[0x15] |= std::uint8_t(1 << n);
        state.vic[std::size_t(0x27 + n)] = colour;
        poke(0x07F8 + n, std::uint8_t(0x20 + n));
        poke(0x0800 + n * 64, a);
        poke(0x0801 + n * 64, b);
    }
    ComposedScreen compose(ComposeOptions options = {}) const {
        return ComposeScreen(ram, state, rom, kPalette, options);
    }
    TColor at(int x, int y) const { return compose().picture.pixel(x, y); }
};

TEST(ScreenComposer, TextModesColourGlyphsByTheirRules) {
    Screen s;
    s.cell(0, 0, 1, 5);
    s.poke(0x3008, 0xA0); // glyph 1, line 0: pixels 0 and 2 set
    Raster f = s.compose().picture;
    ASSERT_EQ(f.width(), 384);
    ASSERT_EQ(f.height(), 272);
    EXPECT_EQ(f.pixel(X(0), Y(0)), P(5));
    EXPECT_EQ(f.pixel(X(1), Y(0)), P(6));
    EXPECT_EQ(f.pixel(X(2), Y(0)), P(5));
    EXPECT_EQ(f.pixel(X(-1), Y(0)), P(14));
    EXPECT_EQ(f.pixel(X(0), Y(-1)), P(14));

    // Multicolour: colour bit 3 set reads pairs, clear draws a hi-res glyph in colours 0-7.
    s.state.vic[0x16] |= 0x10;
    s.cell(0, 0, 1, 8 | 7);
    s.poke(0x3008, 0x1B); // 00 01 10 11
    s.cell(1, 0, 1, 2);
    f = s.compose().picture;
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(f.pixel(X(2 * p + 1), Y(0)), P(std::vector{6, 2, 3, 7}[std::size_t(p)])) << p;
    EXPECT_EQ(f.pixel(X(8 + 3), Y(0)), P(2));
    EXPECT_EQ(f.pixel(X(8 + 2), Y(0)), P(6));

    // ECM: code bits 6-7 pick the background, the glyph is code & $3F.
    s.state.vic[0x16] = 0x08;
    s.state.vic[0x11] |= 0x40;
    s.cell(2, 0, 0x81, 5);
    s.cell(3, 0, 0xC1, 5);
    f = s.compose().picture;
    EXPECT_EQ(f.pixel(X(16 + 3), Y(0)), P(5)); // 0x1B: pixel 3 set
    EXPECT_EQ(f.pixel(X(16), Y(0)), P(3));     // $D023
    EXPECT_EQ(f.pixel(X(24), Y(0)), P(4));     // $D024
}

TEST(ScreenComposer, BitmapModesTakeColoursFromScreenAndColourRam) {
    Screen s;
    s.state.vic[0x11] |= 0x20;
    s.cell(1, 1, 0x52, 7);
    s.poke(0x2000 + (41 * 8) + 2, 0x1B); // cell (1, 1), line 2
    Raster f = s.compose().picture;
    EXPECT_EQ(f.pixel(X(8 + 3), Y(8 + 2)), P(5)); // set: high nybble
    EXPECT_EQ(f.pixel(X(8), Y(8 + 2)), P(2));     // clear: low nybble

    s.state.vic[0x16] |= 0x10;
    f = s.compose().picture;
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(f.pixel(X(8 + 2 * p), Y(8 + 2)), P(std::vector{6, 5, 2, 7}[std::size_t(p)])) << p;
}

TEST(ScreenComposer, InvalidModesAreBlackButStillHideSpritesBehindThem) {
    // ECM BMM MCM: 1 1 0, 1 0 1, 1 1 1.
    for (const auto& [d011, d016] : {std::pair{0x60, 0}, std::pair{0x40, 0x10}, std::pair{0x60, 0x10}}) {
        const int bits = d011 | d016;
        Screen s;
        s.state.vic[0x11] |= std::uint8_t(d011);
        s.state.vic[0x16] |= std::uint8_t(d016);
        s.cell(0, 0, 1, 8 | 1);
        s.poke(0x3008, 0xC0);
        s.poke(0x2000, 0xC0);
        s.sprite(0, 24, 50, 13, 0xFF);
        s.state.vic[0x1B] = 1;
        const Raster f = s.compose().picture;
        EXPECT_EQ(f.pixel(X(0), Y(0)), P(0)) << bits;
        EXPECT_EQ(f.pixel(X(4), Y(0)), P(13)) << bits;
        EXPECT_EQ(f.pixel(X(4), Y(1)), P(0)) << bits;
    }
}

TEST(ScreenComposer, BorderWindowScrollAndDen) {
    Screen s;
    s.state.vic[0x16] &= ~0x08; // 38 columns
    s.state.vic[0x11] &= ~0x08; // 24 rows
    Raster f = s.compose().picture;
    EXPECT_EQ(f.pixel(38, 100), P(14));
    EXPECT_EQ(f.pixel(39, 100), P(6));
    EXPECT_EQ(f.pixel(342, 100), P(6));
    EXPECT_EQ(f.pixel(343, 100), P(14));
    EXPECT_EQ(f.pixel(100, 38), P(14));
    EXPECT_EQ(f.pixel(100, 39), P(6));
    EXPECT_EQ(f.pixel(100, 230), P(6));
    EXPECT_EQ(f.pixel(100, 231), P(14));

    // XSCROLL 2 and YSCROLL 5 move the graphics right 2 and down 2; uncovered pixels show $D021.
    Screen t;
    t.cell(0, 0, 1, 5);
    t.poke(0x3008, 0x80);
    t.poke(0x300B, 0x80);
    t.state.vic[0x16] |= 2;
    t.state.vic[0x11] = (t.state.vic[0x11] & ~7) | 5;
    f = t.compose().picture;
    EXPECT_EQ(f.pixel(X(0), Y(2)), P(6));
    EXPECT_EQ(f.pixel(X(2), Y(2)), P(5));
    EXPECT_EQ(f.pixel(X(2), Y(0)), P(6));
    // YSCROLL 0 moves them up 3: line 3 of the first row is on the display's first line.
    t.state.vic[0x11] &= ~7;
    t.state.vic[0x16] &= ~7;
    EXPECT_EQ(t.at(X(0), Y(0)), P(5));
    EXPECT_EQ(t.at(X(0), Y(1)), P(6));

    t.sprite(0, 24, 50, 13, 0xFF);
    t.state.vic[0x11] &= ~0x10;
    f = t.compose().picture;
    EXPECT_EQ(f, Raster(384, 272, P(14)));
}

TEST(ScreenComposer, SpritesArePlacedExpandedAndCutByTheBorder) {
    Screen s;
    s.sprite(0, 24, 50, 13, 0x80);
    EXPECT_EQ(s.at(X(0), Y(0)), P(13));
    EXPECT_EQ(s.at(X(1), Y(0)), P(6));
    // One pixel left: its first pixel lies under the border, the second shows.
    s.sprite(0, 23, 50, 13, 0xC0);
    EXPECT_EQ(s.at(X(-1), Y(0)), P(14));
    EXPECT_EQ(s.at(X(0), Y(0)), P(13));
    // X bit 8 from $D010: X = 336 is display pixel 312.
    s.sprite(0, 336, 60, 13, 0x80);
    EXPECT_EQ(s.at(X(312), Y(10)), P(13));
    // In the top border: covered.
    s.sprite(0, 24, 20, 13, 0xFF, 0xFF);
    EXPECT_EQ(s.compose().picture, Screen().compose().picture);

    // Expansion doubles each data pixel and line.
    Screen e;
    e.sprite(1, 24, 50, 13, 0x80);
    e.poke(0x0840 + 3, 0x40); // line 1: pixel 1
    e.state.vic[0x1D] = 2;
    e.state.vic[0x17] = 2;
    const Raster f = e.compose().picture;
    EXPECT_EQ(f.pixel(X(1), Y(1)), P(13));
    EXPECT_EQ(f.pixel(X(2), Y(0)), P(6));
    EXPECT_EQ(f.pixel(X(2), Y(2)), P(13));
    EXPECT_EQ(f.pixel(X(3), Y(3)), P(13));
    EXPECT_EQ(f.pixel(X(1), Y(3)), P(6));

    // Multicolour pairs: 01 $D025, 10 own colour, 11 $D026, 00 transparent.
    Screen m;
    m.sprite(2, 24, 50, 13, 0x6C); // 01 10 11 00
    m.state.vic[0x1C] = 4;
    const Raster g = m.compose().picture;
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(g.pixel(X(2 * p + 1), Y(0)), P(std::vector{9, 13, 10, 6}[std::size_t(p)])) << p;
}

TEST(ScreenComposer, SpritePriorities) {
    Screen s;
    s.cell(0, 0, 1, 5);
    s.poke(0x3008, 0xF0); // left half of the cell is foreground
    s.sprite(0, 24, 50, 12, 0x0F);
    s.sprite(1, 24, 50, 13, 0xFF);
    Raster f = s.compose().picture;
    EXPECT_EQ(f.pixel(X(0), Y(0)), P(13)); // sprite 1 where sprite 0 is transparent
    EXPECT_EQ(f.pixel(X(4), Y(0)), P(12)); // sprite 0 in front of sprite 1

    // Sprite 0 behind the foreground still hides sprite 1 there, but not over background.
    s.sprite(0, 24, 50, 12, 0xFF);
    s.state.vic[0x1B] = 1;
    s.poke(0x3008, 0x0F);
    f = s.compose().picture;
    EXPECT_EQ(f.pixel(X(4), Y(0)), P(5));
    EXPECT_EQ(f.pixel(X(0), Y(0)), P(12));

    // Multicolour text: pair 01 counts as background, 10 as foreground.
    s.state.vic[0x16] |= 0x10;
    s.cell(0, 0, 1, 8 | 5);
    s.poke(0x3008, 0x48); // 01 00 10 00
    f = s.compose().picture;
    EXPECT_EQ(f.pixel(X(0), Y(0)), P(12));
    EXPECT_EQ(f.pixel(X(4), Y(0)), P(3));
}

TEST(ScreenComposer, CharacterRomShadowAndCrop) {
    Screen s;
    s.state.vic[0x18] = 0x14; // characters at $1000
    s.cell(0, 0, 1, 5);
    s.poke(0x1008, 0xFF); // RAM under the ROM: never seen
    ComposedScreen c = s.compose();
    EXPECT_TRUE(c.characterRomMissing);
    EXPECT_EQ(c.picture.pixel(X(0), Y(0)), P(6));

    s.rom.assign(4096, 0);
    s.rom[8] = 0x80;
    c = s.compose();
    EXPECT_FALSE(c.characterRomMissing);
    EXPECT_EQ(c.picture.pixel(X(0), Y(0)), P(5));
    EXPECT_EQ(c.picture.pixel(X(1), Y(0)), P(6));

    // Bank 1 ($4000) has no shadow: $5000 is RAM.
    Screen b;
    b.state.cia2PortA = 0x02;
    b.state.vic[0x18] = 0x14;
    b.poke(0x4400, 1);
    b.poke(0x5008, 0x80);
    const ComposedScreen cropped = b.compose({.sprites = true, .border = false});
    EXPECT_FALSE(cropped.characterRomMissing);
    ASSERT_EQ(cropped.picture.width(), 320);
    ASSERT_EQ(cropped.picture.height(), 200);
    EXPECT_EQ(cropped.picture.pixel(0, 0), P(1));
    EXPECT_EQ(cropped.picture.pixel(1, 0), P(6));
}

TEST(ScreenComposer, HitTestNamesCellsAndShownSprites) {
    Screen s;
    s.cell(2, 1, 0x41, 7);
    s.sprite(3, 24 + 80, 50 + 40, 13, 0x80);
    ScreenHit hit = HitTestScreen(s.ram, s.state, s.rom, {}, X(16 + 5), Y(8 + 3));
    ASSERT_TRUE(hit.cell);
    EXPECT_FALSE(hit.sprite);
    EXPECT_EQ(hit.cell->column, 2);
    EXPECT_EQ(hit.cell->row, 1);
    EXPECT_EQ(hit.cell->screenAddress, 0x0400 + 42);
    EXPECT_EQ(hit.cell->graphicsAddress, 0x3000 + 0x41 * 8);
    EXPECT_EQ(DescribeScreenHit(hit), "Column 2, row 1: screen code $41 at $042A, glyph $3208, colour 7");

    hit = HitTestScreen(s.ram, s.state, s.rom, {.sprites = true, .border = false}, 80, 40);
    EXPECT_EQ(hit.sprite, 3);
    EXPECT_EQ(DescribeScreenHit(hit), "Sprite 3");
    EXPECT_FALSE(HitTestScreen(s.ram, s.state, s.rom, {}, X(81), Y(40)).sprite); // transparent pixel
    EXPECT_FALSE(HitTestScreen(s.ram, s.state, s.rom, {.sprites = false}, X(80), Y(40)).sprite);
    hit = HitTestScreen(s.ram, s.state, s.rom, {}, 5, 5);
    EXPECT_FALSE(hit.cell);
    EXPECT_EQ(DescribeScreenHit(hit), "");
}

} // namespace
} // namespace mosaiqua
