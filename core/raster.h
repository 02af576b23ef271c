#pragma once

#include "colours.h"

#include <cstdint>
#include <vector>

namespace mosaiqua {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A rectangle of TColor pixels, row-major, top row first.
class Raster final {
public:
    Raster() = default;
    Raster(int width, int height, TColor fill = 0);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    TColor pixel(int x, int y) const { return m_pixels[index(x, y)]; }
    void setPixel(int x, int y, TColor c) { m_pixels[index(x, y)] = c; }
    TColor* row(int y) { return m_pixels.data() + index(0, y); }
    const TColor* row(int y) const { return m_pixels.data() + index(0, y); }
    const std::vector<TColor>& pixels() const { return m_pixels; }

    void fill(TColor c);
    // Resizes and paints every pixel; no old pixel survives.
    void reset(int width, int height, TColor fill = 0);

    friend bool operator==(const Raster&, const Raster&) = default;

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * std::size_t(m_width) + std::size_t(x); }

    int m_width = 0;
    int m_height = 0;
    std::vector<TColor> m_pixels;
};

// A stretching copy without smoothing, as a blitter does it: each destination pixel takes the
// source pixel it falls on, whatever lies outside `dst` is clipped, and a negative width or height
// mirrors along that axis (the rectangle then extends left of / above its corner).
void StretchCopy(const Raster& src, Rect from, Raster& dst, Rect to);

} // namespace mosaiqua
