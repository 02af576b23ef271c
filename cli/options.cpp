#include "cli/options.h"

#include "core/address_text.h"
#include "core/palettes.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <functional>
#include <string_view>

#ifndef MOSAIQUA_VERSION
#define MOSAIQUA_VERSION "1.05"
#endif

namespace mosaiqua::cli {
namespace {

// Thrown by the value checks inside CLI11's parse; ParseArguments turns it into a UsageError.
struct BadArgument {
    std::string message;
};

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::int32_t ParseAddress(std::string_view option, std::string_view text) {
    const AddressText read = ReadAddressDigits(text);
    if (read.aboveFfff)
        throw BadArgument{std::string(option) + ": " + Quoted(text) + " is above $FFFF"};
    if (!read.value)
        throw BadArgument{std::string(option) + ": " + Quoted(text) +
                          " is not an address (write $hhhh, 0xhhhh or a decimal number)"};
    return *read.value;
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return parts;
        text.remove_prefix(comma + 1);
    }
}

void ParseSizePair(std::string_view option, std::string_view text, std::string& width, std::string& height) {
    const auto parts = SplitCommas(text);
    if (parts.size() != 2)
        throw BadArgument{std::string(option) + ": " + Quoted(text) + " is not W,H"};
    width = std::string(parts[0]);
    height = std::string(parts[1]);
}

// "#RRGGBB" or a palette code 0-15, looked up once the palette is known.
struct ColourText {
    bool isCode = false;
    int code = 0;
    TColor colour = 0;
};

ColourText ParseColour(std::string_view text) {
    const std::string bad = "--colours: " + Quoted(text) + " is not #RRGGBB or a colour code 0-15";
    if (text.starts_with('#')) {
        if (text.size() != 7)
            throw BadArgument{bad};
        std::array<std::uint8_t, 3> rgb{};
        for (std::size_t i = 0; i < 3; ++i) {
            const int hi = HexDigit(text[1 + 2 * i]);
            const int lo = HexDigit(text[2 + 2 * i]);
            if (hi < 0 || lo < 0)
                throw BadArgument{bad};
            rgb[i] = static_cast<std::uint8_t>(hi * 16 + lo);
        }
        return {false, 0, MakeColor(rgb[0], rgb[1], rgb[2])};
    }
    if (text.empty() || text.size() > 2)
        throw BadArgument{bad};
    int code = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            throw BadArgument{bad};
        code = code * 10 + (c - '0');
    }
    if (code > 15)
        throw BadArgument{bad};
    return {true, code, 0};
}

std::vector<ColourText> ParseColourList(std::string_view text) {
    const auto parts = SplitCommas(text);
    if (parts.size() != 4)
        throw BadArgument{"--colours: " + Quoted(text) + " needs four colours B,M1,M,M2"};
    std::vector<ColourText> colours;
    for (auto part : parts)
        colours.push_back(ParseColour(part));
    return colours;
}

TColor Resolve(const ColourText& c, const PaletteTable& table) {
    return c.isCode ? table[c.code] : c.colour;
}

// What a parse fills in besides CliOptions: colours wait for the palette, help for the text.
struct ParseState {
    CliOptions options;
    std::vector<ColourText> colours;
    bool version = false;
};

using ValueCheck = std::function<void(const std::string&)>;

// One option taking a value; `apply` checks it and stores it. Repeats: the last one counts.
void Value(CLI::App& cmd, const std::string& name, const std::string& valueName, const std::string& help,
           ValueCheck apply) {
    cmd.add_option_function<std::string>(name, std::move(apply), help)
        ->type_name(valueName)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void Flag(CLI::App& cmd, const std::string& name, const std::string& help, std::function<void()> apply) {
    cmd.add_flag_callback(name, std::move(apply), help)->disable_flag_override();
}

// The option groups, each declared once and attached to the commands it means something to.
void AddAddress(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--address", "A", "$hhhh, 0xhhhh or decimal, 0..$FFFF (default $0000)",
          [&](const std::string& v) { s.options.address = ParseAddress("--address", v); });
}

void AddRange(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--start", "A", "first address of the range (default $0000)",
          [&](const std::string& v) { s.options.start = ParseAddress("--start", v); });
    Value(cmd, "--end", "A", "end of the range (default $0040); data includes it, the sprites stop before it",
          [&](const std::string& v) { s.options.end = ParseAddress("--end", v); });
}

bool EndsWithVpl(std::string_view text) {
    if (text.size() < 4)
        return false;
    std::string end(text.substr(text.size() - 4));
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return end == ".vpl";
}

void AddPalette(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--palette", PaletteKeywordList() + "|FILE.vpl",
          "the table the colour codes pick from (vic: Pepto PAL), or a VICE palette file",
          [&](const std::string& v) {
              if (const auto builtIn = PaletteForKeyword(v)) {
                  s.options.palette = *builtIn;
                  s.options.paletteFile.clear();
              } else if (EndsWithVpl(v) || v.find('/') != std::string::npos) {
                  s.options.paletteFile = v;
              } else {
                  throw BadArgument{"--palette: " + Quoted(v) +
                                    " is not vic, ccs64, colodore, community, 6569r5 or a .vpl file"};
              }
          });
}

void AddColourOptions(CLI::App& cmd, ParseState& s) {
    Flag(cmd, "--multicolour", "multicolour mode", [&] { s.options.multicolour = true; });
    Value(cmd, "--colours", "B,M1,M,M2",
          "background, multicolour 1, main colour, multicolour 2: each #RRGGBB or a code 0-15",
          [&](const std::string& v) { s.colours = ParseColourList(v); });
    AddPalette(cmd, s);
}

void AddSpriteSizes(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--sprite-size", "W,H", "size the sprite is drawn at (24,21)", [&](const std::string& v) {
        ParseSizePair("--sprite-size", v, s.options.save.sizes.spriteWidth,
                      s.options.save.sizes.spriteHeight);
    });
    Value(cmd, "--bitmap-size", "W,H", "cell of one sprite (24,21)", [&](const std::string& v) {
        ParseSizePair("--bitmap-size", v, s.options.save.sizes.bitmapWidth,
                      s.options.save.sizes.bitmapHeight);
    });
}

void AddFinalSize(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--final-size", "W,H", "the whole bitmap of sheet (640,480)", [&](const std::string& v) {
        ParseSizePair("--final-size", v, s.options.save.sizes.finalWidth, s.options.save.sizes.finalHeight);
    });
}

void AddView(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--view", "8x8|8x16|16x16", "the character-set view (8x8)", [&](const std::string& v) {
        if (v == "8x8")
            s.options.view = CharSetViewKind::cv8x8;
        else if (v == "8x16")
            s.options.view = CharSetViewKind::cv8x16;
        else if (v == "16x16")
            s.options.view = CharSetViewKind::cv16x16;
        else
            throw BadArgument{"--view: " + Quoted(v) + " is not 8x8, 8x16 or 16x16"};
    });
}

// A whole number of at most nine digits, so it always fits an int.
int ParseCount(std::string_view option, std::string_view text, bool negativeAllowed) {
    std::string_view digits = text;
    const bool negative = negativeAllowed && digits.starts_with('-');
    if (negative)
        digits.remove_prefix(1);
    const auto bad = [&] {
        return BadArgument{std::string(option) + ": " + Quoted(text) + " is not a whole number"};
    };
    if (digits.empty() || digits.size() > 9)
        throw bad();
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            throw bad();
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

// Every command reads a FILE the same way.
void AddFile(CLI::App& cmd, ParseState& s) {
    cmd.add_option(
           "file", s.options.file,
           "the snapshot, PRG, P00 or any C64 memory file; FILE:ENTRY picks inside a disk, tape "
           "or cartridge image or an archive (a name, #N, bankN); vice:[HOST:PORT] captures a running VICE")
        ->type_name("FILE");
    Flag(cmd, "--raw", "no format recognition: read the file as a raw freeze file",
         [&] { s.options.load.detectFormat = false; });
    Flag(cmd, "--no-skip-header", "raw files: file offset 0 is address $0000",
         [&] { s.options.load.skipHeader = false; });
    Value(cmd, "--load-address", "A",
          "where a SEQ or USR file picked from a disk or tape image loads ($0000)",
          [&](const std::string& v) { s.options.loadAddress = ParseAddress("--load-address", v); });
}

void AddDepth(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--depth", "24|32|16", "BMP bits per pixel (24)", [&](const std::string& v) {
        if (v == "24" || v == "32" || v == "16")
            s.options.save.spriteBitsPerPixel = s.options.save.viewBitsPerPixel = v == "24"   ? 24
                                                                                  : v == "32" ? 32
                                                                                              : 16;
        else
            throw BadArgument{"--depth: " + Quoted(v) + " is not 24, 32 or 16"};
    });
}

void AddImageFormat(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--format", "bmp|png",
          "picture format (default: png when the file name ends in .png, else bmp)",
          [&](const std::string& v) {
              s.options.save.imageFormat = ImageFormatFromText(v);
              if (!s.options.save.imageFormat)
                  throw BadArgument{"--format: " + Quoted(v) + " is not bmp or png"};
          });
}

void AddTransparent(CLI::App& cmd, ParseState& s) {
    Flag(cmd, "--transparent", "the background colour becomes transparent (PNG and GIF)",
         [&] { s.options.save.transparentBackground = true; });
}

void AddOutput(CLI::App& cmd, ParseState& s) {
    Value(cmd, "-o", "PATH",
          "output file; for range the last four characters of the file name give way to each address",
          [&](const std::string& v) {
              if (v.empty())
                  throw BadArgument{"-o needs a file name"};
              // "-" is standard output, as everywhere.
              s.options.output = v == "-" ? "/dev/stdout" : v;
          });
}

// The picture saves: depth, format, transparency and the file.
void AddPictureSave(CLI::App& cmd, ParseState& s) {
    AddDepth(cmd, s);
    AddImageFormat(cmd, s);
    AddTransparent(cmd, s);
    AddOutput(cmd, s);
}

void AddJson(CLI::App& cmd, ParseState& s) {
    Flag(cmd, "--json", "print one JSON object", [&] { s.options.json = true; });
}

void AddOnScreen(CLI::App& cmd, ParseState& s) {
    Flag(cmd, "--all", "every sprite, not only the enabled ones", [&] { s.options.all = true; });
    Value(cmd, "-o", "DIR",
          "folder the sprites are written to (.); with --format spd the file (onscreen.spd)",
          [&](const std::string& v) {
              if (v.empty())
                  throw BadArgument{"-o needs a folder"};
              s.options.output = v;
          });
}

void AddOnScreenFormat(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--format", "bmp|png|spd",
          "picture format (bmp), or spd: all the sprites in one SpritePad file", [&](const std::string& v) {
              s.options.spritePadFile = v == "spd";
              if (s.options.spritePadFile)
                  return;
              s.options.save.imageFormat = ImageFormatFromText(v);
              if (!s.options.save.imageFormat)
                  throw BadArgument{"--format: " + Quoted(v) + " is not bmp, png or spd"};
          });
}

void AddAnimation(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--frames", "N", "sprites in the animation (8)",
          [&](const std::string& v) { s.options.frames = ParseCount("--frames", v, true); });
    Value(cmd, "--delay", "MS", "milliseconds each frame shows (100)",
          [&](const std::string& v) { s.options.delayMs = ParseCount("--delay", v, true); });
}

void AddDataFormat(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--format", "bin|prg|acme|kick|ca65|64tass|c|basic", "what the file holds",
          [&](const std::string& v) {
              const auto format = RawDataFormatFromName(v);
              if (!format)
                  throw BadArgument{"--format: " + Quoted(v) +
                                    " is not bin, prg, acme, kick, ca65, 64tass, c or basic"};
              s.options.dataFormat = *format;
          });
    Value(cmd, "--line", "N", "basic: the first line number (1000)",
          [&](const std::string& v) { s.options.basic.first = ParseCount("--line", v, false); });
    Value(cmd, "--step", "N", "basic: how far apart the line numbers are (10)",
          [&](const std::string& v) { s.options.basic.step = ParseCount("--step", v, false); });
    Value(cmd, "--layout", "sprites|charset", "source lines of 3 bytes (sprites) or 8 (charset)",
          [&](const std::string& v) {
              if (v == "sprites")
                  s.options.layout = RawDataLayout::Sprites;
              else if (v == "charset")
                  s.options.layout = RawDataLayout::CharSet;
              else
                  throw BadArgument{"--layout: " + Quoted(v) + " is not sprites or charset"};
          });
}

void AddTop(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--top", "N", "candidates of each kind (10; -1: every one scoring above 0)",
          [&](const std::string& v) {
              s.options.top = ParseCount("--top", v, true);
              if (s.options.top < -1)
                  throw BadArgument{"--top: " + Quoted(v) +
                                    " is not -1 (every candidate) or a count of 0 or more"};
          });
}

void AddSnapshotOutput(CLI::App& cmd, ParseState& s) {
    Value(cmd, "-o", "FILE.vsf", "the VICE snapshot written", [&](const std::string& v) {
        if (v.empty())
            throw BadArgument{"-o needs a file name"};
        s.options.output = v == "-" ? "/dev/stdout" : v;
    });
}

void AddCharSetPage(CLI::App& cmd, ParseState& s) {
    Flag(cmd, "--charset", "the character-set page instead of the sprite page",
         [&] { s.options.charSetPage = true; });
}

void AddChargen(CLI::App& cmd, ParseState& s) {
    Value(cmd, "--chargen", "FILE",
          "a 4096-byte character ROM (default: the snapshot's, else an installed VICE's)",
          [&](const std::string& v) {
              if (v.empty())
                  throw BadArgument{"--chargen needs a file name"};
              s.options.chargen = v;
          });
}

void AddScreen(CLI::App& cmd, ParseState& s) {
    Flag(cmd, "--no-sprites", "the screen without its sprites", [&] { s.options.screen.sprites = false; });
    Flag(cmd, "--no-border", "only the 320 x 200 display area", [&] { s.options.screen.border = false; });
    Value(cmd, "--scale", "N", "whole-number enlargement, 1..8 (1)", [&](const std::string& v) {
        s.options.scale = ParseCount("--scale", v, false);
        if (s.options.scale < 1 || s.options.scale > 8)
            throw BadArgument{"--scale: " + Quoted(v) + " is not a whole number from 1 to 8"};
    });
    Value(cmd, "-o", "PATH", "output file (screen.png)", [&](const std::string& v) {
        if (v.empty())
            throw BadArgument{"-o needs a file name"};
        s.options.output = v == "-" ? "/dev/stdout" : v;
    });
}

void AddBitmap(CLI::App& cmd, ParseState& s) {
    BitmapOptions& b = s.options.bitmap;
    Value(cmd, "--address", "A", "the bitmap's address (default: the file's own bitmap)",
          [&](const std::string& v) { b.address = ParseAddress("--address", v); });
    Value(cmd, "--screen", "S", "screen memory holding the cell colours",
          [&](const std::string& v) { b.screen = ParseAddress("--screen", v); });
    Value(cmd, "--colour-ram", "snapshot|ADDRESS", "where the multicolour cells' third colour comes from",
          [&](const std::string& v) {
              b.colourRamGiven = true;
              b.colourRam = v == "snapshot" ? std::nullopt : std::optional(ParseAddress("--colour-ram", v));
          });
    Value(cmd, "--mode", "hires|multicolour", "the bitmap mode", [&](const std::string& v) {
        if (v != "hires" && v != "multicolour" && v != "multicolor")
            throw BadArgument{"--mode: " + Quoted(v) + " is not hires or multicolour"};
        b.multicolour = v != "hires";
    });
    Value(cmd, "--background", "N", "background colour code 0-15 (multicolour)", [&](const std::string& v) {
        const int code = ParseCount("--background", v, false);
        if (code > 15)
            throw BadArgument{"--background: " + Quoted(v) + " is not a colour code 0-15"};
        b.background = std::uint8_t(code);
    });
    Value(cmd, "--format", "bmp|png|koala|artstudio",
          "what is written (default: from the file name's end, .kla .art .png, else bmp)",
          [&](const std::string& v) {
              if (v == "koala")
                  b.kind = BitmapFileKind::Koala;
              else if (v == "artstudio")
                  b.kind = BitmapFileKind::ArtStudio;
              else if (const std::optional<ImageFormat> format = ImageFormatFromText(v)) {
                  b.kind = BitmapFileKind::Picture;
                  s.options.save.imageFormat = format;
              } else
                  throw BadArgument{"--format: " + Quoted(v) + " is not bmp, png, koala or artstudio"};
          });
    Value(cmd, "-o", "PATH", "output file (bitmap.png)", [&](const std::string& v) {
        if (v.empty())
            throw BadArgument{"-o needs a file name"};
        s.options.output = v == "-" ? "/dev/stdout" : v;
    });
}

using Group = void (*)(CLI::App&, ParseState&);

struct CommandEntry {
    const char* name;
    Command command;
    const char* help;
    std::vector<Group> groups;
    std::vector<const char*> required = {};
};

// A new command is one line here; a new option is one call in its group.
const std::vector<CommandEntry>& Commands() {
    static const std::vector<CommandEntry> commands{
        {"sprite",
         Command::Sprite,
         "the sprite at --address",
         {AddAddress, AddColourOptions, AddSpriteSizes, AddPictureSave, AddChargen}},
        {"next7",
         Command::NextSeven,
         "the seven sprites after --address, side by side",
         {AddAddress, AddColourOptions, AddSpriteSizes, AddPictureSave, AddChargen}},
        {"range",
         Command::Range,
         "every sprite of --start..--end, a file each",
         {AddRange, AddColourOptions, AddSpriteSizes, AddPictureSave, AddChargen}},
        {"sheet",
         Command::Sheet,
         "every sprite of --start..--end on one bitmap",
         {AddRange, AddColourOptions, AddSpriteSizes, AddFinalSize, AddPictureSave, AddChargen}},
        {"charset",
         Command::CharSet,
         "one character-set view at --address",
         {AddAddress, AddColourOptions, AddView, AddPictureSave, AddChargen}},
        {"info", Command::Info, "what the file is and, for a snapshot, the screen's state", {AddJson}},
        {"onscreen",
         Command::OnScreen,
         "a snapshot's sprites in their own modes and colours, a file each",
         {AddOnScreen, AddPalette, AddDepth, AddOnScreenFormat, AddTransparent, AddChargen}},
        {"anim",
         Command::Anim,
         "an animated GIF of the sprites from --address on",
         {AddAddress, AddAnimation, AddColourOptions, AddSpriteSizes, AddTransparent, AddOutput, AddChargen},
         {"--address"}},
        {"data",
         Command::Data,
         "the bytes of --start..--end (end included) as binary or source",
         {AddRange, AddDataFormat, AddOutput},
         {"--start", "--end", "--format"}},
        {"scan", Command::Scan, "where the sprites and character sets probably are", {AddJson, AddTop}},
        {"overview",
         Command::Overview,
         "all 64 KB on one picture",
         {AddCharSetPage, AddColourOptions, AddDepth, AddImageFormat, AddOutput, AddChargen}},
        {"screen",
         Command::Screen,
         "the screen a snapshot shows, border and sprites included",
         {AddScreen, AddPalette, AddDepth, AddImageFormat, AddChargen}},
        {"capture",
         Command::Capture,
         "a running VICE (FILE vice:[HOST:PORT]) saved as a VICE snapshot",
         {AddSnapshotOutput},
         {"-o"}},
        {"list",
         Command::List,
         "the directory of a disk or tape image, the banks of a cartridge, the members of an archive",
         {AddJson}},
        {"spritepad",
         Command::SpritePad,
         "every sprite of --start..--end in one SpritePad .spd file",
         {AddRange, AddColourOptions, AddOutput}},
        {"charpad",
         Command::CharPad,
         "the character set at --address (a snapshot: the screen's) as a CharPad .ctm file",
         {AddAddress, AddColourOptions, AddOutput}},
        {"bitmap",
         Command::Bitmap,
         "a 320 x 200 bitmap picture (default: a snapshot's on-screen bitmap, a Koala or Art Studio file's "
         "own)",
         {AddBitmap, AddPalette, AddDepth, AddTransparent}},
    };
    return commands;
}

std::unique_ptr<CLI::App> MakeApp(ParseState& s) {
    auto app = std::make_unique<CLI::App>("", "mosaiqua-cli");
    app->footer("Each command's options: mosaiqua-cli COMMAND --help. '--' ends the options.");
    app->set_help_flag("-h,--help", "print this help (COMMAND --help: that command's options)");
    app->add_flag("--version", s.version, "print the version");
    app->require_subcommand(0, 1);
    for (const CommandEntry& entry : Commands()) {
        CLI::App* cmd = app->add_subcommand(entry.name, entry.help);
        cmd->set_help_flag("-h,--help", "print this command's options");
        AddFile(*cmd, s);
        for (Group add : entry.groups)
            add(*cmd, s);
        cmd->parse_complete_callback([&s, command = entry.command] { s.options.command = command; });
    }
    return app;
}

// Options may come before the command, as they always could: the command goes first for CLI11.
std::vector<std::string> CommandFirst(std::vector<std::string> args) {
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        const auto& commands = Commands();
        const bool isCommand = std::any_of(commands.begin(), commands.end(),
                                           [&](const CommandEntry& c) { return args[i] == c.name; });
        if (isCommand) {
            std::rotate(args.begin(), args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 1);
            break;
        }
    }
    return args;
}

bool IsKnownOption(const CLI::App& app, const std::string& name) {
    for (const CLI::App* cmd : app.get_subcommands([](const CLI::App*) { return true; }))
        for (const CLI::Option* option : cmd->get_options())
            if (option->check_name(name))
                return true;
    return false;
}

std::string OptionNameOf(const std::string& arg) {
    return arg.substr(0, arg.find('='));
}

// CLI11's reasons in our words: which option, which value, why.
std::string UsageMessageFor(const CLI::ParseError& e, const CLI::App& app) {
    const CLI::App* cmd = nullptr;
    for (const CLI::App* sub : app.get_subcommands())
        cmd = sub;
    const std::vector<std::string> extras = cmd ? cmd->remaining() : app.remaining();
    if (!extras.empty()) {
        const std::string& first = extras.front();
        if (first.size() > 1 && first[0] == '-') {
            const std::string name = OptionNameOf(first);
            if (IsKnownOption(app, name))
                return cmd ? "option " + name + " does not apply to " + cmd->get_name() : "no command given";
            return "unknown option " + Quoted(name);
        }
        if (!cmd)
            return "unknown command " + Quoted(first);
        return "unexpected argument " + Quoted(first);
    }
    const std::string what = e.what();
    if (what.find("flag override") != std::string::npos) {
        const std::string flag = what.substr(0, what.find(' '));
        return "option " + (flag.starts_with('-') ? flag : "--" + flag) + " takes no value";
    }
    const std::string name = what.substr(0, what.find(':'));
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e))
        return "option " + name + " needs a value";
    return what;
}

ParseResult Parse(const std::vector<std::string>& given) {
    ParseState s;
    // --version wins wherever it stands before "--", as --help does.
    const auto optionsEnd = std::find(given.begin(), given.end(), "--");
    if (std::find(given.begin(), optionsEnd, "--version") != optionsEnd) {
        s.options.action = Action::Version;
        return s.options;
    }
    const std::unique_ptr<CLI::App> app = MakeApp(s);
    std::vector<std::string> args = CommandFirst(given);
    std::reverse(args.begin(), args.end()); // CLI11 takes its arguments last first
    try {
        app->parse(args);
    } catch (const BadArgument& e) {
        return UsageError{e.message};
    } catch (const CLI::CallForHelp&) {
        // An unknown option next to --help is still a mistake worth naming.
        if (!app->remaining().empty() && app->get_subcommands().empty())
            return UsageError{"unknown option " + Quoted(OptionNameOf(app->remaining().front()))};
        s.options.action = Action::Help;
        const auto used = app->get_subcommands();
        s.options.helpText = used.empty() ? app->help() : used.front()->help("mosaiqua-cli");
        return s.options;
    } catch (const CLI::ParseError& e) {
        return UsageError{UsageMessageFor(e, *app)};
    } catch (const CLI::Error& e) {
        return UsageError{e.what()};
    }
    CliOptions& o = s.options;
    if (s.version) {
        o.action = Action::Version;
        return o;
    }
    const auto used = app->get_subcommands();
    if (used.empty())
        return UsageError{"no command given"};
    if (o.file.empty())
        return UsageError{"missing FILE after " + used.front()->get_name()};
    for (const CommandEntry& entry : Commands())
        if (entry.command == o.command)
            for (const char* name : entry.required)
                if (used.front()->get_option(name)->count() == 0)
                    return UsageError{entry.name + std::string(" needs ") + name};
    if (const CLI::Option* address = used.front()->get_option_no_throw("--address"))
        o.addressGiven = address->count() > 0;
    for (std::size_t i = 0; i < s.colours.size(); ++i)
        o.colourCodes[i] = s.colours[i].isCode ? s.colours[i].code : -1;
    if (!s.colours.empty()) {
        const PaletteTable& table = o.palette.codeTable();
        o.colours = ColourSlots{Resolve(s.colours[0], table), Resolve(s.colours[1], table),
                                Resolve(s.colours[2], table), Resolve(s.colours[3], table)};
    }
    return o;
}

} // namespace

ParseResult ParseArguments(const std::vector<std::string>& args) {
    try {
        return Parse(args);
    } catch (const BadArgument& e) {
        return UsageError{e.message};
    }
}

std::string VersionText() {
    return "Mosaiqua " MOSAIQUA_VERSION "\nMIT licence";
}

std::string UsageText() {
    ParseState s;
    return MakeApp(s)->help();
}

} // namespace mosaiqua::cli
