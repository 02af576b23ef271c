// Runs the built mosaiqua-cli for the editor files, the palettes and BASIC DATA, and reads back what
// it wrote with the readers written from the published layouts.
#include "../core/editor_file_reader.h"
#include "../core/snapshot_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using mosaiqua::test::Bytes;

namespace {

class EditorFilesCli : public ::testing::Test {
protected:
    struct Result {
        int exitCode;
        std::string out, err;
    };

    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("mosaiqua-editors-" + std::to_string(getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    Result Run(const std::vector<std::string>& args) const {
        std::string command = "cd '" + m_dir.string() + "' && '" MOSAIQUA_CLI_PATH "'";
        for (const auto& a : args)
            command += " '" + a + "'";
        command += " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Text("out.txt"), Text("err.txt")};
    }
    std::string Text(const std::string& name) const {
        std::ifstream in(m_dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    Bytes File(const std::string& name) const {
        const std::string text = Text(name);
        return Bytes(text.begin(), text.end());
    }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(m_dir / name, std::ios::binary) << text;
    }

    // Bank $4000: screen at $4000 showing codes 0..255 in turn, character set at $7800, sprites 0
    // (hires, colour 5, at $51C0) and 2 (multicolour, colour 7, at $7FC0) on; colour RAM all 13.
    Bytes WriteSnapshot() const {
        Bytes regs(64, 0);
        regs[0x15] = 0x05;
        regs[0x18] = 0x0E;
        regs[0x1C] = 0x04;
        regs[0x21] = 11;
        regs[0x25] = 1;
        regs[0x26] = 2;
        regs[0x27] = 5;
        regs[0x29] = 7;
        Bytes mem = mosaiqua::test::Ram(3);
        for (int i = 0; i < 1000; ++i)
            mem[std::size_t(4 + 0x4000 + i)] = std::uint8_t(i);
        mem[4 + 0x43F8] = 71;   // $4000 + 71 * 64 = $51C0
        mem[4 + 0x43FA] = 0xFF; // $7FC0
        mosaiqua::test::Snapshot s("C64", true);
        s.module("MAINCPU", Bytes(103, 0)).module("C64MEM", mem);
        s.module("CIA2", {0x02, 0xFF, 0x3F});
        s.module("VIC-II", mosaiqua::test::X64Vic(regs, 13));
        std::ofstream(m_dir / "game.vsf", std::ios::binary)
            .write(reinterpret_cast<const char*>(s.bytes.data()), std::streamsize(s.bytes.size()));
        return Bytes(mem.begin() + 4, mem.end());
    }

    fs::path m_dir;
};

Bytes Slice(const Bytes& ram, int address, int size) {
    return Bytes(ram.begin() + address, ram.begin() + address + size);
}

TEST_F(EditorFilesCli, SpritePadFromARangeAndFromTheScreen) {
    const Bytes ram = WriteSnapshot();
    // Two sprites: the end is where they stop. Codes come from the palette; #FE0000 is no code.
    Result r = Run({"spritepad", "game.vsf", "--start", "0x51C0", "--end", "0x5240", "--multicolour",
                    "--colours", "6,1,2,3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("written: sprites51C0.spd"), std::string::npos) << r.out;
    mosaiqua::test::SpdFile spd = mosaiqua::test::ReadSpd(File("sprites51C0.spd"));
    EXPECT_EQ(spd.header, (Bytes{'S', 'P', 'D', 1, 1, 0, 6, 1, 3}));
    ASSERT_EQ(spd.data.size(), 2u);
    EXPECT_EQ(spd.data[1], Slice(ram, 0x5200, 63));
    EXPECT_EQ(spd.attributes, (Bytes{0x82, 0x82}));
    r = Run({"spritepad", "game.vsf", "--start", "0x51C0", "--end", "0x5200", "--colours", "0,0,#FE0000,0",
             "-o", "near.spd"});
    EXPECT_NE(r.out.find("not a palette colour"), std::string::npos) << r.out;

    // The screen's sprites 0 and 2, each in its own mode and colour, in one file.
    r = Run({"onscreen", "game.vsf", "--format", "spd"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("written: onscreen.spd"), std::string::npos) << r.out;
    spd = mosaiqua::test::ReadSpd(File("onscreen.spd"));
    EXPECT_EQ(spd.header, (Bytes{'S', 'P', 'D', 1, 1, 0, 11, 1, 2}));
    ASSERT_EQ(spd.data.size(), 2u);
    EXPECT_EQ(spd.data[0], Slice(ram, 0x51C0, 63));
    EXPECT_EQ(spd.data[1], Slice(ram, 0x7FC0, 63));
    EXPECT_EQ(spd.attributes, (Bytes{5, 0x87}));
    EXPECT_EQ(Run({"onscreen", "game.vsf", "--format", "spd", "-o", "mine.spd"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(m_dir / "mine.spd"));
}

TEST_F(EditorFilesCli, CharPadTakesTheScreenOrAnAddress) {
    const Bytes ram = WriteSnapshot();
    Result r = Run({"charpad", "game.vsf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("written: chars7800.ctm"), std::string::npos) << r.out;
    mosaiqua::test::CtmFile ctm = mosaiqua::test::ReadCtm(File("chars7800.ctm"));
    EXPECT_EQ(Bytes(ctm.header.begin(), ctm.header.begin() + 5), (Bytes{'C', 'T', 'M', 5, 11}));
    EXPECT_EQ(ctm.characterData, Slice(ram, 0x7800, 2048));
    ASSERT_EQ(std::make_pair(ctm.mapWidth, ctm.mapHeight), std::make_pair(40, 25));
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(ctm.map[std::size_t(i)], i % 256) << i;
    for (std::uint8_t attribute : ctm.attributes)
        ASSERT_EQ(attribute & 15, 13); // every character shows in colour-RAM colour 13

    // Another address: the set there and a 16 x 16 map of its codes.
    r = Run({"charpad", "game.vsf", "--address", "0x2000", "-o", "other.ctm"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ctm = mosaiqua::test::ReadCtm(File("other.ctm"));
    EXPECT_EQ(ctm.characterData, Slice(ram, 0x2000, 2048));
    ASSERT_EQ(std::make_pair(ctm.mapWidth, ctm.mapHeight), std::make_pair(16, 16));
    EXPECT_EQ(ctm.map[255], 255);
}

TEST_F(EditorFilesCli, PalettesByNameAndFromVplFiles) {
    WriteSnapshot();
    // Colour codes are looked up in the palette given: code 5 is green.
    ASSERT_EQ(Run({"charset", "game.vsf", "--address", "0x7800", "--colours", "5,5,5,5", "--palette",
                   "colodore", "-o", "colodore.bmp"})
                  .exitCode,
              0);
    // Colodore's green is #56AC4D: BMP pixels are stored blue, green, red.
    EXPECT_NE(Text("colodore.bmp").find("\x4D\xAC\x56\x4D\xAC\x56"), std::string::npos);

    std::string vpl = "# made for the test\n\n";
    for (int i = 0; i < 16; ++i)
        vpl += i == 5 ? "12 34 56 0\n" : "00 00 00\n";
    Write("mine.vpl", vpl);
    ASSERT_EQ(Run({"charset", "game.vsf", "--address", "0x7800", "--colours", "5,5,5,5", "--palette",
                   "mine.vpl", "-o", "vpl.bmp"})
                  .exitCode,
              0);
    EXPECT_NE(Text("vpl.bmp").find("\x56\x34\x12\x56\x34\x12"), std::string::npos);

    // Fifteen entries: refused, naming the file's line, and nothing written.
    Write("short.vpl", vpl.substr(0, vpl.rfind("00 00 00\n")));
    const Result r = Run({"sprite", "game.vsf", "--palette", "./short.vpl", "-o", "no.bmp"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("line"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(m_dir / "no.bmp"));
    EXPECT_EQ(Run({"sprite", "game.vsf", "--palette", "pepto"}).exitCode, 2);
}

TEST_F(EditorFilesCli, DataAsNumberedBasicLines) {
    std::string bytes;
    for (int i = 0; i < 64; ++i)
        bytes += char(i);
    Write("raw.bin", bytes);
    const Result r = Run({"data", "raw.bin", "--raw", "--no-skip-header", "--start", "0", "--end", "16",
                          "--layout", "charset", "--format", "basic", "--line", "100", "--step", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("written: data0000.bas"), std::string::npos) << r.out;
    EXPECT_EQ(Text("data0000.bas"), "100 DATA 0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\n105 DATA 16\n");
    // The second line would be 64004.
    EXPECT_EQ(Run({"data", "raw.bin", "--raw", "--no-skip-header", "--start", "0", "--end", "16", "--layout",
                   "charset", "--format", "basic", "--line", "63999", "--step", "5", "-o", "late.bas"})
                  .exitCode,
              1);
    EXPECT_FALSE(fs::exists(m_dir / "late.bas"));
}

} // namespace
