#pragma once

// Memory images assembled from real parts (the character ROM, the balloon sprite) and from the
// other things a snapshot holds (6502 code, text, screen memory, tables, music data, noise, empty
// space), with the places of the graphics known.

#include "core/memory_image.h"
#include "test_helpers.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace mosaiqua::test {

struct CorpusImage {
    MemoryImage image;
    std::set<std::int32_t> sprites;  // addresses of the cells holding a sprite
    std::set<std::int32_t> charsets; // addresses of the blocks holding a character set
    std::array<char, 32>
        kinds{}; // per block: C code, A text, S screen, T tables, M music, N noise, E empty, R ROM
};

enum class Filler { Code, Ascii, ScreenMemory, Tables, Music, Noise, Empty };

// 6502 code as an assembler would leave it: routines built from common instruction patterns, the
// variables and I/O registers each routine uses drawn from a small set.
inline std::vector<std::uint8_t> AssembleCode(std::mt19937& random, std::size_t bytes) {
    std::vector<std::uint8_t> out;
    const auto pick = [&](int n) { return int(random() % std::uint32_t(n)); };
    const std::array<std::uint16_t, 10> io{0xD020, 0xD021, 0xD015, 0xD000, 0xD001,
                                           0xD010, 0xD418, 0xD012, 0xDC00, 0xD011};
    while (out.size() < bytes) {
        const std::uint16_t base = std::uint16_t(0x0800 + 0x100 * pick(0x90));
        std::array<std::uint16_t, 4> vars{};
        for (auto& v : vars)
            v = std::uint16_t(base + 0x40 + pick(0x180));
        const auto abs = [&](std::uint8_t op, std::uint16_t a) {
            out.insert(out.end(), {op, std::uint8_t(a & 0xFF), std::uint8_t(a >> 8)});
        };
        const auto two = [&](std::uint8_t op, std::uint8_t v) { out.insert(out.end(), {op, v}); };
        const int instructions = 6 + pick(20);
        for (int i = 0; i < instructions; ++i) {
            switch (pick(14)) {
            case 0:
                two(0xA9, std::uint8_t(pick(256)));
                abs(0x8D, io[std::size_t(pick(10))]);
                break; // LDA # / STA io
            case 1:
                abs(0x20, std::uint16_t(base + pick(0x300)));
                break; // JSR
            case 2:
                abs(0xAD, vars[std::size_t(pick(4))]);
                break; // LDA abs
            case 3:
                abs(0x8D, vars[std::size_t(pick(4))]);
                break; // STA abs
            case 4:
                two(0xA2, std::uint8_t(pick(64)));
                break; // LDX #
            case 5:
                abs(0xBD, vars[std::size_t(pick(4))]);
                abs(0x9D, std::uint16_t(0x0400 + pick(1000)));
                out.push_back(0xE8);
                two(0xD0, std::uint8_t(0xF7));
                break; // copy loop
            case 6:
                two(0xA5, std::uint8_t(0x02 + pick(0xF0)));
                two(0x85, std::uint8_t(0x02 + pick(0xF0)));
                break; // LDA zp / STA zp
            case 7:
                out.push_back(0x18);
                two(0x69, std::uint8_t(pick(256)));
                break; // CLC / ADC #
            case 8:
                two(0xC9, std::uint8_t(pick(256)));
                two(std::uint8_t(pick(2) ? 0xF0 : 0xD0), std::uint8_t(pick(256)));
                break; // CMP / branch
            case 9:
                abs(0xEE, vars[std::size_t(pick(4))]);
                break; // INC abs
            case 10:
                two(0xA0, std::uint8_t(pick(40)));
                two(0xB1, std::uint8_t(0xFB));
                break; // LDY # / LDA (zp),Y
            case 11:
                out.push_back(0xC8);
                out.push_back(0xCA);
                out.push_back(0x88);
                break; // INY INX DEY
            case 12:
                abs(0x4C, std::uint16_t(base + pick(0x300)));
                break; // JMP
            default:
                two(0x29, std::uint8_t(pick(256)));
                out.push_back(0x0A);
                break; // AND # / ASL
            }
        }
        out.push_back(0x60); // RTS
    }
    out.resize(bytes);
    return out;
}

inline std::vector<std::uint8_t> Filled(Filler kind, std::mt19937& random, std::size_t bytes) {
    static const std::vector<std::string> words{"THE",   "GAME",    "OVER",  "PRESS", "FIRE",   "TO",
                                                "START", "LEVEL",   "SCORE", "HIGH",  "PLAYER", "ONE",
                                                "TWO",   "LOADING", "READY", "BONUS", "LIVES",  "TIME",
                                                "GET",   "ALL",     "KEYS",  "AND",   "WIN"};
    std::vector<std::uint8_t> out;
    switch (kind) {
    case Filler::Code:
        return AssembleCode(random, bytes);
    case Filler::Ascii: // PETSCII upper case shares the ASCII codes
        while (out.size() < bytes) {
            for (char c : words[random() % words.size()])
                out.push_back(std::uint8_t(random() % 3 == 0 ? c + 0x20 : c));
            out.push_back(random() % 9 == 0 ? 0x00 : 0x20);
        }
        break;
    case Filler::ScreenMemory: // screen codes: letters 1..26, spaces $20, 40 per line
        while (out.size() < bytes) {
            std::vector<std::uint8_t> line;
            while (line.size() < 30 && random() % 4 != 0) {
                for (char c : words[random() % words.size()])
                    line.push_back(std::uint8_t(c - 0x40));
                line.push_back(0x20);
            }
            line.resize(40, 0x20);
            out.insert(out.end(), line.begin(), line.end());
        }
        break;
    case Filler::Tables: // screen row addresses, a sine, multiples, a ramp
        while (out.size() < bytes) {
            const int which = int(random() % 4);
            const int step = 1 + int(random() % 40);
            for (int i = 0; i < 256; ++i)
                out.push_back(which == 0   ? std::uint8_t((0x0400 + 40 * (i % 25)) >> (i < 25 ? 0 : 8))
                              : which == 1 ? std::uint8_t(128 + 127 * std::sin(i * 6.2831853 / 256))
                              : which == 2 ? std::uint8_t(i * step)
                                           : std::uint8_t(i / 2 + step));
        }
        break;
    case Filler::Music: // note, duration pairs and a frequency table
        while (out.size() < bytes) {
            out.push_back(std::uint8_t(0x18 + random() % 0x48));
            out.push_back(std::uint8_t(1u << (random() % 5)));
        }
        break;
    case Filler::Noise: // packed data looks random
        while (out.size() < bytes)
            out.push_back(std::uint8_t(random()));
        break;
    case Filler::Empty:
        out.assign(bytes, random() % 4 == 0 ? 0xFF : 0x00);
        break;
    }
    out.resize(bytes);
    return out;
}

// The balloon, moved, mirrored or squeezed so that each copy is a different sprite.
inline std::vector<std::uint8_t> BalloonVariant(const std::vector<std::uint8_t>& balloon,
                                                std::mt19937& random) {
    std::array<std::uint32_t, 21> rows{};
    for (int r = 0; r < 21; ++r)
        rows[std::size_t(r)] = std::uint32_t(balloon[std::size_t(3 * r)]) << 16 |
                               std::uint32_t(balloon[std::size_t(3 * r + 1)]) << 8 |
                               balloon[std::size_t(3 * r + 2)];
    const int shift = int(random() % 9) - 4;
    const bool mirror = random() % 2 == 0;
    const int down = int(random() % 4);
    std::array<std::uint32_t, 21> moved{};
    for (int r = 0; r < 21; ++r) {
        std::uint32_t v = rows[std::size_t(r)];
        if (mirror) {
            std::uint32_t m = 0;
            for (int i = 0; i < 24; ++i)
                m |= ((v >> i) & 1u) << (23 - i);
            v = m;
        }
        v = (shift >= 0 ? v << shift : v >> -shift) & 0xFFFFFF;
        if (r + down < 21)
            moved[std::size_t(r + down)] = v;
    }
    std::vector<std::uint8_t> out;
    for (auto v : moved)
        out.insert(out.end(), {std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
    out.push_back(0); // the padding byte
    return out;
}

// A letter of the ROM at twice its size, as title and score sprites often are.
inline std::vector<std::uint8_t> BigLetter(const std::vector<std::uint8_t>& rom, std::mt19937& random) {
    const std::size_t letter = 8 * (1 + random() % 26) + (random() % 2 ? 0x800 : 0);
    const int x = int(random() % 9);
    const int y = int(random() % 6);
    std::vector<std::uint8_t> out(64, 0);
    for (int r = 0; r < 16; ++r) {
        std::uint32_t row = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (rom[letter + std::size_t(r / 2)] & (0x80 >> bit))
                row |= 3u << (22 - 2 * bit);
        row >>= x;
        for (int k = 0; k < 3; ++k)
            out[std::size_t(3 * (r + y) + k)] = std::uint8_t(row >> (16 - 8 * k));
    }
    return out;
}

// Image `seed`: 32 blocks of one kind each; one to three of them a character set from the ROM; four
// to twelve sprites (balloons and big letters) dropped onto 64-byte cells of the other blocks.
inline CorpusImage MakeCorpusImage(unsigned seed) {
    const std::vector<std::uint8_t> rom = ReadBytes(DataFile("chargen_openroms.rom"));
    const std::vector<std::uint8_t> prg = ReadBytes(DataFile("ballon_demo.prg"));
    const std::vector<std::uint8_t> balloon(prg.begin() + 0x49, prg.begin() + 0x88);
    std::mt19937 random(seed);
    CorpusImage corpus;
    std::vector<std::uint8_t> memory;
    const int charsets = 1 + int(random() % 3);
    std::set<int> charsetBlocks;
    while (int(charsetBlocks.size()) < charsets)
        charsetBlocks.insert(int(random() % 32));
    for (int block = 0; block < 32; ++block) {
        if (charsetBlocks.count(block)) {
            const auto half = rom.begin() + (random() % 2 ? 0x800 : 0);
            memory.insert(memory.end(), half, half + 0x800);
            corpus.charsets.insert(block * 0x800);
            corpus.kinds[std::size_t(block)] = 'R';
            continue;
        }
        // Code is the commonest, as in real snapshots.
        static const std::array<Filler, 10> kinds{
            Filler::Code,   Filler::Code,  Filler::Code,  Filler::Ascii, Filler::ScreenMemory,
            Filler::Tables, Filler::Music, Filler::Noise, Filler::Empty, Filler::Code};
        const Filler kind = kinds[random() % kinds.size()];
        corpus.kinds[std::size_t(block)] = "CASTMNE"[int(kind)];
        const auto bytes = Filled(kind, random, 0x800);
        memory.insert(memory.end(), bytes.begin(), bytes.end());
    }
    const int sprites = 4 + int(random() % 9);
    while (int(corpus.sprites.size()) < sprites) {
        const int cell = int(random() % 1024);
        if (charsetBlocks.count(cell / 32) || corpus.sprites.count(cell * 64))
            continue;
        const auto sprite = random() % 3 == 0 ? BigLetter(rom, random) : BalloonVariant(balloon, random);
        std::copy(sprite.begin(), sprite.end(), memory.begin() + cell * 64);
        corpus.sprites.insert(cell * 64);
    }
    corpus.image.write(0, memory.data(), memory.size());
    return corpus;
}

} // namespace mosaiqua::test
