#include "machine_state.h"

namespace mosaiqua {

namespace {

constexpr int kScreenCells = 1000;

bool Bit(std::uint8_t value, int n) {
    return (value >> n) & 1;
}

} // namespace

std::int32_t VicBank(std::uint8_t portA, std::uint8_t directionA) {
    const int pins = (portA | std::uint8_t(~directionA)) & 3;
    return std::int32_t((pins ^ 3) & 3) * 0x4000;
}

bool InCharacterRomShadow(std::int32_t bank, std::int32_t address) {
    if (bank != 0x0000 && bank != 0x8000)
        return false;
    const std::int32_t inBank = address - bank;
    return inBank >= 0x1000 && inBank < 0x2000;
}

ScreenLayout DescribeScreen(const MachineState& state, const MemoryImage& ram) {
    const auto& r = state.vic;
    ScreenLayout layout;
    layout.bank = VicBank(state.cia2PortA, state.cia2DirectionA);
    layout.bankAssumed = state.bankAssumed;
    const std::uint8_t d018 = r[0x18];
    layout.screen = layout.bank + (d018 >> 4) * 0x400;
    layout.charSet = layout.bank + ((d018 >> 1) & 7) * 0x800;
    layout.charSetInRom = InCharacterRomShadow(layout.bank, layout.charSet);
    layout.bitmap = layout.bank + (d018 & 8) * 0x400;
    layout.bitmapMode = Bit(r[0x11], 5);
    layout.extendedColourMode = Bit(r[0x11], 6);
    layout.multicolourMode = Bit(r[0x16], 4);
    layout.border = r[0x20] & 15;
    layout.background = r[0x21] & 15;
    layout.textMulticolour = {std::uint8_t(r[0x22] & 15), std::uint8_t(r[0x23] & 15)};
    layout.spriteMulticolour = {std::uint8_t(r[0x25] & 15), std::uint8_t(r[0x26] & 15)};
    for (int n = 0; n < 8; ++n) {
        SpriteState& s = layout.sprites[std::size_t(n)];
        s.number = n;
        s.enabled = Bit(r[0x15], n);
        s.pointer = ram.byteAt(layout.screen + 0x3F8 + n);
        s.address = layout.bank + s.pointer * 64;
        s.inRom = InCharacterRomShadow(layout.bank, s.address);
        s.multicolour = Bit(r[0x1C], n);
        s.expandX = Bit(r[0x1D], n);
        s.expandY = Bit(r[0x17], n);
        s.colour = r[std::size_t(0x27 + n)] & 15;
    }
    return layout;
}

MemoryImage VideoChipView(const MachineState& state, const MemoryImage& ram, std::int32_t bank) {
    MemoryImage view = ram;
    if (state.characterRom.size() == kCharacterRomBytes && (bank == 0x0000 || bank == 0x8000))
        view.write(std::size_t(bank + 0x1000), state.characterRom.data(), kCharacterRomBytes);
    return view;
}

SpriteSettings SpriteSettingsFor(const ScreenLayout& layout, int number, const PaletteTable& palette) {
    const SpriteState& s = layout.sprites[std::size_t(number & 7)];
    SpriteSettings settings;
    settings.number = s.number;
    settings.address = s.address;
    settings.multicolour = s.multicolour;
    settings.inRom = s.inRom;
    settings.colours = {palette[layout.background], palette[layout.spriteMulticolour[0]], palette[s.colour],
                        palette[layout.spriteMulticolour[1]]};
    return settings;
}

std::optional<std::uint8_t> MostUsedScreenColour(const MachineState& state, bool lowThreeBits) {
    if (state.colourRam.size() < std::size_t(kScreenCells))
        return std::nullopt;
    std::array<int, 16> counts{};
    for (int i = 0; i < kScreenCells; ++i)
        ++counts[state.colourRam[std::size_t(i)] & (lowThreeBits ? 7 : 15)];
    std::size_t best = 0;
    for (std::size_t c = 1; c < counts.size(); ++c)
        if (counts[c] > counts[best])
            best = c;
    return std::uint8_t(best);
}

CharSetSettings CharSetSettingsFor(const ScreenLayout& layout, const MachineState& state,
                                   const PaletteTable& palette, TColor currentMain) {
    CharSetSettings settings;
    settings.address = layout.charSet;
    settings.multicolour = layout.multicolourMode;
    settings.inRom = layout.charSetInRom;
    const auto main = MostUsedScreenColour(state, layout.multicolourMode);
    settings.colours = {palette[layout.background], palette[layout.textMulticolour[0]],
                        main ? palette[*main] : currentMain, palette[layout.textMulticolour[1]]};
    return settings;
}

} // namespace mosaiqua
