#include "palettes.h"

#include "errors.h"
#include "file_paths.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace mosaiqua {

namespace {

const std::array<Palette, 5> kBuiltIn{{
    {PaletteKind::pkTrueVic, "Pepto PAL", TrueVicTable, "vic"},
    {PaletteKind::pkCcs64, "CCS64", Ccs64Table, "ccs64"},
    {PaletteKind::pkTrueVic, "Colodore", ColodoreTable, "colodore"},
    {PaletteKind::pkTrueVic, "Community Colors", CommunityColorsTable, "community"},
    {PaletteKind::pkTrueVic, "PALette 6569R5", Palette6569R5Table, "6569r5"},
}};

constexpr std::array<const char*, 16> kColourNames{
    "black",  "white", "red",       "cyan",      "purple", "green",       "blue",       "yellow",
    "orange", "brown", "light red", "dark grey", "grey",   "light green", "light blue", "light grey"};

// No palette file is anywhere near this; a bigger one is not a palette.
constexpr std::uintmax_t kMaxPaletteFileBytes = 1 << 20;

int Distance(TColor a, TColor b) {
    const int r = RedOf(a) - RedOf(b);
    const int g = GreenOf(a) - GreenOf(b);
    const int bl = BlueOf(a) - BlueOf(b);
    return r * r + g * g + bl * bl;
}

std::string RgbText(TColor c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned(RedOf(c)), unsigned(GreenOf(c)),
                  unsigned(BlueOf(c)));
    return text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::vector<std::string_view> Columns(std::string_view line) {
    std::vector<std::string_view> columns;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start)
            columns.push_back(line.substr(start, i - start));
    }
    return columns;
}

// A component 0..FF, or -1.
int HexComponent(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
        if (value > 0xFF)
            return -1;
    }
    return text.empty() ? -1 : value;
}

[[noreturn]] void Refuse(const std::string& label, int line, const std::string& why) {
    throw UserError(UserError::Kind::CannotOpenFile,
                    label + ", line " + std::to_string(line) + ": " + why + " The palette was not changed.");
}

} // namespace

std::span<const Palette> BuiltInPalettes() {
    return kBuiltIn;
}

std::optional<Palette> PaletteForKeyword(std::string_view keyword) {
    for (const Palette& p : kBuiltIn)
        if (p.keyword == keyword)
            return p;
    return std::nullopt;
}

std::string PaletteKeywordList() {
    std::string list;
    for (const Palette& p : kBuiltIn)
        list += (list.empty() ? "" : "|") + p.keyword;
    return list;
}

std::string ColourName(int code) {
    return kColourNames[std::size_t(code & 15)];
}

ColourCode ChooseColourCode(TColor colour, const PaletteTable& palette) {
    colour &= 0xFFFFFF;
    std::size_t best = 0;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if ((palette[i] & 0xFFFFFF) == colour)
            return {std::uint8_t(i), false};
        if (Distance(colour, palette[i]) < Distance(colour, palette[best]))
            best = i;
    }
    return {std::uint8_t(best), true};
}

std::string ApproximationNote(const std::string& slot, TColor colour, ColourCode chosen) {
    if (!chosen.approximated)
        return {};
    return " The " + slot + " colour " + RgbText(colour) +
           " is not a palette colour: saved as the nearest, " + ColourName(chosen.code) + " (" +
           std::to_string(chosen.code) + ").";
}

PaletteTable ParseVicePalette(std::string_view text, const std::string& label) {
    PaletteTable table{};
    std::size_t entries = 0;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        const std::vector<std::string_view> columns = Columns(line);
        if (columns.empty() || columns.front().front() == '#')
            continue;
        if (columns.size() < 3 || columns.size() > 4)
            Refuse(label, lineNumber,
                   "expected red, green and blue as hexadecimal numbers, found " +
                       std::to_string(columns.size()) + " columns.");
        int rgb[3];
        for (int c = 0; c < 3; ++c) {
            rgb[c] = HexComponent(columns[std::size_t(c)]);
            if (rgb[c] < 0)
                Refuse(label, lineNumber,
                       "'" + std::string(columns[std::size_t(c)]) +
                           "' is not a hexadecimal number from 0 to FF.");
        }
        if (entries == table.size())
            Refuse(label, lineNumber, "more than 16 colours; a VIC-II palette has 16.");
        table[entries++] = MakeColor(std::uint8_t(rgb[0]), std::uint8_t(rgb[1]), std::uint8_t(rgb[2]));
    }
    if (entries == 0)
        Refuse(label, std::max(lineNumber, 1), "the file holds no colours; a VIC-II palette has 16.");
    if (entries < table.size())
        Refuse(label, lineNumber,
               "the file ends after " + std::to_string(entries) + " colours; a VIC-II palette has 16.");
    return table;
}

Palette LoadVicePaletteFile(const std::string& utf8Path) {
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    const auto refuse = [&](const std::string& why) {
        throw UserError(UserError::Kind::CannotOpenFile,
                        "Cannot open palette file \"" + utf8Path + "\": " + why);
    };
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        refuse("there is no such file.");
    if (!std::filesystem::is_regular_file(path, error))
        refuse("it is not a regular file.");
    if (std::filesystem::file_size(path, error) > kMaxPaletteFileBytes)
        refuse("it is too big to be a palette file.");
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.is_open() || in.bad())
        refuse("it cannot be read.");
    return {PaletteKind::pkTrueVic, path.filename().string(), ParseVicePalette(text, utf8Path), ""};
}

} // namespace mosaiqua
