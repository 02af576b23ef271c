#pragma once

#include "bmp.h"
#include "colours.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mosaiqua {

enum class ImageFormat { Bmp, Png };

// PNG when the name ends in ".png" in any case; BMP for every other name.
ImageFormat ImageFormatForName(const std::string& utf8Path);
// "bmp" / "png" (any case), else nothing.
std::optional<ImageFormat> ImageFormatFromText(const std::string& text);

struct ImageSaveOptions {
    std::optional<ImageFormat> format; // nothing: from the file name
    int bitsPerPixel = 24;             // BMP only
    // The background slot's colour when "transparent background" is on; PNG (and GIF) only.
    std::optional<TColor> transparent;
};

// Options for a save at a BMP depth, the format from the name and no transparency.
inline ImageSaveOptions AtDepth(int bitsPerPixel) {
    ImageSaveOptions options;
    options.bitsPerPixel = bitsPerPixel;
    return options;
}

// The one entry point every picture save calls: BMP or PNG, written atomically.
void WriteImageFile(const Raster& raster, const std::string& utf8Path, const ImageSaveOptions& options,
                    const WriteOptions& writing = {});

// The transparent colour a save uses: the background when the option is on, else nothing.
std::optional<TColor> TransparentColourFor(bool transparentBackground, const ColourSlots& colours);

// Whether a slot drawn in this mode (main; in multicolour also multicolour 1 and 2) has the
// background's colour, so its pixels turn transparent too.
bool BackgroundSharedWithOtherSlot(const ColourSlots& colours, bool multicolour);

// True when this save writes the background transparent: the option is on and the file is a PNG.
bool WritesTransparency(const ImageSaveOptions& options, const std::string& utf8Path);

// What a save adds to its status when transparent pixels stand for more than the background:
// empty unless `transparencyWritten` (a PNG with the option on, or a GIF) and a slot shares the colour.
std::string TransparencyStatusNote(bool transparencyWritten, const ColourSlots& colours, bool multicolour);

// A range save's file name: the chosen name without its last four characters, HHHH, then
// ".png" for a PNG save (the format given, else the chosen name's), else ".bmp".
std::string RangeImageFileName(const std::string& chosenUtf8, std::int64_t address,
                               std::optional<ImageFormat> format = std::nullopt);

} // namespace mosaiqua
