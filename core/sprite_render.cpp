#include "sprite_render.h"

#include "address_text.h"
#include "byte_pixels.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace mosaiqua {

namespace {

// 63 bytes per sprite: two nibble copies per byte beat building a 256-entry table first.
void renderWith(const NibblePixels& pixels, const MemoryImage& image, std::int64_t address, Raster& dst,
                int x0) {
    std::array<std::uint8_t, kSpriteBytes> bytes{};
    if (address >= 0 && std::uint64_t(address) + kSpriteBytes <= MemoryImage::kStoreSize)
        std::memcpy(bytes.data(), image.data() + address, bytes.size());
    else
        for (int i = 0; i < kSpriteBytes; ++i)
            bytes[std::size_t(i)] = image.byteAt(address + i);

    if (x0 >= 0 && x0 + kSpriteWidth <= dst.width() && dst.height() >= kSpriteHeight) {
        for (int r = 0; r < kSpriteHeight; ++r) {
            TColor* out = dst.row(r) + x0;
            for (int c = 0; c < 3; ++c)
                pixels.write(bytes[std::size_t(3 * r + c)], out + 8 * c);
        }
        return;
    }
    std::array<TColor, 8> eight{};
    for (int r = 0; r < kSpriteHeight; ++r) {
        for (int c = 0; c < 3; ++c) {
            pixels.write(bytes[std::size_t(3 * r + c)], eight.data());
            for (int px = 0; px < 8; ++px) {
                const int x = x0 + 8 * c + px;
                if (dst.contains(x, r))
                    dst.setPixel(x, r, eight[std::size_t(px)]);
            }
        }
    }
}

// Each pixel ten times across, each row ten times down: what StretchCopy makes of an exact x10
// enlargement, without its per-column lookups.
void EnlargeTenTimes(const Raster& from, Raster& to) {
    const std::size_t width = std::size_t(to.width());
    for (int r = 0; r < kSpriteHeight; ++r) {
        const TColor* in = from.row(r);
        TColor* out = to.row(r * kEnlargement);
        // Ten pixels as three overlapping stores of four.
        for (int x = 0; x < kSpriteWidth; ++x) {
            const std::array<TColor, 4> four{in[x], in[x], in[x], in[x]};
            TColor* ten = out + kEnlargement * x;
            std::memcpy(ten, four.data(), sizeof four);
            std::memcpy(ten + 4, four.data(), sizeof four);
            std::memcpy(ten + 6, four.data(), sizeof four);
        }
        for (int k = 1; k < kEnlargement; ++k)
            std::copy_n(out, width, to.row(r * kEnlargement + k));
    }
}

} // namespace

void RenderSprite(const MemoryImage& image, std::int64_t address, bool multicolour,
                  const ColourSlots& colours, Raster& dst, int x0) {
    renderWith(NibblePixels(multicolour, colours), image, address, dst, x0);
}

void DrawCurrentSpriteRasters(SpriteRasters& views, const MemoryImage& image, std::int64_t address,
                              bool multicolour, const ColourSlots& colours) {
    RenderSprite(image, address, multicolour, colours, views.SpriteActual, 0);
    if (views.SpriteBig.width() == kSpriteWidth * kEnlargement &&
        views.SpriteBig.height() == kSpriteHeight * kEnlargement &&
        views.SpriteActual.width() == kSpriteWidth && views.SpriteActual.height() == kSpriteHeight) {
        EnlargeTenTimes(views.SpriteActual, views.SpriteBig);
        return;
    }
    StretchCopy(views.SpriteActual, {0, 0, kSpriteWidth, kSpriteHeight}, views.SpriteBig,
                {0, 0, kSpriteWidth * kEnlargement, kSpriteHeight * kEnlargement});
}

void DrawNextSevenSpriteRasters(SpriteRasters& views, const MemoryImage& image, std::int64_t address,
                                bool multicolour, const ColourSlots& colours) {
    const NibblePixels pixels(multicolour, colours);
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
