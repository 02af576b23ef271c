#pragma once

#include "colours.h"
#include "palette.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mosaiqua {

// Tables laid out like Ccs64Table and TrueVicTable (TrueVicTable is Pepto's PAL palette).
inline constexpr PaletteTable ColodoreTable = {
    0x000000, 0xFFFFFF, 0x383381, 0xC8CE75, 0x973C8E, 0x4DAC56, 0x9B2C2E, 0x71F1ED,
    0x29508E, 0x003855, 0x716CC4, 0x4A4A4A, 0x7B7B7B, 0x9FFFA9, 0xEB6D70, 0xB2B2B2,
};
inline constexpr PaletteTable CommunityColorsTable = {
    0x000000, 0xFFFFFF, 0x292AAF, 0xCCD862, 0xB63FB0, 0x4AC64A, 0xC43937, 0x4EEDE4,
    0x1C59B6, 0x083868, 0x6C74EA, 0x4D4D4D, 0x848484, 0x9EFAA6, 0xE67C70, 0xB5B6B6,
};
inline constexpr PaletteTable Palette6569R5Table = {
    0x000000, 0xFFFFFF, 0x43308D, 0xADC066, 0x9F3590, 0x4BA649, 0xAD2938, 0x55D5C7,
    0x17518E, 0x003D53, 0x7562BE, 0x4E4E4E, 0x767676, 0x8EE88C, 0xE66271, 0xA3A3A3,
};

// Pepto PAL ("vic"), CCS64, Colodore, Community Colors, PALette 6569R5, in the order help lists them.
std::span<const Palette> BuiltInPalettes();
// `vic`, `ccs64`, `colodore`, `community`, `6569r5`; nothing for another word.
std::optional<Palette> PaletteForKeyword(std::string_view keyword);
// "vic|ccs64|colodore|community|6569r5", for help texts.
std::string PaletteKeywordList();

// "black" .. "light grey" for VIC-II codes 0..15.
std::string ColourName(int code);

// The VIC-II code a slot colour is saved as: its palette index, or the nearest palette colour
// (smallest squared red, green, blue distance, lowest code on a tie) when it is not in the palette.
struct ColourCode {
    std::uint8_t code = 0;
    bool approximated = false;
};
ColourCode ChooseColourCode(TColor colour, const PaletteTable& palette);
// " The <slot> colour #RRGGBB is not a palette colour: saved as the nearest, <name> (<code>)."
// Empty when the colour was exact, so notes can be appended to a status as they come.
std::string ApproximationNote(const std::string& slot, TColor colour, ColourCode chosen);

// A VICE palette file's text: `#` comments, blank lines skipped, 16 lines of hexadecimal red,
// green and blue (a fourth column is ignored). Throws UserError "<label>, line N: ..." on anything
// else; nothing is changed on failure because the table is only returned.
PaletteTable ParseVicePalette(std::string_view text, const std::string& label);
// Reads and parses a .vpl file; the palette is named after the file.
Palette LoadVicePaletteFile(const std::string& utf8Path);

} // namespace mosaiqua
