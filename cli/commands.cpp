#include "cli/commands.h"

#include "cli/capture_commands.h"
#include "cli/container_commands.h"
#include "cli/editor_commands.h"
#include "cli/export_commands.h"
#include "cli/load.h"
#include "cli/scan_commands.h"
#include "cli/screen_commands.h"
#include "cli/snapshot_commands.h"

#include "core/document.h"
#include "core/errors.h"
#include "core/export.h"
#include "core/file_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <string>

namespace mosaiqua::cli {
namespace {

// The preset names end in .BMP; a PNG save asked for by --format gets .png instead.
std::string OutputOr(const CliOptions& o, std::string preset) {
    if (!o.output.empty())
        return o.output;
    if (o.save.imageFormat == ImageFormat::Png)
        preset.replace(preset.size() - 4, 4, ".png");
    return preset;
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
    const SaveSizeTexts& sizes = o.save.sizes;
    check("--bitmap-size", sizes.bitmapWidth);
    check("--bitmap-size", sizes.bitmapHeight);
    if (o.command == Command::Sheet) {
        check("--final-size", sizes.finalWidth);
        check("--final-size", sizes.finalHeight);
    }
    check("--sprite-size", sizes.spriteWidth);
    check("--sprite-size", sizes.spriteHeight);
}

// The written line: the file, or for a range its first and last file.
std::string WrittenText(const SaveResult& saved) {
    std::string text = saved.written.empty() ? std::string() : saved.written.front();
    if (saved.written.size() > 1)
        text += " .. " + saved.written.back();
    return text;
}

SaveResult SavePicture(const CliOptions& o, Document& document, std::ostream& err) {
    const bool charSet = o.command == Command::CharSet;
    OpenDocument(document, o, charSet ? ViewerUsed::CharSet : ViewerUsed::Sprite);
    CheckSizeTexts(o);
    switch (o.command) {
    case Command::Sprite:
        document.setSpriteAddress(o.address);
        return document.saveCurrentSprite(OutputOr(o, PresetCurrentSpriteName(o.address)));
    case Command::NextSeven:
        document.setSpriteAddress(o.address);
        return document.saveNextSeven(OutputOr(o, PresetNextSevenName(o.address)));
    case Command::Range:
    case Command::Sheet:
        break;
    default: // charset
        document.setCharSetAddress(o.address);
        document.setCharSetViewEnabled(o.view, true);
        return document.saveCharSetView(o.view, OutputOr(o, PresetCharSetName(o.address)));
    }
    const int count = SpriteCount(o.start, o.end);
    CheckRangeCount(o.start, o.end, count);
    document.setSpriteAddress(o.start);
    if (o.command == Command::Range)
        return document.saveRangeToFiles(o.start, count, OutputOr(o, kPresetRangeName));
    SaveResult saved = document.saveRangeToSheet(o.start, count, OutputOr(o, kPresetSheetName));
    if (saved.sprites < count)
        err << "warning: only " << saved.sprites << " of the " << count << " sprites fit on the bitmap\n";
    return saved;
}

// -o /dev/stdout (or a name for the same pipe or file): the status must not run into the picture.
bool WritesToStandardOutput(const CliOptions& o) {
    if (o.output.empty())
        return false;
    if (OwnDescriptorNamed(o.output) == STDOUT_FILENO)
        return true;
    struct stat st {};
    if (::fstat(STDOUT_FILENO, &st) != 0)
        return false;
    return IdentifyFile(o.output) == FileIdentity{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), true};
}

} // namespace

int RunCommand(const CliOptions& options, std::ostream& out, std::ostream& err) {
    std::ostream& status = WritesToStandardOutput(options) ? err : out;
    switch (options.command) {
    case Command::Info:
        return RunInfo(options, status, err);
    case Command::OnScreen:
        return RunOnScreen(options, status, err);
    case Command::Anim:
        return RunAnim(options, status, err);
    case Command::Data:
        return RunData(options, status, err);
    case Command::Scan:
        return RunScan(options, status, err);
    case Command::Overview:
        return RunOverview(options, status, err);
    case Command::Screen:
        return RunScreen(options, status, err);
    case Command::Bitmap:
        return RunBitmap(options, status, err);
    case Command::Capture:
        return RunCapture(options, status, err);
    case Command::List:
        return RunList(options, status, err);
    case Command::SpritePad:
        return RunSpritePad(options, status, err);
    case Command::CharPad:
        return RunCharPad(options, status, err);
    case Command::Range:
        // One file per sprite needs a name to number: refused before anything is read or written.
        if (const std::string problem =
                RangeTargetProblem(options.output.empty() ? kPresetRangeName : options.output);
            !problem.empty()) {
            err << "mosaiqua-cli: " << problem << "\nTry 'mosaiqua-cli --help'.\n";
            return 2;
        }
        break;
    default:
        break;
    }
    return RunGuarded(err, [&] {
        Document document;
        const SaveResult saved = SavePicture(options, document, err);
        status << saved.status << "\nwritten: " << WrittenText(saved) << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
