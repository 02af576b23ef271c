#include "indexed_colours.h"

#include <unordered_map>

namespace mosaiqua {

std::optional<IndexedPicture> IndexColours(const std::vector<const Raster*>& rasters,
                                           std::optional<TColor> transparent) {
    IndexedPicture picture;
    std::unordered_map<TColor, std::uint8_t> slots;
    std::size_t total = 0;
    for (const Raster* r : rasters)
        total += r->pixels().size();
    picture.indices.reserve(total);
    if (transparent) {
        picture.palette.push_back(*transparent);
        slots.emplace(*transparent, 0);
    }
    // Runs of one colour are the rule in our pictures: skip the hash look-up for them.
    TColor last = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    for (const Raster* r : rasters) {
        for (const TColor c : r->pixels()) {
            if (!haveLast || c != last) {
                auto [it, added] = slots.try_emplace(c, std::uint8_t(picture.palette.size()));
                if (added) {
                    if (picture.palette.size() == 256)
                        return std::nullopt;
                    picture.palette.push_back(c);
                }
                last = c;
                lastIndex = it->second;
                haveLast = true;
            }
            picture.indices.push_back(lastIndex);
        }
    }
    picture.transparentUsed = transparent.has_value();
    return picture;
}

int SmallestBitDepth(std::size_t colours) {
    if (colours <= 2)
        return 1;
    if (colours <= 4)
        return 2;
    if (colours <= 16)
        return 4;
    return 8;
}

} // namespace mosaiqua
