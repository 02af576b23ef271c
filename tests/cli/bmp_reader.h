#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace clitest {

// An uncompressed BMP as this reader understood it. Pixels are 0xRRGGBB at 24 and 32 bits and
// the raw 5-6-5 word at 16 bits.
struct BmpFile {
    std::string error; // empty when the file passed every check
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<std::uint32_t> pixels; // top row first
    std::uint32_t at(int x, int y) const {
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

// Refuses anything but a bottom-up BITMAPINFOHEADER file at 24 or 32 bits (BI_RGB) or 16 bits
// (BI_BITFIELDS 5-6-5), whose sizes and offsets all agree with its length.
BmpFile ReadBmpStrict(const std::filesystem::path& path);

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (r << 16) | (g << 8) | b;
}

} // namespace clitest
