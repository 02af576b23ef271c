#include "cli/commands.h"

#include "core/bmp.h"
#include "core/charset_render.h"
#include "core/errors.h"
#include "core/export.h"
#include "core/memory_image.h"
#include "core/sprite_render.h"

#include <sys/stat.h>
#include <unistd.h>

#include <exception>
#include <ostream>
#include <string>

namespace mosaiqua::cli {
namespace {

struct Saved {
    std::string status; // the window's status text
    std::string written;
};

ColourSlots SpriteColoursFor(const CliOptions& o) {
    return o.colours.value_or(kStartupColours);
}

// The charset viewer starts from the design colours, then the start-up sprite reset sets two of them.
ColourSlots CharSetColoursFor(const CliOptions& o) {
    if (o.colours)
        return *o.colours;
    ColourSlots sprite = kDesignColours;
    ColourSlots charSet = kDesignColours;
    ResetSpriteColours(sprite, charSet);
    return charSet;
}

std::string OutputOr(const CliOptions& o, const std::string& preset) {
    return o.output.empty() ? preset : o.output;
}

Saved SaveCurrentSprite(const CliOptions& o, MemoryImage& image) {
    SpriteRasters views;
    image.SpriteAddress = o.address;
    DrawCurrentSpriteRasters(views, image, o.address, o.multicolour, SpriteColoursFor(o));
    const std::string path = OutputOr(o, PresetCurrentSpriteName(o.address));
    WriteBmpFile(ComposeCurrentSprite(views.SpriteActual, ReadCellSizes(o.sizes)), path, o.bitsPerPixel);
    return {kCurrentSpriteSavedStatus, path};
}

Saved SaveNextSeven(const CliOptions& o, MemoryImage& image) {
    SpriteRasters views;
    image.SpriteAddress = o.address;
    DrawNextSevenSpriteRasters(views, image, o.address, o.multicolour, SpriteColoursFor(o));
    const std::string path = OutputOr(o, PresetNextSevenName(o.address));
    WriteBmpFile(ComposeNextSeven(views.ScanImage, ReadCellSizes(o.sizes)), path, o.bitsPerPixel);
    return {kNextSevenSavedStatus, path};
}

Saved SaveRange(const CliOptions& o, MemoryImage& image, std::ostream& err) {
    const bool toSheet = o.command == Command::Sheet;
    const int count = SpriteCount(o.start, o.end);
    CheckRangeCount(o.start, o.end, count);

    SpriteRasters views;
    const ColourSlots colours = SpriteColoursFor(o);
    const auto show = [&](std::int32_t address) {
        image.SpriteAddress = address;
        DrawCurrentSpriteRasters(views, image, address, o.multicolour, colours);
        DrawNextSevenSpriteRasters(views, image, address, o.multicolour, colours);
    };
    const RangeWalk walk{show, [] {}};
    show(o.start);

    if (toSheet) {
        const std::string path = OutputOr(o, kPresetSheetName);
        const int saved = SaveRangeToSheet(views.SpriteActual, o.start, count, path, o.sizes, AtDepth(o.bitsPerPixel), walk);
        if (saved < count)
            err << "warning: only " << saved << " of the " << count << " sprites fit on the bitmap\n";
        return {SheetSavedStatus(saved, count), path};
    }
    const std::string chosen = OutputOr(o, kPresetRangeName);
    const int written =
        SaveRangeToFiles(views.SpriteActual, o.start, count, chosen, o.sizes, AtDepth(o.bitsPerPixel), walk);
    std::string files = RangeFileName(chosen, o.start);
    if (written > 1)
        files += " .. " + RangeFileName(chosen, o.start + std::int64_t(kSpriteStride) * (written - 1));
    return {RangeSavedStatus(written), files};
}

// The saves read the size texts in this order (cell, whole bitmap, sprite); a bad one is named here
// by its option, which the saves cannot know.
void CheckSizeTexts(const CliOptions& o) {
    if (o.command == Command::CharSet)
        return;
    const auto check = [](const char* option, const std::string& text) {
        try {
            ReadSize(text);
        } catch (const UserError& e) {
            throw UserError(e.kind(), std::string(option) + ": " + e.what());
        }
    };
    check("--bitmap-size", o.sizes.bitmapWidth);
    check("--bitmap-size", o.sizes.bitmapHeight);
    if (o.command == Command::Sheet) {
        check("--final-size", o.sizes.finalWidth);
        check("--final-size", o.sizes.finalHeight);
    }
    check("--sprite-size", o.sizes.spriteWidth);
    check("--sprite-size", o.sizes.spriteHeight);
}

Saved SaveCharSet(const CliOptions& o, MemoryImage& image) {
    CharSetRasters rasters;
    image.CharSetAddress = o.address;
    Raster& view = rasters.of(o.view);
    RenderCharSetView(o.view, image, o.address, CharSetColoursFor(o), o.multicolour, view);
    const std::string path = OutputOr(o, PresetCharSetName(o.address));
    WriteBmpFile(view, path, o.bitsPerPixel);
    return {CharSetSavedStatus(o.view), path};
}

Saved Run(const CliOptions& o, std::ostream& err) {
    MemoryImage image;
    std::string why;
    if (!LoadFreezeFile(image, o.file, o.skipHeader, &why))
        throw UserError(UserError::Kind::CannotOpenFile, CannotOpenFileMessage(o.file, why));
    // Never write over the snapshot itself, whatever name or link -o gives it.
    ProtectLoadedFile(o.file);
    CheckSizeTexts(o);
    switch (o.command) {
    case Command::Sprite:
        return SaveCurrentSprite(o, image);
    case Command::NextSeven:
        return SaveNextSeven(o, image);
    case Command::Range:
    case Command::Sheet:
        return SaveRange(o, image, err);
    case Command::CharSet:
        return SaveCharSet(o, image);
    }
    return {};
}

// -o /dev/stdout (or a name for the same pipe or file): the status must not run into the picture.
bool WritesToStandardOutput(const CliOptions& o) {
    struct stat st {};
    if (o.output.empty() || ::fstat(STDOUT_FILENO, &st) != 0)
        return false;
    return IdentifyFile(o.output) == FileIdentity{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), true};
}

} // namespace

int RunCommand(const CliOptions& options, std::ostream& out, std::ostream& err) {
    try {
        std::ostream& status = WritesToStandardOutput(options) ? err : out;
        const Saved saved = Run(options, err);
        status << saved.status << "\nwritten: " << saved.written << '\n';
        return 0;
    } catch (const UserError& e) {
        err << e.what() << '\n';
    } catch (const std::exception& e) {
        err << "mosaiqua-cli: " << e.what() << '\n';
    }
    return 1;
}

} // namespace mosaiqua::cli
