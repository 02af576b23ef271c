#include "bitmap_render.h"

#include "bmp.h"

namespace mosaiqua {

namespace {

constexpr int kColumns = 40;

std::uint8_t ColourRamByte(const MemoryImage& ram, std::span<const std::uint8_t> snapshotColourRam,
                           const BitmapView& view, int cell) {
    if (view.colourRamAddress)
        return ram.byteAt(std::int64_t(*view.colourRamAddress) + cell) & 15;
    return std::size_t(cell) < snapshotColourRam.size() ? snapshotColourRam[std::size_t(cell)] & 15 : 0;
}

void PutWord(std::vector<std::uint8_t>& bytes, std::int32_t value) {
    bytes.push_back(std::uint8_t(value & 0xFF));
    bytes.push_back(std::uint8_t((value >> 8) & 0xFF));
}

void PutMemory(std::vector<std::uint8_t>& bytes, const MemoryImage& ram, std::int32_t start, int count) {
    for (int i = 0; i < count; ++i)
        bytes.push_back(ram.byteAt(std::int64_t(start) + i));
}

} // namespace

void RenderBitmapInto(Raster& picture, const MemoryImage& ram,
                      std::span<const std::uint8_t> snapshotColourRam, const BitmapView& view,
                      const PaletteTable& palette) {
    if (picture.width() != kBitmapWidth || picture.height() != kBitmapHeight)
        picture.reset(kBitmapWidth, kBitmapHeight);
    for (int cell = 0; cell < kScreenBytes; ++cell) {
        const std::uint8_t screen = ram.byteAt(std::int64_t(view.screen) + cell);
        const TColor colours[4] = {palette[view.background & 15], palette[screen >> 4], palette[screen & 15],
                                   palette[ColourRamByte(ram, snapshotColourRam, view, cell)]};
        const int left = (cell % kColumns) * 8, top = (cell / kColumns) * 8;
        for (int y = 0; y < 8; ++y) {
            const unsigned byte = ram.byteAt(std::int64_t(view.bitmap) + cell * 8 + y);
            TColor* out = picture.row(top + y) + left;
            for (int x = 0; x < 8; ++x)
                out[x] = view.multicolour ? colours[(byte >> (6 - (x & 6))) & 3]
                                          : colours[(byte >> (7 - x)) & 1 ? 1 : 2];
        }
    }
}

Raster RenderBitmap(const MemoryImage& ram, std::span<const std::uint8_t> snapshotColourRam,
                    const BitmapView& view, const PaletteTable& palette) {
    Raster picture;
    RenderBitmapInto(picture, ram, snapshotColourRam, view, palette);
    return picture;
}

std::vector<std::uint8_t> EncodeKoala(const MemoryImage& ram, std::span<const std::uint8_t> snapshotColourRam,
                                      const BitmapView& view) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kKoalaFileBytes);
    PutWord(bytes, kKoalaLoadAddress);
    PutMemory(bytes, ram, view.bitmap, kBitmapBytes);
    PutMemory(bytes, ram, view.screen, kScreenBytes);
    for (int cell = 0; cell < kScreenBytes; ++cell)
        bytes.push_back(ColourRamByte(ram, snapshotColourRam, view, cell));
    bytes.push_back(view.background & 15);
    return bytes;
}

std::vector<std::uint8_t> EncodeArtStudio(const MemoryImage& ram, const BitmapView& view) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kArtStudioFileBytes);
    PutWord(bytes, kArtStudioLoadAddress);
    PutMemory(bytes, ram, view.bitmap, kBitmapBytes);
    PutMemory(bytes, ram, view.screen, kScreenBytes);
    bytes.push_back(view.border & 15);
    bytes.resize(kArtStudioFileBytes, 0);
    return bytes;
}

std::string SaveBitmapPicture(const std::string& utf8Path, const MemoryImage& ram,
                              std::span<const std::uint8_t> snapshotColourRam, const BitmapView& view,
                              const PaletteTable& palette, const ImageSaveOptions& options,
                              const WriteOptions& writing) {
    WriteImageFile(RenderBitmap(ram, snapshotColourRam, view, palette), utf8Path, options, writing);
    return kBitmapSavedStatus;
}

std::string SaveKoala(const std::string& utf8Path, const MemoryImage& ram,
                      std::span<const std::uint8_t> snapshotColourRam, const BitmapView& view,
                      const WriteOptions& writing) {
    WriteFileAtomically(utf8Path, EncodeKoala(ram, snapshotColourRam, view), writing);
    return kKoalaSavedStatus;
}

std::string SaveArtStudio(const std::string& utf8Path, const MemoryImage& ram, const BitmapView& view,
                          const WriteOptions& writing) {
    WriteFileAtomically(utf8Path, EncodeArtStudio(ram, view), writing);
    return kArtStudioSavedStatus;
}

std::optional<BitmapView> PictureFileView(const LoadedFile& loaded, const MemoryImage& ram) {
    BitmapView view;
    view.bitmap = loaded.ramStart;
    view.screen = loaded.ramStart + kBitmapBytes;
    switch (loaded.format) {
    case FileFormat::Koala:
        view.multicolour = true;
        view.colourRamAddress = loaded.ramStart + kBitmapBytes + kScreenBytes;
        view.background = ram.byteAt(loaded.ramStart + kBitmapBytes + 2 * kScreenBytes) & 15;
        return view;
    case FileFormat::ArtStudio:
        view.border = ram.byteAt(loaded.ramStart + kBitmapBytes + kScreenBytes) & 15;
        return view;
    default:
        return std::nullopt;
    }
}

BitmapView VicBitmapView(const ScreenLayout& layout) {
    BitmapView view;
    view.bitmap = layout.bitmap;
    view.screen = layout.screen;
    view.multicolour = layout.multicolourMode;
    view.background = layout.background;
    view.border = layout.border;
    return view;
}

std::optional<std::int32_t> StepBitmapAddress(std::int32_t a, BitmapStep step) {
    const auto by = [a](std::int32_t delta) -> std::optional<std::int32_t> {
        const std::int32_t next = a + delta;
        if (next < 0 || next > 0xFFFF)
            return std::nullopt;
        return next;
    };
    switch (step) {
    case BitmapStep::MinusOneByte:
        return by(-1);
    case BitmapStep::PlusOneByte:
        return by(1);
    case BitmapStep::PreviousRow:
        return by(-kBitmapRowBytes);
    case BitmapStep::NextRow:
        return by(kBitmapRowBytes);
    case BitmapStep::Previous2000:
        return by(-kBitmapStride);
    case BitmapStep::Next2000:
        return by(kBitmapStride);
    case BitmapStep::ToBeginning:
        return a == 0 ? std::nullopt : std::optional<std::int32_t>(0);
    case BitmapStep::ToEnd:
        return a == kLastVicBitmap ? std::nullopt : std::optional<std::int32_t>(kLastVicBitmap);
    }
    return std::nullopt;
}

std::optional<std::int32_t> StepScreenAddress(std::int32_t a, bool forward) {
    const std::int32_t next = a + (forward ? kScreenStride : -kScreenStride);
    if (next < 0 || next > 0xFFFF)
        return std::nullopt;
    return next;
}

} // namespace mosaiqua
