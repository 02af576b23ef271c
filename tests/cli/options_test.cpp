#include "cli/options.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

using namespace mosaiqua;
using namespace mosaiqua::cli;

namespace {

CliOptions Parsed(const std::vector<std::string>& args) {
    const ParseResult r = ParseArguments(args);
    if (const auto* e = std::get_if<UsageError>(&r))
        ADD_FAILURE() << "usage error: " << e->message;
    return std::holds_alternative<CliOptions>(r) ? std::get<CliOptions>(r) : CliOptions{};
}

std::string UsageMessage(const std::vector<std::string>& args) {
    const ParseResult r = ParseArguments(args);
    if (const auto* e = std::get_if<UsageError>(&r))
        return e->message;
    ADD_FAILURE() << "accepted";
    return {};
}

} // namespace

TEST(OptionParser, DefaultsAreTheWindowsStartUpSettings) {
    const CliOptions o = Parsed({"sprite", "snap.c64"});
    EXPECT_EQ(o.action, Action::Run);
    EXPECT_EQ(o.command, Command::Sprite);
    EXPECT_EQ(o.file, "snap.c64");
    EXPECT_EQ(o.address, 0);
    EXPECT_EQ(o.start, 0);
    EXPECT_EQ(o.end, 0x40);
    EXPECT_TRUE(o.load.skipHeader);
    EXPECT_TRUE(o.load.detectFormat);
    EXPECT_FALSE(o.multicolour);
    EXPECT_EQ(o.palette.keyword, "vic");
    EXPECT_FALSE(o.colours.has_value());
    const SaveSizeTexts& s = o.save.sizes;
    EXPECT_EQ(std::vector<std::string>({s.spriteWidth, s.spriteHeight, s.bitmapWidth, s.bitmapHeight,
                                        s.finalWidth, s.finalHeight}),
              std::vector<std::string>({"24", "21", "24", "21", "640", "480"}));
    EXPECT_EQ(o.save.spriteBitsPerPixel, 24);
    EXPECT_EQ(o.save.viewBitsPerPixel, 24);
    EXPECT_EQ(o.output, "");
    EXPECT_EQ(o.view, CharSetViewKind::cv8x8);
}

TEST(OptionParser, ReadsEveryCommandAndOption) {
    EXPECT_EQ(Parsed({"next7", "f"}).command, Command::NextSeven);
    EXPECT_EQ(Parsed({"range", "f"}).command, Command::Range);
    EXPECT_EQ(Parsed({"charset", "f"}).command, Command::CharSet);

    const CliOptions o =
        Parsed({"--multicolour", "sheet", "--start", "$1f00", "f.c64", "--end=0xFFFF", "--no-skip-header",
                "--sprite-size", "48,ab", "--bitmap-size=32,42", "--final-size", "96,84", "--depth", "16",
                "-o", "out dir/x.bmp", "--colours", "#102030,1,#A0b0C0,15"});
    EXPECT_EQ(o.command, Command::Sheet);
    EXPECT_EQ(o.file, "f.c64");
    EXPECT_EQ(o.start, 0x1F00);
    EXPECT_EQ(o.end, 0xFFFF);
    EXPECT_FALSE(o.load.skipHeader);
    EXPECT_TRUE(o.multicolour);
    // Sizes stay text: converting them is the saves' job.
    EXPECT_EQ(o.save.sizes.spriteWidth, "48");
    EXPECT_EQ(o.save.sizes.spriteHeight, "ab");
    EXPECT_EQ(o.save.sizes.bitmapWidth, "32");
    EXPECT_EQ(o.save.sizes.bitmapHeight, "42");
    EXPECT_EQ(o.save.sizes.finalWidth, "96");
    EXPECT_EQ(o.save.sizes.finalHeight, "84");
    EXPECT_EQ(o.save.spriteBitsPerPixel, 16);
    EXPECT_EQ(o.save.viewBitsPerPixel, 16);
    EXPECT_EQ(o.output, "out dir/x.bmp");
    // Code 1 is white, code 15 light grey (149, 149, 149) on the VIC-II table.
    EXPECT_EQ(o.colours, (ColourSlots{MakeColor(0x10, 0x20, 0x30), MakeColor(255, 255, 255),
                                      MakeColor(0xA0, 0xB0, 0xC0), MakeColor(149, 149, 149)}));

    EXPECT_EQ(Parsed({"sprite", "f", "--address", "8192"}).address, 0x2000);
    EXPECT_EQ(Parsed({"sprite", "f", "--address", "0x49"}).address, 0x49);
    EXPECT_EQ(Parsed({"next7", "f", "--address", "$FFFF"}).address, 0xFFFF);
    EXPECT_EQ(Parsed({"charset", "f", "--address", "65535"}).address, 0xFFFF);
    EXPECT_EQ(Parsed({"sprite", "f", "--depth", "32"}).save.spriteBitsPerPixel, 32);
    EXPECT_EQ(Parsed({"sprite", "f", "--depth", "24"}).save.spriteBitsPerPixel, 24);
    EXPECT_EQ(Parsed({"charset", "f", "--view", "8x16"}).view, CharSetViewKind::cv8x16);
    EXPECT_EQ(Parsed({"charset", "f", "--view", "16x16"}).view, CharSetViewKind::cv16x16);
}

TEST(OptionParser, ColourCodesComeFromThePaletteGivenAnywhere) {
    // Red is (104, 55, 43) on the VIC-II table and (122, 57, 39) on the CCS64 one.
    EXPECT_EQ(Parsed({"sprite", "f", "--colours", "0,2,2,1"}).colours->main, MakeColor(104, 55, 43));
    EXPECT_EQ(Parsed({"sprite", "f", "--colours", "0,2,2,1", "--palette", "ccs64"}).colours->main,
              MakeColor(122, 57, 39));
    EXPECT_EQ(Parsed({"sprite", "f", "--palette", "vic", "--colours", "0,2,2,1"}).colours->main,
              MakeColor(104, 55, 43));
}

TEST(OptionParser, HelpAndVersionNeedNothingElse) {
    EXPECT_EQ(Parsed({"--help"}).action, Action::Help);
    EXPECT_EQ(Parsed({"sprite", "-h"}).action, Action::Help);
    EXPECT_NE(UsageMessage({"--bogus", "--help"}).find("unknown option"), std::string::npos);
    EXPECT_EQ(Parsed({"--version"}).action, Action::Version);
    EXPECT_EQ(VersionText(), "Mosaiqua 1.05\nMIT licence");
    // Each command's help lists its own options, and only those.
    const std::string sheetHelp = Parsed({"sheet", "--help"}).helpText;
    EXPECT_NE(sheetHelp.find("--final-size W,H"), std::string::npos) << sheetHelp;
    EXPECT_EQ(sheetHelp.find("--view"), std::string::npos) << sheetHelp;
    EXPECT_NE(UsageText().find("charset"), std::string::npos);
    // "--" ends the options, so a file may start with a dash.
    EXPECT_EQ(Parsed({"sprite", "--address", "1", "--", "-x.c64"}).file, "-x.c64");
}

TEST(OptionParser, AddressesOutsideTheMemoryOrNotNumbersAreUsageErrors) {
    for (const char* bad : {"0x10000", "65536", "$1FFFF", "99999999999999999999"})
        EXPECT_NE(UsageMessage({"sprite", "f", "--address", bad}).find("above $FFFF"), std::string::npos)
            << bad;
    for (const char* bad : {"", "$", "0x", "12ab", "-1", "$G0", "0x1ZZZZ", " 12"})
        EXPECT_NE(UsageMessage({"range", "f", "--start", bad}).find("is not an address"), std::string::npos)
            << bad;
    EXPECT_NE(UsageMessage({"range", "f", "--end", "x"}).find("--end"), std::string::npos);
}

TEST(OptionParser, BadValuesAreUsageErrorsNamingTheValue) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"sprite", "f", "--colours", "0,1,2"}, "'0,1,2'"},
        {{"sprite", "f", "--colours", "0,1,2,3,4"}, "'0,1,2,3,4'"},
        {{"sprite", "f", "--colours", "#12345,1,2,3"}, "'#12345'"},
        {{"sprite", "f", "--colours", "#GG0000,1,2,3"}, "'#GG0000'"},
        {{"sprite", "f", "--colours", "16,1,2,3"}, "'16'"},
        {{"sprite", "f", "--colours", "red,1,2,3"}, "'red'"},
        {{"sprite", "f", "--colours", "0,,2,3"}, "''"},
        {{"sprite", "f", "--depth", "8"}, "'8'"},
        {{"sprite", "f", "--depth", "24bit"}, "'24bit'"},
        {{"sprite", "f", "--palette", "windows"}, "'windows'"},
        {{"charset", "f", "--view", "8x32"}, "'8x32'"},
        {{"sprite", "f", "--sprite-size", "24"}, "'24'"},
        {{"sprite", "f", "--bitmap-size", "1,2,3"}, "'1,2,3'"},
        {{"sprite", "f", "--colour", "0,1,2,3"}, "unknown option '--colour'"},
        {{"sprite", "f", "-x"}, "unknown option '-x'"},
        {{"sprite", "f", "--address"}, "needs a value"},
        {{"sprite", "f", "--multicolour=yes"}, "takes no value"},
        {{"sprite", "f", "-o", ""}, "-o needs a file name"},
        {{}, "no command"},
        {{"--multicolour"}, "no command"},
        {{"sprites", "f"}, "unknown command 'sprites'"},
        {{"sprite"}, "missing FILE"},
        {{"sprite", "f", "g"}, "unexpected argument 'g'"},
        {{"sprite", "f", "--start", "0"}, "--start does not apply to sprite"},
        {{"next7", "f", "--end", "0"}, "--end does not apply to next7"},
        {{"range", "f", "--address", "0"}, "--address does not apply to range"},
        {{"range", "f", "--final-size", "1,1"}, "--final-size does not apply to range"},
        {{"charset", "f", "--sprite-size", "1,1"}, "--sprite-size does not apply to charset"},
        {{"sheet", "f", "--view", "8x8"}, "--view does not apply to sheet"},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_NE(UsageMessage(args).find(expected), std::string::npos) << expected;
}
