#pragma once

#include "colours.h"
#include "memory_image.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mosaiqua {

inline constexpr int kSpriteWidth = 24;
inline constexpr int kSpriteHeight = 21;
inline constexpr int kSpriteBytes = 63;
inline constexpr int kSpriteStride = 64;
inline constexpr int kEnlargement = 10;
inline constexpr int kStripSprites = 7;
inline constexpr std::int32_t kAddressSpace = 0x10000;
// The last address a whole sprite starts at: $FFC0.
inline constexpr std::int32_t kLastSpriteStart = kAddressSpace - kSpriteStride;
// At and above this address SpriteAddress + 448 would reach $10000: the strip labels stay put.
// It is also where "to end" goes: $FE40.
inline constexpr std::int32_t kStripLabelLimit = kAddressSpace - kSpriteStride * kStripSprites;

// Writes columns x0..x0+23, rows 0..20 of `dst`; reads image indices address..address+62.
void RenderSprite(const MemoryImage& image, std::int64_t address, bool multicolour,
                  const ColourSlots& colours, Raster& dst, int x0);

// The three pictures of the sprite page.
struct SpriteRasters {
    Raster SpriteActual{kSpriteWidth, kSpriteHeight};
    Raster SpriteBig{kSpriteWidth * kEnlargement, kSpriteHeight* kEnlargement};
    Raster ScanImage{kSpriteWidth * kStripSprites, kSpriteHeight};
};

// The current sprite at actual size and its x10 enlargement.
void DrawCurrentSpriteRasters(SpriteRasters& views, const MemoryImage& image, std::int64_t address,
                              bool multicolour, const ColourSlots& colours);
// The seven sprites after `address`, side by side.
void DrawNextSevenSpriteRasters(SpriteRasters& views, const MemoryImage& image, std::int64_t address,
                                bool multicolour, const ColourSlots& colours);

// Label texts after drawing the sprite at `address`; Label2/Label3 are empty when they must keep
// their previous text.
struct SpriteLabelTexts {
    std::string label1;
    std::optional<std::string> label2;
    std::optional<std::string> label3;
};
SpriteLabelTexts SpriteLabelsFor(std::int64_t address);

enum class SpriteStep {
    NextSprite,
    PreviousSprite,
    Next1000,
    Previous1000,
    PlusOneByte,
    MinusOneByte,
    ToBeginning,
    ToEnd
};
// The address after a navigation step, or nothing when the step is at its bound.
std::optional<std::int32_t> StepSpriteAddress(std::int32_t address, SpriteStep step);
// "To end" fixes the strip labels itself before drawing.
inline constexpr std::int32_t kEndLabel2 = kStripLabelLimit;
inline constexpr std::int32_t kEndLabel3 = kLastSpriteStart;

} // namespace mosaiqua
