#include "charset_render.h"

#include "byte_pixels.h"

#include <algorithm>
#include <cstring>

namespace mosaiqua {

namespace {

static_assert(kGeometry8x8.width == 240 && kGeometry8x8.height == 72 && kGeometry8x8.byteRows == 2160 &&
              kGeometry8x8.highestOffset == 2159);
static_assert(kGeometry8x16.width == 240 && kGeometry8x16.height == 144 && kGeometry8x16.byteRows == 4320 &&
              kGeometry8x16.highestOffset == 2671);
static_assert(kGeometry16x16.width == 480 && kGeometry16x16.height == 48 && kGeometry16x16.byteRows == 2880 &&
              kGeometry16x16.highestOffset == 2255);

// Draws one 8 x 8 character: eight byte rows, a step notification after each.
class CharacterPainter {
public:
    CharacterPainter(const MemoryImage& image, std::int64_t address, const BytePixels& pixels, Raster& dst,
                     StepNotification step)
        : m_image(image), m_address(address), m_pixels(pixels), m_dst(dst), m_step(step) {}

    void draw(int offset, int x, int y0) {
        for (int k = 0; k < 8; ++k) {
            const auto& eight = m_pixels[m_image.byteAt(m_address + offset + k)];
            std::memcpy(m_dst.row(y0 + k) + x, eight.data(), sizeof eight);
            m_step();
        }
    }

private:
    const MemoryImage& m_image;
    std::int64_t m_address;
    const BytePixels& m_pixels;
    Raster& m_dst;
    StepNotification m_step;
};

} // namespace

const CharSetViewGeometry& GeometryOf(CharSetViewKind kind) {
    switch (kind) {
    case CharSetViewKind::cv8x16:
        return kGeometry8x16;
    case CharSetViewKind::cv16x16:
        return kGeometry16x16;
    case CharSetViewKind::cv8x8:
        break;
    }
    return kGeometry8x8;
}

void RenderCharSetView(CharSetViewKind kind, const MemoryImage& image, std::int64_t address,
                       const ColourSlots& colours, bool multicolour, Raster& dst, StepNotification step) {
    const CharSetViewGeometry& g = GeometryOf(kind);
    if (dst.width() != g.width || dst.height() != g.height)
        dst.reset(g.width, g.height);
    const BytePixels pixels(multicolour, colours);
    CharacterPainter paint(image, address, pixels, dst, step);

    switch (kind) {
    case CharSetViewKind::cv8x8:
        for (int r = 0; r < g.rows; ++r)
            for (int c = 0; c < kCellsPerRow; ++c)
                paint.draw(kCharacterBytes * (kCellsPerRow * r + c), 8 * c, 8 * r);
        break;
    case CharSetViewKind::cv8x16:
        // All top halves, then all bottom halves (the character 64 places on).
        for (int half = 0; half < 2; ++half)
            for (int r = 0; r < g.rows; ++r)
                for (int c = 0; c < kCellsPerRow; ++c)
                    paint.draw(kCharacterBytes * (kCellsPerRow * r + c) + kPartStride * half, 8 * c,
                               16 * r + 8 * half);
        break;
    case CharSetViewKind::cv16x16:
        // Top quarters, then bottom; within each row the left quarters, then the right.
        for (int bottom = 0; bottom < 2; ++bottom)
            for (int r = 0; r < g.rows; ++r)
                for (int right = 0; right < 2; ++right)
                    for (int c = 0; c < kCellsPerRow; ++c)
                        paint.draw(kCharacterBytes * (kCellsPerRow * r + c) + kPartStride * right +
                                       2 * kPartStride * bottom,
                                   16 * c + 8 * right, 16 * r + 8 * bottom);
        break;
    }
}

Raster& CharSetRasters::of(CharSetViewKind kind) {
    switch (kind) {
    case CharSetViewKind::cv8x16:
        return CharSetImage8x16;
    case CharSetViewKind::cv16x16:
        return CharSetImage16x16;
    case CharSetViewKind::cv8x8:
        break;
    }
    return CharSetImage;
}

const Raster& CharSetRasters::of(CharSetViewKind kind) const {
    return const_cast<CharSetRasters*>(this)->of(kind);
}

CharSetRefreshPlan PlanCharSetRefresh(CharSetViewFlags requested, CharSetViewFlags enabled) {
    CharSetRefreshPlan plan;
    plan.draw8x8 = requested.view8x8 && enabled.view8x8;
    plan.draw16x16 = requested.view16x16 && enabled.view16x16;
    plan.draw8x16 = requested.view8x16 && enabled.view8x16;
    if (plan.draw8x8)
        plan.progressTotal += kGeometry8x8.byteRows;
    if (plan.draw16x16)
        plan.progressTotal += kGeometry16x16.byteRows;
    if (plan.draw8x16)
        plan.progressTotal += kGeometry8x16.byteRows;
    return plan;
}

std::optional<std::int32_t> StepCharSetAddress(std::int32_t a, CharSetStep step, bool anyViewEnabled) {
    if (!anyViewEnabled)
        return std::nullopt;
    switch (step) {
    case CharSetStep::Next0800:
        return a < 0xF800 ? std::optional(a + 0x800) : std::nullopt;
    case CharSetStep::Previous0800:
        return a >= 0x800 ? std::optional(a - 0x800) : std::nullopt;
    case CharSetStep::PlusOneByte:
        return a < 0xFFFF ? std::optional(a + 1) : std::nullopt;
    case CharSetStep::MinusOneByte:
        return a > 0 ? std::optional(a - 1) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace mosaiqua
