#include "core/raw_data.h"

#include "test_helpers.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace mosaiqua {
namespace {

using test::ReadBytes;
using test::TempFolder;

MemoryImage ImageWith(std::int64_t address, const std::vector<std::uint8_t>& bytes) {
    MemoryImage image;
    std::vector<std::uint8_t> head(std::size_t(address) + bytes.size(), 0);
    std::copy(bytes.begin(), bytes.end(), head.begin() + address);
    image.write(0, head.data(), head.size());
    return image;
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(RawData, EachSourceFormatSpellsFiveSpriteBytes) {
    const MemoryImage image = ImageWith(0x0800, {0x01, 0x02, 0xAB, 0xFF, 0x00});
    const std::string head = "$0800-$0804, 5 bytes, saved by Mosaiqua";
    const struct {
        RawDataFormat format;
        std::string text;
    } rows[] = {
        {RawDataFormat::Acme, "; " + head +
                                  "\n* = $0800\nsprites_0800\n; $0800\n    !byte $01, $02, $AB\n"
                                  "    !byte $FF, $00\n"},
        {RawDataFormat::Kick, "// " + head +
                                  "\n* = $0800\nsprites_0800:\n// $0800\n    .byte $01, $02, $AB\n"
                                  "    .byte $FF, $00\n"},
        {RawDataFormat::Ca65,
         "; " + head + "\nsprites_0800:\n; $0800\n    .byte $01, $02, $AB\n    .byte $FF, $00\n"},
        {RawDataFormat::Tass64, "; " + head +
                                    "\n* = $0800\nsprites_0800\n; $0800\n    .byte $01, $02, $AB\n"
                                    "    .byte $FF, $00\n"},
        {RawDataFormat::C, "/* " + head +
                               " */\nconst unsigned char sprites_0800[5] = {\n    /* $0800 */\n"
                               "    0x01, 0x02, 0xAB,\n    0xFF, 0x00,\n};\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Text(EncodeRawData(image, 0x0800, 0x0804, row.format, RawDataLayout::Sprites)), row.text)
            << RawDataFormatName(row.format);
}

TEST(RawData, CharacterSetsGoEightToALineAndABlockPerCharacter) {
    const MemoryImage image = ImageWith(0xD000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(Text(EncodeRawData(image, 0xD000, 0xD009, RawDataFormat::Acme, RawDataLayout::CharSet)),
              "; $D000-$D009, 10 bytes, saved by Mosaiqua\n* = $D000\nchars_D000\n; $D000\n"
              "    !byte $01, $02, $03, $04, $05, $06, $07, $08\n; $D008\n    !byte $09, $0A\n");
}

TEST(RawData, BinaryHoldsTheBytesAndAProgramPutsTheLoadAddressFirst) {
    const MemoryImage image = ImageWith(0x0801, {0x0B, 0x08, 0x0A});
    EXPECT_EQ(EncodeRawData(image, 0x0801, 0x0803, RawDataFormat::Bin, RawDataLayout::Sprites),
              (std::vector<std::uint8_t>{0x0B, 0x08, 0x0A}));
    EXPECT_EQ(EncodeRawData(image, 0x0801, 0x0803, RawDataFormat::Prg, RawDataLayout::Sprites),
              (std::vector<std::uint8_t>{0x01, 0x08, 0x0B, 0x08, 0x0A}));
    // The end is included: one address is one byte, and $FFFF is the last there is.
    EXPECT_EQ(EncodeRawData(image, 0xFFFF, 0xFFFF, RawDataFormat::Bin, RawDataLayout::Sprites).size(), 1u);
}

TEST(RawData, BadRangesAreRefusedAndWriteNothing) {
    const struct {
        std::int64_t start, end;
        const char* message;
    } rows[] = {
        {0x0800, 0x07FF, "The end address $07FF is before the start address $0800: nothing was saved."},
        {0xFF00, 0x10000, "The end address $10000 is past $FFFF: nothing was saved."},
        {0x10000, 0x10001, "The start address $10000 is past $FFFF: nothing was saved."},
        {-1, 0x10, "The start address is below $0000: nothing was saved."},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        EXPECT_EQ(RawDataRangeProblem(row.start, row.end), row.message);
        try {
            WriteRawDataFile(MemoryImage(), row.start, row.end, RawDataFormat::Bin, RawDataLayout::Sprites,
                             folder.file("x.bin"));
            ADD_FAILURE() << row.message;
        } catch (const UserError& e) {
            EXPECT_STREQ(e.what(), row.message);
        }
    }
    EXPECT_TRUE(folder.names().empty());
    EXPECT_EQ(RawDataRangeForSprites(0xFF00).end, 0xFFFF);
    EXPECT_EQ(RawDataRangeForCharSet(0x2000).end, 0x27FF);
}

// BASIC: each line "<number> DATA <byte>,<byte>..." of at most 80 characters, read back to the bytes.
TEST(RawData, BasicDataLinesReadBackToTheBytes) {
    std::vector<std::uint8_t> bytes(0x90);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 97 + 200); // one, two and three digits
    const MemoryImage image = ImageWith(0x3000, bytes);
    std::istringstream text(
        Text(EncodeRawData(image, 0x3000, 0x308F, RawDataFormat::Basic, RawDataLayout::Sprites, {100, 5})));
    std::vector<std::uint8_t> read;
    std::vector<std::size_t> lineStarts; // byte index each line starts at
    std::string line;
    for (int number = 100; std::getline(text, line); number += 5) {
        EXPECT_LE(line.size(), 80u) << line;
        const std::string head = std::to_string(number) + " DATA ";
        ASSERT_EQ(line.substr(0, head.size()), head);
        lineStarts.push_back(read.size());
        std::istringstream values(line.substr(head.size()));
        for (std::string value; std::getline(values, value, ',');)
            read.push_back(std::uint8_t(std::stoi(value)));
    }
    EXPECT_EQ(read, bytes);
    // A sprite starts a line; lines before it are full (another value would pass 80).
    EXPECT_NE(std::find(lineStarts.begin(), lineStarts.end(), 64u), lineStarts.end());
    EXPECT_GT(lineStarts[1], 15u);

    EXPECT_EQ(Text(EncodeRawData(ImageWith(0x10, {1, 22}), 0x10, 0x11, RawDataFormat::Basic,
                                 RawDataLayout::CharSet)),
              "1000 DATA 1,22\n");
    EXPECT_EQ(RawDataFormatFromName("basic"), RawDataFormat::Basic);
    const auto refusal = [&](BasicLineNumbers numbers) {
        return test::UserErrorMessage([&] {
            EncodeRawData(image, 0x3000, 0x308F, RawDataFormat::Basic, RawDataLayout::CharSet, numbers);
        });
    };
    EXPECT_EQ(refusal({64000, 10}),
              "The first BASIC line number 64000 is not between 0 and 63999: nothing was saved.");
    EXPECT_EQ(refusal({1000, 0}), "The BASIC line step 0 is not between 1 and 63999: nothing was saved.");
    // 144 bytes in lines of 16 make 9 lines: 63990 + 8 * 2 passes 63999.
    EXPECT_EQ(refusal({63990, 2}),
              "The 9 DATA lines would be numbered up to 64006, past 63999: nothing was saved.");
}

bool HaveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Each source format, built by its own tool, gives back exactly the bytes that were saved.
TEST(RawData, SourcesAssembleToTheSavedBytes) {
    std::vector<std::uint8_t> bytes(0x211); // several blocks and a short last line
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 37 + 11);
    const MemoryImage image = ImageWith(0x3000, bytes);
    TempFolder folder;
    const std::string dir = folder.path().string() + "/";
    const struct {
        RawDataFormat format;
        const char* tool;
        std::string build; // from src.<ext> to out.bin
    } rows[] = {
        {RawDataFormat::Acme, "acme", "acme -f plain -o out.bin src.asm"},
        {RawDataFormat::Tass64, "64tass", "64tass -q --nostart -o out.bin src.asm"},
        {RawDataFormat::Ca65, "ca65", "ca65 -o src.o src.s && ld65 -t none -o out.bin src.o"},
        {RawDataFormat::C, "cc",
         "printf '#include <stdio.h>\\n#include \"src.c\"\\nint main(void) { return fwrite(chars_3000, 1, "
         "sizeof "
         "chars_3000, stdout) != sizeof chars_3000; }\\n' > main.c && cc -o dump main.c && ./dump > out.bin"},
    };
    int built = 0;
    for (const auto& row : rows) {
        if (!HaveTool(row.tool))
            continue; // CI installs them through scripts/setup.sh
        const RawDataLayout layout =
            row.format == RawDataFormat::C ? RawDataLayout::CharSet : RawDataLayout::Sprites;
        WriteRawDataFile(image, 0x3000, 0x3210, row.format, layout,
                         dir + "src" + RawDataExtension(row.format));
        std::filesystem::remove(dir + "out.bin");
        ASSERT_EQ(std::system(("cd '" + dir + "' && " + row.build).c_str()), 0) << row.build;
        EXPECT_EQ(ReadBytes(dir + "out.bin"), bytes) << row.tool;
        ++built;
    }
    if (built == 0)
        GTEST_SKIP() << "no assembler or C compiler installed";
}

} // namespace
} // namespace mosaiqua
