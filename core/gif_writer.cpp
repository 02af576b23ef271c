#include "gif_writer.h"

#include "errors.h"
#include "indexed_colours.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace mosaiqua {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

void check(int result, const char* step) {
    if (result != GIF_OK)
        throw std::runtime_error(std::string("The GIF encoder failed at ") + step + ".");
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

std::unique_ptr<ColorMapObject, MapDeleter> makeColourMap(const std::vector<TColor>& palette) {
    const int bits = std::max(1, GifBitSize(int(palette.size())));
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(1 << bits, nullptr));
    if (!map)
        throw std::bad_alloc();
    for (int i = 0; i < map->ColorCount; ++i) {
        const TColor c = std::size_t(i) < palette.size() ? palette[std::size_t(i)] : 0;
        map->Colors[i] = GifColorType{RedOf(c), GreenOf(c), BlueOf(c)};
    }
    return map;
}

void putLoopForever(GifFileType* gif) {
    static const GifByteType kApplication[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[] = {1, 0, 0}; // sub-block 1, repeat count 0: forever
    check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE), "the loop extension");
    check(EGifPutExtensionBlock(gif, sizeof kApplication, kApplication), "the loop extension");
    check(EGifPutExtensionBlock(gif, sizeof kLoop, kLoop), "the loop extension");
    check(EGifPutExtensionTrailer(gif), "the loop extension");
}

void putFrame(GifFileType* gif, const std::uint8_t* indices, int width, int height, int delay,
              bool transparent) {
    GraphicsControlBlock control{};
    // Transparent pixels must show nothing, not the frame before.
    control.DisposalMode = transparent ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = transparent ? 0 : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension), "a frame's delay");
    check(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr), "a frame");
    for (int y = 0; y < height; ++y)
        check(
            EGifPutLine(gif, const_cast<GifPixelType*>(indices + std::size_t(y) * std::size_t(width)), width),
            "a frame's pixels");
}

} // namespace

std::vector<std::uint8_t> EncodeAnimatedGif(const std::vector<Raster>& frames, int delayCentiseconds,
                                            std::optional<TColor> transparent) {
    if (frames.empty())
        throw UserError(UserError::Kind::NothingToSave,
                        "An animation needs at least one frame: nothing was saved.");
    const int width = frames.front().width();
    const int height = frames.front().height();
    CheckBitmapSize(width, height);
    // The GIF screen is at most 65535 pixels either way.
    if (width > 0xFFFF || height > 0xFFFF)
        throw UserError(UserError::Kind::BadBitmapSize,
                        "A frame of " + std::to_string(width) + " x " + std::to_string(height) +
                            " pixels is too large for a GIF (the limit is 65535).");
    std::vector<const Raster*> all;
    for (const Raster& frame : frames) {
        if (frame.width() != width || frame.height() != height)
            throw std::invalid_argument("EncodeAnimatedGif: frames differ in size");
        all.push_back(&frame);
    }
    const auto picture = IndexColours(all, transparent);
    if (!picture)
        throw UserError(
            UserError::Kind::NothingToSave,
            "The animation holds more than 256 colours, more than a GIF can hold: nothing was saved.");
    const auto map = makeColourMap(picture->palette);

    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    if (!gif)
        throw std::runtime_error("The GIF encoder could not start.");
    try {
        EGifSetGifVersion(gif, true);
        check(EGifPutScreenDesc(gif, width, height, map->BitsPerPixel, 0, map.get()), "the screen");
        putLoopForever(gif);
        const std::size_t frameSize = std::size_t(width) * std::size_t(height);
        for (std::size_t k = 0; k < frames.size(); ++k)
            putFrame(gif, picture->indices.data() + k * frameSize, width, height, delayCentiseconds,
                     picture->transparentUsed);
    } catch (...) {
        EGifCloseFile(gif, &error);
        throw;
    }
    if (EGifCloseFile(gif, &error) != GIF_OK)
        throw std::runtime_error("The GIF encoder failed at the end.");
    return out;
}

void WriteAnimatedGifFile(const std::vector<Raster>& frames, int delayCentiseconds,
                          const std::string& utf8Path, std::optional<TColor> transparent,
                          const WriteOptions& writing) {
    const std::vector<std::uint8_t> bytes = EncodeAnimatedGif(frames, delayCentiseconds, transparent);
    WriteFileAtomically(utf8Path, bytes, writing);
}

} // namespace mosaiqua
