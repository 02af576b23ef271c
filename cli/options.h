#pragma once

#include "core/animation.h"
#include "core/charset_render.h"
#include "core/colours.h"
#include "core/document.h"
#include "core/export.h"
#include "core/image_file.h"
#include "core/raw_data.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace mosaiqua::cli {

enum class Command {
    Sprite,
    NextSeven,
    Range,
    Sheet,
    CharSet,
    Info,
    OnScreen,
    Anim,
    Data,
    Scan,
    Overview,
    Screen,
    Capture,
    List
};
enum class Action { Run, Help, Version };

struct CliOptions {
    Action action = Action::Run;
    Command command = Command::Sprite;
    std::string file;
    std::int32_t address = 0x0000;
    std::int32_t start = 0x0000;
    std::int32_t end = 0x0040;
    LoadOptions load; // --raw clears detectFormat, --no-skip-header skipHeader
    bool multicolour = false;
    PaletteKind palette = PaletteKind::pkTrueVic;
    // Empty: the colours the window has at start-up for the viewer the command uses.
    std::optional<ColourSlots> colours;
    // The sizes kept as typed (the saves convert them, so a bad size fails with the window's
    // message); --depth sets both depths, --format the format, --transparent the background.
    SaveSettings save;
    std::string output; // empty: the window's preset name (onscreen: the folder, "."); "-": standard output
    CharSetViewKind view = CharSetViewKind::cv8x8;
    bool json = false;        // info, scan, list
    bool all = false;         // onscreen: disabled sprites too
    bool charSetPage = false; // overview --charset
    int frames = kDefaultAnimationFrames;
    int delayMs = kDefaultFrameDelayMs;
    RawDataFormat dataFormat = RawDataFormat::Bin;
    RawDataLayout layout = RawDataLayout::Sprites;
    int top = 10;
    std::string chargen;   // a 4096-byte character ROM file (--chargen); empty: look for one
    ComposeOptions screen; // screen: --no-sprites, --no-border
    int scale = 1;         // screen --scale
    std::string helpText;  // Action::Help: the program's or the command's help
};

struct UsageError {
    std::string message;
};

using ParseResult = std::variant<CliOptions, UsageError>;

// Pure: looks at nothing but `args` (the arguments after the program name).
ParseResult ParseArguments(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();

} // namespace mosaiqua::cli
