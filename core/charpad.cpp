#include "charpad.h"

#include "address_text.h"
#include "errors.h"
#include "palettes.h"

namespace mosaiqua {

namespace {

constexpr int kCells = kScreenColumns * kScreenRows;
constexpr int kCharacters = 256;

enum Colouring : std::uint8_t { kGlobal = 0, kPerCharacter = 2 };
constexpr std::uint8_t kFlagMulticolour = 0x04;

// Each character's most shown colour on the screen, `unused` for characters it does not show.
std::array<std::uint8_t, kCharacters> ColoursPerCharacter(const CharPadScreen& screen, std::uint8_t unused) {
    std::array<std::array<int, 16>, kCharacters> counts{};
    for (int i = 0; i < kCells; ++i)
        ++counts[screen.codes[std::size_t(i)]][screen.colours[std::size_t(i)] & 15];
    std::array<std::uint8_t, kCharacters> colours{};
    for (std::size_t c = 0; c < colours.size(); ++c) {
        std::size_t best = 0;
        for (std::size_t v = 1; v < 16; ++v)
            if (counts[c][v] > counts[c][best])
                best = v;
        colours[c] = counts[c][best] > 0 ? std::uint8_t(best) : unused;
    }
    return colours;
}

void PutWord(std::vector<std::uint8_t>& out, int value) {
    out.push_back(std::uint8_t(value & 0xFF));
    out.push_back(std::uint8_t(value >> 8));
}

// Multicolour text shows colours 0-7 only; colour-RAM bit 3 makes a character multicolour.
std::uint8_t MulticolourCharacterColour(std::uint8_t code) {
    return std::uint8_t((code & 7) | 8);
}

} // namespace

std::vector<std::uint8_t> EncodeCharPad(const CharPadContent& content) {
    const bool perCharacter = content.screen && content.screen->hasColours;
    const int mapWidth = content.screen ? kScreenColumns : 16;
    const int mapHeight = content.screen ? kScreenRows : 16;

    std::vector<std::uint8_t> out{'C',
                                  'T',
                                  'M',
                                  5,
                                  std::uint8_t(content.background & 15),
                                  std::uint8_t(content.multicolour1 & 15),
                                  std::uint8_t(content.multicolour2 & 15),
                                  std::uint8_t(content.characterColour & 15),
                                  perCharacter ? kPerCharacter : kGlobal,
                                  content.multicolour ? kFlagMulticolour : std::uint8_t(0)};
    PutWord(out, kCharacters - 1);
    PutWord(out, 0); // one tile, unused: tiles are off
    out.push_back(1);
    out.push_back(1);
    PutWord(out, mapWidth);
    PutWord(out, mapHeight);

    out.insert(out.end(), content.characters.begin(), content.characters.end());
    if (perCharacter) {
        const auto colours = ColoursPerCharacter(*content.screen, content.characterColour & 15);
        out.insert(out.end(), colours.begin(), colours.end());
    } else {
        out.insert(out.end(), std::size_t(kCharacters), std::uint8_t(content.characterColour & 15));
    }
    if (content.screen) {
        for (const std::uint8_t code : content.screen->codes)
            PutWord(out, code);
    } else {
        for (int code = 0; code < kCharacters; ++code)
            PutWord(out, code);
    }
    return out;
}

int CellsRecolouredByCharPad(const CharPadScreen& screen) {
    if (!screen.hasColours)
        return 0;
    const auto colours = ColoursPerCharacter(screen, 0);
    int recoloured = 0;
    for (int i = 0; i < kCells; ++i)
        recoloured += (screen.colours[std::size_t(i)] & 15) != colours[screen.codes[std::size_t(i)]];
    return recoloured;
}

std::optional<CharPadScreen> ScreenDrawnWith(const MachineState& state, const MemoryImage& ram,
                                             std::int32_t charSetAddress) {
    const ScreenLayout layout = DescribeScreen(state, ram);
    if (layout.bitmapMode || layout.charSet != charSetAddress)
        return std::nullopt;
    CharPadScreen screen;
    const std::uint8_t codeMask = layout.extendedColourMode ? 0x3F : 0xFF;
    for (int i = 0; i < kCells; ++i)
        screen.codes[std::size_t(i)] = ram.byteAt(layout.screen + i) & codeMask;
    screen.hasColours = state.colourRam.size() >= std::size_t(kCells);
    if (screen.hasColours)
        for (int i = 0; i < kCells; ++i)
            screen.colours[std::size_t(i)] = state.colourRam[std::size_t(i)] & 15;
    return screen;
}

std::string WriteCharPadFile(const MemoryImage& memory, std::int32_t address, bool multicolour,
                             const ColourSlots& colours, const PaletteTable& palette,
                             const std::optional<CharPadScreen>& screen, const std::string& utf8Path,
                             const WriteOptions& writing) {
    if (address < 0 || std::int64_t(address) + kCharSetBytes - 1 > 0xFFFF)
        throw UserError(
            UserError::Kind::NothingToSave,
            "The character set at " + ScreenAddress(address) +
                " does not end by $FFFF: a CharPad file holds 256 whole characters. Nothing was saved.");
    const ColourCode background = ChooseColourCode(colours.background, palette);
    const ColourCode multicolour1 = ChooseColourCode(colours.multicolour1, palette);
    const ColourCode multicolour2 = ChooseColourCode(colours.multicolour2, palette);
    const ColourCode main = ChooseColourCode(colours.main, palette);

    CharPadContent content;
    for (int i = 0; i < kCharSetBytes; ++i)
        content.characters[std::size_t(i)] = memory.byteAt(std::int64_t(address) + i);
    content.background = background.code;
    content.multicolour1 = multicolour1.code;
    content.multicolour2 = multicolour2.code;
    content.characterColour = multicolour ? MulticolourCharacterColour(main.code) : main.code;
    content.multicolour = multicolour;
    content.screen = screen;
    WriteFileAtomically(utf8Path, EncodeCharPad(content), writing);

    std::string status = "Character set at " + ScreenAddress(address) + " saved as CharPad file with " +
                         (screen ? "the 40 x 25 screen" : "a 16 x 16 map of its characters") + " ok." +
                         ApproximationNote("background", colours.background, background) +
                         ApproximationNote("multicolour 1", colours.multicolour1, multicolour1) +
                         ApproximationNote("multicolour 2", colours.multicolour2, multicolour2) +
                         ApproximationNote("main", colours.main, main);
    if (multicolour && main.code > 7 && !(screen && screen->hasColours))
        status += " Multicolour characters show colours 0-7 only: the character colour is saved as " +
                  ColourName(main.code & 7) + ".";
    if (screen) {
        const int recoloured = CellsRecolouredByCharPad(*screen);
        if (recoloured > 0)
            status += " CharPad gives each character one colour: " + std::to_string(recoloured) +
                      " of the 1000 screen cells take their character's most used colour.";
    }
    return status;
}

std::string PresetCharPadName(std::int64_t address) {
    return "chars" + HexAddress(address) + ".ctm";
}

} // namespace mosaiqua
