#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
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
    Snapshot& module(const std::string& name, const Bytes& body, std::uint32_t sizeField = 0,
                     std::uint8_t major = 1, std::uint8_t minor = 1) {
        put(name, 16);
        bytes.insert(bytes.end(), {major, minor});
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
} // namespace mosaiqua::test
