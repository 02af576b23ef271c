// info --json and onscreen end to end on a snapshot the test builds.
#include "cli/options.h"
#include "cli/snapshot_commands.h"

#include "../core/bmp_reader.h"
#include "../core/snapshot_fixture.h"
#include "../core/test_helpers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace mosaiqua {
namespace {

test::Bytes GameSnapshot() {
    test::Bytes regs(64, 0);
    regs[0x15] = 0x05; // sprites 0 and 2 on
    regs[0x18] = 0x0E; // screen at the bank, charset at bank + $3800
    regs[0x1C] = 0x04; // sprite 2 multicolour
    regs[0x21] = 11, regs[0x22] = 2, regs[0x23] = 3, regs[0x25] = 1, regs[0x27] = 7, regs[0x29] = 0x12;
    test::Bytes mem = test::Ram(0);
    std::fill(mem.begin() + 4 + 0x4000, mem.end(), 0);
    mem[4 + 0x43F8] = 71;   // sprite 0 at $4000 + 71 * 64 = $51C0
    mem[4 + 0x43FA] = 0xFF; // sprite 2 at $7FC0
    mem[4 + 0x51C0] = 0x80; // its top-left pixel set
    test::Snapshot s("C64", true);
    s.module("MAINCPU", test::Bytes(103, 0)).module("C64MEM", mem).module("CIA2", {0x02, 0xFF, 0x3F});
    s.module("VIC-II", test::X64Vic(regs, 5));
    return s.bytes;
}

cli::CliOptions Options(const std::vector<std::string>& args) {
    const cli::ParseResult parsed = cli::ParseArguments(args);
    EXPECT_TRUE(std::holds_alternative<cli::CliOptions>(parsed));
    return std::holds_alternative<cli::CliOptions>(parsed) ? std::get<cli::CliOptions>(parsed)
                                                           : cli::CliOptions{};
}

TEST(SnapshotCommands, InfoJsonAndOnScreenSprites) {
    test::TempFolder folder;
    const std::string file = folder.file("game.vsf");
    test::WriteBytes(file, GameSnapshot());

    std::ostringstream out, err;
    ASSERT_EQ(cli::RunInfo(Options({"info", file, "--json"}), out, err), 0) << err.str();
    std::string sprites;
    for (int n = 0; n < 8; ++n) {
        const int pointer = n == 0 ? 71 : n == 2 ? 255 : 0;
        sprites += std::string(n ? ", " : "") + "{\"number\": " + std::to_string(n) +
                   ", \"enabled\": " + (n == 0 || n == 2 ? "true" : "false") +
                   ", \"pointer\": " + std::to_string(pointer) +
                   ", \"address\": " + std::to_string(16384 + pointer * 64) +
                   ", \"in_rom\": false, \"multicolour\": " + (n == 2 ? "true" : "false") +
                   ", \"expand_x\": false, \"expand_y\": false, \"colour\": " +
                   (n == 0   ? "7"
                    : n == 2 ? "2"
                             : "0") +
                   "}";
    }
    EXPECT_EQ(out.str(),
              "{\"format\": \"vice-snapshot\", \"machine\": \"C64\", \"vice_version\": \"3.10.0\", "
              "\"ram\": {\"start\": 0, \"end\": 65535}, \"vic\": {\"bank\": 16384, \"screen\": 16384, "
              "\"charset\": 30720, \"charset_in_rom\": false, \"bitmap_mode\": false, "
              "\"multicolour_mode\": false, \"border\": 0, \"background\": 11, "
              "\"text_multicolour\": [2, 3], \"sprite_multicolour\": [1, 0], \"sprites\": [" +
                  sprites + "]}}\n");

    std::ostringstream written, err2;
    ASSERT_EQ(
        cli::RunOnScreen(Options({"onscreen", file, "-o", folder.path().string(), "--palette", "ccs64"}),
                         written, err2),
        0)
        << err2.str();
    EXPECT_EQ(written.str(), folder.file("sprite0_51C0.BMP") + "\n" + folder.file("sprite2_7FC0.BMP") + "\n");
    test::BmpPicture bmp;
    ASSERT_EQ(test::ParseBmp(test::ReadBytes(folder.file("sprite0_51C0.BMP")), bmp), "");
    EXPECT_EQ(bmp.width, 24);
    EXPECT_EQ(bmp.at(0, 0), Ccs64Table[7]);  // main: $D027
    EXPECT_EQ(bmp.at(1, 0), Ccs64Table[11]); // background: $D021

    test::WriteBytes(file, {0x01, 0x08, 0});
    std::ostringstream none, why;
    EXPECT_EQ(cli::RunOnScreen(Options({"onscreen", file}), none, why), 1);
    EXPECT_NE(why.str().find("holds no machine state"), std::string::npos);
}

// Bank 0, screen $0400, sprite 0 on with its pointer $40: at $1000, where the video chip sees the ROM.
test::Bytes BankZeroSnapshot(bool withCia2, bool withVic, bool withRom) {
    test::Bytes regs(64, 0);
    regs[0x15] = 0x01;
    regs[0x18] = 0x10;
    test::Bytes mem = test::Ram(0);
    mem[4 + 0x07F8] = 0x40;
    test::Snapshot s("C64", false);
    s.module("C64MEM", mem);
    if (withCia2)
        s.module("CIA2", {0x03, 0, 0x3F});
    if (withVic)
        s.module("VIC-II", test::X64Vic(regs, 1));
    if (withRom)
        s.module("C64ROM", test::Bytes(8192 * 2 + 4096, 0xFF));
    return s.bytes;
}

// What a snapshot lacks is said where it matters: the bank, the screen state, ROM graphics.
TEST(SnapshotCommands, MissingModulesAndRomAreNamed) {
    test::TempFolder folder;
    const std::string file = folder.file("game.vsf");
    const auto run = [&](const test::Bytes& bytes, bool info) {
        test::WriteBytes(file, bytes);
        std::ostringstream out, err;
        const int code =
            info ? cli::RunInfo(Options({"info", file}), out, err)
                 : cli::RunOnScreen(Options({"onscreen", file, "-o", folder.path().string()}), out, err);
        return std::tuple{code, out.str(), err.str()};
    };
    auto [code, out, err] = run(BankZeroSnapshot(false, true, false), true);
    EXPECT_EQ(code, 0) << err;
    EXPECT_NE(
        out.find("Format:        VICE snapshot (x64): RAM $0000-$FFFF (no CIA2 module: bank $0000 assumed)\n"
                 "Bank:          $0000 (assumed: the file does not say)\n"),
        std::string::npos)
        << out;

    std::tie(code, out, err) = run(BankZeroSnapshot(true, false, false), true);
    EXPECT_EQ(out.substr(out.find("No machine")),
              "No machine state: no VIC-II module, so the screen state is unknown.\n");
    std::tie(code, out, err) = run(BankZeroSnapshot(true, false, false), false);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(err, "mosaiqua-cli: " + file +
                       " holds no machine state: no VIC-II module, so the screen state is unknown\n");

    const std::string note = "Sprite 0 lies in the character-ROM shadow, but the snapshot holds no ROM: "
                             "drawn from the RAM there.\n";
    std::tie(code, out, err) = run(BankZeroSnapshot(true, true, false), false);
    EXPECT_EQ(code, 0) << err;
    EXPECT_EQ(out, folder.file("sprite0_1000.BMP") + "\n" + note);
    std::tie(code, out, err) = run(BankZeroSnapshot(true, true, true), false);
    EXPECT_EQ(out, folder.file("sprite0_1000.BMP") + "\n");
}

} // namespace
} // namespace mosaiqua
