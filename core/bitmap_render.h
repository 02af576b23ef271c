#pragma once

#include "colours.h"
#include "file_formats.h"
#include "file_writer.h"
#include "image_file.h"
#include "machine_state.h"
#include "memory_image.h"
#include "raster.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

inline constexpr int kBitmapWidth = 320;
inline constexpr int kBitmapHeight = 200;
inline constexpr int kBitmapBytes = 8000;
inline constexpr int kScreenBytes = 1000;
inline constexpr std::int32_t kKoalaLoadAddress = 0x6000;
inline constexpr std::size_t kKoalaFileBytes = 10003;
inline constexpr std::int32_t kArtStudioLoadAddress = 0x2000;
inline constexpr std::size_t kArtStudioFileBytes = 9009;

// Where a 320 x 200 bitmap picture's parts lie in memory.
struct BitmapView {
    std::int32_t bitmap = 0x2000;
    std::int32_t screen = 0x0400;                 // cell colours
    std::optional<std::int32_t> colourRamAddress; // none: the snapshot's colour RAM
    bool multicolour = false;
    std::uint8_t background = 0; // colour code, multicolour pair 00
    std::uint8_t border = 0;     // kept by Art Studio files, never drawn
    friend bool operator==(const BitmapView&, const BitmapView&) = default;
};

// Draws the bitmap as the VIC draws it in hi-res or multicolour bitmap mode, reading memory as the
// viewers do (past $FFFF the store's extra bytes, then zeros). `snapshotColourRam` is used when the
// view names no colour-RAM address; cells beyond what it holds read colour 0.
void RenderBitmapInto(Raster& picture, const MemoryImage& ram,
                      std::span<const std::uint8_t> snapshotColourRam, const BitmapView& view,
                      const PaletteTable& palette);
Raster RenderBitmap(const MemoryImage& ram, std::span<const std::uint8_t> snapshotColourRam,
                    const BitmapView& view, const PaletteTable& palette);

// Koala Painter: load address $6000, bitmap, screen, colour RAM, background (10003 bytes).
std::vector<std::uint8_t> EncodeKoala(const MemoryImage& ram, std::span<const std::uint8_t> snapshotColourRam,
                                      const BitmapView& view);
// Art Studio: load address $2000, bitmap, screen, border, six zeros (9009 bytes).
std::vector<std::uint8_t> EncodeArtStudio(const MemoryImage& ram, const BitmapView& view);

// Whole saves, written atomically; each returns the status text or throws UserError.
std::string SaveBitmapPicture(const std::string& utf8Path, const MemoryImage& ram,
                              std::span<const std::uint8_t> snapshotColourRam, const BitmapView& view,
                              const PaletteTable& palette, const ImageSaveOptions& options = {},
                              const WriteOptions& writing = {});
std::string SaveKoala(const std::string& utf8Path, const MemoryImage& ram,
                      std::span<const std::uint8_t> snapshotColourRam, const BitmapView& view,
                      const WriteOptions& writing = {});
std::string SaveArtStudio(const std::string& utf8Path, const MemoryImage& ram, const BitmapView& view,
                          const WriteOptions& writing = {});

inline constexpr const char* kBitmapSavedStatus = "Bitmap saved ok.";
inline constexpr const char* kKoalaSavedStatus = "Koala Painter picture saved ok.";
inline constexpr const char* kArtStudioSavedStatus = "Art Studio picture saved ok.";

// A loaded Koala or Art Studio file's own layout, so it shows in its colours; none for other files.
std::optional<BitmapView> PictureFileView(const LoadedFile& loaded, const MemoryImage& ram);

// The bitmap the VIC's registers point at (the layout's bitmapMode says whether it is on screen):
// colour RAM from the snapshot, multicolour from $D016, background $D021.
BitmapView VicBitmapView(const ScreenLayout& layout);

// Stepping the bitmap address: a byte, a character row ($0140), a whole bitmap ($2000), or to
// either end ($0000, and $E000, the last place the VIC can show a bitmap).
enum class BitmapStep {
    MinusOneByte,
    PlusOneByte,
    PreviousRow,
    NextRow,
    Previous2000,
    Next2000,
    ToBeginning,
    ToEnd
};
inline constexpr std::int32_t kBitmapRowBytes = 0x0140;
inline constexpr std::int32_t kBitmapStride = 0x2000;
inline constexpr std::int32_t kLastVicBitmap = 0xE000;
inline constexpr std::int32_t kScreenStride = 0x0400;
// The address after the step, or nothing when it would leave $0000-$FFFF.
std::optional<std::int32_t> StepBitmapAddress(std::int32_t address, BitmapStep step);
// The screen memory one $0400 step on (or back), or nothing at the ends of memory.
std::optional<std::int32_t> StepScreenAddress(std::int32_t address, bool forward);

// Where the picture files put the bitmap.
enum class BitmapFileKind { Picture, Koala, ArtStudio };

} // namespace mosaiqua
