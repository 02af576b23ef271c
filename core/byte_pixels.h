#pragma once

#include "colours.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace mosaiqua {

// The four pixels of every nibble value in one mode and colour set. Hi-res: bit 3 leftmost, set =
// main colour. Multicolour: pairs 3-2 and 1-0, each two equal pixels, 00 background,
// 01 multicolour 1, 10 main colour, 11 multicolour 2. Multicolour pairs never straddle a nibble, so
// a byte is its two nibbles side by side.
class NibblePixels final {
public:
    NibblePixels(bool multicolour, const ColourSlots& colours) {
        const std::array<TColor, 4> pairColour{colours.background, colours.multicolour1, colours.main,
                                               colours.multicolour2};
        for (int value = 0; value < 16; ++value)
            for (int px = 0; px < 4; ++px)
                m_table[std::size_t(value)][std::size_t(px)] =
                    multicolour ? pairColour[std::size_t((value >> (2 - (px & ~1))) & 3)]
                                : ((value & (0x8 >> px)) ? colours.main : colours.background);
    }
    const std::array<TColor, 4>& operator[](unsigned value) const { return m_table[value & 15]; }
    // The eight pixels of `value` to out[0..7].
    void write(std::uint8_t value, TColor* out) const {
        std::memcpy(out, m_table[value >> 4].data(), sizeof m_table[0]);
        std::memcpy(out + 4, m_table[value & 15].data(), sizeof m_table[0]);
    }

private:
    std::array<std::array<TColor, 4>, 16> m_table{};
};

// The eight pixels of every byte value, so drawing a byte row is one eight-pixel copy; for drawings
// of thousands of bytes, where building the table pays for itself.
class BytePixels final {
public:
    BytePixels(bool multicolour, const ColourSlots& colours) {
        const NibblePixels nibble(multicolour, colours);
        for (unsigned value = 0; value < 256; ++value) {
            std::copy(nibble[value >> 4].begin(), nibble[value >> 4].end(), m_table[value].begin());
            std::copy(nibble[value].begin(), nibble[value].end(), m_table[value].begin() + 4);
        }
    }
    const std::array<TColor, 8>& operator[](std::uint8_t value) const { return m_table[value]; }
    const std::array<std::array<TColor, 8>, 256>& rows() const { return m_table; }

private:
    // Every entry is written by the constructor; zeroing 8 KB first would cost as much as filling it.
    std::array<std::array<TColor, 8>, 256> m_table;
};

} // namespace mosaiqua
