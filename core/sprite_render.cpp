#include "sprite_render.h"

#include "address_text.h"
#include "byte_pixels.h"

#include <algorithm>

namespace mosaiqua {

namespace {

void renderWith(const BytePixels& pixels, const MemoryImage& image, std::int64_t address, Raster& dst, int x0) {
    const bool inside = x0 >= 0 && x0 + kSpriteWidth <= dst.width() && dst.height() >= kSpriteHeight;
    for (int r = 0; r < kSpriteHeight; ++r) {
        for (int c = 0; c < 3; ++c) {
            const auto& eight = pixels[image.byteAt(address + 3 * r + c)];
            if (inside) {
                std::copy(eight.begin(), eight.end(), dst.row(r) + x0 + 8 * c);
                continue;
            }
            for (int px = 0; px < 8; ++px) {
                const int x = x0 + 8 * c + px;
                if (dst.contains(x, r))
                    dst.setPixel(x, r, eight[std::size_t(px)]);
            }
        }
    }
}

} // namespace

void RenderSprite(const MemoryImage& image, std::int64_t address, bool multicolour, const ColourSlots& colours,
                  Raster& dst, int x0) {
    renderWith(BytePixels(multicolour, colours), image, address, dst, x0);
}

void DrawCurrentSpriteRasters(SpriteRasters& views, const MemoryImage& image, std::int64_t address, bool multicolour,
                              const ColourSlots& colours) {
    RenderSprite(image, address, multicolour, colours, views.SpriteActual, 0);
    StretchCopy(views.SpriteActual, {0, 0, kSpriteWidth, kSpriteHeight}, views.SpriteBig,
                {0, 0, kSpriteWidth * kEnlargement, kSpriteHeight * kEnlargement});
}

void DrawNextSevenSpriteRasters(SpriteRasters& views, const MemoryImage& image, std::int64_t address,
                                bool multicolour, const ColourSlots& colours) {
    const BytePixels pixels(multicolour, colours);
    for (int k = 1; k <= kStripSprites; ++k)
        renderWith(pixels, image, address + std::int64_t(kSpriteStride) * k, views.ScanImage,
                   kSpriteWidth * (k - 1));
}

SpriteLabelTexts SpriteLabelsFor(std::int64_t address) {
    SpriteLabelTexts texts;
    texts.label1 = ScreenAddress(address);
    if (address < kStripLabelLimit) {
        texts.label2 = ScreenAddress(address + kSpriteStride);
        texts.label3 = ScreenAddress(address + kSpriteStride * kStripSprites);
    }
    return texts;
}

std::optional<std::int32_t> StepSpriteAddress(std::int32_t a, SpriteStep step) {
    switch (step) {
    case SpriteStep::NextSprite:
        return a < kLastSpriteStart ? std::optional(a + kSpriteStride) : std::nullopt;
    case SpriteStep::PreviousSprite:
        return a >= kSpriteStride ? std::optional(a - kSpriteStride) : std::nullopt;
    case SpriteStep::Next1000:
        return a < 0xF000 ? std::optional(a + 0x1000) : std::nullopt;
    case SpriteStep::Previous1000:
        return a > 0x1000 ? std::optional(a - 0x1000) : std::nullopt;
    case SpriteStep::PlusOneByte:
        return a < 0xFFFF ? std::optional(a + 1) : std::nullopt;
    case SpriteStep::MinusOneByte:
        return a > 0 ? std::optional(a - 1) : std::nullopt;
    case SpriteStep::ToBeginning:
        return 0;
    case SpriteStep::ToEnd:
        return kStripLabelLimit;
    }
    return std::nullopt;
}

} // namespace mosaiqua
