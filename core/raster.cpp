#include "raster.h"

#include <algorithm>
#include <cstdint>

namespace mosaiqua {

Raster::Raster(int width, int height, TColor fill) { reset(width, height, fill); }

void Raster::fill(TColor c) { std::fill(m_pixels.begin(), m_pixels.end(), c); }

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

    // Column lookup once per copy; rows then copy pixel by pixel from the source row.
    std::vector<std::int64_t> columns(std::size_t(x1 - x0));
    for (std::int64_t x = x0; x < x1; ++x)
        columns[std::size_t(x - x0)] = sourceFor(x - ax.destStart, ax, from.left, from.width);

    for (std::int64_t y = y0; y < y1; ++y) {
        const std::int64_t sy = sourceFor(y - ay.destStart, ay, from.top, from.height);
        TColor* out = dst.row(int(y)) + x0;
        if (sy < 0 || sy >= src.height()) {
            // Outside the source there is nothing to copy; leave those pixels as they are.
            continue;
        }
        const TColor* in = src.row(int(sy));
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::int64_t sx = columns[i];
            if (sx >= 0 && sx < src.width())
                out[i] = in[sx];
        }
    }
}

} // namespace mosaiqua
