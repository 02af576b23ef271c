#pragma once

#include "bmp.h"
#include "colours.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mosaiqua {

// An animated GIF that loops forever (NETSCAPE2.0), every frame shown for `delayCentiseconds`.
// Frames must share one size; more than 256 colours in all is refused (UserError). With
// `transparent`, that colour is the transparent one in every frame.
std::vector<std::uint8_t> EncodeAnimatedGif(const std::vector<Raster>& frames, int delayCentiseconds,
                                            std::optional<TColor> transparent = std::nullopt);

// Through WriteFileAtomically: a failure leaves no file and keeps the old one.
void WriteAnimatedGifFile(const std::vector<Raster>& frames, int delayCentiseconds,
                          const std::string& utf8Path, std::optional<TColor> transparent = std::nullopt,
                          const WriteOptions& writing = {});

} // namespace mosaiqua
