#include "animation.h"

#include "address_text.h"
#include "errors.h"
#include "gif_writer.h"
#include "image_file.h"
#include "sprite_render.h"

namespace mosaiqua {

void CheckAnimationSettings(int frames, int delayMs) {
    if (frames < kMinAnimationFrames || frames > kMaxAnimationFrames)
        throw UserError(UserError::Kind::NothingToSave,
                        "An animation has " + std::to_string(kMinAnimationFrames) + " to " +
                            std::to_string(kMaxAnimationFrames) + " frames, not " + std::to_string(frames) +
                            ": nothing was saved.");
    if (delayMs < kMinFrameDelayMs || delayMs > kMaxFrameDelayMs || delayMs % kFrameDelayStepMs != 0)
        throw UserError(UserError::Kind::NothingToSave,
                        "A frame's delay is " + std::to_string(kMinFrameDelayMs) + " to " +
                            std::to_string(kMaxFrameDelayMs) + " ms in steps of " +
                            std::to_string(kFrameDelayStepMs) + ", not " + std::to_string(delayMs) +
                            ": nothing was saved.");
}

std::vector<Raster> ComposeAnimationFrames(const MemoryImage& image, std::int64_t firstAddress, int frames,
                                           bool multicolour, const ColourSlots& colours,
                                           const SpriteCellSizes& sizes) {
    std::vector<Raster> out;
    out.reserve(std::size_t(std::max(frames, 0)));
    SpriteRasters views;
    for (int k = 0; k < frames; ++k) {
        DrawCurrentSpriteRasters(views, image, firstAddress + std::int64_t(kSpriteStride) * k, multicolour,
                                 colours);
        out.push_back(ComposeCurrentSprite(views.SpriteActual, sizes));
    }
    return out;
}

std::string SaveSpriteAnimation(const MemoryImage& image, const AnimationSave& save,
                                const SaveSizeTexts& sizes, const std::string& utf8Path,
                                const WriteOptions& writing) {
    CheckAnimationSettings(save.frames, save.delayMs);
    const auto frames = ComposeAnimationFrames(image, save.firstAddress, save.frames, save.multicolour,
                                               save.colours, ReadCellSizes(sizes));
    WriteAnimatedGifFile(frames, save.delayMs / 10, utf8Path,
                         TransparentColourFor(save.transparentBackground, save.colours), writing);
    return std::to_string(save.frames) + " sprites saved ok as an animation." +
           TransparencyStatusNote(save.transparentBackground, save.colours, save.multicolour);
}

std::string PresetAnimationName(std::int64_t spriteAddress) {
    return "anim" + HexAddress(spriteAddress) + ".gif";
}

} // namespace mosaiqua
