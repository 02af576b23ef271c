#pragma once

#include "core/animation.h"
#include "core/charset_render.h"
#include "core/colours.h"
#include "core/document.h"
#include "core/export.h"
#include "core/image_file.h"
#include "core/raw_data.h"

#include <array>
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
    List,
    SpritePad,
    CharPad,
    Bitmap
};

// bitmap: each value given replaces that part of the file's own bitmap (a picture file's layout,
// or the VIC's in a bitmap mode).
struct BitmapOptions {
    std::optional<std::int32_t> address;
    std::optional<std::int32_t> screen;
    bool colourRamGiven = false;
    std::optional<std::int32_t> colourRam; // nothing: the snapshot's
    std::optional<bool> multicolour;
    std::optional<std::uint8_t> background;
    std::optional<BitmapFileKind> kind; // nothing: from -o's extension
};
enum class Action { Run, Help, Version };

struct CliOptions {
    Action action = Action::Run;
    Command command = Command::Sprite;
    std::string file;
    std::int32_t address = 0x0000;
    std::int32_t start = 0x0000;
    std::int32_t end = 0x0040;
    LoadOptions load;                        // --raw clears detectFormat, --no-skip-header skipHeader
    std::optional<std::int32_t> loadAddress; // --load-address: a SEQ or USR file from a container
    bool multicolour = false;
    Palette palette = Palette::Builtin(PaletteKind::pkTrueVic); // a built-in one, by its keyword
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
    // Editor files and palettes.
    std::string paletteFile; // --palette FILE.vpl: read when the command runs, codes then come from it
    std::array<int, 4> colourCodes{-1, -1, -1, -1}; // the --colours given as codes 0-15; -1: #RRGGBB
    bool addressGiven = false;                      // charpad: otherwise the screen's character set
    bool spritePadFile = false;                     // onscreen --format spd
    BasicLineNumbers basic;                         // data --format basic --line --step
    BitmapOptions bitmap;
    std::string helpText; // Action::Help: the program's or the command's help
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
