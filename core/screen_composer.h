#pragma once

#include "colours.h"
#include "machine_state.h"
#include "memory_image.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace mosaiqua {

// The PAL frame as emulators show it with normal borders, and where the 320 x 200 display area lies.
inline constexpr int kFrameWidth = 384;
inline constexpr int kFrameHeight = 272;
inline constexpr int kDisplayLeft = 32;
inline constexpr int kDisplayTop = 35;
inline constexpr int kDisplayWidth = 320;
inline constexpr int kDisplayHeight = 200;

struct ComposeOptions {
    bool sprites = true;
    bool border = true; // off: only the 320 x 200 display area, cut out of the frame
};

struct ComposedScreen {
    Raster picture;                   // 384 x 272, or 320 x 200 without the border
    bool characterRomMissing = false; // the VIC read the ROM shadow and no ROM was given: drawn blank
};

// Draws the screen the registers describe, as the video chip would at the moment the snapshot was
// taken: the eight modes, the 38-column / 24-row border, the scroll registers, DEN and the sprites
// with their priorities. `characterRom` is the 4096-byte ROM, or empty when none was found; the VIC
// reads it instead of RAM at $1000-$1FFF of banks 0 and 2 (glyphs, bitmaps and sprite data alike).
ComposedScreen ComposeScreen(const MemoryImage& ram, const MachineState& state,
                             std::span<const std::uint8_t> characterRom, const PaletteTable& palette,
                             const ComposeOptions& options = {});

// The same into a picture the caller keeps, so a window redrawing it allocates nothing; returns
// whether the character ROM was missing.
bool ComposeScreenInto(Raster& picture, const MemoryImage& ram, const MachineState& state,
                       std::span<const std::uint8_t> characterRom, const PaletteTable& palette,
                       const ComposeOptions& options = {});

// The character cell of the 40 x 25 matrix shown at a point, with what the VIC reads for it.
struct ScreenCell {
    int column = 0;
    int row = 0;
    std::int32_t screenAddress = 0;
    std::uint8_t screenCode = 0;      // the screen byte (the cell's colours in a bitmap mode)
    std::int32_t graphicsAddress = 0; // the glyph's 8 bytes, or the cell's 8 bitmap bytes
    bool graphicsInRom = false;       // read from the character ROM, not RAM
    std::uint8_t colour = 0;          // colour RAM, low four bits
    bool bitmapMode = false;
};

// What is seen at a point of the composed picture: the sprite whose pixel is shown there (none where
// graphics, a transparent pixel or the border are shown), and the character cell under it (none in
// the border). Coordinates are those of the picture ComposeScreen makes with the same options.
struct ScreenHit {
    std::optional<int> sprite;
    std::optional<ScreenCell> cell;
};
ScreenHit HitTestScreen(const MemoryImage& ram, const MachineState& state,
                        std::span<const std::uint8_t> characterRom, const ComposeOptions& options, int x,
                        int y);

// The status line's words for a hit, e.g. "Sprite 2" or "Column 5, row 3: screen code $01 at $0405,
// glyph $3008, colour 14"; empty over the border.
std::string DescribeScreenHit(const ScreenHit& hit);

// What both front ends say when ComposedScreen::characterRomMissing is set.
inline constexpr const char* kCharacterRomMissingText = "character ROM missing";

} // namespace mosaiqua
