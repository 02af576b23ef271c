#pragma once

#include "file_writer.h"
#include "raster.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

// 24: blue, green, red per pixel, no colour table. 32: BI_RGB with an unused fourth byte.
// 16: 5-6-5 with BI_BITFIELDS masks.
bool IsSupportedBmpDepth(int bitsPerPixel);

// Refuses (UserError) a bitmap of 0 or fewer pixels across or down, or one too big to hold in memory.
void CheckBitmapSize(std::int64_t width, std::int64_t height);
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t(1) << 26;
std::size_t BmpFileSize(int width, int height, int bitsPerPixel);
std::vector<std::uint8_t> EncodeBmp(const Raster& raster, int bitsPerPixel);

// Writes a raster as a BMP file at 24 bits, or at the display's depth (16 or 32) when asked.
void WriteBmpFile(const Raster& raster, const std::string& utf8Path, int bitsPerPixel,
                  const WriteOptions& options = {});

} // namespace mosaiqua
