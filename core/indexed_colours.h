#pragma once

#include "colours.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace mosaiqua {

// A picture as palette indices; the transparent colour, when present, is entry 0 so a PNG's tRNS
// chunk needs one byte and a GIF names it once.
struct IndexedPicture {
    std::vector<TColor> palette;
    std::vector<std::uint8_t> indices; // row-major, width * height
    bool transparentUsed = false;      // entry 0 is the transparent colour
};

// Nothing when the pictures hold more than 256 colours together. Every raster must be w x h.
std::optional<IndexedPicture> IndexColours(const std::vector<const Raster*>& rasters,
                                           std::optional<TColor> transparent);

// The smallest PNG bit depth (1, 2, 4 or 8) whose palette holds `colours` entries.
int SmallestBitDepth(std::size_t colours);

} // namespace mosaiqua
