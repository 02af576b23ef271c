#pragma once

#include "colours.h"
#include "file_writer.h"
#include "machine_state.h"
#include "memory_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mosaiqua {

inline constexpr int kScreenColumns = 40;
inline constexpr int kScreenRows = 25;
inline constexpr int kCharSetBytes = 2048;

// A text screen drawn with the character set: codes from screen RAM, colours from colour RAM.
struct CharPadScreen {
    std::array<std::uint8_t, kScreenColumns * kScreenRows> codes{};
    std::array<std::uint8_t, kScreenColumns * kScreenRows> colours{}; // low nybble of colour RAM
    bool hasColours = false; // false when the snapshot holds no colour RAM
};

struct CharPadContent {
    std::array<std::uint8_t, kCharSetBytes> characters{};
    std::uint8_t background = 0;      // VIC-II codes: $D021
    std::uint8_t multicolour1 = 0;    // $D022
    std::uint8_t multicolour2 = 0;    // $D023
    std::uint8_t characterColour = 0; // the viewer's main colour
    bool multicolour = false;
    std::optional<CharPadScreen> screen; // none: a 16 x 16 map of codes 0-255
};

// A version 5 file without tiles. With a screen that has colours the colouring is per character:
// CharPad gives each character one colour, so each takes the colour-RAM value it shows most often
// on the screen (lowest on a tie; characters not on the screen take the character colour). Otherwise
// the colouring is global, the character colour.
std::vector<std::uint8_t> EncodeCharPad(const CharPadContent& content);

// Screen cells whose colour differs from the one their character is given in the file.
int CellsRecolouredByCharPad(const CharPadScreen& screen);

// The snapshot's text screen when it is drawn with the character set at `charSetAddress`: not in
// bitmap mode, and the set the registers select. Extended colour mode shows codes 0-63.
std::optional<CharPadScreen> ScreenDrawnWith(const MachineState& state, const MemoryImage& ram,
                                             std::int32_t charSetAddress);

// The 256 characters at `address` in `memory` (the memory the viewer draws, the character ROM
// included where it shows it), slot colours as palette codes (ChooseColourCode). The status names
// the map and says which colours were approximated and how many screen cells changed colour.
// UserError when the 2 KB run past $FFFF.
std::string WriteCharPadFile(const MemoryImage& memory, std::int32_t address, bool multicolour,
                             const ColourSlots& colours, const PaletteTable& palette,
                             const std::optional<CharPadScreen>& screen, const std::string& utf8Path,
                             const WriteOptions& writing = {});

std::string PresetCharPadName(std::int64_t address); // "chars2000.ctm"

} // namespace mosaiqua
