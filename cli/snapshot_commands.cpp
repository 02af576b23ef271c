#include "cli/snapshot_commands.h"

#include "core/json_writer.h"

#include "cli/load.h"

#include "core/document.h"
#include "core/machine_state.h"
#include "core/spritepad.h"

#include <concepts>
#include <cstdio>
#include <exception>
#include <ostream>
#include <type_traits>
#include <vector>

namespace mosaiqua::cli {
namespace {

using Json = JsonWriter;

std::string Hex(std::int64_t value, int digits = 4) {
    char text[12];
    std::snprintf(text, sizeof text, "$%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

void PrintState(const LoadedFile& loaded, const MemoryImage& image, std::ostream& out) {
    if (!loaded.machineState) {
        if (loaded.noStateReason.empty())
            out << "No machine state in this file.\n";
        else
            out << "No machine state: " << loaded.noStateReason << ".\n";
        return;
    }
    const ScreenLayout l = DescribeScreen(*loaded.machineState, image);
    out << "Bank:          " << Hex(l.bank) << (l.bankAssumed ? " (assumed: the file does not say)" : "")
        << '\n'
        << "Screen:        " << Hex(l.screen) << '\n';
    if (l.bitmapMode)
        out << "Bitmap:        " << Hex(l.bitmap) << '\n';
    else
        out << "Character set: " << Hex(l.charSet) << (l.charSetInRom ? " (character ROM)" : "") << '\n';
    out << "Mode:          " << (l.bitmapMode ? "bitmap" : "text")
        << (l.multicolourMode ? ", multicolour" : "") << (l.extendedColourMode ? ", extended colour" : "")
        << '\n'
        << "Border:        " << int(l.border) << "\nBackground:    " << int(l.background) << '\n'
        << "Multicolours:  text " << int(l.textMulticolour[0]) << ", " << int(l.textMulticolour[1])
        << "; sprites " << int(l.spriteMulticolour[0]) << ", " << int(l.spriteMulticolour[1]) << '\n'
        << "Sprite On  Pointer Address Mode        X2  Y2  Colour\n";
    for (const SpriteState& s : l.sprites) {
        char row[96];
        std::snprintf(row, sizeof row, "%-6d %-3s %-7s %-7s %-11s %-3s %-3s %d%s\n", s.number,
                      s.enabled ? "yes" : "no", Hex(s.pointer, 2).c_str(), Hex(s.address).c_str(),
                      s.multicolour ? "multicolour" : "hi-res", s.expandX ? "yes" : "no",
                      s.expandY ? "yes" : "no", int(s.colour), s.inRom ? "  (character ROM)" : "");
        out << row;
    }
}

} // namespace

std::string InfoJson(const LoadedFile& loaded, const MemoryImage& image) {
    Json j;
    j.open('{').key("format").value(std::string(FormatKeyword(loaded.format)));
    j.key("machine");
    loaded.machine.empty() ? j.null() : j.value(loaded.machine);
    j.key("vice_version");
    loaded.viceVersion.empty() ? j.null() : j.value(loaded.viceVersion);
    j.key("ram").open('{').key("start").value(loaded.ramStart).key("end").value(loaded.ramEnd).close('}');
    j.key("vic");
    if (!loaded.machineState)
        return j.null().close('}').text();
    const ScreenLayout l = DescribeScreen(*loaded.machineState, image);
    j.open('{').key("bank").value(l.bank).key("screen").value(l.screen).key("charset").value(l.charSet);
    j.key("charset_in_rom").value(l.charSetInRom).key("bitmap_mode").value(l.bitmapMode);
    j.key("multicolour_mode").value(l.multicolourMode).key("border").value(l.border);
    j.key("background").value(l.background);
    j.key("text_multicolour").open('[').value(l.textMulticolour[0]).value(l.textMulticolour[1]).close(']');
    j.key("sprite_multicolour")
        .open('[')
        .value(l.spriteMulticolour[0])
        .value(l.spriteMulticolour[1])
        .close(']');
    j.key("sprites").open('[');
    for (const SpriteState& s : l.sprites) {
        j.open('{').key("number").value(s.number).key("enabled").value(s.enabled).key("pointer").value(
            s.pointer);
        j.key("address")
            .value(s.address)
            .key("in_rom")
            .value(s.inRom)
            .key("multicolour")
            .value(s.multicolour);
        j.key("expand_x").value(s.expandX).key("expand_y").value(s.expandY).key("colour").value(s.colour);
        j.close('}');
    }
    return j.close(']').close('}').close('}').text();
}

int RunInfo(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        Document document;
        OpenDocument(document, o, ViewerUsed::None);
        const LoadedFile& loaded = document.loadedFile();
        if (o.json) {
            out << InfoJson(loaded, document.memory()) << '\n';
            return 0;
        }
        out << "File:          " << o.file << '\n' << "Format:        ";
        if (loaded.format == FileFormat::Raw) {
            out << "raw memory, read into $0000-" << Hex(loaded.ramEnd < 0 ? 0 : loaded.ramEnd);
            // The header is skipped, but a short memory part leaves its bytes in view above it.
            if (loaded.headerFrom > 0)
                out << ": $0000-" << Hex(loaded.headerFrom - 1) << " from offset 1148 on, "
                    << Hex(loaded.headerFrom) << "-" << Hex(loaded.ramEnd) << " header bytes (offsets "
                    << loaded.headerFrom << "-" << loaded.ramEnd << ")";
            else if (loaded.headerFrom == 0)
                out << ": header bytes only (offsets 0-" << loaded.ramEnd << "), the file is shorter than "
                    << "its 1148-byte header";
            out << '\n';
        } else
            out << loaded.description << '\n';
        PrintState(loaded, document.memory(), out);
        return 0;
    });
}

int RunOnScreen(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        Document document;
        OpenDocument(document, o, ViewerUsed::None);
        if (!document.machineState()) {
            const std::string& reason = document.loadedFile().noStateReason;
            if (reason.empty())
                err << "mosaiqua-cli: " << o.file
                    << " holds no machine state; only VICE snapshots of a C64 do\n";
            else
                err << "mosaiqua-cli: " << o.file << " holds no machine state: " << reason << '\n';
            return 1;
        }
        if (o.spritePadFile) {
            const SaveResult saved = document.saveOnScreenSpritePad(
                o.output.empty() ? kPresetOnScreenSpritePadName : o.output, o.all);
            out << saved.status << "\nwritten: " << saved.written.front() << '\n';
            return 0;
        }
        const SaveResult saved = document.saveOnScreenSprites(
            o.output.empty() ? "." : o.output, o.all, [&](const std::string& path) { out << path << '\n'; });
        if (!saved.status.empty())
            out << saved.status << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
