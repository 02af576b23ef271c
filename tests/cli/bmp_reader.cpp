#include "bmp_reader.h"

#include <fstream>
#include <iterator>

namespace clitest {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint16_t(b[at] | (b[at + 1] << 8));
}

BmpFile Fail(std::string why) {
    BmpFile f;
    f.error = std::move(why);
    return f;
}

} // namespace

BmpFile ReadBmpStrict(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail("cannot open " + path.string());
    const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return Fail("no BM header");
    if (U32(b, 2) != b.size())
        return Fail("file size field " + std::to_string(U32(b, 2)) + " but " + std::to_string(b.size()) +
                    " bytes");
    if (U32(b, 6) != 0 || U32(b, 14) != 40 || U16(b, 26) != 1)
        return Fail("reserved, info header size or planes wrong");
    BmpFile f;
    f.width = int(U32(b, 18));
    f.height = int(U32(b, 22));
    f.bitsPerPixel = U16(b, 28);
    const std::uint32_t compression = U32(b, 30);
    if (f.width <= 0 || f.height <= 0)
        return Fail("not a bottom-up picture of positive size");
    std::size_t offset = 54;
    if (f.bitsPerPixel == 16) {
        if (compression != 3 || b.size() < 66 || U32(b, 54) != 0xF800 || U32(b, 58) != 0x07E0 ||
            U32(b, 62) != 0x001F)
            return Fail("16 bits without 5-6-5 bit fields");
        offset = 66;
    } else if ((f.bitsPerPixel != 24 && f.bitsPerPixel != 32) || compression != 0) {
        return Fail("unexpected depth " + std::to_string(f.bitsPerPixel) + " or compression");
    }
    const std::size_t bytesPerPixel = std::size_t(f.bitsPerPixel) / 8;
    const std::size_t stride = (std::size_t(f.width) * bytesPerPixel + 3) / 4 * 4;
    const std::size_t imageSize = stride * std::size_t(f.height);
    if (U32(b, 10) != offset || b.size() != offset + imageSize)
        return Fail("pixel offset or length does not match the header");
    if (U32(b, 34) != 0 && U32(b, 34) != imageSize)
        return Fail("image size field wrong");
    f.pixels.resize(std::size_t(f.width) * std::size_t(f.height));
    for (int y = 0; y < f.height; ++y) {
        const std::size_t row = offset + std::size_t(f.height - 1 - y) * stride;
        for (int x = 0; x < f.width; ++x) {
            const std::size_t p = row + std::size_t(x) * bytesPerPixel;
            f.pixels[std::size_t(y) * std::size_t(f.width) + std::size_t(x)] =
                f.bitsPerPixel == 16 ? U16(b, p) : Rgb(b[p + 2], b[p + 1], b[p]);
        }
        for (std::size_t pad = std::size_t(f.width) * bytesPerPixel; pad < stride; ++pad)
            if (b[row + pad] != 0)
                return Fail("row padding is not zero");
    }
    return f;
}

} // namespace clitest
