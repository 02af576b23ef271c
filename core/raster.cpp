#include "raster.h"

#include <algorithm>
#include <cstdint>

namespace mosaiqua {

Raster::Raster(int width, int height, TColor fill) {
    reset(width, height, fill);
}

void Raster::fill(TColor c) {
    std::fill(m_pixels.begin(), m_pixels.end(), c);
}

void Raster::reset(int width, int height, TColor fill) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_pixels.assign(std::size_t(m_width) * std::size_t(m_height), fill);
}

namespace {

// One axis of a stretch: destination span [start, start + length) mapped onto a source span.
struct Axis {
    std::int64_t destStart;
    std::int64_t destLength;
    bool mirrored;
};

Axis normalise(int start, int length) {
    if (length < 0)
        return {std::int64_t(start) + length, -std::int64_t(length), true};
    return {start, length, false};
}

// Source coordinate for destination offset i (0 <= i < destLength) of a span.
std::int64_t sourceFor(std::int64_t i, const Axis& axis, int srcStart, int srcLength) {
    const std::int64_t k = axis.mirrored ? axis.destLength - 1 - i : i;
    if (srcLength >= 0)
        return srcStart + k * srcLength / axis.destLength;
    // A negative source span reads right to left from its corner.
    return srcStart - 1 - k * (-std::int64_t(srcLength)) / axis.destLength;
}

} // namespace

void StretchCopy(const Raster& src, Rect from, Raster& dst, Rect to) {
    if (to.width == 0 || to.height == 0 || from.width == 0 || from.height == 0)
        return;
    const Axis ax = normalise(to.left, to.width);
    const Axis ay = normalise(to.top, to.height);
    const std::int64_t x0 = std::max<std::int64_t>(ax.destStart, 0);
    const std::int64_t x1 = std::min<std::int64_t>(ax.destStart + ax.destLength, dst.width());
    const std::int64_t y0 = std::max<std::int64_t>(ay.destStart, 0);
    const std::int64_t y1 = std::min<std::int64_t>(ay.destStart + ay.destLength, dst.height());
    if (x0 >= x1 || y0 >= y1)
        return;

    // Column lookup once per copy; rows that come from the same source row as the row above
    // (every enlargement) are copied from that row instead of being looked up again.
    std::vector<std::int64_t> columns(std::size_t(x1 - x0));
    bool allColumnsInside = true;
    for (std::int64_t x = x0; x < x1; ++x) {
        const std::int64_t sx = sourceFor(x - ax.destStart, ax, from.left, from.width);
        columns[std::size_t(x - x0)] = sx;
        allColumnsInside = allColumnsInside && sx >= 0 && sx < src.width();
    }

    std::int64_t previousSourceRow = -1;
    const TColor* previousRow = nullptr;
    for (std::int64_t y = y0; y < y1; ++y) {
        const std::int64_t sy = sourceFor(y - ay.destStart, ay, from.top, from.height);
        TColor* out = dst.row(int(y)) + x0;
        // Outside the source there is nothing to copy; those pixels stay as they are.
        if (sy < 0 || sy >= src.height())
            continue;
        if (sy == previousSourceRow && allColumnsInside) {
            std::copy(previousRow, previousRow + columns.size(), out);
            continue;
        }
        const TColor* in = src.row(int(sy));
        if (allColumnsInside) {
            for (std::size_t i = 0; i < columns.size(); ++i)
                out[i] = in[columns[i]];
        } else {
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const std::int64_t sx = columns[i];
                if (sx >= 0 && sx < src.width())
                    out[i] = in[sx];
            }
        }
        previousSourceRow = sy;
        previousRow = out;
    }
}

} // namespace mosaiqua
