#pragma once

#include "file_paths.h"
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

// Where WriteFileAtomically sends its bytes; tests substitute one that fails part-way.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool write(const std::uint8_t* bytes, std::size_t count) = 0;
    virtual bool close() = 0; // flushes; false when the data did not reach the disk
};
using OutputFileOpener = std::function<std::unique_ptr<OutputFile>(const std::filesystem::path&)>;
std::unique_ptr<OutputFile> OpenPlainOutputFile(const std::filesystem::path& path);

// Writes to a temporary file beside the target and renames it over the target only when complete,
// so a failure never leaves a half-written file or destroys the old one. Throws UserError
// "Cannot create file %s" or "Stream write error".
void WriteFileAtomically(const std::string& utf8Path, std::span<const std::uint8_t> bytes,
                         const OutputFileOpener& opener = OpenPlainOutputFile);

// Writes a raster as a BMP file at 24 bits, or at the display's depth (16 or 32) when asked.
void WriteBmpFile(const Raster& raster, const std::string& utf8Path, int bitsPerPixel,
                  const OutputFileOpener& opener = OpenPlainOutputFile);

} // namespace mosaiqua
