#include "cli/options.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <set>
#include <string_view>

#ifndef MOSAIQUA_VERSION
#define MOSAIQUA_VERSION "1.05"
#endif

namespace mosaiqua::cli {
namespace {

// Thrown inside the parser only; ParseArguments turns it into a UsageError.
struct BadArgument {
    std::string message;
};

constexpr unsigned bit(Command c) {
    return 1u << static_cast<unsigned>(c);
}
constexpr unsigned kAll = bit(Command::Sprite) | bit(Command::NextSeven) | bit(Command::Range) |
                          bit(Command::Sheet) | bit(Command::CharSet);
constexpr unsigned kSpriteSaves = kAll & ~bit(Command::CharSet);
constexpr unsigned kRanges = bit(Command::Range) | bit(Command::Sheet);

struct OptionInfo {
    std::string_view name;
    bool takesValue;
    unsigned commands; // which commands the option means something to
};

constexpr std::array<OptionInfo, 14> kOptions{{
    {"--address", true, bit(Command::Sprite) | bit(Command::NextSeven) | bit(Command::CharSet)},
    {"--start", true, kRanges},
    {"--end", true, kRanges},
    {"--no-skip-header", false, kAll},
    {"--multicolour", false, kAll},
    {"--colours", true, kAll},
    {"--palette", true, kAll},
    {"--sprite-size", true, kSpriteSaves},
    {"--bitmap-size", true, kSpriteSaves},
    {"--final-size", true, bit(Command::Sheet)},
    {"--depth", true, kAll},
    {"-o", true, kAll},
    {"--view", true, bit(Command::CharSet)},
    {"--help", false, kAll},
}};

struct CommandName {
    std::string_view name;
    Command command;
};
constexpr std::array<CommandName, 5> kCommands{{{"sprite", Command::Sprite},
                                                {"next7", Command::NextSeven},
                                                {"range", Command::Range},
                                                {"sheet", Command::Sheet},
                                                {"charset", Command::CharSet}}};

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
    std::string_view digits = text;
    int base = 10;
    if (digits.starts_with('$')) {
        digits.remove_prefix(1);
        base = 16;
    } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
        base = 16;
    }
    const std::string notAddress = std::string(option) + ": " + Quoted(text) +
                                   " is not an address (write $hhhh, 0xhhhh or a decimal number)";
    if (digits.empty())
        throw BadArgument{notAddress};
    std::int64_t value = 0;
    bool tooBig = false;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0 || d >= base)
            throw BadArgument{notAddress};
        value = value * base + d;
        if (value > 0xFFFF) {
            tooBig = true; // keep scanning so "0x1ZZZZ" is reported as not an address
            value = 0x10000;
        }
    }
    if (tooBig)
        throw BadArgument{std::string(option) + ": " + Quoted(text) + " is above $FFFF"};
    return static_cast<std::int32_t>(value);
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

const OptionInfo* FindOption(std::string_view name) {
    for (const auto& option : kOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

std::string_view CommandNameOf(Command command) {
    for (const auto& c : kCommands)
        if (c.command == command)
            return c.name;
    return {};
}

void Apply(CliOptions& o, std::string_view name, std::string_view value, std::vector<ColourText>& colours) {
    if (name == "--address")
        o.address = ParseAddress(name, value);
    else if (name == "--start")
        o.start = ParseAddress(name, value);
    else if (name == "--end")
        o.end = ParseAddress(name, value);
    else if (name == "--no-skip-header")
        o.skipHeader = false;
    else if (name == "--multicolour")
        o.multicolour = true;
    else if (name == "--colours")
        colours = ParseColourList(value);
    else if (name == "--palette") {
        if (value == "vic")
            o.palette = PaletteKind::pkTrueVic;
        else if (value == "ccs64")
            o.palette = PaletteKind::pkCcs64;
        else
            throw BadArgument{"--palette: " + Quoted(value) + " is not vic or ccs64"};
    } else if (name == "--sprite-size")
        ParseSizePair(name, value, o.sizes.spriteWidth, o.sizes.spriteHeight);
    else if (name == "--bitmap-size")
        ParseSizePair(name, value, o.sizes.bitmapWidth, o.sizes.bitmapHeight);
    else if (name == "--final-size")
        ParseSizePair(name, value, o.sizes.finalWidth, o.sizes.finalHeight);
    else if (name == "--depth") {
        if (value == "24" || value == "32" || value == "16")
            o.bitsPerPixel = value[0] == '2' ? 24 : value[0] == '3' ? 32 : 16;
        else
            throw BadArgument{"--depth: " + Quoted(value) + " is not 24, 32 or 16"};
    } else if (name == "-o") {
        if (value.empty())
            throw BadArgument{"-o needs a file name"};
        o.output = std::string(value);
    } else if (name == "--view") {
        if (value == "8x8")
            o.view = CharSetViewKind::cv8x8;
        else if (value == "8x16")
            o.view = CharSetViewKind::cv8x16;
        else if (value == "16x16")
            o.view = CharSetViewKind::cv16x16;
        else
            throw BadArgument{"--view: " + Quoted(value) + " is not 8x8, 8x16 or 16x16"};
    }
}

CliOptions Parse(const std::vector<std::string>& args) {
    CliOptions o;
    std::vector<std::string_view> positional;
    std::set<std::string_view> seen;
    std::vector<ColourText> colours;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            o.action = Action::Help;
            return o;
        }
        if (arg == "--version") {
            o.action = Action::Version;
            return o;
        }
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const OptionInfo* option = FindOption(name);
        if (!option)
            throw BadArgument{"unknown option " + Quoted(name)};
        if (!option->takesValue && value)
            throw BadArgument{"option " + std::string(name) + " takes no value"};
        if (option->takesValue && !value) {
            if (i + 1 == args.size())
                throw BadArgument{"option " + std::string(name) + " needs a value"};
            value = args[++i];
        }
        seen.insert(option->name);
        Apply(o, option->name, value.value_or(std::string_view{}), colours);
    }

    if (positional.empty())
        throw BadArgument{"no command given"};
    const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                      [&](const CommandName& c) { return c.name == positional[0]; });
    if (command == kCommands.end())
        throw BadArgument{"unknown command " + Quoted(positional[0])};
    o.command = command->command;
    if (positional.size() < 2)
        throw BadArgument{"missing FILE after " + std::string(command->name)};
    if (positional.size() > 2)
        throw BadArgument{"unexpected argument " + Quoted(positional[2])};
    o.file = std::string(positional[1]);

    for (const auto& name : seen)
        if (!(FindOption(name)->commands & bit(o.command)))
            throw BadArgument{"option " + std::string(name) + " does not apply to " +
                              std::string(CommandNameOf(o.command))};

    if (!colours.empty()) {
        const PaletteTable& table = *TableFor(o.palette);
        o.colours = ColourSlots{Resolve(colours[0], table), Resolve(colours[1], table),
                                Resolve(colours[2], table), Resolve(colours[3], table)};
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
    return "Mosaiqua " MOSAIQUA_VERSION;
}

std::string UsageText() {
    return "Usage: mosaiqua-cli COMMAND FILE [options]\n"
           "\n"
           "Commands:\n"
           "  sprite   the sprite at --address\n"
           "  next7    the seven sprites after --address, side by side\n"
           "  range    every sprite of --start..--end, a file each\n"
           "  sheet    every sprite of --start..--end on one bitmap\n"
           "  charset  one character-set view at --address\n"
           "\n"
           "Options:\n"
           "  --address A, --start A, --end A  $hhhh, 0xhhhh or decimal, 0..$FFFF\n"
           "                                   (defaults $0000, $0000, $0040)\n"
           "  --no-skip-header                 file offset 0 is address $0000\n"
           "  --multicolour                    multicolour mode\n"
           "  --colours B,M1,M,M2              background, multicolour 1, main colour,\n"
           "                                   multicolour 2: each #RRGGBB or a code 0-15\n"
           "  --palette vic|ccs64              the table the codes pick from (vic)\n"
           "  --sprite-size W,H                size the sprite is drawn at (24,21)\n"
           "  --bitmap-size W,H                cell of one sprite (24,21)\n"
           "  --final-size W,H                 the bitmap of sheet (640,480)\n"
           "  --depth 24|32|16                 bits per pixel (24)\n"
           "  --view 8x8|8x16|16x16            the character-set view (8x8)\n"
           "  -o PATH                          output file; for range the last four\n"
           "                                   characters give way to each address\n"
           "  --help, --version\n";
}

} // namespace mosaiqua::cli
