#include "charset_render.h"

#include "byte_pixels.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace mosaiqua {

namespace {

static_assert(kGeometry8x8.width == 240 && kGeometry8x8.height == 72 && kGeometry8x8.byteRows == 2160 &&
              kGeometry8x8.highestOffset == 2159);
static_assert(kGeometry8x16.width == 240 && kGeometry8x16.height == 144 && kGeometry8x16.byteRows == 4320 &&
              kGeometry8x16.highestOffset == 2671);
static_assert(kGeometry16x16.width == 480 && kGeometry16x16.height == 48 && kGeometry16x16.byteRows == 2880 &&
              kGeometry16x16.highestOffset == 2255);

// Thirty characters side by side: character c comes from src[8c .. 8c+7] and lands at column
// xStep * c of the eight raster rows starting at `dst`.
struct CellRun {
    int offset; // of character 0, counted from the address
    int x;
    int y;
    int xStep;
};

// At most 18 runs per view: the 8 x 16 view's two halves of nine rows.
struct RunList {
    std::array<CellRun, 18> runs{};
    int count = 0;
    void add(CellRun run) { runs[std::size_t(count++)] = run; }
};

// The runs in drawing order; the progress steps report them in this order.
RunList RunsOf(CharSetViewKind kind, const CharSetViewGeometry& g) {
    RunList list;
    switch (kind) {
    case CharSetViewKind::cv8x8:
        for (int r = 0; r < g.rows; ++r)
            list.add({kCharacterBytes * kCellsPerRow * r, 0, 8 * r, 8});
        break;
    case CharSetViewKind::cv8x16:
        // All top halves, then all bottom halves (the character 64 places on).
        for (int half = 0; half < 2; ++half)
            for (int r = 0; r < g.rows; ++r)
                list.add({kCharacterBytes * kCellsPerRow * r + kPartStride * half, 0, 16 * r + 8 * half, 8});
        break;
    case CharSetViewKind::cv16x16:
        // Top quarters, then bottom; within each row the left quarters, then the right.
        for (int bottom = 0; bottom < 2; ++bottom)
            for (int r = 0; r < g.rows; ++r)
                for (int right = 0; right < 2; ++right)
                    list.add(
                        {kCharacterBytes * kCellsPerRow * r + kPartStride * right + 2 * kPartStride * bottom,
                         8 * right, 16 * r + 8 * bottom, 16});
        break;
    }
    return list;
}

using PixelTable = std::array<std::array<TColor, 8>, 256>;

#if defined(__x86_64__)
// Eight pixels are 32 bytes: one wide load and store where the processor has them.
__attribute__((target("avx2"))) void DrawRunByRowsWide(const PixelTable& pixels, const std::uint8_t* src,
                                                       TColor* dst, std::size_t stride, std::size_t xStep) {
    for (std::size_t k = 0; k < 8; ++k, dst += stride)
        for (std::size_t c = 0; c < kCellsPerRow; ++c)
            _mm256_storeu_si256(
                reinterpret_cast<__m256i*>(dst + xStep * c),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels[src[8 * c + k]].data())));
}
#endif

// Raster row by raster row, so the stores run along memory; the caller is told after the whole run.
void DrawRunByRows(const PixelTable& pixels, const std::uint8_t* src, TColor* dst, std::size_t stride,
                   std::size_t xStep) {
#if defined(__x86_64__)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide) {
        DrawRunByRowsWide(pixels, src, dst, stride, xStep);
        return;
    }
#endif
    for (std::size_t k = 0; k < 8; ++k, dst += stride)
        for (std::size_t c = 0; c < kCellsPerRow; ++c)
            std::memcpy(dst + xStep * c, pixels[src[8 * c + k]].data(), sizeof(pixels[0]));
}

// Character by character with a notification after each byte row, for callers that watch each one.
void DrawRunByCharacters(const PixelTable& pixels, const std::uint8_t* src, TColor* dst, std::size_t stride,
                         std::size_t xStep, const StepNotification& step) {
    for (std::size_t c = 0; c < kCellsPerRow; ++c)
        for (std::size_t k = 0; k < 8; ++k) {
            std::memcpy(dst + xStep * c + stride * k, pixels[src[8 * c + k]].data(), sizeof(pixels[0]));
            step();
        }
}

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
    const BytePixels table(multicolour, colours);
    const PixelTable& pixels = table.rows();

    // Bytes past the end of memory read as 0; only a view that reaches past it needs the copy.
    std::array<std::uint8_t, 4096> edge; // filled below only when used
    const std::uint8_t* src = nullptr;
    if (address >= 0 && std::uint64_t(address) + std::uint64_t(g.highestOffset) < MemoryImage::kStoreSize) {
        src = image.data() + address;
    } else {
        for (int i = 0; i <= g.highestOffset; ++i)
            edge[std::size_t(i)] = image.byteAt(address + i);
        src = edge.data();
    }

    const std::size_t stride = std::size_t(g.width);
    const RunList list = RunsOf(kind, g);
    for (int i = 0; i < list.count; ++i) {
        const CellRun& run = list.runs[std::size_t(i)];
        TColor* at = dst.row(run.y) + run.x;
        if (step.wantsEveryRow()) {
            DrawRunByCharacters(pixels, src + run.offset, at, stride, std::size_t(run.xStep), step);
        } else {
            DrawRunByRows(pixels, src + run.offset, at, stride, std::size_t(run.xStep));
            step.advance(8 * kCellsPerRow);
        }
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
