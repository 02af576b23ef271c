#include "bmp.h"

#include "errors.h"

namespace mosaiqua {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kBitfieldMasksSize = 12;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::int32_t kPixelsPerMetre = 3780; // 96 dpi, what a screen bitmap reports

std::size_t rowBytes(int width, int bitsPerPixel) {
    return (std::size_t(width) * std::size_t(bitsPerPixel) / 8 + 3) & ~std::size_t(3);
}

std::size_t pixelOffset(int bitsPerPixel) {
    return kFileHeaderSize + kInfoHeaderSize + (bitsPerPixel == 16 ? kBitfieldMasksSize : 0);
}

void put16(std::uint8_t*& p, std::uint32_t v) {
    *p++ = std::uint8_t(v);
    *p++ = std::uint8_t(v >> 8);
}
void put32(std::uint8_t*& p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p, v >> 16);
}

} // namespace

void CheckBitmapSize(std::int64_t width, std::int64_t height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width < 1 || height < 1)
        throw UserError(UserError::Kind::BadBitmapSize,
                        "A bitmap of " + size +
                            " pixels cannot be saved: width and height must be at least 1.");
    if (width > kMaxBitmapPixels || height > kMaxBitmapPixels || width * height > kMaxBitmapPixels)
        throw UserError(UserError::Kind::BadBitmapSize, "A bitmap of " + size +
                                                            " pixels is too large to save (the limit is " +
                                                            std::to_string(kMaxBitmapPixels) + " pixels).");
}

bool IsSupportedBmpDepth(int bitsPerPixel) {
    return bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

std::size_t BmpFileSize(int width, int height, int bitsPerPixel) {
    return pixelOffset(bitsPerPixel) + rowBytes(width, bitsPerPixel) * std::size_t(height);
}

std::vector<std::uint8_t> EncodeBmp(const Raster& raster, int bitsPerPixel) {
    if (!IsSupportedBmpDepth(bitsPerPixel))
        bitsPerPixel = 24;
    const int w = raster.width();
    const int h = raster.height();
    const std::size_t stride = rowBytes(w, bitsPerPixel);
    std::vector<std::uint8_t> out(BmpFileSize(w, h, bitsPerPixel), 0);

    std::uint8_t* p = out.data();
    *p++ = 'B';
    *p++ = 'M';
    put32(p, std::uint32_t(out.size()));
    put32(p, 0);
    put32(p, std::uint32_t(pixelOffset(bitsPerPixel)));
    put32(p, kInfoHeaderSize);
    put32(p, std::uint32_t(w));
    put32(p, std::uint32_t(h)); // positive: rows stored bottom-up
    put16(p, 1);
    put16(p, std::uint32_t(bitsPerPixel));
    put32(p, bitsPerPixel == 16 ? kBiBitfields : kBiRgb);
    put32(p, std::uint32_t(stride * std::size_t(h)));
    put32(p, kPixelsPerMetre);
    put32(p, kPixelsPerMetre);
    put32(p, 0);
    put32(p, 0);
    if (bitsPerPixel == 16) {
        put32(p, 0xF800);
        put32(p, 0x07E0);
        put32(p, 0x001F);
    }

    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = out.data() + pixelOffset(bitsPerPixel) + stride * std::size_t(h - 1 - y);
        const TColor* in = raster.row(y);
        for (int x = 0; x < w; ++x) {
            const TColor c = in[x];
            if (bitsPerPixel == 16) {
                const std::uint32_t v = (std::uint32_t(RedOf(c) >> 3) << 11) |
                                        (std::uint32_t(GreenOf(c) >> 2) << 5) | std::uint32_t(BlueOf(c) >> 3);
                put16(row, v);
            } else {
                *row++ = BlueOf(c);
                *row++ = GreenOf(c);
                *row++ = RedOf(c);
                if (bitsPerPixel == 32)
                    *row++ = 0;
            }
        }
    }
    return out;
}

void WriteBmpFile(const Raster& raster, const std::string& utf8Path, int bitsPerPixel,
                  const WriteOptions& options) {
    CheckBitmapSize(raster.width(), raster.height());
    const std::vector<std::uint8_t> bytes = EncodeBmp(raster, bitsPerPixel);
    WriteFileAtomically(utf8Path, bytes, options);
}

} // namespace mosaiqua
