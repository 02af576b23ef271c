#pragma once

#include "colours.h"

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
        for (int value = 0; value < 256; ++value) {
            auto& out = m_table[std::size_t(value)];
            for (int px = 0; px < 8; ++px) {
                if (multicolour) {
                    const int pair = (value >> (6 - (px & ~1))) & 3;
                    out[std::size_t(px)] = pairColour[std::size_t(pair)];
                } else {
                    out[std::size_t(px)] = (value & (0x80 >> px)) ? colours.main : colours.background;
                }
            }
        }
    }
    const std::array<TColor, 8>& operator[](std::uint8_t value) const { return m_table[value]; }

private:
    std::array<std::array<TColor, 8>, 256> m_table{};
};

} // namespace mosaiqua
