// Images written by Debian's cc1541 and cbmconvert, files cbmconvert extracts, and real images from
// public repositories, read back by ours.
#include "container_fixture.h"
#include "test_helpers.h"

#include "core/container.h"

#include <cstdlib>

using namespace mosaiqua;
using namespace mosaiqua::test;

namespace {

bool HaveTool(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

int RunIn(const TempFolder& folder, const std::string& command) {
    return std::system(("cd '" + folder.path().string() + "' && " + command + " >/dev/null 2>&1").c_str());
}

std::string SharedTestData(const std::string& name) {
    const char* overridden = std::getenv("MOSAIQUA_SHARED_TESTDATA");
    const std::string folder = overridden ? overridden : MOSAIQUA_SHARED_TESTDATA;
    return std::filesystem::exists(folder + "/" + name) ? folder + "/" + name : std::string();
}

// The program's bytes in memory after loading the pick, with its load address in front, as a PRG file holds
// them.
std::vector<std::uint8_t> LoadedAsPrg(const std::string& path, const std::string& pick) {
    MemoryImage image;
    const LoadedFile loaded = LoadFromContainer(image, path, {pick});
    std::vector<std::uint8_t> bytes{std::uint8_t(loaded.ramStart), std::uint8_t(loaded.ramStart >> 8)};
    for (int a = loaded.ramStart; a <= loaded.ramEnd; ++a)
        bytes.push_back(image.byteAt(a));
    return bytes;
}

} // namespace

TEST(ContainerTools, Cc1541ImagesReadBackWithEqualBytes) {
    if (!HaveTool("cc1541"))
        GTEST_SKIP() << "cc1541 is not installed (scripts/setup.sh installs it)";
    TempFolder folder;
    const std::vector<std::uint8_t> small = Program(0x0801, 11), big = Program(0x4000, 3000, 3);
    WriteBytes(folder.file("small.prg"), small);
    WriteBytes(folder.file("big.prg"), big);
    for (const std::string image : {"t.d64", "t.d71", "t.d81"}) {
        SCOPED_TRACE(image);
        ASSERT_EQ(RunIn(folder, "cc1541 -q -n 'tools disk' -i 7x -f first -w small.prg -f second -w big.prg "
                                "-T SEQ -f text -w small.prg " +
                                    image),
                  0);
        const ContainerListing listing = ListContainer(folder.file(image));
        EXPECT_EQ(listing.name, "TOOLS DISK");
        ASSERT_EQ(listing.entries.size(), 3u);
        EXPECT_EQ(listing.entries[1].blocks, 12); // 3002 bytes over 254 per block
        EXPECT_EQ(listing.entries[1].loadAddress, 0x4000);
        const int total = image == "t.d64" ? 664 : image == "t.d71" ? 1328 : 3160;
        EXPECT_EQ(listing.blocksFree, total - 1 - 12 - 1);
        EXPECT_EQ(LoadedAsPrg(folder.file(image), "FIRST"), small);
        EXPECT_EQ(LoadedAsPrg(folder.file(image), "SECOND"), big);
        MemoryImage memory;
        LoadFromContainer(memory, folder.file(image), {"TEXT"});
        EXPECT_TRUE(HoldsOnly(memory, 0, small)); // a SEQ file whole, at $0000
    }
}

TEST(ContainerTools, CbmconvertWritesAndExtractsWhatWeRead) {
    if (!HaveTool("cbmconvert"))
        GTEST_SKIP() << "cbmconvert is not installed (scripts/setup.sh installs it)";
    TempFolder folder;
    const std::vector<std::uint8_t> program = Program(0x1000, 700, 5);
    WriteBytes(folder.file("game.prg"), program);
    for (const std::string option : {"-D4 w.d64", "-D7 w.d71", "-D8 w.d81"}) {
        SCOPED_TRACE(option);
        ASSERT_EQ(RunIn(folder, "cbmconvert " + option + " -n game.prg"), 0);
        const std::string image = folder.file(option.substr(4));
        ASSERT_EQ(ListContainer(image).entries.size(), 1u);
        EXPECT_EQ(LoadedAsPrg(image, "#1"), program);
    }
    // A P00 it writes loads as the program.
    ASSERT_EQ(RunIn(folder, "cbmconvert -P -n game.prg"), 0);
    MemoryImage memory;
    LoadFromContainer(memory, folder.file("game.p00"), {});
    EXPECT_TRUE(HoldsOnly(memory, 0x1000, {program.begin() + 2, program.end()}));

    // The files it extracts from a disk image and from a tape image equal ours.
    DiskBuilder disk(35);
    disk.entry(18, 1, 0, 0x82, 5, 0, "ONE", 3);
    disk.chain({{5, 0}, {5, 10}, {6, 1}}, program);
    WriteBytes(folder.file("hand.d64"), disk.bytes());
    std::vector<std::uint8_t> tape(64, 0);
    std::memcpy(tape.data(), "C64S tape image file", 20);
    tape[33] = 1, tape[34] = 1, tape[36] = 1; // version 1.0, one record
    std::vector<std::uint8_t> record(32, 0x20);
    record[0] = 1, record[1] = 0x82, record[2] = 0x00, record[3] = 0x10, record[4] = 0xC6, record[5] = 0xC3;
    record[6] = record[7] = 0, record[8] = 96;
    record[9] = record[10] = record[11] = record[12] = record[13] = record[14] = record[15] = 0;
    std::memcpy(record.data() + 16, "TWO", 3);
    tape.insert(tape.end(), record.begin(), record.end());
    tape.insert(tape.end(), program.begin() + 2, program.end());
    WriteBytes(folder.file("hand.t64"), tape);
    std::filesystem::create_directory(folder.path() / "out");
    ASSERT_EQ(RunIn(folder, "cd out && cbmconvert -N -d ../hand.d64 && cbmconvert -N -t ../hand.t64"), 0);
    const std::vector<std::uint8_t> fromDisk = ReadBytes(folder.path() / "out" / "one.prg");
    const std::vector<std::uint8_t> fromTape = ReadBytes(folder.path() / "out" / "two.prg");
    EXPECT_EQ(fromDisk, program);
    EXPECT_EQ(LoadedAsPrg(folder.file("hand.d64"), "ONE"), fromDisk);
    EXPECT_EQ(LoadedAsPrg(folder.file("hand.t64"), "TWO"), fromTape);
}

TEST(ContainerTools, RealDiskImage) {
    const std::string path = SharedTestData("testdisk.d64");
    if (path.empty())
        GTEST_SKIP() << "../shared/testdata/testdisk.d64 is absent (a clone holds no shared test data)";
    const ContainerListing listing = ListContainer(path);
    EXPECT_EQ(listing.name, "TEST DISK");
    EXPECT_EQ(std::string(listing.id.begin(), listing.id.end()), "00\xA0"
                                                                 "2A");
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(listing.entries[0].name, "ROMEO & JULIET");
    EXPECT_EQ(listing.entries[0].blocks, 3);
    EXPECT_EQ(listing.entries[1].name, "TEST");
    EXPECT_EQ(listing.entries[1].blocks, 1);
    for (const ContainerEntry& entry : listing.entries) {
        EXPECT_EQ(entry.type, "prg");
        EXPECT_EQ(entry.loadAddress, 0x0801);
    }
    MemoryImage image;
    const LoadedFile loaded = LoadFromContainer(image, path, {"ROMEO & JULIET"});
    EXPECT_EQ(loaded.ramStart, 0x0801);
    EXPECT_GT(loaded.ramEnd, 0x0801 + 2 * 254 - 2); // more than two blocks of data
}

TEST(ContainerTools, RealCartridgeImage) {
    const std::string path = SharedTestData("extrom_generic_crt.crt");
    if (path.empty())
        GTEST_SKIP()
            << "../shared/testdata/extrom_generic_crt.crt is absent (a clone holds no shared test data)";
    const ContainerListing listing = ListContainer(path);
    EXPECT_EQ(listing.name, "OPEN ROMS EXTERNAL ROM IMAGE");
    EXPECT_EQ(listing.hardwareType, 36);
    EXPECT_EQ(listing.exrom, 0);
    EXPECT_EQ(listing.game, 0);
    ASSERT_EQ(listing.entries.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(listing.entries[std::size_t(i)].bank, i);
        EXPECT_EQ(listing.entries[std::size_t(i)].loadAddress, 0x8000);
        EXPECT_EQ(listing.entries[std::size_t(i)].size, 8192u);
    }
    // Bank 2's data: after the 64-byte header, two whole packets and its own 16-byte packet header.
    const std::vector<std::uint8_t> file = ReadBytes(path);
    const std::size_t at = 64 + 2 * (16 + 8192) + 16;
    MemoryImage image;
    LoadFromContainer(image, path, {"bank2"});
    EXPECT_TRUE(HoldsOnly(image, 0x8000,
                          {file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + 8192)}));
}
