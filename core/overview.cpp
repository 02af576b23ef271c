#include "overview.h"

#include "byte_pixels.h"
#include "sprite_render.h"

#include <algorithm>
#include <cstring>

namespace mosaiqua {

namespace {

constexpr int kMemoryEnd = 0x10000;
constexpr int kCharacters = kMemoryEnd / 8;

int unitBytes(OverviewPage page) {
    return page == OverviewPage::Sprites ? kSpriteStride : 8;
}

Rect characterRect(int character) {
    const int block = character / 256;
    const int inBlock = character % 256;
    return {(block % kOverviewBlockColumns) * kOverviewBlockPixels + (inBlock % kOverviewBlockCharacters) * 8,
            (block / kOverviewBlockColumns) * kOverviewBlockPixels + (inBlock / kOverviewBlockCharacters) * 8,
            8, 8};
}

Rect spriteRect(int cell) {
    return {(cell % kOverviewSpriteColumns) * kSpriteWidth, (cell / kOverviewSpriteColumns) * kSpriteHeight,
            kSpriteWidth, kSpriteHeight};
}

} // namespace

int OverviewWidth(OverviewPage page) {
    return page == OverviewPage::Sprites ? kOverviewSpriteColumns * kSpriteWidth
                                         : kOverviewBlockColumns * kOverviewBlockPixels;
}

int OverviewHeight(OverviewPage page) {
    return page == OverviewPage::Sprites
               ? (kMemoryEnd / kSpriteStride / kOverviewSpriteColumns) * kSpriteHeight
               : (32 / kOverviewBlockColumns) * kOverviewBlockPixels;
}

void DrawOverview(OverviewPage page, const MemoryImage& image, bool multicolour, const ColourSlots& colours,
                  Raster& dst) {
    const int width = OverviewWidth(page);
    const int height = OverviewHeight(page);
    if (dst.width() != width || dst.height() != height)
        dst.reset(width, height);
    if (page == OverviewPage::Sprites) {
        // The sprite renderer draws rows 0..20 of a raster: one strip per row of cells.
        Raster strip(width, kSpriteHeight);
        for (int row = 0; row < height / kSpriteHeight; ++row) {
            for (int column = 0; column < kOverviewSpriteColumns; ++column)
                RenderSprite(image, std::int64_t(row * kOverviewSpriteColumns + column) * kSpriteStride,
                             multicolour, colours, strip, column * kSpriteWidth);
            for (int y = 0; y < kSpriteHeight; ++y)
                std::memcpy(dst.row(row * kSpriteHeight + y), strip.row(y),
                            sizeof(TColor) * std::size_t(width));
        }
        return;
    }
    const BytePixels pixels(multicolour, colours);
    for (int character = 0; character < kCharacters; ++character) {
        const Rect at = characterRect(character);
        for (int k = 0; k < 8; ++k) {
            const auto& eight = pixels[image.byteAt(std::int64_t(character) * 8 + k)];
            std::memcpy(dst.row(at.top + k) + at.left, eight.data(), sizeof eight);
        }
    }
}

std::optional<std::int32_t> OverviewAddressAt(OverviewPage page, int x, int y, bool exactCharacter) {
    if (x < 0 || y < 0 || x >= OverviewWidth(page) || y >= OverviewHeight(page))
        return std::nullopt;
    if (page == OverviewPage::Sprites)
        return ((y / kSpriteHeight) * kOverviewSpriteColumns + x / kSpriteWidth) * kSpriteStride;
    const int block = (y / kOverviewBlockPixels) * kOverviewBlockColumns + x / kOverviewBlockPixels;
    if (!exactCharacter)
        return block * 2048;
    const int inBlock =
        ((y % kOverviewBlockPixels) / 8) * kOverviewBlockCharacters + (x % kOverviewBlockPixels) / 8;
    return block * 2048 + inBlock * 8;
}

Rect OverviewCellRect(OverviewPage page, std::int32_t address) {
    const int a = std::clamp(address, 0, kMemoryEnd - 1);
    return page == OverviewPage::Sprites ? spriteRect(a / kSpriteStride) : characterRect(a / 8);
}

Rect OverviewBlockRect(int block) {
    const int b = std::clamp(block, 0, 31);
    return {(b % kOverviewBlockColumns) * kOverviewBlockPixels,
            (b / kOverviewBlockColumns) * kOverviewBlockPixels, kOverviewBlockPixels, kOverviewBlockPixels};
}

std::vector<Rect> OverviewRangeRects(OverviewPage page, std::int32_t start, std::int32_t length) {
    std::vector<Rect> rects;
    if (length <= 0 || start >= kMemoryEnd)
        return rects;
    const std::int64_t first = std::max<std::int64_t>(start, 0);
    const std::int64_t last = std::min<std::int64_t>(std::int64_t(start) + length, kMemoryEnd) - 1;
    if (last < first)
        return rects;
    const int unit = unitBytes(page);
    for (std::int64_t u = first / unit; u <= last / unit; ++u) {
        const Rect r = page == OverviewPage::Sprites ? spriteRect(int(u)) : characterRect(int(u));
        if (!rects.empty()) {
            Rect& back = rects.back();
            if (back.top == r.top && back.height == r.height && back.left + back.width == r.left) {
                back.width += r.width;
                continue;
            }
        }
        rects.push_back(r);
    }
    return rects;
}

} // namespace mosaiqua
