#pragma once

#include <array>
#include <cstdint>

namespace mosaiqua {

// A colour laid out 0x00BBGGRR: red in the low byte.
using TColor = std::uint32_t;

constexpr TColor MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}
constexpr std::uint8_t RedOf(TColor c) {
    return std::uint8_t(c & 0xFF);
}
constexpr std::uint8_t GreenOf(TColor c) {
    return std::uint8_t((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(TColor c) {
    return std::uint8_t((c >> 16) & 0xFF);
}

// The four colours of one viewer, in the order the bit patterns select them.
struct ColourSlots {
    TColor background = 0;   // hi-res 0, multicolour 00
    TColor multicolour1 = 0; // multicolour 01
    TColor main = 0;         // hi-res 1, multicolour 10
    TColor multicolour2 = 0; // multicolour 11

    friend bool operator==(const ColourSlots&, const ColourSlots&) = default;
};

enum class PaletteKind { pkCcs64, pkTrueVic, pkWindows };

using PaletteTable = std::array<TColor, 16>;

// Indexed by VIC-II colour code 0..15.
inline constexpr PaletteTable Ccs64Table = {
    0x000000, 0xFFFFFF, 0x27397A, 0xECD791, 0xA74289, 0x4FB56C, 0x912132, 0x6DFFFF,
    0x205C89, 0x12414C, 0x6D81C6, 0x4A4A4A, 0x848484, 0xB0FFCF, 0xE77184, 0xC4C4C4,
};
inline constexpr PaletteTable TrueVicTable = {
    0x000000, 0xFFFFFF, 0x2B3768, 0xB2A470, 0x863D6F, 0x438D58, 0x792835, 0x6FC7B8,
    0x254F6F, 0x003943, 0x59679A, 0x444444, 0x6C6C6C, 0x84D29A, 0xB55E6C, 0x959595,
};

// The table the picker shows for a kind; pkWindows has none.
const PaletteTable* TableFor(PaletteKind kind);

// The swatches' values before start-up resets them (and what the charset reset restores for the
// two multicolour-1 / main slots).
inline constexpr ColourSlots kDesignColours{0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF};
// Both viewers after start-up: the sprite reset runs once while the window is built.
inline constexpr ColourSlots kStartupColours{0x000000, 0x444444, 0x6C6C6C, 0xFFFFFF};
inline constexpr ColourSlots kCharSetResetColours = kDesignColours;

// The sprite reset also sets the charset's multicolour 1 and main colour; the charset
// background and multicolour 2 are left alone.
void ResetSpriteColours(ColourSlots& sprite, ColourSlots& charSet);
void ResetCharSetColours(ColourSlots& charSet);

} // namespace mosaiqua
