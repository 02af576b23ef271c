#include "core/charpad.h"
#include "core/spritepad.h"

#include "editor_file_reader.h"
#include "test_helpers.h"

namespace mosaiqua {
namespace {

using test::ReadBytes;
using test::TempFolder;

const std::string kShared = MOSAIQUA_SHARED_TESTDATA;

// Byte i of the image is (i * 7 + 3) mod 256: every sprite and character differs from its neighbour.
MemoryImage PatternImage() {
    std::vector<std::uint8_t> bytes(0x10000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 7 + 3);
    MemoryImage image;
    image.write(0, bytes.data(), bytes.size());
    return image;
}
std::vector<std::uint8_t> PatternAt(int address, int count) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(std::uint8_t((address + i) * 7 + 3));
    return bytes;
}

// Pepto PAL codes: 0 black, 2 red (#68372B), 6 blue, 14 light blue. #6A382C is red, slightly off.
constexpr ColourSlots kEditorSlots{0x792835, 0x000000, 0x2C386A, 0xB55E6C};

TEST(SpritePad, RangeSavesTheViewersModeAndNearestColours) {
    TempFolder folder;
    const std::string path = folder.file("s.spd");
    const std::string status = WriteSpritePadRange(PatternImage(), 0x2000, 0x20C0, true, kEditorSlots, TrueVicTable, path);
    EXPECT_EQ(status, "3 sprites from $2000 saved as SpritePad file ok. The main colour #6A382C is not a palette "
                      "colour: saved as the nearest, red (2).");
    const test::SpdFile spd = test::ReadSpd(ReadBytes(path));
    EXPECT_EQ(spd.version, 1);
    EXPECT_EQ(spd.sprites, 3);
    EXPECT_EQ(spd.animations, 1);
    EXPECT_EQ(std::vector<int>({spd.background, spd.multicolour1, spd.multicolour2}), std::vector<int>({6, 0, 14}));
    ASSERT_EQ(spd.data.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(spd.data[std::size_t(i)], PatternAt(0x2000 + 64 * i, 63));
        EXPECT_EQ(spd.attributes[std::size_t(i)], 0x80 | 2);
    }
    EXPECT_EQ(spd.animationArrays, std::vector<std::uint8_t>({0, 0, 1, 0}));

    // No sprite, or more than a one-byte count holds: nothing is written.
    const auto save = [&](int end) {
        return test::UserErrorMessage(
            [&] { WriteSpritePadRange(PatternImage(), 0x2000, end, false, kEditorSlots, TrueVicTable, path + "x"); });
    };
    EXPECT_EQ(save(0x2000), "The start address $2000 is not below the end address $2000: nothing was saved.");
    EXPECT_EQ(save(0x6040), "A SpritePad file holds at most 256 sprites, not 257: nothing was saved.");
    EXPECT_EQ(folder.names(), std::vector<std::string>({"s.spd"}));
}

// Bank 0, screen $0400 (sprite pointers at $07F8), character set $3000.
MachineState ScreenState() {
    MachineState state;
    state.vic[0x18] = 0x1C;
    state.vic[0x21] = 6;
    state.vic[0x22] = 3, state.vic[0x23] = 4; // text multicolours
    state.vic[0x25] = 10, state.vic[0x26] = 9;
    state.vic[0x15] = 0b00000101; // sprites 0 and 2
    state.vic[0x1C] = 0b00000100;
    state.vic[0x27] = 1, state.vic[0x29] = 0xFE; // unused high bits are masked
    return state;
}

TEST(SpritePad, OnScreenSavesEnabledSpritesWithTheirOwnAttributes) {
    MemoryImage ram = PatternImage();
    const std::uint8_t pointers[] = {0x80, 0x90, 0x81};
    ram.write(0x07F8, pointers, 3);
    TempFolder folder;
    const MachineState state = ScreenState();
    EXPECT_EQ(WriteOnScreenSpritePad(state, ram, false, folder.file("o.spd")),
              "2 sprites (0, 2) saved as SpritePad file ok.");
    const test::SpdFile spd = test::ReadSpd(ReadBytes(folder.file("o.spd")));
    EXPECT_EQ(std::vector<int>({spd.background, spd.multicolour1, spd.multicolour2}), std::vector<int>({6, 10, 9}));
    EXPECT_EQ(spd.attributes, std::vector<std::uint8_t>({0x01, 0x80 | 14}));
    ASSERT_EQ(spd.data.size(), 2u);
    EXPECT_EQ(spd.data[0], PatternAt(0x2000, 63));
    EXPECT_EQ(spd.data[1], PatternAt(0x2040, 63));

    MachineState none = state;
    none.vic[0x15] = 0;
    EXPECT_THROW(WriteOnScreenSpritePad(none, ram, false, folder.file("n.spd")), UserError);
    EXPECT_EQ(test::ReadSpd(ReadBytes(folder.file("o.spd"))).sprites, 2);
    EXPECT_EQ(folder.names(), std::vector<std::string>({"o.spd"}));
}

// A real SpritePad file and the raw dump of the same 48 sprites.
TEST(SpritePad, RealFilesSpriteBlockIsReproducedFromTheRawSprites) {
    const std::vector<std::uint8_t> spdBytes = ReadBytes(kShared + "/unigames-sprites.spd");
    const std::vector<std::uint8_t> raw = ReadBytes(kShared + "/unigames-sprites.bin");
    if (spdBytes.empty() || raw.empty())
        GTEST_SKIP() << "../shared/testdata with the unigames sprites is not here";
    const test::SpdFile real = test::ReadSpd(spdBytes);
    ASSERT_EQ(real.sprites, 48);
    std::vector<SpritePadSprite> sprites(48);
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        std::copy_n(raw.begin() + std::ptrdiff_t(64 * i), 63, sprites[i].data.begin());
        const std::uint8_t a = real.attributes[i];
        ASSERT_EQ(a & 0x60, 0) << "an attribute bit the writer does not know, sprite " << i;
        sprites[i] = {sprites[i].data, (a & 0x80) != 0, (a & 0x10) != 0, std::uint8_t(a & 15)};
    }
    const std::vector<std::uint8_t> written =
        EncodeSpritePad(sprites, {std::uint8_t(real.background), std::uint8_t(real.multicolour1),
                                  std::uint8_t(real.multicolour2)});
    ASSERT_EQ(written.size(), 9u + 48 * 64 + 4);
    // Everything but the animation count (the game's file has five) and the animations themselves.
    const auto differences = [&](std::size_t from, std::size_t to) {
        return std::count_if(written.begin() + std::ptrdiff_t(from), written.begin() + std::ptrdiff_t(to),
                             [&](const std::uint8_t& b) { return b != spdBytes[std::size_t(&b - written.data())]; });
    };
    EXPECT_EQ(differences(0, 5) + differences(6, 9 + 48 * 64), 0);
}

TEST(CharPad, CharacterSetAloneGetsAGlobalColourAndAMapOfItsCodes) {
    TempFolder folder;
    const std::string path = folder.file("c.ctm");
    EXPECT_EQ(WriteCharPadFile(PatternImage(), 0x3000, false, kEditorSlots, TrueVicTable, std::nullopt, path),
              "Character set at $3000 saved as CharPad file with a 16 x 16 map of its characters ok. The main "
              "colour #6A382C is not a palette colour: saved as the nearest, red (2).");
    const test::CtmFile ctm = test::ReadCtm(ReadBytes(path));
    EXPECT_EQ(ctm.version, 5);
    EXPECT_EQ(std::vector<int>({ctm.background, ctm.multicolour1, ctm.multicolour2, ctm.characterColour}),
              std::vector<int>({6, 0, 14, 2}));
    EXPECT_EQ(ctm.colouring, 0);
    EXPECT_EQ(ctm.flags, 0);
    EXPECT_EQ(ctm.characters, 256);
    EXPECT_EQ(ctm.characterData, PatternAt(0x3000, 2048));
    EXPECT_EQ(ctm.attributes, std::vector<std::uint8_t>(256, 2));
    ASSERT_EQ(ctm.mapWidth * ctm.mapHeight, 256);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(ctm.map[std::size_t(i)], i);

    EXPECT_THROW(WriteCharPadFile(PatternImage(), 0xF801, false, kEditorSlots, TrueVicTable, std::nullopt, path + "x"),
                 UserError);
    EXPECT_EQ(folder.names(), std::vector<std::string>({"c.ctm"}));
}

TEST(CharPad, ScreenComesAlongWithEachCharactersMostUsedColour) {
    MemoryImage ram;
    std::vector<std::uint8_t> codes(1000, 32);
    codes[0] = codes[1] = codes[2] = 1;
    codes[3] = 2;
    ram.write(0x0400, codes.data(), codes.size());
    MachineState state = ScreenState();
    state.vic[0x16] = 0x10; // multicolour text
    state.colourRam.assign(1024, 0xF0 | 14);
    state.colourRam[0] = state.colourRam[1] = 5, state.colourRam[2] = 9, state.colourRam[3] = 0xF7;

    EXPECT_FALSE(ScreenDrawnWith(state, ram, 0x2000)) << "another character set";
    MachineState bitmap = state;
    bitmap.vic[0x11] = 0x20;
    EXPECT_FALSE(ScreenDrawnWith(bitmap, ram, 0x3000));
    const auto screen = ScreenDrawnWith(state, ram, 0x3000);
    ASSERT_TRUE(screen);

    TempFolder folder;
    const std::string status =
        WriteCharPadFile(ram, 0x3000, true, {0, 0, 0x84D29A /* light green, 13 */, 0}, TrueVicTable, screen,
                         folder.file("s.ctm"));
    EXPECT_NE(status.find("with the 40 x 25 screen ok."), std::string::npos);
    EXPECT_NE(status.find(" 1 of the 1000 screen cells take their character's most used colour."),
              std::string::npos);
    const test::CtmFile ctm = test::ReadCtm(ReadBytes(folder.file("s.ctm")));
    EXPECT_EQ(ctm.colouring, 2);
    EXPECT_EQ(ctm.flags, 4);
    EXPECT_EQ(ctm.characterColour, 8 + 5) << "multicolour text shows colours 0-7, bit 3 set";
    EXPECT_EQ(std::vector<int>({ctm.attributes[0], ctm.attributes[1], ctm.attributes[2], ctm.attributes[32]}),
              std::vector<int>({8 + 5, 5, 7, 14}));
    EXPECT_EQ(ctm.mapWidth, 40);
    EXPECT_EQ(ctm.mapHeight, 25);
    EXPECT_EQ(ctm.map, std::vector<int>(codes.begin(), codes.end()));
}

// The reader against a file CharPad made: 4 hi-res characters coloured per character, a 40 x 25 map.
TEST(CharPad, ReaderUnderstandsARealVersion5File) {
    const std::vector<std::uint8_t> bytes = ReadBytes(kShared + "/text-hi-per-char-notiles-ctm5.ctm");
    if (bytes.empty())
        GTEST_SKIP() << "../shared/testdata with the CharPad file is not here";
    const test::CtmFile ctm = test::ReadCtm(bytes);
    EXPECT_EQ(ctm.version, 5);
    EXPECT_EQ(ctm.characters, 4);
    EXPECT_EQ(ctm.colouring, 2);
    EXPECT_EQ(ctm.flags, 0);
    EXPECT_EQ(ctm.mapWidth * ctm.mapHeight, 40 * 25);
    EXPECT_EQ(std::vector<std::uint8_t>(ctm.characterData.begin(), ctm.characterData.begin() + 8),
              std::vector<std::uint8_t>({0x00, 0x7E, 0x42, 0x00, 0x00, 0x42, 0x7E, 0x00}));
    EXPECT_EQ(ctm.attributes.size(), 4u);
    EXPECT_EQ(std::vector<int>(ctm.map.begin(), ctm.map.begin() + 4), std::vector<int>({0, 1, 3, 2}));
}

} // namespace
} // namespace mosaiqua
