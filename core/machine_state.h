#pragma once

#include "colours.h"
#include "memory_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace mosaiqua {

// What a snapshot holds about the video chip besides the RAM.
struct MachineState {
    std::array<std::uint8_t, 64> vic{};     // $D000-$D03F
    std::uint8_t cia2PortA = 0x03;          // $DD00 output register
    std::uint8_t cia2DirectionA = 0x3F;     // $DD02
    std::vector<std::uint8_t> colourRam;    // $D800-$DBFF, empty when the file holds none
    std::vector<std::uint8_t> characterRom; // 4096 bytes, empty when the file holds none
    bool bankAssumed = false;               // no usable CIA2 state: the bank is the default one
};

inline constexpr std::size_t kColourRamBytes = 1024;
inline constexpr std::size_t kCharacterRomBytes = 4096;

struct SpriteState {
    int number = 0;
    bool enabled = false;
    std::uint8_t pointer = 0;
    std::int32_t address = 0;
    bool inRom = false; // the video chip reads the character ROM there, not RAM
    bool multicolour = false;
    bool expandX = false;
    bool expandY = false;
    std::uint8_t colour = 0;
};

// The screen the registers describe; colours are VIC-II codes 0..15.
struct ScreenLayout {
    std::int32_t bank = 0;
    bool bankAssumed = false; // the file does not say which bank: $0000 was taken
    std::int32_t screen = 0;
    std::int32_t charSet = 0;
    bool charSetInRom = false;
    std::int32_t bitmap = 0;
    bool bitmapMode = false;
    bool extendedColourMode = false;
    bool multicolourMode = false;
    std::uint8_t border = 0;
    std::uint8_t background = 0;
    std::array<std::uint8_t, 2> textMulticolour{};   // $D022, $D023
    std::array<std::uint8_t, 2> spriteMulticolour{}; // $D025, $D026
    std::array<SpriteState, 8> sprites{};
};

// The bank comes from the pins (output bits, with inputs reading 1), not the output register alone.
std::int32_t VicBank(std::uint8_t portA, std::uint8_t directionA);
// True where banks 0 and 2 see the character ROM instead of RAM ($1000-$1FFF, $9000-$9FFF).
bool InCharacterRomShadow(std::int32_t bank, std::int32_t address);

// Reads the sprite pointers from `ram` at the screen's $3F8.
ScreenLayout DescribeScreen(const MachineState& state, const MemoryImage& ram);

// The memory as the video chip sees it: a copy of `ram` with the character ROM over the shadow of
// the bank when the file holds the ROM.
MemoryImage VideoChipView(const MachineState& state, const MemoryImage& ram, std::int32_t bank);

// What the sprite viewer takes over from a snapshot sprite.
struct SpriteSettings {
    int number = 0;
    std::int32_t address = 0;
    bool multicolour = false;
    ColourSlots colours;
    bool inRom = false;
    friend bool operator==(const SpriteSettings&, const SpriteSettings&) = default;
};

// What the character-set viewer takes over from the screen.
struct CharSetSettings {
    std::int32_t address = 0;
    bool multicolour = false;
    ColourSlots colours;
    bool inRom = false;
    friend bool operator==(const CharSetSettings&, const CharSetSettings&) = default;
};

// Slots: background $D021, multicolour 1 $D025, main $D027+n, multicolour 2 $D026.
SpriteSettings SpriteSettingsFor(const ScreenLayout& layout, int number, const PaletteTable& palette);

// Slots: background $D021, multicolour 1 $D022, multicolour 2 $D023, main the colour-RAM value used
// most on the 1000 screen cells (low three bits in multicolour text mode), or `currentMain` when
// the file holds no colour RAM.
CharSetSettings CharSetSettingsFor(const ScreenLayout& layout, const MachineState& state,
                                   const PaletteTable& palette, TColor currentMain);

// The colour-RAM value used most on the screen, lowest value on a tie; none without colour RAM.
std::optional<std::uint8_t> MostUsedScreenColour(const MachineState& state, bool lowThreeBits);

} // namespace mosaiqua
