#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mosaiqua::test {

using Bytes = std::vector<std::uint8_t>;

// Builds snapshots the way VICE lays them out.
struct Snapshot {
    Bytes bytes;
    Snapshot(const std::string& machine, bool versionBlock, int major = 1) {
        put("VICE Snapshot File\x1A", 19);
        bytes.push_back(std::uint8_t(major));
        bytes.push_back(major == 2 ? 0 : 1);
        put(machine, 16);
        if (versionBlock) {
            put("VICE Version\x1A", 13);
            bytes.insert(bytes.end(), {3, 10, 0, 0, 0x2A, 0, 0, 0});
        }
    }
    void put(const std::string& text, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            bytes.push_back(i < text.size() ? std::uint8_t(text[i]) : 0);
    }
    // Versions as VICE writes them (C64MEM 0.1, CIA2 2.2, VIC-IISC 1.4, others 1.1) unless given.
    Snapshot& module(const std::string& name, const Bytes& body, std::uint32_t sizeField = 0, int major = -1,
                     int minor = -1) {
        put(name, 16);
        if (major < 0) {
            major = name == "C64MEM" ? 0 : name == "CIA2" ? 2 : 1;
            minor = name == "CIA2" ? 2 : name == "VIC-IISC" ? 4 : 1;
        }
        bytes.insert(bytes.end(), {std::uint8_t(major), std::uint8_t(std::max(minor, 0))});
        const std::uint32_t size = sizeField ? sizeField : std::uint32_t(body.size() + 22);
        for (int i = 0; i < 4; ++i)
            bytes.push_back(std::uint8_t(size >> (8 * i)));
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
};

inline Bytes Ram(std::uint8_t seed) {
    Bytes body{0x37, 0x2F, 1, 1};
    for (int a = 0; a < 0x10000; ++a)
        body.push_back(std::uint8_t(a * 7 + seed + (a >> 8)));
    return body;
}
inline std::uint8_t RamByte(std::uint8_t seed, int a) {
    return std::uint8_t(a * 7 + seed + (a >> 8));
}
// x64: colour RAM at body 43, registers at body 1119, 1251 bytes with the header.
inline Bytes X64Vic(const Bytes& regs, std::uint8_t colour) {
    Bytes body(1229, 0xEE);
    std::fill(body.begin() + 43, body.begin() + 43 + 1024, colour);
    std::copy(regs.begin(), regs.end(), body.begin() + 1119);
    return body;
}

// Bank 0, screen $0400, colour RAM all 5. Sprites 0-2 on: 0 empty at $3000, 1 multicolour and
// solid at $3040, 2 solid at $3080. `d018` picks the character set (or bitmap), `d011` and `d016`
// the mode; `pokes` go into the RAM last.
inline Bytes ScreenSnapshot(std::uint8_t d018, const std::vector<std::pair<int, std::uint8_t>>& pokes = {},
                            std::uint8_t d011 = 0x1B, std::uint8_t d016 = 0x08) {
    Bytes mem = Ram(0);
    std::fill(mem.begin() + 4, mem.end(), 0);
    mem[4 + 0x07F8] = 0xC0, mem[4 + 0x07F9] = 0xC1, mem[4 + 0x07FA] = 0xC2;
    std::fill(mem.begin() + 4 + 0x3040, mem.begin() + 4 + 0x30C0, std::uint8_t(0xFF));
    for (const auto& [address, value] : pokes)
        mem[4 + std::size_t(address)] = value;
    Bytes regs(64, 0);
    regs[0x11] = d011, regs[0x16] = d016, regs[0x18] = d018;
    regs[0x15] = 0x07, regs[0x1C] = 0x02;
    regs[0x20] = 14, regs[0x21] = 6, regs[0x25] = 8, regs[0x26] = 13, regs[0x28] = 7;
    Snapshot s("C64", true);
    s.module("MAINCPU", Bytes(103, 0)).module("C64MEM", mem);
    s.module("CIA2", {0x03, 0xFF, 0x3F});
    s.module("VIC-II", X64Vic(regs, 5));
    return s.bytes;
}
} // namespace mosaiqua::test
