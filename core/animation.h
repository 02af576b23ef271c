#pragma once

#include "bmp.h"
#include "colours.h"
#include "export.h"
#include "memory_image.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mosaiqua {

inline constexpr int kMinAnimationFrames = 2;
inline constexpr int kMaxAnimationFrames = 64;
inline constexpr int kDefaultAnimationFrames = 8; // the current sprite and the seven after it
inline constexpr int kMinFrameDelayMs = 20;
inline constexpr int kMaxFrameDelayMs = 2000;
inline constexpr int kFrameDelayStepMs = 10; // a GIF counts in hundredths of a second
inline constexpr int kDefaultFrameDelayMs = 100;

// Refuses (UserError) a frame count or delay outside the ranges above, or a delay off the step.
void CheckAnimationSettings(int frames, int delayMs);

// Frame k is the sprite at firstAddress + k * $40, composed exactly as "Save Current Sprite" composes
// its sprite: drawn at actual size, then stretched into a black bw x bh cell.
std::vector<Raster> ComposeAnimationFrames(const MemoryImage& image, std::int64_t firstAddress, int frames,
                                           bool multicolour, const ColourSlots& colours,
                                           const SpriteCellSizes& sizes);

struct AnimationSave {
    std::int64_t firstAddress = 0;
    int frames = kDefaultAnimationFrames;
    int delayMs = kDefaultFrameDelayMs;
    bool multicolour = false;
    ColourSlots colours;
    bool transparentBackground = false;
};

// Checks, composes and writes the animated GIF atomically; returns the status text.
std::string SaveSpriteAnimation(const MemoryImage& image, const AnimationSave& save,
                                const SaveSizeTexts& sizes, const std::string& utf8Path,
                                const WriteOptions& writing = {});

std::string PresetAnimationName(std::int64_t spriteAddress); // "anim0800.gif"

} // namespace mosaiqua
