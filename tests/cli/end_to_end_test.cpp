// Runs the built mosaiqua-cli and reads back what it wrote.
#include "../core/bmp_reader.h"
#include "../core/known_pictures.h"
#include "../core/scripted_vice.h"
#include "../core/snapshot_fixture.h"
#include "../core/test_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define MOSAIQUA_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOSAIQUA_TEST_UNDER_ASAN 1
#endif
#endif

namespace fs = std::filesystem;
using mosaiqua::test::kBalloon;
using mosaiqua::test::kLetterA;

namespace {

constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return mosaiqua::MakeColor(r, g, b);
}

const std::string kData = MOSAIQUA_TEST_DATA_DIR;
const std::string kBalloonFile = kData + "/ballon_demo.prg";
const std::string kDemo = MOSAIQUA_DEMO_SNAPSHOT;

constexpr std::uint32_t kBlack = 0;
constexpr std::uint32_t kStartMain = Rgb(0x6C, 0x6C, 0x6C); // main colour at start-up
// VIC-II table, codes 0..3.
constexpr std::array<std::uint32_t, 4> kVic{Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(104, 55, 43),
                                            Rgb(112, 164, 178)};
constexpr std::array<std::uint32_t, 4> kRgbSlots{Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(0, 255, 0),
                                                 Rgb(0, 0, 255)};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A BMP as the strict reader understood it; `error` is empty when it passed every check.
struct BmpFile : mosaiqua::test::BmpPicture {
    std::string error;
};

BmpFile ReadBmpStrict(const fs::path& path) {
    const std::string text = Slurp(path);
    BmpFile bmp;
    bmp.error = mosaiqua::test::ParseBmp(std::vector<std::uint8_t>(text.begin(), text.end()), bmp);
    return bmp;
}

void ExpectRows(const BmpFile& bmp, int x0, int y0, const std::vector<std::string>& rows, std::uint32_t on,
                std::uint32_t off, int scale = 1) {
    ASSERT_EQ(bmp.error, "");
    for (int y = 0; y < int(rows.size()) * scale; ++y)
        for (int x = 0; x < int(rows[0].size()) * scale; ++x)
            ASSERT_EQ(bmp.at(x0 + x, y0 + y), rows[y / scale][x / scale] == '#' ? on : off) << x << "," << y;
}

// Every pixel of a 24 x 21 cell against a rule giving the colour slot of (x, y).
template <typename Slot>
void ExpectCell(const BmpFile& bmp, int x0, int y0, const std::array<std::uint32_t, 4>& colours, Slot slot) {
    ASSERT_EQ(bmp.error, "");
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(bmp.at(x0 + x, y0 + y), colours[slot(x, y)]) << x << "," << y;
}

class CliRun : public ::testing::Test {
protected:
    struct Result {
        int exitCode;
        std::string out;
        std::string err;
    };

    void SetUp() override {
        m_root =
            fs::temp_directory_path() / ("mosaiqua-cli-test-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(work());
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path work() const { return m_root / "work"; }
    BmpFile Bmp(const std::string& name) const { return ReadBmpStrict(work() / name); }
    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(work()))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Runs the program in work(), its output captured beside that folder.
    Result Run(const std::vector<std::string>& args, const std::string& shellFirst = "") const {
        std::string command = "cd " + Quote(work().string()) + " && " + shellFirst + Quote(MOSAIQUA_CLI_PATH);
        for (const auto& a : args)
            command += " " + Quote(a);
        command += " >" + Quote((m_root / "out.txt").string()) + " 2>" + Quote((m_root / "err.txt").string());
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(m_root / "out.txt"),
                Slurp(m_root / "err.txt")};
    }

    fs::path m_root;
};

TEST_F(CliRun, BalloonSpriteIsSavedPixelForPixel) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    const Result r = Run({"sprite", kBalloonFile, "--raw", "--no-skip-header", "--address", "0x49"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1 sprite saved ok.\nwritten: spr0049.BMP\n");
    EXPECT_EQ(fs::file_size(work() / "spr0049.BMP"), 54u + 21 * 72);
    const BmpFile bmp = Bmp("spr0049.BMP");
    EXPECT_EQ(bmp.bitsPerPixel, 24);
    ASSERT_EQ(std::make_pair(bmp.width, bmp.height), std::make_pair(24, 21));
    ExpectRows(bmp, 0, 0, kBalloon, kStartMain, kBlack);
}

TEST_F(CliRun, ColoursPaletteAndModeReachThePixels) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    ASSERT_EQ(Run({"sprite", kBalloonFile, "--raw", "--no-skip-header", "--address", "$49", "--colours",
                   "#000080,0,2,1", "--palette", "ccs64", "-o", "red.bmp"})
                  .exitCode,
              0);
    ExpectRows(Bmp("red.bmp"), 0, 0, kBalloon, Rgb(122, 57, 39), Rgb(0, 0, 128));

    // Multicolour: each pair of bits, high bit first, picks one slot for two pixels.
    ASSERT_EQ(Run({"sprite", kBalloonFile, "--raw", "--no-skip-header", "--address", "73", "--multicolour",
                   "--colours", "0,1,2,3", "-o", "mc.bmp"})
                  .exitCode,
              0);
    ExpectCell(Bmp("mc.bmp"), 0, 0, kVic, [](int x, int y) {
        const std::string& row = kBalloon[y];
        return (row[x / 2 * 2] == '#' ? 2 : 0) + (row[x / 2 * 2 + 1] == '#' ? 1 : 0);
    });
}

TEST_F(CliRun, SaveSizesStretchAndPlaceTheSprite) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    const std::vector<std::string> balloon{"sprite",           kBalloonFile, "--raw",
                                           "--no-skip-header", "--address",  "0x49"};
    auto args = balloon;
    args.insert(args.end(), {"--sprite-size", "48,42", "--bitmap-size", "48,42", "-o", "big.bmp"});
    ASSERT_EQ(Run(args).exitCode, 0);
    const BmpFile big = Bmp("big.bmp");
    ASSERT_EQ(std::make_pair(big.width, big.height), std::make_pair(48, 42));
    ExpectRows(big, 0, 0, kBalloon, kStartMain, kBlack, 2);

    args = balloon;
    args.insert(args.end(), {"--bitmap-size", "32,32", "-o", "cell.bmp"});
    ASSERT_EQ(Run(args).exitCode, 0);
    const BmpFile cell = Bmp("cell.bmp");
    ASSERT_EQ(std::make_pair(cell.width, cell.height), std::make_pair(32, 32));
    ExpectRows(cell, 0, 0, kBalloon, kStartMain, kBlack);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(cell.at(24 + i % 8, i), kBlack);
        EXPECT_EQ(cell.at(i, 21 + i % 11), kBlack);
    }
}

TEST_F(CliRun, DepthsOf32And16Bits) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    const std::vector<std::string> balloon{"sprite",           kBalloonFile, "--raw",
                                           "--no-skip-header", "--address",  "0x49"};
    auto args = balloon;
    args.insert(args.end(), {"--depth", "32", "-o", "d32.bmp"});
    ASSERT_EQ(Run(args).exitCode, 0);
    EXPECT_EQ(fs::file_size(work() / "d32.bmp"), 54u + 21 * 24 * 4);
    ExpectRows(Bmp("d32.bmp"), 0, 0, kBalloon, kStartMain, kBlack);

    args = balloon;
    args.insert(args.end(), {"--depth", "16", "-o", "d16.bmp"});
    ASSERT_EQ(Run(args).exitCode, 0);
    EXPECT_EQ(fs::file_size(work() / "d16.bmp"), 54u + 12 + 21 * 24 * 2);
    // 5-6-5 bits, widened back with zero low bits.
    ExpectRows(Bmp("d16.bmp"), 0, 0, kBalloon, Rgb(0x6C >> 3 << 3, 0x6C >> 2 << 2, 0x6C >> 3 << 3), 0);
}

TEST_F(CliRun, DemoSnapshotHoldsItsPicturesWhereDocumented) {
    // A VICE snapshot: 37 header bytes, then C64MEM with its RAM 26 bytes into the module.
    const std::string demo = Slurp(kDemo);
    ASSERT_GT(demo.size(), 63u + 65536);
    EXPECT_EQ(demo.substr(0, 19), "VICE Snapshot File\x1A");
    EXPECT_EQ(demo.substr(37, 7), std::string("C64MEM\0", 7));
    constexpr std::size_t kRam = 63;
    // Checkerboard row 0 at $2300: pixels 0-3 set, 4-7 clear, ...
    EXPECT_EQ(std::uint8_t(demo[kRam + 0x2300]), 0xF0);
    EXPECT_EQ(std::uint8_t(demo[kRam + 0x2300 + 3 * 3]), 0x0F);
    // Code 1 at $3000 is the emboldened A; 129 is the same inverted.
    EXPECT_EQ(std::uint8_t(demo[kRam + 0x3008]), 0x3C);
    EXPECT_EQ(std::uint8_t(demo[kRam + 0x3408]), 0xC3);
}

TEST_F(CliRun, NextSevenUsesTheCellWidth) {
    const Result r = Run({"next7", kDemo, "--address", "0x22C0", "--bitmap-size", "30,21"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "7 sprites saved ok.\nwritten: 23002480.BMP\n");
    const BmpFile bmp = Bmp("23002480.BMP");
    ASSERT_EQ(std::make_pair(bmp.width, bmp.height), std::make_pair(7 * 30, 21));
    const std::array<std::uint32_t, 4> hires{kBlack, kBlack, kStartMain, kBlack};
    ExpectCell(bmp, 0, 0, hires, [](int x, int y) { return (x / 4 + y / 3) % 2 == 0 ? 2 : 0; });
    for (int y = 0; y < 21; ++y) {
        for (int x = 24; x < 30; ++x)
            ASSERT_EQ(bmp.at(x, y), kBlack);
        for (int x = 4 * 30; x < 7 * 30; ++x) // $2400 on is empty
            ASSERT_EQ(bmp.at(x, y), kBlack);
    }
}

TEST_F(CliRun, RangeWritesOneFilePerSprite) {
    const Result r = Run({"range", kDemo, "--start", "0x2340", "--end", "0x2400", "--multicolour",
                          "--colours", "#000000,#FF0000,#00FF00,#0000FF", "-o", "mc.bmp"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3 sprites saved ok.\nwritten: mc2340.bmp .. mc23C0.bmp\n");
    EXPECT_EQ(Files(), (std::set<std::string>{"mc2340.bmp", "mc2380.bmp", "mc23C0.bmp"}));
    ExpectCell(Bmp("mc2340.bmp"), 0, 0, kRgbSlots, [](int x, int) { return x / 2 / 3; });
    ExpectCell(Bmp("mc2380.bmp"), 0, 0, kRgbSlots, [](int, int y) { return y * 4 / 21; });
    ExpectCell(Bmp("mc23C0.bmp"), 0, 0, kRgbSlots, [](int x, int y) { return (x / 2 + y) / 2 % 4; });

    const Result preset = Run({"range", kDemo, "--start", "$2000", "--end", "$2100"});
    EXPECT_EQ(preset.out, "4 sprites saved ok.\nwritten: spr2000.bmp .. spr20C0.bmp\n");
    EXPECT_EQ(Files().count("spr20C0.bmp"), 1u);
    EXPECT_EQ(Files().size(), 3u + 4);
}

TEST_F(CliRun, SheetLaysTheRangeOutInRows) {
    const Result r = Run({"sheet", kDemo, "--start", "0x2300", "--end", "0x2400", "--final-size", "48,42",
                          "--multicolour", "--colours", "#000000,#FF0000,#00FF00,#0000FF"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "4 sprites saved ok to a single bitmap.\nwritten: bitmap.BMP\n");
    EXPECT_EQ(Files(), std::set<std::string>{"bitmap.BMP"});
    const BmpFile bmp = Bmp("bitmap.BMP");
    ASSERT_EQ(std::make_pair(bmp.width, bmp.height), std::make_pair(48, 42));
    // Both bits of every checkerboard pair are equal: 00 or 11.
    ExpectCell(bmp, 0, 0, kRgbSlots, [](int x, int y) { return (x / 4 + y / 3) % 2 == 0 ? 3 : 0; });
    ExpectCell(bmp, 24, 0, kRgbSlots, [](int x, int) { return x / 2 / 3; });
    ExpectCell(bmp, 0, 21, kRgbSlots, [](int, int y) { return y * 4 / 21; });
    ExpectCell(bmp, 24, 21, kRgbSlots, [](int x, int y) { return (x / 2 + y) / 2 % 4; });
}

TEST_F(CliRun, CharSetViewsShowTheGlyphs) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kData + "/chargen_openroms.rom");
    Result r = Run({"charset", kDemo, "--address", "0x3000"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "8 x 8 CharSet saved ok.\nwritten: chr3000.BMP\n");
    EXPECT_EQ(fs::file_size(work() / "chr3000.BMP"), 54u + 72 * 240 * 3);
    ExpectRows(Bmp("chr3000.BMP"), 8, 0, kLetterA, kStartMain, kBlack);

    r = Run({"charset", kDemo, "--address", "0x3000", "--view", "16x16", "-o", "c16.bmp"});
    EXPECT_EQ(r.out, "16 x 16 CharSet saved ok.\nwritten: c16.bmp\n");
    const BmpFile c16 = Bmp("c16.bmp");
    EXPECT_EQ(std::make_pair(c16.width, c16.height), std::make_pair(480, 48));
    ExpectRows(c16, 16, 0, kLetterA, kStartMain, kBlack);

    r = Run({"charset", kDemo, "--address", "0x3000", "--view", "8x16", "-o", "c8x16.bmp"});
    EXPECT_EQ(r.out, "8 x 16 CharSet saved ok.\nwritten: c8x16.bmp\n");
    const BmpFile c8x16 = Bmp("c8x16.bmp");
    EXPECT_EQ(std::make_pair(c8x16.width, c8x16.height), std::make_pair(240, 144));
    ExpectRows(c8x16, 8, 0, kLetterA, kStartMain, kBlack);

    // The ROM itself, read from its first byte, in blue and white.
    ASSERT_EQ(Run({"charset", kData + "/chargen_openroms.rom", "--no-skip-header", "--colours", "6,0,1,0",
                   "-o", "rom.bmp"})
                  .exitCode,
              0);
    ExpectRows(Bmp("rom.bmp"), 8, 0, kLetterA, Rgb(255, 255, 255), Rgb(53, 40, 121));
}

TEST_F(CliRun, FailuresExitOneAndWriteNothing) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    Result r = Run({"sprite", "no-such-snapshot.c64"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no-such-snapshot.c64"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");

    r = Run({"sprite", kBalloonFile, "-o", "no/such/folder/x.bmp"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("Cannot create file ", 0), 0u) << r.err;

    r = Run({"range", kDemo, "--start", "0", "--end", "0x10"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err, "");
    EXPECT_EQ(Run({"range", kDemo, "--start", "0x800", "--end", "0x800"}).exitCode, 1);

    r = Run({"sheet", kDemo, "--bitmap-size", "0,21"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "A bitmap of 0 x 21 pixels cannot be saved: width and height must be at least 1.\n");
    EXPECT_TRUE(Files().empty());

    // A bad size stops the save before the old file is touched.
    std::ofstream(work() / "spr0049.BMP") << "old";
    r = Run(
        {"sprite", kBalloonFile, "--raw", "--no-skip-header", "--address", "0x49", "--sprite-size", "ab,21"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "--sprite-size: 'ab' is not a valid integer value\n");
    EXPECT_EQ(Slurp(work() / "spr0049.BMP"), "old");
    EXPECT_EQ(Files().size(), 1u);
}

TEST_F(CliRun, UsageErrorsExitTwoHelpAndVersionZero) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    Result r = Run({"sprite", kBalloonFile, "--address", "0x10000"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("above $FFFF"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--help"), std::string::npos);
    EXPECT_EQ(Run({"sprite", kBalloonFile, "--depth", "8"}).exitCode, 2);
    EXPECT_EQ(Run({"paint", kBalloonFile}).exitCode, 2);
    EXPECT_TRUE(Files().empty());

    r = Run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("Usage: mosaiqua-cli", 0), 0u);
    r = Run({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Mosaiqua 1.05\nMIT licence\n");
}

// The loaded file is never an output, a file may start with a dash after "--", and a sheet says
// how much of the range it holds.
TEST_F(CliRun, TheSnapshotIsKeptAndTheSheetCountsWhatFits) {
    fs::copy_file(kDemo, work() / "-in.c64");
    const std::string demo = Slurp(work() / "-in.c64");
    Result r = Run({"sprite", "-o", "./-in.c64", "--", "-in.c64"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "Cannot create file ./-in.c64: it is the file that was loaded, and writing over it would "
              "destroy it\n");
    EXPECT_EQ(Slurp(work() / "-in.c64"), demo);

    r = Run({"sheet", "--start", "0x2000", "--end", "0x2400", "--final-size", "23,21", "--", "-in.c64"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Files(), std::set<std::string>{"-in.c64"});
    r = Run({"sheet", "--start", "0x2000", "--end", "0x2400", "--final-size", "48,21", "--", "-in.c64"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2 of 16 sprites saved ok to a single bitmap.\nwritten: bitmap.BMP\n");

    // The picture goes to standard output whole, the status to stderr.
    r = Run({"sprite", "-o", "/dev/stdout", "--", "-in.c64"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.size(), 54u + 21 * 72);
    EXPECT_EQ(r.err, "1 sprite saved ok.\nwritten: /dev/stdout\n");

    r = Run({"charset", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("--view"), std::string::npos) << r.out;
}

// Detection is on by default: the PRG loads at its address $0800, so the balloon at file offset
// $49 is at $0847.
TEST_F(CliRun, InfoNamesTheFormatAndAPrgLoadsAtItsAddress) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    Result r = Run({"info", kBalloonFile});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "File:          " + kBalloonFile +
                         "\nFormat:        PRG: $0800-$0885\nNo machine state in this file.\n");
    r = Run({"info", kBalloonFile, "--raw", "--no-skip-header", "--json"});
    EXPECT_EQ(r.out, "{\"format\": \"raw\", \"machine\": null, \"vice_version\": null, "
                     "\"ram\": {\"start\": 0, \"end\": 135}, \"vic\": null}\n"); // 136 bytes
    ASSERT_EQ(Run({"sprite", kBalloonFile, "--address", "0x847"}).exitCode, 0);
    ExpectRows(Bmp("spr0847.BMP"), 0, 0, kBalloon, kStartMain, kBlack);
}

TEST_F(CliRun, PngByNameOrFormatWithTransparency) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    Result r = Run({"sprite", kBalloonFile, "--address", "0x847", "-o", "b.PNG"});
    EXPECT_EQ(r.out, "1 sprite saved ok.\nwritten: b.PNG\n") << r.err;
    const std::string png = Slurp(work() / "b.PNG");
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\x18\0\0\0\x15", 8)); // 24 x 21
    EXPECT_EQ(png.find("tRNS"), std::string::npos);

    // Main colour = background: the note says the balloon turns transparent as well.
    r = Run({"sprite", kBalloonFile, "--address", "0x847", "--format", "png", "--transparent", "--colours",
             "0,1,0,1"});
    EXPECT_EQ(r.out, "1 sprite saved ok. A colour slot has the background's colour: its pixels are "
                     "transparent too.\nwritten: spr0847.png\n");
    EXPECT_NE(Slurp(work() / "spr0847.png").find("tRNS"), std::string::npos);
}

TEST_F(CliRun, OnScreenWritesTheEnabledSprites) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    mosaiqua::test::Bytes regs(64, 0);
    regs[0x15] = 0x05; // sprites 0 and 2 on
    regs[0x18] = 0x0E; // screen at the bank
    mosaiqua::test::Bytes mem = mosaiqua::test::Ram(0);
    std::fill(mem.begin() + 4 + 0x4000, mem.end(), 0);
    mem[4 + 0x43F8] = 71;   // sprite 0 at $4000 + 71 * 64 = $51C0
    mem[4 + 0x43FA] = 0xFF; // sprite 2 at $7FC0
    mosaiqua::test::Snapshot s("C64", true);
    s.module("MAINCPU", mosaiqua::test::Bytes(103, 0)).module("C64MEM", mem);
    s.module("CIA2", {0x02, 0xFF, 0x3F});
    s.module("VIC-II", mosaiqua::test::X64Vic(regs, 5));
    std::ofstream(work() / "game.vsf", std::ios::binary)
        .write(reinterpret_cast<const char*>(s.bytes.data()), std::streamsize(s.bytes.size()));
    fs::create_directory(work() / "out");

    const Result r = Run({"onscreen", "game.vsf", "-o", "out", "--format", "png"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "out/sprite0_51C0.png\nout/sprite2_7FC0.png\n");
    EXPECT_EQ(Slurp(work() / "out/sprite0_51C0.png").substr(1, 3), "PNG");
    EXPECT_EQ(Run({"onscreen", kBalloonFile}).exitCode, 1); // no machine state
}

TEST_F(CliRun, AnimWritesAGif) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    Result r =
        Run({"anim", kBalloonFile, "--address", "0x847", "--frames", "2", "--delay", "50", "-o", "a.gif"});
    EXPECT_EQ(r.out, "2 sprites saved ok as an animation.\nwritten: a.gif\n") << r.err;
    EXPECT_EQ(Slurp(work() / "a.gif").substr(0, 6), "GIF89a");
    EXPECT_EQ(Run({"anim", kBalloonFile, "--address", "0x847", "--frames", "1"}).exitCode, 1);
    EXPECT_EQ(Run({"anim", kBalloonFile}).exitCode, 2); // --address is required
}

TEST_F(CliRun, DataIncludesTheEndAddress) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kBalloonFile);
    const Result r =
        Run({"data", kBalloonFile, "--start", "0x847", "--end", "0x849", "--format", "bin", "-o", "x.bin"});
    EXPECT_EQ(r.out, "3 bytes from $0847 to $0849 saved ok.\nwritten: x.bin\n") << r.err;
    EXPECT_EQ(Slurp(work() / "x.bin"), Slurp(kBalloonFile).substr(0x49, 3));
    EXPECT_EQ(Run({"data", kBalloonFile, "--start", "0x847", "--format", "bin"}).exitCode, 2);
}

// Sizes past a limit, odd counts and memory running out each get a plain sentence.
TEST_F(CliRun, LimitsCountsAndMemoryAreWordedPlainly) {
    Result r = Run({"anim", kDemo, "--address", "0x2000", "--frames", "64", "--bitmap-size", "8192,8192",
                    "--sprite-size", "8192,8192"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "An animation of 64 frames of 8192 x 8192 pixels is too large to save (the limit is "
                     "67108864 pixels in all frames together).\n");
    r = Run({"anim", kDemo, "--address", "0x2000", "--delay", "-1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "A frame's delay is 20 to 2000 ms in steps of 10, not -1: nothing was saved.\n");
    r = Run({"scan", kDemo, "--top", "-2"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(
        r.err.rfind("mosaiqua-cli: --top: '-2' is not -1 (every candidate) or a count of 0 or more\n", 0), 0u)
        << r.err;
    EXPECT_EQ(Run({"scan", kDemo, "--top", "-1"}).exitCode, 0);
    EXPECT_TRUE(Files().empty());

    EXPECT_EQ(Run({"range", kDemo, "--start", "0x2000", "--end", "0x2040"}).out,
              "1 sprite saved ok.\nwritten: spr2000.bmp\n");
    EXPECT_EQ(Run({"sheet", kDemo, "--start", "0x2000", "--end", "0x2040", "-o", "s.bmp"}).out,
              "1 sprite saved ok to a single bitmap.\nwritten: s.bmp\n");
    EXPECT_EQ(
        Run({"data", kDemo, "--start", "0x2000", "--end", "0x2000", "--format", "acme", "-o", "b.a"}).out,
        "1 byte from $2000 to $2000 saved ok.\nwritten: b.a\n");
    EXPECT_EQ(Slurp(work() / "b.a").rfind("; $2000-$2000, 1 byte, saved by Mosaiqua\n", 0), 0u);

    // A raw file shorter than its header and 64 KB: the info says which bytes are RAM and which header.
    std::ofstream(work() / "short.c64", std::ios::binary) << std::string(1148 + 100, 'x');
    EXPECT_EQ(
        Run({"info", "short.c64"}).out,
        "File:          short.c64\nFormat:        raw memory, read into $0000-$047B: $0000-$0063 from "
        "offset 1148 on, $0064-$047B header bytes (offsets 100-1147)\nNo machine state in this file.\n");

#ifdef MOSAIQUA_TEST_UNDER_ASAN
    GTEST_SKIP() << "a cap on address space stops the AddressSanitizer itself";
#else
    // 8192 x 8192 passes the bitmap limit but needs 256 MB, more than the cap allows.
    r = Run({"sprite", kDemo, "--bitmap-size", "8192,8192", "--sprite-size", "8192,8192", "-o", "big.bmp"},
            "ulimit -v 200000 && ");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "mosaiqua-cli: There is not enough memory for this: the command was stopped and nothing "
                     "was saved.\n");
    EXPECT_FALSE(fs::exists(work() / "big.bmp"));
#endif
}

TEST_F(CliRun, ScanFindsTheDemoCharSet) {
    // Without the ROM the demo maker draws a character set of its own, which scores lower.
    MOSAIQUA_SKIP_WITHOUT_DATA(kData + "/chargen_openroms.rom");
    const Result r = Run({"scan", kDemo, "--json", "--top", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"sprites\": [{\"address\": ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"charsets\": [{\"address\": 12288, "), std::string::npos) << r.out; // $3000
}

TEST_F(CliRun, OverviewOfTheCharSetPage) {
    const Result r = Run({"overview", kDemo, "--charset", "-o", "o.bmp"});
    EXPECT_EQ(r.out, "Overview saved ok.\nwritten: o.bmp\n") << r.err;
    const BmpFile bmp = Bmp("o.bmp");
    ASSERT_EQ(bmp.error, "");
    // 32 blocks of 2 KB, 8 across, each 16 x 16 characters of 8 pixels.
    EXPECT_EQ(std::make_pair(bmp.width, bmp.height), std::make_pair(8 * 128, 4 * 128));
}

// Runs a shell line in work() with the program as $CLI; returns the exit status, standard error in `err`.
int Shell(const fs::path& work, const std::string& line, std::string& err) {
    const fs::path errors = work.parent_path() / "shell-err.txt";
    const std::string command = "cd " + Quote(work.string()) + " && CLI=" + Quote(MOSAIQUA_CLI_PATH) +
                                " DEMO=" + Quote(kDemo) + " sh -c " + Quote(line) + " 2>" +
                                Quote(errors.string());
    const int status = std::system(command.c_str());
    err = Slurp(errors);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(CliRun, StandardOutputKeepsEveryLineAndAFailedOneIsAFailure) {
    std::string err;
    const std::string data = "$CLI data $DEMO --start 0x2000 --end 0x2002 --format acme";
    ASSERT_EQ(Shell(work(), "{ echo HEADER; " + data + " -o /dev/stdout; echo FOOTER; } > group.asm", err), 0)
        << err;
    const std::string group = Slurp(work() / "group.asm");
    EXPECT_EQ(group.rfind("HEADER\n", 0), 0u) << group;
    EXPECT_EQ(group.substr(group.size() - 7), "FOOTER\n");
    EXPECT_EQ(err, "3 bytes from $2000 to $2002 saved ok.\nwritten: /dev/stdout\n"); // the status moves aside
    // "-" is standard output, and >> appends.
    ASSERT_EQ(Shell(work(), data + " -o - >> log.asm && " + data + " -o /dev/fd/1 >> log.asm", err), 0)
        << err;
    const std::string log = Slurp(work() / "log.asm");
    const std::string block = log.substr(0, log.size() / 2);
    EXPECT_EQ(log, block + block);
    EXPECT_NE(block.find("$2000"), std::string::npos);

    // Nothing written is a failure: exit 1 with the system's reason.
    for (const std::string line : {"$CLI info $DEMO --json > /dev/full", "$CLI --help > /dev/full"}) {
        EXPECT_EQ(Shell(work(), line, err), 1) << line;
        EXPECT_EQ(err, "mosaiqua-cli: cannot write to standard output: No space left on device\n") << line;
    }
    EXPECT_EQ(Shell(work(), "$CLI info $DEMO >&-", err), 1);
    EXPECT_EQ(err, "mosaiqua-cli: cannot write to standard output: Bad file descriptor\n");
}

TEST_F(CliRun, RangeRefusesDevicesFifosAndFolderNames) {
    std::string err;
    ASSERT_EQ(::mkfifo((work() / "pipe").c_str(), 0600), 0);
    for (const std::string target : {"/dev/null", "/dev/stdout", "pipe", ".", "..", "../"}) {
        EXPECT_EQ(Shell(work(), "$CLI range $DEMO --start 0x2000 --end 0x2080 -o " + target, err), 2)
            << target;
        EXPECT_EQ(err, "mosaiqua-cli: Cannot save sprites to " + target +
                           ": a range writes one file per sprite and needs a file name, not " +
                           (target.starts_with('.') ? "a folder" : "a device or a FIFO") +
                           ".\nTry 'mosaiqua-cli --help'.\n");
    }
    EXPECT_FALSE(fs::exists("/dev/2000.bmp"));
    EXPECT_FALSE(fs::exists("/dev/st2000.bmp"));
    EXPECT_EQ(Files(), std::set<std::string>{"pipe"});
    EXPECT_EQ(std::distance(fs::directory_iterator(m_root), fs::directory_iterator()),
              2); // work, shell-err.txt
}

} // namespace

TEST_F(CliRun, ScreenDrawsTheSnapshotsFrame) {
    // Without the border, twice the size: the top-left cell is the rainbow bar's red block (code 2),
    // the bottom-right one the bar's last colour, purple (code 4).
    const Result r = Run({"screen", kDemo, "--no-border", "--scale", "2", "--format", "bmp", "-o", "s.bmp"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Screen picture saved ok.\nwritten: s.bmp\n");
    const BmpFile bmp = Bmp("s.bmp");
    ASSERT_EQ(bmp.error, "");
    EXPECT_EQ(bmp.width, 640);
    EXPECT_EQ(bmp.height, 400);
    EXPECT_EQ(bmp.at(0, 0), kVic[2]);
    EXPECT_EQ(bmp.at(15, 15), kVic[2]);
    EXPECT_EQ(bmp.at(639, 399), Rgb(111, 61, 134));

    // The default name; a file without machine state and a ROM of the wrong size are errors.
    EXPECT_EQ(Run({"screen", kDemo}).exitCode, 0);
    EXPECT_EQ(Slurp(work() / "screen.png").substr(1, 3), "PNG");
    std::ofstream(work() / "plain.bin") << "no state";
    const Result plain = Run({"screen", "plain.bin", "-o", "none.png"});
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_NE(plain.err.find("holds no machine state"), std::string::npos);
    std::ofstream(work() / "short.rom") << "too short";
    EXPECT_EQ(Run({"screen", kDemo, "--chargen", "short.rom", "-o", "none.png"}).exitCode, 1);
    EXPECT_FALSE(fs::exists(work() / "none.png"));
}

// A bitmap anywhere in memory, as a picture or a Koala file; a Koala file opens in its own colours.
TEST_F(CliRun, BitmapSavesAPictureOrAKoalaFileThatOpensAgainAlike) {
    const Result text = Run({"bitmap", kDemo});
    EXPECT_EQ(text.exitCode, 2);
    EXPECT_NE(text.err.find("give --address and --screen"), std::string::npos) << text.err;

    Result r = Run({"bitmap", kDemo, "--address", "$2000", "--screen", "$0400", "-o", "pic.kla"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Koala Painter picture saved ok.\nwritten: pic.kla\n");
    EXPECT_EQ(Slurp(work() / "pic.kla").size(), 10003u);
    ASSERT_EQ(Run({"bitmap", "pic.kla", "--format", "bmp", "-o", "koala.bmp"}).exitCode, 0);
    ASSERT_EQ(Run({"bitmap", kDemo, "--address", "$2000", "--screen", "$0400", "--mode", "multicolour", "-o",
                   "direct.bmp"})
                  .exitCode,
              0);
    const BmpFile koala = Bmp("koala.bmp");
    ASSERT_EQ(koala.error, "");
    EXPECT_EQ(koala.width, 320);
    EXPECT_EQ(koala.height, 200);
    EXPECT_EQ(Slurp(work() / "koala.bmp"), Slurp(work() / "direct.bmp"));
    EXPECT_EQ(Run({"bitmap", kDemo, "--address", "$2000", "--background", "16"}).exitCode, 2);
}

// A scripted VICE stands in for the running one: the capture saved as a snapshot reopens with the
// state read from the machine, and a VICE that is not there is explained.
TEST_F(CliRun, CaptureFromViceRoundTripsAndARefusalSaysHowToStart) {
    mosaiqua::test::ScriptedVice vice;
    vice.io[0x15] = 0x01;    // sprite 0 on
    vice.io[0x18] = 0x15;    // screen $0400, character set $1000 (peeked with bit 0 set)
    vice.io[0x20] = 0xF6;    // border 6; the unused bits read as 1
    vice.io[0xD00] = 0xC3;   // $DD00: pins %11, bank $0000
    vice.ram[0x07F8] = 0x80; // sprite 0 at $2000
    const std::string vic = "vice:" + vice.peer();
    Result r = Run({"capture", vic, "-o", "x.vsf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "VICE (running) at " + vice.peer() +
                         ", raster line 291, cycle 45\nVICE snapshot saved ok.\nwritten: x.vsf\n");
    const Result live = Run({"info", vic, "--json"});
    const Result saved = Run({"info", "x.vsf", "--json"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_NE(saved.out.find("\"format\": \"vice-snapshot\""), std::string::npos) << saved.out;
    EXPECT_NE(live.out.find("\"format\": \"vice-monitor\""), std::string::npos) << live.out;
    const std::string state = "\"vic\": {\"bank\": 0, \"screen\": 1024, \"charset\": 4096, "
                              "\"charset_in_rom\": true";
    EXPECT_NE(saved.out.find(state), std::string::npos) << saved.out;
    EXPECT_NE(saved.out.find("\"border\": 6"), std::string::npos) << saved.out;
    EXPECT_NE(saved.out.find("\"address\": 8192"), std::string::npos) << saved.out;
    EXPECT_EQ(live.out.substr(live.out.find("\"vic\"")), saved.out.substr(saved.out.find("\"vic\"")));

    std::uint16_t gone = 0;
    {
        const mosaiqua::test::ScriptedVice stopped;
        gone = stopped.port();
    }
    r = Run({"capture", "vice:127.0.0.1:" + std::to_string(gone), "-o", "y.vsf"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("x64sc -binarymonitor"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(work() / "y.vsf"));
    EXPECT_EQ(Run({"capture", "vice:localhost:0", "-o", "y.vsf"}).exitCode, 1); // no such port
    EXPECT_EQ(Run({"capture", vic}).exitCode, 2);                               // -o is needed
}
