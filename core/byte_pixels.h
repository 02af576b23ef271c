#pragma once

#include "colours.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace mosaiqua {

// The eight pixels of every byte value in one mode and colour set, so drawing a byte row is one
// eight-pixel copy. Hi-res: bit 7 leftmost, set = main colour. Multicolour: pairs 7-6 .. 1-0, each
// two equal pixels, 00 background, 01 multicolour 1, 10 main colour, 11 multicolour 2.
class BytePixels final {
public:
    BytePixels(bool multicolour, const ColourSlots& colours) {
        const std::array<TColor, 4> pairColour{colours.background, colours.multicolour1, colours.main,
                                               colours.multicolour2};
        // Multicolour pairs never straddle a nibble, so a byte is its two nibbles side by side.
        std::array<std::array<TColor, 4>, 16> nibble{};
        for (int value = 0; value < 16; ++value)
            for (int px = 0; px < 4; ++px)
                nibble[std::size_t(value)][std::size_t(px)] =
                    multicolour ? pairColour[std::size_t((value >> (2 - (px & ~1))) & 3)]
                                : ((value & (0x8 >> px)) ? colours.main : colours.background);
        for (std::size_t value = 0; value < 256; ++value) {
            std::copy(nibble[value >> 4].begin(), nibble[value >> 4].end(), m_table[value].begin());
            std::copy(nibble[value & 15].begin(), nibble[value & 15].end(), m_table[value].begin() + 4);
        }
    }
    const std::array<TColor, 8>& operator[](std::uint8_t value) const { return m_table[value]; }

private:
    std::array<std::array<TColor, 8>, 256> m_table{};
};

} // namespace mosaiqua
