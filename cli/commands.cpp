#include "cli/commands.h"

#include "cli/export_commands.h"
#include "cli/load.h"
#include "cli/scan_commands.h"
#include "cli/snapshot_commands.h"

#include "core/bmp.h"
#include "core/charset_render.h"
#include "core/errors.h"
#include "core/export.h"
#include "core/image_file.h"
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

// The preset names end in .BMP; a PNG save asked for by --format gets .png instead.
std::string OutputOr(const CliOptions& o, std::string preset) {
    if (!o.output.empty())
        return o.output;
    if (o.imageFormat == ImageFormat::Png)
        preset.replace(preset.size() - 4, 4, ".png");
    return preset;
}

ImageSaveOptions SaveOptionsFor(const CliOptions& o, const ColourSlots& colours) {
    ImageSaveOptions save;
    save.format = o.imageFormat;
    save.bitsPerPixel = o.bitsPerPixel;
    save.transparent = TransparentColourFor(o.transparent, colours);
    return save;
}

// The status, plus the note when transparent pixels stand for more than the background.
std::string WithNote(std::string status, const CliOptions& o, const ImageSaveOptions& save,
                     const std::string& path, const ColourSlots& colours) {
    return status + TransparencyStatusNote(WritesTransparency(save, path), colours, o.multicolour);
}

Saved SaveCurrentSprite(const CliOptions& o, MemoryImage& image) {
    SpriteRasters views;
    image.SpriteAddress = o.address;
    const ColourSlots colours = SpriteColoursFor(o);
    DrawCurrentSpriteRasters(views, image, o.address, o.multicolour, colours);
    const std::string path = OutputOr(o, PresetCurrentSpriteName(o.address));
    const ImageSaveOptions save = SaveOptionsFor(o, colours);
    WriteImageFile(ComposeCurrentSprite(views.SpriteActual, ReadCellSizes(o.sizes)), path, save);
    return {WithNote(kCurrentSpriteSavedStatus, o, save, path, colours), path};
}

Saved SaveNextSeven(const CliOptions& o, MemoryImage& image) {
    SpriteRasters views;
    image.SpriteAddress = o.address;
    const ColourSlots colours = SpriteColoursFor(o);
    DrawNextSevenSpriteRasters(views, image, o.address, o.multicolour, colours);
    const std::string path = OutputOr(o, PresetNextSevenName(o.address));
    const ImageSaveOptions save = SaveOptionsFor(o, colours);
    WriteImageFile(ComposeNextSeven(views.ScanImage, ReadCellSizes(o.sizes)), path, save);
    return {WithNote(kNextSevenSavedStatus, o, save, path, colours), path};
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

    const ImageSaveOptions save = SaveOptionsFor(o, colours);
    if (toSheet) {
        const std::string path = OutputOr(o, kPresetSheetName);
        const int saved = SaveRangeToSheet(views.SpriteActual, o.start, count, path, o.sizes, save, walk);
        if (saved < count)
            err << "warning: only " << saved << " of the " << count << " sprites fit on the bitmap\n";
        return {WithNote(SheetSavedStatus(saved, count), o, save, path, colours), path};
    }
    const std::string chosen = OutputOr(o, kPresetRangeName);
    const int written = SaveRangeToFiles(views.SpriteActual, o.start, count, chosen, o.sizes, save, walk);
    std::string files = RangeImageFileName(chosen, o.start, o.imageFormat);
    if (written > 1)
        files += " .. " + RangeImageFileName(chosen, o.start + std::int64_t(kSpriteStride) * (written - 1),
                                             o.imageFormat);
    return {WithNote(RangeSavedStatus(written), o, save, chosen, colours), files};
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
    const ColourSlots colours = CharSetColoursFor(o);
    RenderCharSetView(o.view, image, o.address, colours, o.multicolour, view);
    const std::string path = OutputOr(o, PresetCharSetName(o.address));
    const ImageSaveOptions save = SaveOptionsFor(o, colours);
    WriteImageFile(view, path, save);
    return {WithNote(CharSetSavedStatus(o.view), o, save, path, colours), path};
}

Saved Run(const CliOptions& o, std::ostream& err) {
    MemoryImage image;
    // Never write over the snapshot itself, whatever name or link -o gives it: the load protects it.
    LoadCommandFile(image, o.file, o.raw, o.skipHeader);
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
    default: // the other commands run on their own (RunOther)
        return {};
    }
}

// The commands that report in their own way; -1 for the picture saves above.
int RunOther(const CliOptions& o, std::ostream& out, std::ostream& err) {
    switch (o.command) {
    case Command::Info:
        return RunInfo({o.file, o.json, o.raw, o.skipHeader}, out, err);
    case Command::OnScreen: {
        OnScreenOptions s;
        s.file = o.file;
        if (!o.output.empty())
            s.outputDir = o.output;
        s.all = o.all;
        s.palette = o.palette;
        s.bitsPerPixel = o.bitsPerPixel;
        s.raw = o.raw;
        s.skipHeader = o.skipHeader;
        s.format = o.imageFormat;
        s.transparent = o.transparent;
        return RunOnScreen(s, out, err);
    }
    case Command::Anim: {
        AnimOptions a;
        a.file = o.file;
        a.skipHeader = o.skipHeader;
        a.raw = o.raw;
        a.address = o.address;
        a.frames = o.frames;
        a.delayMs = o.delayMs;
        a.multicolour = o.multicolour;
        a.colours = o.colours;
        a.sizes = o.sizes;
        a.transparent = o.transparent;
        a.output = o.output;
        return RunAnim(a, out, err);
    }
    case Command::Data: {
        DataOptions d;
        d.file = o.file;
        d.skipHeader = o.skipHeader;
        d.raw = o.raw;
        d.start = o.start;
        d.end = o.end;
        d.format = o.dataFormat;
        d.layout = o.layout;
        d.output = o.output;
        return RunData(d, out, err);
    }
    case Command::Scan: {
        ScanOptions s;
        s.file = o.file;
        s.skipHeader = o.skipHeader;
        s.raw = o.raw;
        s.json = o.json;
        s.top = o.top;
        return RunScan(s, out, err);
    }
    case Command::Overview: {
        OverviewOptions v;
        v.file = o.file;
        v.skipHeader = o.skipHeader;
        v.raw = o.raw;
        v.charset = o.charSetPage;
        v.multicolour = o.multicolour;
        v.colours = o.colours;
        v.bitsPerPixel = o.bitsPerPixel;
        v.output = o.output;
        v.format = o.imageFormat;
        return RunOverview(v, out, err);
    }
    default:
        return -1;
    }
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
    std::ostream& status = WritesToStandardOutput(options) ? err : out;
    if (const int code = RunOther(options, status, err); code >= 0)
        return code;
    return RunGuarded(err, [&] {
        const Saved saved = Run(options, err);
        status << saved.status << "\nwritten: " << saved.written << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
