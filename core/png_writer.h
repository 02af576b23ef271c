#pragma once

#include "bmp.h"
#include "colours.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mosaiqua {

// An indexed PNG at the smallest bit depth holding the picture's colours (RGB beyond 256 colours).
// With `transparent`, that colour is written fully transparent and every other colour opaque.
std::vector<std::uint8_t> EncodePng(const Raster& raster, std::optional<TColor> transparent = std::nullopt);

// Through WriteFileAtomically: a failure leaves no file and keeps the old one.
void WritePngFile(const Raster& raster, const std::string& utf8Path,
                  std::optional<TColor> transparent = std::nullopt, const WriteOptions& writing = {});

} // namespace mosaiqua
