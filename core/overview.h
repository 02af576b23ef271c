#pragma once

#include "colours.h"
#include "memory_image.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace mosaiqua {

// All of $0000-$FFFF in one picture.
// Sprites: 32 x 32 cells of 24 x 21 pixels, cell i (the 64 bytes from i * $40) in column i % 32,
// row i / 32: 768 x 672 pixels.
// Character sets: 32 blocks of 256 characters, block i (the 2 KB from i * $800) in column i % 8,
// row i / 8 of a grid of 8 x 4 blocks; inside a block character c sits in column c % 16, row c / 16
// of 16 x 16 characters of 8 x 8 pixels: 1024 x 512 pixels.
enum class OverviewPage { Sprites, CharSets };

inline constexpr int kOverviewSpriteColumns = 32;
inline constexpr int kOverviewBlockColumns = 8;
inline constexpr int kOverviewBlockCharacters = 16; // characters across and down a block
inline constexpr int kOverviewBlockPixels = 8 * kOverviewBlockCharacters;

int OverviewWidth(OverviewPage page);
int OverviewHeight(OverviewPage page);

// Draws the whole page with the viewers' renderers into `dst` (resized to the page's size).
void DrawOverview(OverviewPage page, const MemoryImage& image, bool multicolour, const ColourSlots& colours,
                  Raster& dst);

// The address a pixel of the page stands for: a sprite cell's first byte; a character set's 2 KB
// block, or with `exactCharacter` the character's first byte. Nothing outside the picture.
std::optional<std::int32_t> OverviewAddressAt(OverviewPage page, int x, int y, bool exactCharacter = false);

// Where the first byte of the cell (sprites) or character (character sets) holding `address` is.
Rect OverviewCellRect(OverviewPage page, std::int32_t address);
// A whole 2 KB block of the character-set page.
Rect OverviewBlockRect(int block);

// The rectangles to outline for the bytes [start, start + length): every sprite cell or character
// touched, runs of neighbours on one picture row joined into one rectangle. Bytes beyond $FFFF are
// not shown and so not outlined.
std::vector<Rect> OverviewRangeRects(OverviewPage page, std::int32_t start, std::int32_t length);

} // namespace mosaiqua
