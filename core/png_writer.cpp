#include "png_writer.h"

#include "errors.h"
#include "indexed_colours.h"

#include <png.h>

#include <csetjmp>
#include <stdexcept>

namespace mosaiqua {

namespace {

struct PngLayout {
    int width = 0;
    int height = 0;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_PALETTE;
    std::vector<png_color> palette;
    std::vector<png_byte> alpha; // tRNS for a palette
    std::optional<png_color_16> transparentRgb;
    std::vector<png_byte> rows; // packed, stride * height
    std::size_t stride = 0;
};

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}

// Kept free of C++ objects with destructors: libpng leaves through longjmp on errors.
bool encode(const PngLayout& l, std::vector<std::uint8_t>& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    // Our pictures are few colours in long runs: fast settings compress them as well as the slow ones.
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, png_uint_32(l.width), png_uint_32(l.height), l.bitDepth, l.colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (l.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_PLTE(png, info, l.palette.data(), int(l.palette.size()));
        if (!l.alpha.empty())
            png_set_tRNS(png, info, l.alpha.data(), int(l.alpha.size()), nullptr);
    } else if (l.transparentRgb) {
        png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(&*l.transparentRgb));
    }
    png_write_info(png, info);
    for (int y = 0; y < l.height; ++y)
        png_write_row(png, l.rows.data() + l.stride * std::size_t(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

png_color pngColour(TColor c) {
    return png_color{RedOf(c), GreenOf(c), BlueOf(c)};
}

void layIndexed(const Raster& raster, const IndexedPicture& picture, PngLayout& l) {
    l.bitDepth = SmallestBitDepth(picture.palette.size());
    for (const TColor c : picture.palette)
        l.palette.push_back(pngColour(c));
    if (picture.transparentUsed)
        l.alpha.push_back(0);
    const int perByte = 8 / l.bitDepth;
    l.stride = (std::size_t(l.width) + std::size_t(perByte) - 1) / std::size_t(perByte);
    l.rows.assign(l.stride * std::size_t(l.height), 0);
    const std::uint8_t* index = picture.indices.data();
    for (int y = 0; y < raster.height(); ++y) {
        png_byte* row = l.rows.data() + l.stride * std::size_t(y);
        for (int x = 0; x < raster.width(); ++x) {
            const int shift = 8 - l.bitDepth * (x % perByte + 1);
            row[x / perByte] = png_byte(row[x / perByte] | (*index++ << shift));
        }
    }
}

void layRgb(const Raster& raster, std::optional<TColor> transparent, PngLayout& l) {
    l.colourType = PNG_COLOR_TYPE_RGB;
    l.stride = std::size_t(l.width) * 3;
    l.rows.resize(l.stride * std::size_t(l.height));
    png_byte* p = l.rows.data();
    for (const TColor c : raster.pixels()) {
        *p++ = RedOf(c);
        *p++ = GreenOf(c);
        *p++ = BlueOf(c);
    }
    if (transparent)
        l.transparentRgb =
            png_color_16{0, RedOf(*transparent), GreenOf(*transparent), BlueOf(*transparent), 0};
}

} // namespace

std::vector<std::uint8_t> EncodePng(const Raster& raster, std::optional<TColor> transparent) {
    CheckBitmapSize(raster.width(), raster.height());
    PngLayout layout;
    layout.width = raster.width();
    layout.height = raster.height();
    if (const auto picture = IndexColours({&raster}, transparent))
        layIndexed(raster, *picture, layout);
    else
        layRgb(raster, transparent, layout);
    std::vector<std::uint8_t> out;
    out.reserve(layout.rows.size() / 4 + 256);
    if (!encode(layout, out))
        throw std::runtime_error("The PNG encoder failed.");
    return out;
}

void WritePngFile(const Raster& raster, const std::string& utf8Path, std::optional<TColor> transparent,
                  const WriteOptions& writing) {
    const std::vector<std::uint8_t> bytes = EncodePng(raster, transparent);
    WriteFileAtomically(utf8Path, bytes, writing);
}

} // namespace mosaiqua
