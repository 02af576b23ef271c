#include "image_file.h"

#include "export.h"
#include "png_writer.h"

#include <algorithm>
#include <cctype>

namespace mosaiqua {

namespace {

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

} // namespace

ImageFormat ImageFormatForName(const std::string& utf8Path) {
    const std::size_t n = utf8Path.size();
    return n >= 4 && lowerAscii(utf8Path.substr(n - 4)) == ".png" ? ImageFormat::Png : ImageFormat::Bmp;
}

std::optional<ImageFormat> ImageFormatFromText(const std::string& text) {
    const std::string lower = lowerAscii(text);
    if (lower == "bmp")
        return ImageFormat::Bmp;
    if (lower == "png")
        return ImageFormat::Png;
    return std::nullopt;
}

void WriteImageFile(const Raster& raster, const std::string& utf8Path, const ImageSaveOptions& options,
                    const WriteOptions& writing) {
    if (options.format.value_or(ImageFormatForName(utf8Path)) == ImageFormat::Png)
        WritePngFile(raster, utf8Path, options.transparent, writing);
    else
        WriteBmpFile(raster, utf8Path, options.bitsPerPixel, writing);
}

std::optional<TColor> TransparentColourFor(bool transparentBackground, const ColourSlots& colours) {
    return transparentBackground ? std::optional<TColor>(colours.background) : std::nullopt;
}

bool BackgroundSharedWithOtherSlot(const ColourSlots& c, bool multicolour) {
    if (c.main == c.background)
        return true;
    return multicolour && (c.multicolour1 == c.background || c.multicolour2 == c.background);
}

bool WritesTransparency(const ImageSaveOptions& options, const std::string& utf8Path) {
    return options.transparent && options.format.value_or(ImageFormatForName(utf8Path)) == ImageFormat::Png;
}

std::string TransparencyStatusNote(bool transparencyWritten, const ColourSlots& colours, bool multicolour) {
    if (!transparencyWritten || !BackgroundSharedWithOtherSlot(colours, multicolour))
        return {};
    return " A colour slot has the background's colour: its pixels are transparent too.";
}

std::string RangeImageFileName(const std::string& chosenUtf8, std::int64_t address,
                               std::optional<ImageFormat> format) {
    std::string name = RangeFileName(chosenUtf8, address);
    if (format.value_or(ImageFormatForName(chosenUtf8)) == ImageFormat::Png)
        name.replace(name.size() - 4, 4, ".png");
    return name;
}

} // namespace mosaiqua
