#pragma once

#include "bmp.h"
#include "charset_render.h"
#include "image_file.h"
#include "raster.h"

#include <cstdint>
#include <functional>
#include <string>

namespace mosaiqua {

// The six save sizes as the user typed them; each is converted at every read.
struct SaveSizeTexts {
    std::string spriteWidth = "24";
    std::string spriteHeight = "21";
    std::string bitmapWidth = "24";
    std::string bitmapHeight = "21";
    std::string finalWidth = "640";
    std::string finalHeight = "480";
};

// Optional sign and decimal digits fitting 32 bits, else UserError "'%s' is not a valid integer value".
int ReadSize(const std::string& text);

struct SpriteCellSizes {
    int spriteWidth;  // sw: what the 24 x 21 sprite is stretched to
    int spriteHeight; // sh
    int bitmapWidth;  // bw: one sprite's cell
    int bitmapHeight; // bh
};
// Reads bw, bh, then sw, sh: the order the saves convert them in, so the first bad text is named.
SpriteCellSizes ReadCellSizes(const SaveSizeTexts& texts);

// A bw x bh black bitmap with the current sprite stretched into (0, 0, sw, sh).
Raster ComposeCurrentSprite(const Raster& spriteActual, const SpriteCellSizes& sizes);
// A (7 * bw) x bh black bitmap with strip sprite k stretched into (k * bw, 0, sw, sh).
Raster ComposeNextSeven(const Raster& scanImage, const SpriteCellSizes& sizes);

// One bitmap holding a range's sprites in cells of bw x bh, fw div bw to a row.
class SingleBitmapSheet final {
public:
    SingleBitmapSheet(int finalWidth, int finalHeight, int bitmapWidth, int bitmapHeight);
    // Copies the sprite into the next cell; whatever falls outside the bitmap is clipped.
    void add(const Raster& spriteActual, int spriteWidth, int spriteHeight);
    const Raster& bitmap() const { return m_bitmap; }
    int column() const { return m_column; }
    int row() const { return m_row; }

private:
    Raster m_bitmap;
    int m_bitmapWidth;
    int m_bitmapHeight;
    int m_cellsPerRow;
    int m_column = 0;
    int m_row = 0;
};

// Whole 64-byte sprites from start that end at or before end; an end of $FFFF adds one more.
// Zero or negative when the range holds none.
int SpriteCount(std::int32_t start, std::int32_t end);
// Throws UserError when a range holds no sprite, so nothing is written.
void CheckRangeCount(std::int32_t start, std::int32_t end, int count);

// The chosen name without the last four characters of its file name, then HHHH and ".bmp"; a file
// name of four characters or fewer gives way entirely. The folder part is never touched.
std::string RangeFileName(const std::string& chosenUtf8, std::int64_t address);

std::string PresetCurrentSpriteName(std::int64_t spriteAddress); // "spr0800.BMP"
std::string PresetNextSevenName(std::int64_t spriteAddress);     // "084009C0.BMP"
std::string PresetCharSetName(std::int64_t charSetAddress);      // "chrD000.BMP"
inline constexpr const char* kPresetRangeName = "spr.BMP";
inline constexpr const char* kPresetSheetName = "bitmap.BMP";

// Why `chosenUtf8` cannot take a range's numbered files (a character device, a FIFO, one of the
// process's own descriptors, or a last component of "." or ".."); empty when it can.
std::string RangeTargetProblem(const std::string& chosenUtf8);

// The figures the range dialog shows in single-bitmap mode; "Division by zero" for a cell of 0.
struct FitFigures {
    int bitmapWidth;
    int bitmapHeight;
    int maxX;
    int maxY;
    std::int64_t total;
};
FitFigures ComputeFitFigures(int bitmapWidth, int bitmapHeight, int finalWidth, int finalHeight);

// Hooks through which a range export moves the viewer: `showSprite(a)` must leave the sprite at a
// in the spriteActual raster given to the export (the window sets SpriteAddress and redraws);
// `afterSprite` runs once per saved sprite, after the next one is shown (progress, status).
struct RangeWalk {
    std::function<void(std::int32_t address)> showSprite;
    std::function<void()> afterSprite;
};

// Writes `count` files base + HHHH + ".bmp" (".png" for PNG saves) for the sprites at start, start + $40,
// ...; the sprite at `start` must already be shown. Returns the number of files written. A failure after the
// first file adds to its message how many were written before.
int SaveRangeToFiles(const Raster& spriteActual, std::int32_t start, int count, const std::string& chosenUtf8,
                     const SaveSizeTexts& sizes, const ImageSaveOptions& options, const RangeWalk& walk,
                     const WriteOptions& writing = {});
// Lays the range out on one fw x fh bitmap and writes it to `chosenUtf8`; returns how many sprites
// are on it. The cell obeys CheckBitmapSize; when not even one cell fits, nothing is written.
int SaveRangeToSheet(const Raster& spriteActual, std::int32_t start, int count, const std::string& chosenUtf8,
                     const SaveSizeTexts& sizes, const ImageSaveOptions& options, const RangeWalk& walk,
                     const WriteOptions& writing = {});

// The four sheet sizes, read bw, bh, fw, fh: the order every front end converts them in, so the
// first bad text is the one named.
struct SheetSizes {
    int bitmapWidth;
    int bitmapHeight;
    int finalWidth;
    int finalHeight;
};
SheetSizes ReadSheetSizes(const SaveSizeTexts& texts);
// The sheet sizes read as above, then the fit figures.
FitFigures ReadFitFigures(const SaveSizeTexts& texts);

// What the save commands report when done; the window and the command line say the same.
inline constexpr const char* kCurrentSpriteSavedStatus = "1 sprite saved ok.";
inline constexpr const char* kNextSevenSavedStatus = "7 sprites saved ok.";
std::string RangeSavedStatus(std::int64_t count); // "N sprites saved ok."
// "N sprites saved ok to a single bitmap.", or "S of N ..." when only S fitted.
std::string SheetSavedStatus(std::int64_t saved, std::int64_t count);
const char* CharSetSavedStatus(CharSetViewKind kind);

} // namespace mosaiqua
