#include "core/palettes.h"

#include "test_helpers.h"

#include <cstdio>
#include <sstream>

namespace mosaiqua {
namespace {

TEST(Palettes, EachKeywordGivesItsPublishedTable) {
    const struct {
        const char *keyword, *name, *rgb;
    } rows[] = {
        {"vic", "Pepto PAL",
         "000000 FFFFFF 68372B 70A4B2 6F3D86 588D43 352879 B8C76F 6F4F25 433900 9A6759 444444 6C6C6C 9AD284 "
         "6C5EB5 "
         "959595"},
        {"colodore", "Colodore",
         "000000 FFFFFF 813338 75CEC8 8E3C97 56AC4D 2E2C9B EDF171 8E5029 553800 C46C71 4A4A4A 7B7B7B A9FF9F "
         "706DEB "
         "B2B2B2"},
        {"community", "Community Colors",
         "000000 FFFFFF AF2A29 62D8CC B03FB6 4AC64A 3739C4 E4ED4E B6591C 683808 EA746C 4D4D4D 848484 A6FA9E "
         "707CE6 "
         "B6B6B5"},
        {"6569r5", "PALette 6569R5",
         "000000 FFFFFF 8D3043 66C0AD 90359F 49A64B 3829AD C7D555 8E5117 533D00 BE6275 4E4E4E 767676 8CE88E "
         "7162E6 "
         "A3A3A3"},
    };
    for (const auto& row : rows) {
        const std::optional<Palette> palette = PaletteForKeyword(row.keyword);
        ASSERT_TRUE(palette) << row.keyword;
        EXPECT_EQ(palette->name, row.name);
        std::istringstream in(row.rgb);
        for (const TColor colour : palette->codeTable()) { // TColor holds red in its low byte
            std::string rgb;
            in >> rgb;
            char text[7];
            std::snprintf(text, sizeof text, "%02X%02X%02X", RedOf(colour), GreenOf(colour), BlueOf(colour));
            EXPECT_EQ(text, rgb) << row.keyword;
        }
    }
    // The keywords name the same tables as the window's two table kinds; they are case-sensitive.
    EXPECT_EQ(PaletteForKeyword("vic")->codeTable(), *TableFor(PaletteKind::pkTrueVic));
    EXPECT_EQ(PaletteForKeyword("ccs64")->codeTable(), *TableFor(PaletteKind::pkCcs64));
    EXPECT_FALSE(PaletteForKeyword("VIC"));
    EXPECT_EQ(PaletteKeywordList(), "vic|ccs64|colodore|community|6569r5");
}

TEST(Palettes, VicePaletteFileWithCommentsAndBothColumnCountsLoads) {
    std::string text = "# VICE palette file\n\n#\n# r g b dither\n";
    for (int i = 0; i < 16; ++i) // short and mixed-case numbers, CR LF lines too
        text += std::string(1, "0123456789abcdef"[i]) + "  a " + (i % 2 ? "Ff 4\n" : "0\r\n");
    test::TempFolder folder;
    test::WriteBytes(folder.file("mine.vpl"), std::vector<std::uint8_t>(text.begin(), text.end()));
    const Palette loaded = LoadVicePaletteFile(folder.file("mine.vpl"));
    EXPECT_EQ(loaded.name, "mine.vpl");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ((*loaded.table)[std::size_t(i)], TColor(i | 0x0A00 | (i % 2 ? 0xFF0000 : 0))) << i;
    EXPECT_NE(
        test::UserErrorMessage([&] { LoadVicePaletteFile(folder.file("none.vpl")); }).find("no such file"),
        std::string::npos);
}

TEST(Palettes, BadVicePaletteFilesAreRefusedWithTheLine) {
    std::string fifteen = "# header\n";
    for (int i = 0; i < 15; ++i)
        fifteen += "10 20 30\n";
    const auto message = [](const std::string& text) {
        return test::UserErrorMessage([&] { ParseVicePalette(text, "p.vpl"); });
    };
    const std::string kept = " The palette was not changed.";
    EXPECT_EQ(message(fifteen),
              "p.vpl, line 16: the file ends after 15 colours; a VIC-II palette has 16." + kept);
    EXPECT_EQ(message(fifteen + "1 2 3\n4 5 6\n"),
              "p.vpl, line 18: more than 16 colours; a VIC-II palette has 16." + kept);
    EXPECT_EQ(message("# a\n10 2G 30\n"),
              "p.vpl, line 2: '2G' is not a hexadecimal number from 0 to FF." + kept);
    EXPECT_EQ(message("100 0 0\n"), "p.vpl, line 1: '100' is not a hexadecimal number from 0 to FF." + kept);
    EXPECT_EQ(message("1 2\n"),
              "p.vpl, line 1: expected red, green and blue as hexadecimal numbers, found 2 columns." + kept);
    EXPECT_EQ(message(""), "p.vpl, line 1: the file holds no colours; a VIC-II palette has 16." + kept);
}

} // namespace
} // namespace mosaiqua
