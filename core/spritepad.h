#pragma once

#include "colours.h"
#include "file_writer.h"
#include "machine_state.h"
#include "memory_image.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

// One sprite of a SpritePad file: its data and what its attribute byte says.
struct SpritePadSprite {
    std::array<std::uint8_t, 63> data{};
    bool multicolour = false;
    bool overlay = false;    // drawn over the next sprite
    std::uint8_t colour = 0; // VIC-II code of the main colour
};

// The colours all sprites share, as VIC-II codes.
struct SpritePadColours {
    std::uint8_t background = 0;   // $D021
    std::uint8_t multicolour1 = 0; // $D025
    std::uint8_t multicolour2 = 0; // $D026
};

inline constexpr int kMaxSpritePadSprites = 256; // the count is one byte

// A version 1 file: header, 64 bytes per sprite, one animation over the first sprite.
// Throws UserError for no sprites or more than 256.
std::vector<std::uint8_t> EncodeSpritePad(std::span<const SpritePadSprite> sprites,
                                          const SpritePadColours& colours);

// Sprites start, start + 64, ... as SpriteCount counts them, all in the viewer's mode and colours;
// slot colours become palette codes (ChooseColourCode) and the status says which were approximated.
std::string WriteSpritePadRange(const MemoryImage& image, std::int32_t start, std::int32_t end,
                                bool multicolour, const ColourSlots& colours, const PaletteTable& palette,
                                const std::string& utf8Path, const WriteOptions& writing = {});

// The snapshot's enabled sprites (or all eight with includeDisabled) as the video chip sees them,
// each with its own mode and colour, $D021, $D025 and $D026. UserError when none is enabled.
std::string WriteOnScreenSpritePad(const MachineState& state, const MemoryImage& ram, bool includeDisabled,
                                   const std::string& utf8Path, const WriteOptions& writing = {});

std::string PresetSpritePadName(std::int64_t start); // "sprites0800.spd"
inline constexpr const char* kPresetOnScreenSpritePadName = "onscreen.spd";

} // namespace mosaiqua
