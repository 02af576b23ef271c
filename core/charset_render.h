#pragma once

#include "colours.h"
#include "memory_image.h"
#include "raster.h"

#include <array>
#include <cstdint>
#include <optional>
#include <type_traits>

namespace mosaiqua {

enum class CharSetViewKind { cv8x8, cv8x16, cv16x16 };

struct CharSetViewGeometry {
    int width; // raster size
    int height;
    int columns; // cells per row
    int rows;
    int cellWidth;
    int cellHeight;
    int byteRows;      // progress steps of one drawing
    int highestOffset; // last byte read, counted from the address
};

// Every view shows 30 cells to a row; a cell of more than one character takes the characters 64
// places (512 bytes) on for its right half and, after those, for its bottom half.
inline constexpr int kCellsPerRow = 30;
inline constexpr int kCharacterBytes = 8;
inline constexpr int kPartStride = 64 * kCharacterBytes;

// The one description of a view: rows of cells, and a cell's size in pixels (8 or 16 each way).
constexpr CharSetViewGeometry DescribeCharSetView(int rows, int cellWidth, int cellHeight) {
    const int across = cellWidth / 8;
    const int down = cellHeight / 8;
    const int cells = kCellsPerRow * rows;
    return {kCellsPerRow * cellWidth,
            rows * cellHeight,
            kCellsPerRow,
            rows,
            cellWidth,
            cellHeight,
            cells * across * down * kCharacterBytes,
            kCharacterBytes * cells - 1 + (across - 1) * kPartStride + (down - 1) * across * kPartStride};
}
inline constexpr CharSetViewGeometry kGeometry8x8 = DescribeCharSetView(9, 8, 8);
inline constexpr CharSetViewGeometry kGeometry8x16 = DescribeCharSetView(9, 8, 16);
inline constexpr CharSetViewGeometry kGeometry16x16 = DescribeCharSetView(3, 16, 16);

const CharSetViewGeometry& GeometryOf(CharSetViewKind kind);

// Tells the caller how far a drawing has got, in byte rows. A callable taking no argument is called
// once after each byte row, in drawing order; one taking an int is told the rows drawn since its last
// call, once per line of 30 characters, which keeps 9360 rows per refresh from costing 9360 calls.
class StepNotification {
public:
    StepNotification() = default;
    // Constrained so that copying a notification copies it rather than wrapping the copy source.
    template <typename F>
    requires(!std::is_same_v<std::remove_cv_t<F>, StepNotification> && std::is_invocable_v<F&>)
        StepNotification(F& f)
        : m_object(&f), m_call([](void* o, int rows) {
              for (; rows > 0; --rows)
                  (*static_cast<F*>(o))();
          }),
          m_everyRow(true) {}
    template <typename F>
    requires(!std::is_same_v<std::remove_cv_t<F>, StepNotification> && !std::is_invocable_v<F&> &&
             std::is_invocable_v<F&, int>) StepNotification(F& f)
        : m_object(&f), m_call([](void* o, int rows) { (*static_cast<F*>(o))(rows); }), m_everyRow(false) {}

    void operator()() const { advance(1); }
    void advance(int rows) const {
        if (m_call)
            m_call(m_object, rows);
    }
    bool wantsEveryRow() const { return m_everyRow; }

private:
    void* m_object = nullptr;
    void (*m_call)(void*, int) = nullptr;
    bool m_everyRow = false;
};

// Draws every pixel of `dst` (resized to the kind's size) from image[address .. address+highestOffset].
void RenderCharSetView(CharSetViewKind kind, const MemoryImage& image, std::int64_t address,
                       const ColourSlots& colours, bool multicolour, Raster& dst, StepNotification step = {});

// The three pictures of the charset page, kept between refreshes.
struct CharSetRasters {
    Raster CharSetImage{kGeometry8x8.width, kGeometry8x8.height};
    Raster CharSetImage8x16{kGeometry8x16.width, kGeometry8x16.height};
    Raster CharSetImage16x16{kGeometry16x16.width, kGeometry16x16.height};
    Raster& of(CharSetViewKind kind);
    const Raster& of(CharSetViewKind kind) const;
};

// Which views a refresh draws, in drawing order 8x8, 16x16, 8x16, and its progress total.
struct CharSetRefreshPlan {
    bool draw8x8 = false;
    bool draw16x16 = false;
    bool draw8x16 = false;
    int progressTotal = 0;
};
struct CharSetViewFlags {
    bool view8x8 = false;
    bool view16x16 = false;
    bool view8x16 = false;
};
CharSetRefreshPlan PlanCharSetRefresh(CharSetViewFlags requested, CharSetViewFlags enabled);
inline constexpr std::array<CharSetViewKind, 3> kRefreshOrder{
    CharSetViewKind::cv8x8, CharSetViewKind::cv16x16, CharSetViewKind::cv8x16};

enum class CharSetStep { Next0800, Previous0800, PlusOneByte, MinusOneByte };
// The address after a step, or nothing when no view is enabled or the step is at its bound.
std::optional<std::int32_t> StepCharSetAddress(std::int32_t address, CharSetStep step, bool anyViewEnabled);
// The $0800 steps redraw every view; the byte steps only relabel them.
constexpr bool StepRedrawsViews(CharSetStep step) {
    return step == CharSetStep::Next0800 || step == CharSetStep::Previous0800;
}

} // namespace mosaiqua
