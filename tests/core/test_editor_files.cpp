#include "core/charpad.h"
#include "core/spritepad.h"

#include "editor_file_reader.h"
#include "test_helpers.h"

#include <numeric>

namespace mosaiqua {
namespace {

using test::Bytes;
using test::ReadBytes;

const std::string kShared = MOSAIQUA_SHARED_TESTDATA;

// Byte i of the image is (i * 7 + 3) mod 256: every sprite and character differs from its neighbour.
Bytes PatternAt(int address, int count) {
    Bytes bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(std::uint8_t((address + i) * 7 + 3));
    return bytes;
}
MemoryImage PatternImage() {
    MemoryImage image;
    image.write(0, PatternAt(0, 0x10000).data(), 0x10000);
    return image;
}

// Pepto PAL codes 6 blue, 0 black, 14 light blue; #6A382C is not in it, nearest red (2, #68372B).
constexpr ColourSlots kEditorSlots{0x792835, 0x000000, 0x2C386A, 0xB55E6C};
const std::string kRedNote =
    " The main colour #6A382C is not a palette colour: saved as the nearest, red (2).";

TEST(SpritePad, RangeSavesTheViewersModeAndNearestColours) {
    test::TempFolder folder;
    const std::string path = folder.file("s.spd");
    EXPECT_EQ(WriteSpritePadRange(PatternImage(), 0x2000, 0x20C0, true, kEditorSlots, TrueVicTable, path),
              "3 sprites from $2000 saved as SpritePad file ok." + kRedNote);
    const test::SpdFile spd = test::ReadSpd(ReadBytes(path));
    EXPECT_EQ(spd.header, Bytes({'S', 'P', 'D', 1, 3 - 1, 0, 6, 0, 14}));
    EXPECT_EQ(spd.data,
              std::vector<Bytes>({PatternAt(0x2000, 63), PatternAt(0x2040, 63), PatternAt(0x2080, 63)}));
    EXPECT_EQ(spd.attributes, Bytes(3, 0x80 | 2));
    EXPECT_EQ(spd.animations, Bytes({0, 0, 1, 0}));
    // More sprites than a one-byte count holds: nothing is written.
    EXPECT_EQ(test::UserErrorMessage([&] {
                  WriteSpritePadRange(PatternImage(), 0x2000, 0x6040, false, kEditorSlots, TrueVicTable,
                                      path + "x");
              }),
              "A SpritePad file holds at most 256 sprites, not 257: nothing was saved.");
    EXPECT_EQ(folder.names(), std::vector<std::string>({"s.spd"}));
}

// Bank 0, screen $0400 (sprite pointers at $07F8), character set $3000; sprites 0 and 2 on.
MachineState ScreenState() {
    MachineState state;
    state.vic[0x18] = 0x1C;
    state.vic[0x21] = 6, state.vic[0x25] = 10, state.vic[0x26] = 9;
    state.vic[0x15] = 0b101, state.vic[0x1C] = 0b100;
    state.vic[0x27] = 1, state.vic[0x29] = 0xFE; // unused high bits are masked
    return state;
}

TEST(SpritePad, OnScreenSavesEnabledSpritesWithTheirOwnAttributes) {
    MemoryImage ram = PatternImage();
    const std::uint8_t pointers[] = {0x80, 0x90, 0x81};
    ram.write(0x07F8, pointers, 3);
    test::TempFolder folder;
    EXPECT_EQ(WriteOnScreenSpritePad(ScreenState(), ram, false, folder.file("o.spd")),
              "2 sprites (0, 2) saved as SpritePad file ok.");
    const test::SpdFile spd = test::ReadSpd(ReadBytes(folder.file("o.spd")));
    EXPECT_EQ(spd.header, Bytes({'S', 'P', 'D', 1, 1, 0, 6, 10, 9}));
    EXPECT_EQ(spd.attributes, Bytes({0x01, 0x80 | 14}));
    EXPECT_EQ(spd.data, std::vector<Bytes>({PatternAt(0x2000, 63), PatternAt(0x2040, 63)}));

    MachineState none = ScreenState();
    none.vic[0x15] = 0;
    EXPECT_THROW(WriteOnScreenSpritePad(none, ram, false, folder.file("n.spd")), UserError);
    EXPECT_EQ(folder.names(), std::vector<std::string>({"o.spd"}));
}

// A real SpritePad file and the raw dump of the same 48 sprites.
TEST(SpritePad, RealFilesSpriteBlockIsReproducedFromTheRawSprites) {
    const Bytes real = ReadBytes(kShared + "/unigames-sprites.spd"),
                raw = ReadBytes(kShared + "/unigames-sprites.bin");
    if (real.empty() || raw.empty())
        GTEST_SKIP() << "../shared/testdata with the unigames sprites is not here";
    const test::SpdFile spd = test::ReadSpd(real);
    ASSERT_EQ(spd.attributes.size(), 48u);
    std::vector<SpritePadSprite> sprites(48);
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const std::uint8_t a = spd.attributes[i];
        ASSERT_EQ(a & 0x60, 0) << "an attribute bit the writer does not know, sprite " << i;
        sprites[i] = {{}, (a & 0x80) != 0, (a & 0x10) != 0, std::uint8_t(a & 15)};
        std::copy_n(raw.begin() + std::ptrdiff_t(64 * i), 63, sprites[i].data.begin());
    }
    Bytes written = EncodeSpritePad(sprites, {spd.header[6], spd.header[7], spd.header[8]});
    ASSERT_EQ(written.size(), 9u + 48 * 64 + 4);
    // All but the animations: the game's file has five.
    written[5] = real[5];
    EXPECT_TRUE(std::equal(written.begin(), written.end() - 4, real.begin()));
}

TEST(CharPad, CharacterSetAloneGetsAGlobalColourAndAMapOfItsCodes) {
    test::TempFolder folder;
    const std::string path = folder.file("c.ctm");
    EXPECT_EQ(WriteCharPadFile(PatternImage(), 0x3000, false, kEditorSlots, TrueVicTable, std::nullopt, path),
              "Character set at $3000 saved as CharPad file with a 16 x 16 map of its characters ok." +
                  kRedNote);
    const test::CtmFile ctm = test::ReadCtm(ReadBytes(path));
    EXPECT_EQ(ctm.header, Bytes({'C', 'T', 'M', 5, 6, 0, 14, 2, 0, 0}));
    EXPECT_EQ(ctm.characterData, PatternAt(0x3000, 2048));
    EXPECT_EQ(ctm.attributes, Bytes(256, 2));
    std::vector<int> codes(256);
    std::iota(codes.begin(), codes.end(), 0);
    EXPECT_EQ(std::vector<int>({ctm.characters, ctm.mapWidth, ctm.mapHeight}),
              std::vector<int>({256, 16, 16}));
    EXPECT_EQ(ctm.map, codes);

    EXPECT_THROW(
        WriteCharPadFile(PatternImage(), 0xF801, false, kEditorSlots, TrueVicTable, std::nullopt, path + "x"),
        UserError);
    EXPECT_EQ(folder.names(), std::vector<std::string>({"c.ctm"}));
}

TEST(CharPad, ScreenComesAlongWithEachCharactersMostUsedColour) {
    MemoryImage ram;
    Bytes codes(1000, 32);
    codes[0] = codes[1] = codes[2] = 1, codes[3] = 2;
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

    test::TempFolder folder;
    const ColourSlots slots{0x000000, 0x863D6F, 0x84D29A, 0xB2A470}; // 0, 4, light green 13, 3
    EXPECT_EQ(WriteCharPadFile(ram, 0x3000, true, slots, TrueVicTable, screen, folder.file("s.ctm")),
              "Character set at $3000 saved as CharPad file with the 40 x 25 screen ok. CharPad gives each "
              "character "
              "one colour: 1 of the 1000 screen cells take their character's most used colour.");
    const test::CtmFile ctm = test::ReadCtm(ReadBytes(folder.file("s.ctm")));
    // Per character, multicolour; multicolour text shows colours 0-7 with bit 3 set (13 -> 5 + 8).
    EXPECT_EQ(ctm.header, Bytes({'C', 'T', 'M', 5, 0, 4, 3, 8 + 5, 2, 4}));
    EXPECT_EQ(Bytes({ctm.attributes[0], ctm.attributes[1], ctm.attributes[2], ctm.attributes[32]}),
              Bytes({8 + 5, 5, 7, 14}));
    EXPECT_EQ(std::vector<int>({ctm.mapWidth, ctm.mapHeight}), std::vector<int>({40, 25}));
    EXPECT_EQ(ctm.map, std::vector<int>(codes.begin(), codes.end()));
}

// The reader against a file CharPad made: 4 hi-res characters coloured per character, a 40 x 25 map.
TEST(CharPad, ReaderUnderstandsARealVersion5File) {
    const Bytes bytes = ReadBytes(kShared + "/text-hi-per-char-notiles-ctm5.ctm");
    if (bytes.empty())
        GTEST_SKIP() << "../shared/testdata with the CharPad file is not here";
    const test::CtmFile ctm = test::ReadCtm(bytes);
    EXPECT_EQ(std::vector<int>({ctm.header[3], ctm.header[8], ctm.characters, ctm.mapWidth, ctm.mapHeight}),
              std::vector<int>({5, 2, 4, 40, 25}));
    EXPECT_EQ(Bytes(ctm.characterData.begin(), ctm.characterData.begin() + 8),
              Bytes({0, 0x7E, 0x42, 0, 0, 0x42, 0x7E, 0}));
    EXPECT_EQ(std::vector<int>(ctm.map.begin(), ctm.map.begin() + 4), std::vector<int>({0, 1, 3, 2}));
}

} // namespace
} // namespace mosaiqua
