#include "core/file_formats.h"
#include "core/machine_state.h"
#include "core/sprite_render.h"

#include "known_pictures.h"
#include "snapshot_fixture.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace mosaiqua {
namespace {

using test::Bytes;
using test::Snapshot;

Bytes X64scVic(const Bytes& regs) {
    Bytes body{1};
    body.insert(body.end(), regs.begin(), regs.end());
    body.resize(body.size() + 1200, 0xEE);
    return body;
}
Bytes Regs() {
    Bytes r(64, 0);
    r[0x15] = 0x05; // sprites 0 and 2
    r[0x16] = 0x10; // multicolour
    r[0x18] = 0x1E; // screen $0400, charset $3800 in the bank
    r[0x1C] = 0x04;
    r[0x1D] = 0x01;
    r[0x17] = 0x80;
    r[0x20] = 0xF0;
    r[0x21] = 0x0B;
    r[0x22] = 2, r[0x23] = 3, r[0x25] = 4, r[0x26] = 5;
    for (int n = 0; n < 8; ++n)
        r[std::size_t(0x27 + n)] = std::uint8_t(0xF8 + n);
    return r;
}
const Bytes kPad(47, 0);

MemoryImage Filled(std::uint8_t value) {
    MemoryImage image;
    const Bytes all(MemoryImage::kStoreSize, value);
    image.write(0, all.data(), all.size());
    return image;
}

std::optional<LoadedFile> Load(const Bytes& file, MemoryImage& image, std::string* why = nullptr,
                               const std::string& name = "game.vsf", LoadOptions options = {}) {
    test::TempFolder folder;
    test::WriteBytes(folder.file(name), file);
    try {
        return LoadMemoryFile(image, folder.file(name), options);
    } catch (const UserError& e) {
        // The message is Cannot open file "<path>". <why>
        const std::string message = e.what();
        const std::string prefix = "Cannot open file \"" + folder.file(name) + "\". ";
        EXPECT_EQ(message.substr(0, prefix.size()), prefix);
        if (why)
            *why = message.substr(std::min(prefix.size(), message.size()));
        return std::nullopt;
    }
}

TEST(FileFormats, OldX64SnapshotPutsRamAtZeroAndReadsTheVideoChip) {
    Snapshot s("C64", false);
    s.module("MAINCPU", kPad)
        .module("C64MEM", test::Ram(9))
        .module("CIA2", {0x3F, 0, 0x3F})
        .module("VIC-II", test::X64Vic(Regs(), 0x0E));
    ASSERT_EQ(s.bytes[106], 'C'); // C64MEM at 106, RAM at 132
    MemoryImage image = Filled(0xAA);
    const auto loaded = Load(s.bytes, image);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->format, FileFormat::ViceSnapshot);
    EXPECT_EQ(loaded->machine, "C64");
    EXPECT_EQ(loaded->viceVersion, "");
    EXPECT_EQ(loaded->description, "VICE snapshot (x64): RAM $0000-$FFFF");
    EXPECT_EQ(s.bytes[132 + 0x51C0], image.byteAt(0x51C0));
    for (int a : {0x0000, 0x51C0, 0xFFFF})
        EXPECT_EQ(image.byteAt(a), test::RamByte(9, a));
    EXPECT_EQ(image.byteAt(0x10000), 0); // nothing of the earlier file shows through
    ASSERT_TRUE(loaded->machineState);
    EXPECT_EQ(Bytes(loaded->machineState->vic.begin(), loaded->machineState->vic.end()), Regs());
    EXPECT_EQ(loaded->machineState->colourRam, Bytes(1024, 0x0E));
    EXPECT_EQ(loaded->machineState->cia2PortA, 0x3F);
}

TEST(FileFormats, NewX64scSnapshotWithModulesTwiceAndInAnotherOrder) {
    Snapshot s("C64SC", true, 2);
    const Bytes cpu(103, 0);
    s.module("MAINCPU", cpu)
        .module("C64MEM", test::Ram(3))
        .module("FLASH040EF", {1})
        .module("FLASH040EF", {2});
    s.module("VIC-II", X64scVic(Regs())).module("CIA2", {0x00, 0, 0x03}).module("C64MEM", test::Ram(4));
    ASSERT_EQ(s.bytes[183], 'C'); // C64MEM at 183, RAM at 209
    MemoryImage image;
    const auto loaded = Load(s.bytes, image);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->machine, "C64SC");
    EXPECT_EQ(loaded->viceVersion, "3.10.0");
    EXPECT_EQ(loaded->description, "VICE snapshot (x64sc, VICE 3.10): RAM $0000-$FFFF");
    EXPECT_EQ(image.byteAt(0x1234), test::RamByte(3, 0x1234)); // the first C64MEM counts
    ASSERT_TRUE(loaded->machineState);
    EXPECT_EQ(Bytes(loaded->machineState->vic.begin(), loaded->machineState->vic.end()), Regs());
    EXPECT_TRUE(loaded->machineState->colourRam.empty());
    EXPECT_EQ(DescribeScreen(*loaded->machineState, image).bank, 0xC000); // pins %00
}

TEST(FileFormats, RefusedFilesSayWhyAndChangeNothing) {
    const auto withMem = [](const std::string& machine) {
        Snapshot s(machine, false);
        s.module("C64MEM", test::Ram(1));
        return s.bytes;
    };
    Bytes pastEnd = withMem("C64");
    pastEnd.pop_back();
    Snapshot tiny("C64", false);
    tiny.module("MAINCPU", {}, 21);
    Snapshot noMem("C64", false);
    noMem.module("MAINCPU", kPad);
    Snapshot shortRam("C64", false);
    shortRam.module("C64MEM", Bytes(1000, 0));
    Bytes stub = withMem("C64");
    stub.resize(30);
    const struct {
        Bytes file;
        std::string words;
    } rows[] = {
        {withMem("C128"), "VICE snapshot of a C128, not of a C64"},
        {withMem("VIC20"), "of a VIC20"},
        {pastEnd, "\"C64MEM\" at offset 37 runs past the end of the file"},
        {tiny.bytes, "\"MAINCPU\" at offset 37 is smaller than its own header"},
        {noMem.bytes, "no C64MEM module"},
        {shortRam.bytes, "RAM is cut short (996 of 65536 bytes)"},
        {stub, "header is cut short"},
        {Bytes{'C', '6', '4', 'F', 'i', 'l', 'e', 0, 1}, "P00 file is cut short"},
    };
    for (const auto& row : rows) {
        MemoryImage image = Filled(0x5A);
        std::string why;
        EXPECT_FALSE(Load(row.file, image, &why));
        EXPECT_NE(why.find(row.words), std::string::npos) << why;
        EXPECT_EQ(image.byteAt(0), 0x5A);
        EXPECT_EQ(image.byteAt(0xFFFF), 0x5A);
    }
    MemoryImage image = Filled(0x5A);
    std::string why;
    EXPECT_FALSE(Load({7}, image, &why, "one.prg"));
    EXPECT_EQ(why, "The PRG file is too short to hold its two-byte load address.");
    EXPECT_EQ(image.byteAt(0), 0x5A);
}

TEST(FileFormats, ProgramFilesLandAtTheirLoadAddress) {
    MOSAIQUA_SKIP_WITHOUT_DATA(test::DataFile("ballon_demo.prg"));
    MemoryImage image = Filled(0x77);
    std::optional<LoadedFile> prg;
    ASSERT_NO_THROW(prg = LoadMemoryFile(image, test::DataFile("ballon_demo.prg"), LoadOptions{}));
    EXPECT_EQ(prg->description, "PRG: $0800-$0885"); // 136 bytes: 2 of address, 134 of data
    EXPECT_EQ(image.byteAt(0x07FF), 0);
    Raster sprite(24, 21);
    RenderSprite(image, 0x0847, false, test::kSlots, sprite, 0);
    const auto picture = test::Picture(sprite, 0, 0, 24, 21);
    EXPECT_EQ(picture, test::kBalloon);

    // P00 by content whatever the name; bytes past $FFFF are dropped.
    Bytes p00{'C', '6', '4', 'F', 'i', 'l', 'e', 0};
    p00.resize(0x1A, 0);
    p00.insert(p00.end(), {0xFE, 0xFF, 1, 2, 3});
    const auto loaded = Load(p00, image, nullptr, "x.bin");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->format, FileFormat::P00);
    EXPECT_EQ(loaded->description, "P00: $FFFE-$FFFF");
    EXPECT_EQ(image.byteAt(0xFFFF), 2);
    EXPECT_EQ(image.byteAt(0x10000), 0);

    // Recognition off: the old loader with its header skip.
    Snapshot s("C64", false);
    s.module("C64MEM", test::Ram(1));
    const auto raw = Load(s.bytes, image, nullptr, "game.vsf", LoadOptions{false, true});
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->format, FileFormat::Raw);
    EXPECT_EQ(raw->ramEnd, 37 + 22 + 65540 - 1148 - 1); // what followed the skipped header
    EXPECT_EQ(image.byteAt(0), s.bytes[1148]);
}

TEST(MachineState, BankScreenSpritesAndTheRomShadow) {
    // Pins are ORA | ~DDRA; bank = (pins ^ 3) & 3.
    EXPECT_EQ(VicBank(0x03, 0x3F), 0x0000);
    EXPECT_EQ(VicBank(0x00, 0x3F), 0xC000);
    EXPECT_EQ(VicBank(0x00, 0x3E), 0x8000); // bit 0 an input reads 1: pins %01
    EXPECT_EQ(VicBank(0x01, 0x00), 0x0000);
    EXPECT_EQ(VicBank(0x01, 0x3F), 0x8000);

    MachineState state;
    const Bytes regs = Regs();
    std::copy(regs.begin(), regs.end(), state.vic.begin());
    state.cia2PortA = 0x01; // bank 2, $8000
    MemoryImage ram;
    const std::uint8_t pointers[8] = {0x40, 0x41, 0x80, 0, 0, 0, 0, 0xFF};
    ram.write(0x8400 + 0x3F8, pointers, 8);
    const ScreenLayout l = DescribeScreen(state, ram);
    EXPECT_EQ(l.screen, 0x8400);
    EXPECT_EQ(l.charSet, 0xB800);
    EXPECT_FALSE(l.charSetInRom);
    EXPECT_EQ(l.bitmap, 0xA000);
    EXPECT_EQ(l.border, 0);
    EXPECT_EQ(l.background, 11);
    EXPECT_EQ(l.sprites[0].address, 0x9000);
    EXPECT_TRUE(l.sprites[0].inRom);
    EXPECT_TRUE(l.sprites[2].enabled && l.sprites[2].multicolour && !l.sprites[1].enabled);
    EXPECT_EQ(l.sprites[2].address, 0xA000);
    EXPECT_FALSE(l.sprites[2].inRom);
    EXPECT_TRUE(l.sprites[0].expandX && l.sprites[7].expandY);
    EXPECT_EQ(l.sprites[7].address, 0xBFC0);

    const PaletteTable& p = TrueVicTable;
    EXPECT_EQ(SpriteSettingsFor(l, 2, p),
              (SpriteSettings{2, 0xA000, true, {p[11], p[4], p[0xA], p[5]}, false}));
    state.vic[0x18] = 0x14; // charset at bank + $1000: the ROM font
    const ScreenLayout rom = DescribeScreen(state, ram);
    EXPECT_TRUE(rom.charSetInRom);
    EXPECT_EQ(CharSetSettingsFor(rom, state, p, 0x123456),
              (CharSetSettings{0x9000, true, {p[11], p[2], 0x123456, p[3]}, true}));
    state.colourRam.assign(1024, 0x0E);
    std::fill(state.colourRam.begin(), state.colourRam.begin() + 400, 0x01);
    std::fill(state.colourRam.begin() + 1000, state.colourRam.end(), 0x01); // off screen
    EXPECT_EQ(CharSetSettingsFor(rom, state, p, 0).colours.main, p[6]);     // $0E & 7 in multicolour
    state.vic[0x16] = 0;
    EXPECT_EQ(CharSetSettingsFor(DescribeScreen(state, ram), state, p, 0).colours.main, p[14]);

    state.characterRom.assign(4096, 0x99);
    const MemoryImage seen = VideoChipView(state, ram, 0x8000);
    EXPECT_EQ(seen.byteAt(0x8FFF), 0);
    EXPECT_EQ(seen.byteAt(0x9000), 0x99);
    EXPECT_EQ(seen.byteAt(0x9FFF), 0x99);
    EXPECT_EQ(seen.byteAt(0xA000), 0);
}

} // namespace
} // namespace mosaiqua
