// Writes a small VICE snapshot of our own for trying the window and mosaiqua-cli:
//   make-demo-snapshot OUTPUT
// It is laid out as VICE's x64 writes one (C64MEM, CIA2, VIC-II), so it holds the video chip's state.
// RAM: sixteen sprites from $2000, 64 bytes apart:
//   $2000 smiley, $2040 rocket, $2080 heart, $20C0 arrow, $2100..$22C0 the letters M O S A I Q U A,
//   $2300 checkerboard (pixel set where (x / 4 + y / 3) is even),
//   $2340, $2380, $23C0 multicolour: bit pair (x / 3) % 4 of the 12 double pixels across,
//   (y * 4) / 21 down, and (x + y) / 2 % 4 diagonally;
// at $3000 a character set drawn here (upper case, digits, a few signs; codes 128-255 inverted) and
// at $0400 a text screen using it, with six of the sprites on it.
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

// The demo's 5 x 7 font: three times as wide and as tall in the letter sprites, and emboldened (each
// pixel also sets its right-hand neighbour) in the character set.
struct Letter {
    char name;
    std::array<const char*, 7> rows;
};
constexpr std::array<Letter, 53> kLetters{{
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "..##.", ".#...", "#....", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
    {'@', {".###.", "#...#", "#.###", "#.#.#", "#.###", "#....", ".####"}},
    {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {'?', {".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."}},
    {',', {".....", ".....", ".....", ".....", ".....", "..#..", ".#..."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".....", "..#.."}},
    {':', {".....", "..#..", ".....", ".....", ".....", "..#..", "....."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'=', {".....", ".....", "#####", ".....", "#####", ".....", "....."}},
    {'/', {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."}},
    {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
    {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
    {'$', {"..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."}},
    {'\'', {"..#..", "..#..", ".....", ".....", ".....", ".....", "....."}},
    {'*', {".....", "#.#.#", ".###.", "#####", ".###.", "#.#.#", "....."}},
    {'<', {"...#.", "..#..", ".#...", "#....", ".#...", "..#..", "...#."}},
    {'>', {".#...", "..#..", "...#.", "....#", "...#.", "..#..", ".#..."}},
}};
static_assert([] {
    for (const Letter& letter : kLetters)
        if (!RowsAre(letter.rows.data(), 7, 5))
            return false;
    return true;
}());

const Letter* FindLetter(char name) {
    for (const Letter& letter : kLetters)
        if (letter.name == name)
            return &letter;
    return nullptr;
}

// The screen code of a character as the C64's upper-case set numbers them: @ and A-Z are 0-26,
// space and the signs and digits 32-63 as in ASCII.
std::uint8_t ScreenCode(char c) {
    return std::uint8_t(c >= '@' && c <= 'Z' ? c - '@' : c);
}

// Codes 0-63 from the font (the rest of 0-127 blank), 128-255 the same inverted.
void PutCharSet(std::vector<std::uint8_t>& ram, int address) {
    for (const Letter& letter : kLetters)
        for (int y = 0; y < 7; ++y) {
            unsigned bits = 0;
            for (int x = 0; x < 5; ++x)
                if (letter.rows[std::size_t(y)][x] == '#')
                    bits |= 0x40u >> x; // column 0 is pixel 1
            ram[std::size_t(address + ScreenCode(letter.name) * 8 + y)] = std::uint8_t(bits | bits >> 1);
        }
    for (int i = 0; i < 128 * 8; ++i)
        ram[std::size_t(address + 128 * 8 + i)] = std::uint8_t(~ram[std::size_t(address + i)]);
}

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
    const Letter& letter = *FindLetter(name);
    PutHiRes(ram, address, [&](int x, int y) {
        const int column = (x - 4) / 3; // centred: columns 4..18
        return x >= 4 && column < 5 && letter.rows[std::size_t(y / 3)][column] == '#';
    });
}

// The text screen at $0400 and its colours: a title in colours between two bars of inverted spaces.
void PutScreen(std::vector<std::uint8_t>& ram, std::vector<std::uint8_t>& colours) {
    std::fill(ram.begin() + 0x0400, ram.begin() + 0x0400 + 1000, ScreenCode(' '));
    std::fill(colours.begin(), colours.end(), std::uint8_t(14));
    const auto put = [&](int column, int row, const std::string& text, int colour) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int cell = row * 40 + column + int(i);
            ram[std::size_t(0x0400 + cell)] = ScreenCode(text[i]);
            colours[std::size_t(cell)] = std::uint8_t(colour);
        }
    };
    constexpr std::array<int, 8> kRainbow{2, 8, 7, 5, 13, 3, 10, 4};
    for (int column = 0; column < 40; ++column)
        for (int row : {0, 24}) {
            ram[std::size_t(0x0400 + row * 40 + column)] = 160; // an inverted space: a block
            colours[std::size_t(row * 40 + column)] = std::uint8_t(kRainbow[std::size_t(column / 5)]);
        }
    const std::string title = "MOSAIQUA";
    constexpr std::array<int, 8> kTitle{1, 7, 13, 3, 15, 5, 10, 7};
    for (std::size_t i = 0; i < title.size(); ++i)
        put(16 + int(i), 3, std::string(1, title[i]), kTitle[i]);
    put(10, 5, "A C64 GRAPHICS RIPPER", 15);
    put(2, 9, "SPRITES     $2000-$23FF", 7);
    put(2, 11, "CHARACTERS  $3000-$37FF", 13);
    put(2, 13, "SCREEN      $0400 (40 X 25)", 3);
    put(2, 15, "COLOURS     $D800", 10);
    put(2, 19, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1);
    put(2, 20, "0123456789 @!?,.:-+=/()$'*<>", 15);
    put(2, 22, "READY.", 14);
}

struct DemoSprite {
    int number;
    int block; // pointer: the data is at block x 64
    int x, y;
    int colour;
    bool multicolour, expandX, expandY, behind;
};
// Hi-res and multicolour, one expanded both ways, the heart behind the title's letters and the
// arrow half under the left border.
constexpr std::array<DemoSprite, 6> kDemoSprites{{
    {0, 0x80, 24 + 272, 50 + 64, 7, false, false, false, false}, // smiley
    {1, 0x81, 24 + 264, 50 + 110, 1, false, true, true, false},  // rocket
    {2, 0x82, 24 + 124, 50 + 18, 2, false, false, false, true},  // heart
    {3, 0x8D, 24 + 216, 50 + 148, 5, true, false, false, false}, // stripes
    {4, 0x8F, 24 + 228, 50 + 160, 4, true, true, false, false},  // diagonals
    {5, 0x83, 24 - 12, 50 + 68, 13, false, false, false, false}, // arrow
}};

std::array<std::uint8_t, 64> VicRegisters() {
    std::array<std::uint8_t, 64> r{};
    r[0x11] = 0x1B; // text, display on, 25 rows, YSCROLL 3
    r[0x16] = 0x08; // 40 columns
    r[0x18] = 0x1C; // screen $0400, characters $3000
    r[0x20] = 14;
    r[0x21] = 6;
    r[0x25] = 8;
    r[0x26] = 13;
    for (const DemoSprite& s : kDemoSprites) {
        const int bit = 1 << s.number;
        r[std::size_t(2 * s.number)] = std::uint8_t(s.x & 0xFF);
        r[std::size_t(2 * s.number + 1)] = std::uint8_t(s.y);
        r[0x10] |= std::uint8_t(s.x > 0xFF ? bit : 0);
        r[0x15] |= std::uint8_t(bit);
        r[0x17] |= std::uint8_t(s.expandY ? bit : 0);
        r[0x1B] |= std::uint8_t(s.behind ? bit : 0);
        r[0x1C] |= std::uint8_t(s.multicolour ? bit : 0);
        r[0x1D] |= std::uint8_t(s.expandX ? bit : 0);
        r[std::size_t(0x27 + s.number)] = std::uint8_t(s.colour);
    }
    return r;
}

// A snapshot as VICE's x64 lays it out: header without version block, then the modules, each with
// a 22-byte header (name, version, size counting the header).
class SnapshotWriter final {
public:
    SnapshotWriter() {
        text("VICE Snapshot File\x1A", 19);
        m_bytes.insert(m_bytes.end(), {1, 1});
        text("C64", 16);
    }
    void module(const char* name, std::uint8_t major, std::uint8_t minor,
                const std::vector<std::uint8_t>& body) {
        text(name, 16);
        m_bytes.insert(m_bytes.end(), {major, minor});
        const std::size_t size = body.size() + 22;
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(std::uint8_t(size >> (8 * i)));
        m_bytes.insert(m_bytes.end(), body.begin(), body.end());
    }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    void text(const std::string& value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            m_bytes.push_back(i < value.size() ? std::uint8_t(value[i]) : 0);
    }
    std::vector<std::uint8_t> m_bytes;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-demo-snapshot OUTPUT\n";
        return 2;
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
    PutCharSet(ram, 0x3000);
    std::vector<std::uint8_t> colourRam(1024, 0);
    PutScreen(ram, colourRam);
    for (const DemoSprite& s : kDemoSprites)
        ram[std::size_t(0x07F8 + s.number)] = std::uint8_t(s.block);

    SnapshotWriter snapshot;
    // CPU port, its direction, EXROM, GAME, the RAM, then a few bytes of port state.
    std::vector<std::uint8_t> memory(4 + ram.size() + 8, 0);
    memory[0] = 0x37;
    memory[1] = 0x2F;
    memory[2] = memory[3] = 1;
    std::copy(ram.begin(), ram.end(), memory.begin() + 4);
    snapshot.module("C64MEM", 0, 0, memory);
    std::vector<std::uint8_t> cia2(32, 0);
    cia2[0] = 0x97; // port A: VIC bank 0 ($0000-$3FFF)
    cia2[2] = 0x3F;
    snapshot.module("CIA2", 2, 2, cia2);
    // x64's VIC-II body: colour RAM at 43, the 64 registers at 1119.
    std::vector<std::uint8_t> vic(1229, 0);
    std::copy(colourRam.begin(), colourRam.end(), vic.begin() + 43);
    const auto registers = VicRegisters();
    std::copy(registers.begin(), registers.end(), vic.begin() + 1119);
    snapshot.module("VIC-II", 1, 1, vic);
    try {
        mosaiqua::WriteFileAtomically(argv[1], snapshot.bytes());
    } catch (const mosaiqua::UserError& e) {
        std::cerr << "make-demo-snapshot: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
