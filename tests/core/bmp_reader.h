#pragma once

#include "core/colours.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mosaiqua::test {

struct BmpPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<TColor> pixels; // top row first; 16-bit pixels widened with zero low bits
    TColor at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// Reads an uncompressed bottom-up BMP at 16 (5-6-5 bit fields), 24 or 32 bits and refuses anything
// loose: wrong sizes or offsets, colour tables, non-zero padding or unused bytes. Returns "" or
// what is wrong.
inline std::string ParseBmp(const std::vector<std::uint8_t>& b, BmpPicture& out) {
    auto u16 = [&](std::size_t o) { return std::uint32_t(b[o]) | std::uint32_t(b[o + 1]) << 8; };
    auto u32 = [&](std::size_t o) { return u16(o) | u16(o + 2) << 16; };
    if (b.size() < 54)
        return "shorter than the two headers";
    if (b[0] != 'B' || b[1] != 'M')
        return "no BM signature";
    if (u32(2) != b.size())
        return "file size field " + std::to_string(u32(2)) + " but " + std::to_string(b.size()) + " bytes";
    if (u32(6) != 0)
        return "reserved fields not zero";
    if (u32(14) != 40)
        return "information header is not 40 bytes";
    const auto width = std::int32_t(u32(18));
    const auto height = std::int32_t(u32(22));
    if (width <= 0 || height <= 0)
        return "width or height not positive (rows must run bottom-up)";
    if (u16(26) != 1)
        return "planes not 1";
    const int bpp = int(u16(28));
    const std::uint32_t compression = u32(30);
    std::size_t offset = 54;
    if (bpp == 24 || bpp == 32) {
        if (compression != 0)
            return "compression is not BI_RGB";
    } else if (bpp == 16) {
        if (compression != 3)
            return "compression is not BI_BITFIELDS";
        offset = 66;
        if (b.size() < offset || u32(54) != 0xF800 || u32(58) != 0x07E0 || u32(62) != 0x001F)
            return "masks are not 5-6-5";
    } else {
        return "unexpected depth " + std::to_string(bpp);
    }
    if (u32(10) != offset)
        return "pixel data offset " + std::to_string(u32(10));
    if (u32(46) != 0 || u32(50) != 0)
        return "colour table counts not zero";
    const std::size_t used = std::size_t(width) * std::size_t(bpp / 8);
    const std::size_t stride = (used + 3) / 4 * 4;
    const std::size_t imageBytes = stride * std::size_t(height);
    if (u32(34) != 0 && u32(34) != imageBytes)
        return "image size field " + std::to_string(u32(34));
    if (b.size() != offset + imageBytes)
        return "length is not headers plus padded rows";

    out = BmpPicture{width, height, bpp, std::vector<TColor>(std::size_t(width) * std::size_t(height))};
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const std::size_t start = offset + std::size_t(fileRow) * stride;
        const int y = height - 1 - fileRow;
        for (int x = 0; x < width; ++x) {
            const std::size_t p = start + std::size_t(x) * std::size_t(bpp / 8);
            TColor c = 0;
            if (bpp == 16) {
                const std::uint32_t w = u16(p);
                c = MakeColor(std::uint8_t((w >> 11 & 0x1F) << 3), std::uint8_t((w >> 5 & 0x3F) << 2),
                              std::uint8_t((w & 0x1F) << 3));
            } else {
                c = MakeColor(b[p + 2], b[p + 1], b[p]);
                if (bpp == 32 && b[p + 3] != 0)
                    return "unused fourth byte not zero";
            }
            out.pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = c;
        }
        for (std::size_t p = start + used; p < start + stride; ++p)
            if (b[p] != 0)
                return "row padding not zero";
    }
    return "";
}

} // namespace mosaiqua::test
