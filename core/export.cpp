#include "export.h"

#include "address_text.h"
#include "errors.h"
#include "file_paths.h"
#include "file_writer.h"
#include "sprite_render.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include <sys/stat.h>

namespace mosaiqua {

int ReadSize(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    // from_chars takes '-' but not '+'; the conversion accepts both.
    const char* digits = (first != last && *first == '+') ? first + 1 : first;
    int value = 0;
    const auto [end, ec] = std::from_chars(digits, last, value);
    const bool signOnly = digits != first && (digits == last || *digits == '-');
    if (text.empty() || ec != std::errc() || end != last || signOnly)
        throw UserError(UserError::Kind::NotAnInteger, "'" + text + "' is not a valid integer value");
    return value;
}

SpriteCellSizes ReadCellSizes(const SaveSizeTexts& texts) {
    SpriteCellSizes sizes{};
    sizes.bitmapWidth = ReadSize(texts.bitmapWidth);
    sizes.bitmapHeight = ReadSize(texts.bitmapHeight);
    sizes.spriteWidth = ReadSize(texts.spriteWidth);
    sizes.spriteHeight = ReadSize(texts.spriteHeight);
    return sizes;
}

namespace {

constexpr Rect kWholeSprite{0, 0, kSpriteWidth, kSpriteHeight};

// Positions beyond int never meet a bitmap that passed CheckBitmapSize.
bool fitsInt(std::int64_t v) {
    return v >= INT_MIN && v <= INT_MAX;
}

} // namespace

Raster ComposeCurrentSprite(const Raster& spriteActual, const SpriteCellSizes& s) {
    CheckBitmapSize(s.bitmapWidth, s.bitmapHeight);
    Raster bitmap(s.bitmapWidth, s.bitmapHeight, 0);
    StretchCopy(spriteActual, kWholeSprite, bitmap, {0, 0, s.spriteWidth, s.spriteHeight});
    return bitmap;
}

Raster ComposeNextSeven(const Raster& scanImage, const SpriteCellSizes& s) {
    const std::int64_t width = std::int64_t(s.bitmapWidth) * kStripSprites;
    CheckBitmapSize(width, s.bitmapHeight);
    Raster bitmap(int(width), s.bitmapHeight, 0);
    for (int k = 0; k < kStripSprites; ++k)
        StretchCopy(scanImage, {kSpriteWidth * k, 0, kSpriteWidth, kSpriteHeight}, bitmap,
                    {k * s.bitmapWidth, 0, s.spriteWidth, s.spriteHeight});
    return bitmap;
}

SingleBitmapSheet::SingleBitmapSheet(int finalWidth, int finalHeight, int bitmapWidth, int bitmapHeight)
    : m_bitmapWidth(bitmapWidth), m_bitmapHeight(bitmapHeight) {
    if (bitmapWidth == 0 || bitmapHeight == 0)
        throw UserError(UserError::Kind::DivisionByZero, "Division by zero");
    CheckBitmapSize(finalWidth, finalHeight);
    m_cellsPerRow = int(std::int64_t(finalWidth) / bitmapWidth);
    m_bitmap.reset(finalWidth, finalHeight, 0);
}

void SingleBitmapSheet::add(const Raster& spriteActual, int spriteWidth, int spriteHeight) {
    const std::int64_t left = std::int64_t(m_column) * m_bitmapWidth;
    const std::int64_t top = std::int64_t(m_row) * m_bitmapHeight;
    if (fitsInt(left) && fitsInt(top))
        StretchCopy(spriteActual, kWholeSprite, m_bitmap, {int(left), int(top), spriteWidth, spriteHeight});
    // With fewer than one cell to a row the walk never wraps: every sprite goes along row 0.
    ++m_column;
    if (m_column == m_cellsPerRow) {
        m_column = 0;
        ++m_row;
    }
}

int SpriteCount(std::int32_t start, std::int32_t end) {
    return int((std::int64_t(end) - start) / 64) + (end == 0xFFFF ? 1 : 0);
}

void CheckRangeCount(std::int32_t start, std::int32_t end, int count) {
    if (start >= end)
        throw UserError(UserError::Kind::NothingToSave, "The start address " + ScreenAddress(start) +
                                                            " is not below the end address " +
                                                            ScreenAddress(end) + ": nothing was saved.");
    if (count < 1)
        throw UserError(UserError::Kind::NothingToSave, "No whole sprite lies between " +
                                                            ScreenAddress(start) + " and " +
                                                            ScreenAddress(end) + ": nothing was saved.");
}

std::string RangeTargetProblem(const std::string& chosenUtf8) {
    const std::string why = "Cannot save sprites to " + chosenUtf8 +
                            ": a range writes one file per sprite and needs a file name, not ";
    const std::filesystem::path path = PathFromUtf8(chosenUtf8);
    const std::string last = path.filename().string();
    if (last == "." || last == ".." ||
        (last.empty() && (path.parent_path().filename() == "." || path.parent_path().filename() == "..")))
        return why + "a folder.";
    struct stat st {};
    if (OwnDescriptorNamed(chosenUtf8) ||
        (::stat(path.c_str(), &st) == 0 && (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode))))
        return why + "a device or a FIFO.";
    return {};
}

std::string RangeFileName(const std::string& chosenUtf8, std::int64_t address) {
    // The rule applies to the file name alone: the folder part is never touched.
    const std::size_t slash = chosenUtf8.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // Drop four characters, not bytes: a name may hold multi-byte UTF-8 sequences.
    std::size_t cut = chosenUtf8.size();
    for (int dropped = 0; dropped < 4 && cut > nameStart; ++dropped) {
        --cut;
        while (cut > nameStart && (static_cast<unsigned char>(chosenUtf8[cut]) & 0xC0) == 0x80)
            --cut;
    }
    return chosenUtf8.substr(0, cut) + HexAddress(address) + ".bmp";
}

std::string PresetCurrentSpriteName(std::int64_t spriteAddress) {
    return "spr" + HexAddress(spriteAddress) + ".BMP";
}

std::string PresetNextSevenName(std::int64_t spriteAddress) {
    return HexAddress(spriteAddress + kSpriteStride) +
           HexAddress(spriteAddress + std::int64_t(kSpriteStride) * kStripSprites) + ".BMP";
}

std::string PresetCharSetName(std::int64_t charSetAddress) {
    return "chr" + HexAddress(charSetAddress) + ".BMP";
}

FitFigures ComputeFitFigures(int bitmapWidth, int bitmapHeight, int finalWidth, int finalHeight) {
    if (bitmapWidth == 0 || bitmapHeight == 0)
        throw UserError(UserError::Kind::DivisionByZero, "Division by zero");
    FitFigures f{};
    f.bitmapWidth = bitmapWidth;
    f.bitmapHeight = bitmapHeight;
    // In 64 bits: INT_MIN / -1 does not fit an int.
    f.maxX = int(std::clamp<std::int64_t>(std::int64_t(finalWidth) / bitmapWidth, INT_MIN, INT_MAX));
    f.maxY = int(std::clamp<std::int64_t>(std::int64_t(finalHeight) / bitmapHeight, INT_MIN, INT_MAX));
    f.total = std::int64_t(f.maxX) * f.maxY;
    return f;
}

namespace {

void requireSprites(int count) {
    if (count < 1)
        throw UserError(UserError::Kind::NothingToSave,
                        "The range holds no whole sprite: nothing was saved.");
}

void nextSprite(std::int32_t& address, const RangeWalk& walk) {
    address += kSpriteStride;
    if (walk.showSprite)
        walk.showSprite(address);
    if (walk.afterSprite)
        walk.afterSprite();
}

} // namespace

int SaveRangeToFiles(const Raster& spriteActual, std::int32_t start, int count, const std::string& chosenUtf8,
                     const SaveSizeTexts& sizes, const ImageSaveOptions& options, const RangeWalk& walk,
                     const WriteOptions& writing) {
    requireSprites(count);
    if (const std::string problem = RangeTargetProblem(chosenUtf8); !problem.empty())
        throw UserError(UserError::Kind::NotAFileName, problem);
    std::int32_t address = start;
    for (int i = 0; i < count; ++i) {
        const Raster bitmap = ComposeCurrentSprite(spriteActual, ReadCellSizes(sizes));
        try {
            WriteImageFile(bitmap, RangeImageFileName(chosenUtf8, address, options.format), options, writing);
        } catch (const UserError& e) {
            if (i == 0)
                throw;
            throw UserError(e.kind(), std::string(e.what()) + " (" + std::to_string(i) + " of the " +
                                          std::to_string(count) + " files were written before it)");
        }
        nextSprite(address, walk);
    }
    return count;
}

int SaveRangeToSheet(const Raster& spriteActual, std::int32_t start, int count, const std::string& chosenUtf8,
                     const SaveSizeTexts& sizes, const ImageSaveOptions& options, const RangeWalk& walk,
                     const WriteOptions& writing) {
    requireSprites(count);
    const SheetSizes s = ReadSheetSizes(sizes);
    // The cell follows the rules of a single sprite's bitmap, so no command takes what another refuses.
    CheckBitmapSize(s.bitmapWidth, s.bitmapHeight);
    const FitFigures fit = ComputeFitFigures(s.bitmapWidth, s.bitmapHeight, s.finalWidth, s.finalHeight);
    if (fit.total < 1)
        throw UserError(UserError::Kind::NothingToSave,
                        "Not even one cell of " + std::to_string(s.bitmapWidth) + " x " +
                            std::to_string(s.bitmapHeight) + " pixels fits on a bitmap of " +
                            std::to_string(s.finalWidth) + " x " + std::to_string(s.finalHeight) +
                            ": nothing was saved.");
    SingleBitmapSheet sheet(s.finalWidth, s.finalHeight, s.bitmapWidth, s.bitmapHeight);
    std::int32_t address = start;
    for (int i = 0; i < count; ++i) {
        const int sw = ReadSize(sizes.spriteWidth);
        const int sh = ReadSize(sizes.spriteHeight);
        sheet.add(spriteActual, sw, sh);
        nextSprite(address, walk);
    }
    // Written before the caller reports success, so a failed write is never announced as saved.
    WriteImageFile(sheet.bitmap(), chosenUtf8, options, writing);
    return int(std::min<std::int64_t>(count, fit.total));
}

SheetSizes ReadSheetSizes(const SaveSizeTexts& texts) {
    // Named locals fix the order of the reads, so the first bad text is the one reported.
    const int bw = ReadSize(texts.bitmapWidth);
    const int bh = ReadSize(texts.bitmapHeight);
    const int fw = ReadSize(texts.finalWidth);
    const int fh = ReadSize(texts.finalHeight);
    return {bw, bh, fw, fh};
}

FitFigures ReadFitFigures(const SaveSizeTexts& texts) {
    const SheetSizes s = ReadSheetSizes(texts);
    return ComputeFitFigures(s.bitmapWidth, s.bitmapHeight, s.finalWidth, s.finalHeight);
}

std::string RangeSavedStatus(std::int64_t count) {
    return std::to_string(count) + " sprites saved ok.";
}

std::string SheetSavedStatus(std::int64_t saved, std::int64_t count) {
    const std::string counted =
        saved < count ? std::to_string(saved) + " of " + std::to_string(count) : std::to_string(count);
    return counted + " sprites saved ok to a single bitmap.";
}

const char* CharSetSavedStatus(CharSetViewKind kind) {
    switch (kind) {
    case CharSetViewKind::cv8x8:
        return "8 x 8 CharSet saved ok.";
    case CharSetViewKind::cv8x16:
        return "8 x 16 CharSet saved ok.";
    case CharSetViewKind::cv16x16:
        return "16 x 16 CharSet saved ok.";
    }
    return "";
}

} // namespace mosaiqua
