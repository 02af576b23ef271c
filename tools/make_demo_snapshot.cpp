// Writes a small freeze file of our own for trying the window and mosaiqua-cli:
//   make-demo-snapshot CHARGEN_ROM OUTPUT
// Layout: 1148 header bytes, 64 KB of RAM, 1464 trailing zero bytes (68148 bytes).
// RAM: sixteen sprites from $2000, 64 bytes apart:
//   $2000 smiley, $2040 rocket, $2080 heart, $20C0 arrow, $2100..$22C0 the letters M O S A I Q U A,
//   $2300 checkerboard (pixel set where (x / 4 + y / 3) is even),
//   $2340, $2380, $23C0 multicolour: bit pair (x / 3) % 4 of the 12 double pixels across,
//   (y * 4) / 21 down, and (x + y) / 2 % 4 diagonally;
// and at $3000 the first 2 KB (upper case and graphics) of the character ROM given.
#include "core/bmp.h"
#include "core/errors.h"
#include "core/memory_image.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Art = std::array<const char*, 21>; // '#' = set pixel

constexpr Art kSmiley{"........########........", "......############......", "....################....",
                      "...##################...", "..####################..", "..#####..######..#####..",
                      ".######..######..######.", ".######..######..######.", ".######################.",
                      ".######################.", ".######################.", ".####.############.####.",
                      ".#####.##########.#####.", "..#####.########.#####..", "..######........######..",
                      "...##################...", "....################....", "......############......",
                      "........########........", "........................", "........................"};
constexpr Art kRocket{"...........##...........", "..........####..........", ".........######.........",
                      ".........##..##.........", ".........##..##.........", ".........######.........",
                      ".........######.........", ".........##..##.........", ".........##..##.........",
                      ".........######.........", ".........######.........", ".........######.........",
                      "........########........", ".......##########.......", "......###.####.###......",
                      ".....###..####..###.....", ".....##...####...##.....", "..........#..#..........",
                      ".........#.##.#.........", "........#..##..#........", ".......#...##...#......."};
constexpr Art kHeart{"........................", "...#####........#####...", "..#######......#######..",
                     ".#########....#########.", ".##########..##########.", ".######################.",
                     ".######################.", ".######################.", "..####################..",
                     "..####################..", "...##################...", "....################....",
                     ".....##############.....", "......############......", ".......##########.......",
                     "........########........", ".........######.........", "..........####..........",
                     "...........##...........", "........................", "........................"};
constexpr Art kArrow{"........................", "........................", "............#...........",
                     "............##..........", "............###.........", "............####........",
                     "............#####.......", "............######......", "..#################.....",
                     "..##################....", "..###################...", "..##################....",
                     "..#################.....", "............######......", "............#####.......",
                     "............####........", "............###.........", "............##..........",
                     "............#...........", "........................", "........................"};

constexpr bool RowsAre(const char* const* rows, int count, int width) {
    for (int i = 0; i < count; ++i) {
        int n = 0;
        while (rows[i][n] != '\0')
            ++n;
        if (n != width)
            return false;
    }
    return true;
}
static_assert(RowsAre(kSmiley.data(), 21, 24) && RowsAre(kRocket.data(), 21, 24) &&
              RowsAre(kHeart.data(), 21, 24) && RowsAre(kArrow.data(), 21, 24));

// 5 x 7 letters, drawn three times as wide and as tall.
struct Letter {
    char name;
    std::array<const char*, 7> rows;
};
constexpr std::array<Letter, 7> kLetters{{
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
}};
static_assert([] {
    for (const Letter& letter : kLetters)
        if (!RowsAre(letter.rows.data(), 7, 5))
            return false;
    return true;
}());

// Packs a 24 x 21 hi-res picture into the 63 bytes of a sprite, leftmost pixel in bit 7.
template <typename F> void PutHiRes(std::vector<std::uint8_t>& ram, int address, F isSet) {
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 24; ++x)
            if (isSet(x, y))
                ram[address + 3 * y + x / 8] |= std::uint8_t(0x80 >> (x % 8));
}

// Packs 12 x 21 bit pairs, the leftmost pair in bits 7-6.
template <typename F> void PutMulticolour(std::vector<std::uint8_t>& ram, int address, F pairOf) {
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 12; ++x)
            ram[address + 3 * y + x / 4] |= std::uint8_t((pairOf(x, y) & 3) << (6 - 2 * (x % 4)));
}

void PutArt(std::vector<std::uint8_t>& ram, int address, const Art& art) {
    PutHiRes(ram, address, [&](int x, int y) { return art[y][x] == '#'; });
}

void PutLetter(std::vector<std::uint8_t>& ram, int address, char name) {
    for (const Letter& letter : kLetters)
        if (letter.name == name)
            PutHiRes(ram, address, [&](int x, int y) {
                const int column = (x - 4) / 3; // centred: columns 4..18
                return x >= 4 && column < 5 && letter.rows[y / 3][column] == '#';
            });
}

// Without a character ROM: 256 glyph-like characters (blank top and bottom rows, strokes in columns
// 1-6, as a font has them), so the demo still has a character set to find.
std::vector<std::uint8_t> DrawnCharSet() {
    std::vector<std::uint8_t> set(2048, 0);
    std::uint32_t state = 12345;
    for (std::size_t c = 0; c < 256; ++c)
        for (std::size_t row = 1; row < 7; ++row) {
            state = state * 1103515245u + 12345u;
            set[c * 8 + row] = std::uint8_t((state >> 16) & 0x7E);
        }
    return set;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: make-demo-snapshot OUTPUT [CHARGEN_ROM]\n";
        return 2;
    }
    std::vector<std::uint8_t> rom = DrawnCharSet();
    if (argc == 3) {
        std::ifstream romFile(argv[2], std::ios::binary);
        rom.assign(std::istreambuf_iterator<char>(romFile), std::istreambuf_iterator<char>());
        if (!romFile.is_open() || romFile.bad()) {
            std::cerr << "make-demo-snapshot: cannot read " << argv[2] << '\n';
            return 1;
        }
    }
    constexpr std::size_t kCharSetBytes = 2048;
    if (rom.size() < kCharSetBytes) {
        std::cerr << "make-demo-snapshot: " << argv[2] << " holds " << rom.size()
                  << " bytes, not a 2 KB charset\n";
        return 1;
    }

    std::vector<std::uint8_t> ram(65536, 0);
    int address = 0x2000;
    for (const Art* art : {&kSmiley, &kRocket, &kHeart, &kArrow}) {
        PutArt(ram, address, *art);
        address += 64;
    }
    for (char c : std::string("MOSAIQUA")) {
        PutLetter(ram, address, c);
        address += 64;
    }
    PutHiRes(ram, 0x2300, [](int x, int y) { return (x / 4 + y / 3) % 2 == 0; });
    PutMulticolour(ram, 0x2340, [](int x, int) { return x / 3; });
    PutMulticolour(ram, 0x2380, [](int, int y) { return y * 4 / 21; });
    PutMulticolour(ram, 0x23C0, [](int x, int y) { return (x + y) / 2; });
    std::copy(rom.begin(), rom.begin() + kCharSetBytes, ram.begin() + 0x3000);

    constexpr std::size_t kTrailingBytes = 1464;
    const std::string title = "C64-DEMO SNAPSHOT MADE BY MOSAIQUA";
    std::vector<std::uint8_t> file(mosaiqua::MemoryImage::kHeaderBytes + ram.size() + kTrailingBytes, 0);
    std::copy(title.begin(), title.end(), file.begin());
    std::copy(ram.begin(), ram.end(), file.begin() + mosaiqua::MemoryImage::kHeaderBytes);
    try {
        mosaiqua::WriteFileAtomically(argv[1], file);
    } catch (const mosaiqua::UserError& e) {
        std::cerr << "make-demo-snapshot: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
