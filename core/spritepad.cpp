#include "spritepad.h"

#include "address_text.h"
#include "errors.h"
#include "export.h"
#include "palettes.h"

namespace mosaiqua {

namespace {

constexpr std::size_t kHeaderBytes = 9;
constexpr std::size_t kSpriteBytes = 64;

SpritePadSprite SpriteAt(const MemoryImage& memory, std::int64_t address) {
    SpritePadSprite sprite;
    for (std::size_t i = 0; i < sprite.data.size(); ++i)
        sprite.data[i] = memory.byteAt(address + std::int64_t(i));
    return sprite;
}

void CheckSpritePadCount(std::size_t count) {
    if (count == 0)
        throw UserError(UserError::Kind::NothingToSave, "There is no sprite to save: nothing was saved.");
    if (count > std::size_t(kMaxSpritePadSprites))
        throw UserError(UserError::Kind::NothingToSave, "A SpritePad file holds at most 256 sprites, not " +
                                                            std::to_string(count) + ": nothing was saved.");
}

std::string SpriteWord(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " sprite" : " sprites");
}

} // namespace

std::vector<std::uint8_t> EncodeSpritePad(std::span<const SpritePadSprite> sprites,
                                          const SpritePadColours& colours) {
    CheckSpritePadCount(sprites.size());
    std::vector<std::uint8_t> out{'S',
                                  'P',
                                  'D',
                                  1,
                                  std::uint8_t(sprites.size() - 1),
                                  0, // one animation
                                  std::uint8_t(colours.background & 15),
                                  std::uint8_t(colours.multicolour1 & 15),
                                  std::uint8_t(colours.multicolour2 & 15)};
    out.reserve(kHeaderBytes + sprites.size() * kSpriteBytes + 4);
    for (const SpritePadSprite& s : sprites) {
        out.insert(out.end(), s.data.begin(), s.data.end());
        out.push_back(std::uint8_t((s.multicolour ? 0x80 : 0) | (s.overlay ? 0x10 : 0) | (s.colour & 15)));
    }
    // The animation arrays (first, last, speed, attributes) for one still animation of sprite 0.
    out.insert(out.end(), {0, 0, 1, 0});
    return out;
}

std::string WriteSpritePadRange(const MemoryImage& image, std::int32_t start, std::int32_t end,
                                bool multicolour, const ColourSlots& colours, const PaletteTable& palette,
                                const std::string& utf8Path, const WriteOptions& writing) {
    const int count = SpriteCount(start, end);
    CheckRangeCount(start, end, count);
    CheckSpritePadCount(std::size_t(count));
    const ColourCode background = ChooseColourCode(colours.background, palette);
    const ColourCode multicolour1 = ChooseColourCode(colours.multicolour1, palette);
    const ColourCode main = ChooseColourCode(colours.main, palette);
    const ColourCode multicolour2 = ChooseColourCode(colours.multicolour2, palette);

    std::vector<SpritePadSprite> sprites;
    for (int i = 0; i < count; ++i) {
        sprites.push_back(SpriteAt(image, std::int64_t(start) + i * std::int64_t(kSpriteBytes)));
        sprites.back().multicolour = multicolour;
        sprites.back().colour = main.code;
    }
    WriteFileAtomically(
        utf8Path, EncodeSpritePad(sprites, {background.code, multicolour1.code, multicolour2.code}), writing);

    return SpriteWord(sprites.size()) + " from " + ScreenAddress(start) + " saved as SpritePad file ok." +
           ApproximationNote("background", colours.background, background) +
           ApproximationNote("multicolour 1", colours.multicolour1, multicolour1) +
           ApproximationNote("main", colours.main, main) +
           ApproximationNote("multicolour 2", colours.multicolour2, multicolour2);
}

std::string WriteOnScreenSpritePad(const MachineState& state, const MemoryImage& ram, bool includeDisabled,
                                   const std::string& utf8Path, const WriteOptions& writing) {
    const ScreenLayout layout = DescribeScreen(state, ram);
    const MemoryImage seen = VideoChipView(state, ram, layout.bank);
    std::vector<SpritePadSprite> sprites;
    std::string numbers;
    for (const SpriteState& s : layout.sprites) {
        if (!s.enabled && !includeDisabled)
            continue;
        sprites.push_back(SpriteAt(seen, s.address));
        sprites.back().multicolour = s.multicolour;
        sprites.back().colour = s.colour;
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(s.number);
    }
    if (sprites.empty())
        throw UserError(UserError::Kind::NothingToSave,
                        "No sprite is enabled on the screen: nothing was saved.");
    WriteFileAtomically(utf8Path,
                        EncodeSpritePad(sprites, {layout.background, layout.spriteMulticolour[0],
                                                  layout.spriteMulticolour[1]}),
                        writing);
    return SpriteWord(sprites.size()) + " (" + numbers + ") saved as SpritePad file ok.";
}

std::string PresetSpritePadName(std::int64_t start) {
    return "sprites" + HexAddress(start) + ".spd";
}

} // namespace mosaiqua
