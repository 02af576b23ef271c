#include "container_fixture.h"
#include "test_helpers.h"

#include "core/container.h"
#include "core/petscii.h"

#include <zip.h>
#include <zlib.h>

using namespace mosaiqua;
using namespace mosaiqua::test;

namespace {

std::vector<std::uint8_t> Tail(const std::vector<std::uint8_t>& program) {
    return {program.begin() + 2, program.end()};
}

// Loads and expects a refusal of the kind whose message holds `part`; the image must not change.
void ExpectRefused(const std::string& path, const std::vector<std::string>& picks, UserError::Kind kind,
                   const std::string& part) {
    MemoryImage image;
    const std::uint8_t mark = 0x5A;
    image.write(0x1234, &mark, 1);
    try {
        LoadFromContainer(image, path, picks);
        ADD_FAILURE() << "loaded " << path;
    } catch (const UserError& e) {
        EXPECT_EQ(int(e.kind()), int(kind)) << e.what();
        EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
    EXPECT_EQ(image.byteAt(0x1234), mark);
}

// A 35-track disk with error bytes: a directory over 18/1, 18/4 and 18/7, a scratched and a locked
// entry, a file crossing tracks, and BAM counts of 1 per track (99 on track 18, which never counts).
DiskBuilder SampleDisk() {
    DiskBuilder disk(35, true);
    DiskBuilder::setName(disk.block(18, 0) + 0x90, "SAMPLE DISK");
    for (int t = 1; t <= 35; ++t)
        disk.block(18, 0)[4 + 4 * (t - 1)] = t == 18 ? 99 : 1;
    disk.link(18, 1, 18, 4);
    disk.link(18, 4, 18, 7);
    disk.link(18, 7, 0, 0xFF);
    disk.entry(18, 1, 0, 0xC2, 17, 20, "MAIN", 2);
    disk.entry(18, 1, 1, 0x00, 1, 0, "GONE", 1);
    for (int slot = 2; slot < 8; ++slot)
        disk.entry(18, 1, slot, 0x82, 1, 0, "F" + std::to_string(slot), 1);
    for (int slot = 0; slot < 8; ++slot)
        disk.entry(18, 4, slot, 0x82, 1, 0, "G" + std::to_string(slot), 1);
    disk.entry(18, 7, 0, 0x81, 2, 3, "NOTES", 1);
    disk.entry(18, 7, 1, 0x82, 1, 0, "TWIN", 1);
    disk.entry(18, 7, 2, 0x82, 1, 0, "TWIN", 1);
    disk.chain({{17, 20}, {19, 5}}, Program(0x0801, 300));
    disk.chain({{1, 0}}, Program(0xC000, 10));
    disk.chain({{2, 3}}, {'H', 'I', 13});
    return disk;
}

} // namespace

TEST(Containers, RecognisedByContentOrSize) {
    const auto is = [](std::vector<std::uint8_t> head, std::uint64_t size) {
        head.resize(64, 0);
        return RecogniseContainer(head, size);
    };
    EXPECT_EQ(is({}, 174848), ContainerFormat::D64);
    EXPECT_EQ(is({}, 175531), ContainerFormat::D64);
    EXPECT_EQ(is({}, 197376), ContainerFormat::D64);
    EXPECT_EQ(is({}, 174848 + 7 * 4352), ContainerFormat::D64);
    EXPECT_EQ(is({}, 351062), ContainerFormat::D71);
    EXPECT_EQ(is({}, 822400), ContainerFormat::D81);
    EXPECT_FALSE(is({}, 174849));
    const auto text = [](const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    EXPECT_EQ(is(text("C64S tape file"), 100), ContainerFormat::T64);
    EXPECT_EQ(is(text("C64 CARTRIDGE   "), 100), ContainerFormat::Crt);
    EXPECT_EQ(is(text("C128 CARTRIDGE  "), 100), ContainerFormat::Crt); // refused when read, by name
    EXPECT_EQ(is(text("C64-TAPE-RAW"), 100), ContainerFormat::Tap);
    EXPECT_EQ(is(text("GCR-1541"), 100), ContainerFormat::G64);
    EXPECT_EQ(is(text("PK\x03\x04"), 100), ContainerFormat::Zip);
    EXPECT_EQ(is({0x1F, 0x8B}, 100), ContainerFormat::Gz);
    EXPECT_FALSE(is(text("C64File"), 174848)); // a P00 stays a P00, whatever its size
    EXPECT_FALSE(is(text("VICE Snapshot File\x1A"), 174848));
}

TEST(Containers, PetsciiNamesAsTheC64ShowsThemAndInAscii) {
    const PetsciiName name{0x41, 0x5A, 0x20, 0x31, 0x40, 0x61, 0xC1, 0xFF,
                           0xA0, 0x41, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0};
    EXPECT_EQ(AsciiName(name), "AZ 1____");
    const std::vector<std::uint8_t> codes = ScreenCodes(name);
    EXPECT_EQ(codes[0], 0x01); // $41 - $40
    EXPECT_EQ(codes[3], 0x31); // unchanged
    EXPECT_EQ(codes[5], 0x41); // $61 - $20
    EXPECT_EQ(codes[6], 0x41); // $C1 - $80
    EXPECT_EQ(codes[7], 0x5E);
    EXPECT_EQ(codes[8], 0x60); // $A0 - $40
}

TEST(Containers, DiskDirectoryOverSeveralSectorsWithScratchedAndLockedEntries) {
    TempFolder folder;
    const std::string path = folder.file("sample.d64");
    WriteBytes(path, SampleDisk().bytes());
    const ContainerListing listing = ListContainer(path);
    EXPECT_EQ(listing.format, ContainerFormat::D64);
    EXPECT_EQ(listing.name, "SAMPLE DISK");
    EXPECT_EQ(listing.blocksFree, 34);
    ASSERT_EQ(listing.entries.size(), 18u); // 19 used slots, one scratched
    EXPECT_EQ(listing.entries[0].name, "MAIN");
    EXPECT_TRUE(listing.entries[0].locked && listing.entries[0].closed);
    EXPECT_EQ(listing.entries[0].loadAddress, 0x0801);
    EXPECT_EQ(listing.entries[1].name, "F2");
    EXPECT_EQ(listing.entries[7].name, "G0");
    EXPECT_EQ(listing.entries[15].type, "seq");
    EXPECT_FALSE(listing.entries[15].loadAddress);
    EXPECT_EQ(listing.loadableCount(), 18);

    const std::string text = ListingText(listing);
    EXPECT_EQ(text.substr(0, text.find('\n', text.find('\n') + 1) + 1), "0 \"SAMPLE DISK     \" 01 2A\n"
                                                                        "2    \"MAIN\"             PRG<\n");
    EXPECT_NE(text.find("\n34 BLOCKS FREE.\n"), std::string::npos);
}

TEST(Containers, DiskFilesLoadLikeProgramsByNameOrNumber) {
    TempFolder folder;
    const std::string path = folder.file("sample.d64");
    WriteBytes(path, SampleDisk().bytes());
    MemoryImage image;
    for (const std::string pick : {"MAIN", "#1", "main"}) {
        const LoadedFile loaded = LoadFromContainer(image, path, {pick});
        EXPECT_TRUE(HoldsOnly(image, 0x0801, Tail(Program(0x0801, 300))));
        EXPECT_EQ(loaded.ramStart, 0x0801);
        EXPECT_EQ(loaded.ramEnd, 0x0801 + 299);
        EXPECT_EQ(loaded.description, "sample.d64: \"MAIN\" PRG $0801-$092C");
    }
    // A SEQ file has no load address: $0000 unless one is given.
    LoadFromContainer(image, path, {"NOTES"});
    EXPECT_TRUE(HoldsOnly(image, 0, {'H', 'I', 13}));
    LoadFromContainer(image, path, {"NOTES"}, {}, 0x4000);
    EXPECT_TRUE(HoldsOnly(image, 0x4000, {'H', 'I', 13}));
    // Picked through ParsePickPath as the command line types it.
    const PickPath picked = ParsePickPath(path + ":#2");
    EXPECT_EQ(picked.file, path);
    ASSERT_EQ(picked.picks, std::vector<std::string>{"#2"});
    LoadFromContainer(image, picked.file, picked.picks);
    EXPECT_TRUE(HoldsOnly(image, 0xC000, Tail(Program(0xC000, 10))));
    // Recognition off: the image is a raw file, so the block at 1/0 is memory from $0000.
    const LoadedFile raw = LoadFromContainer(image, path, {}, LoadOptions{false, false});
    EXPECT_EQ(raw.format, FileFormat::Raw);
    EXPECT_EQ(image.byteAt(3), 0xC0); // the high byte of that file's load address
}

TEST(Containers, PicksThatAreMissingAmbiguousOrAbsentListTheCandidates) {
    TempFolder folder;
    const std::string path = folder.file("sample.d64");
    WriteBytes(path, SampleDisk().bytes());
    ExpectRefused(path, {"NOPE"}, UserError::Kind::PickEntry,
                  "no entry \"NOPE\"; it holds #1 \"MAIN\", #2 \"F2\"");
    ExpectRefused(path, {"#19"}, UserError::Kind::PickEntry, "#18 \"TWIN\"");
    ExpectRefused(path, {"TWIN"}, UserError::Kind::PickEntry,
                  "more than one entry \"TWIN\": #17 \"TWIN\", #18 \"TWIN\"");
    ExpectRefused(path, {}, UserError::Kind::PickEntry, "pick one as sample.d64:ENTRY");
    ExpectRefused(path, {"MAIN", "X"}, UserError::Kind::PickEntry, "nothing to pick inside it");

    // One PRG beside a DEL file: picked without asking.
    DiskBuilder single(35);
    single.entry(18, 1, 0, 0x80, 0, 0, "----", 0);
    single.entry(18, 1, 1, 0x82, 3, 0, "ONLY", 1);
    single.chain({{3, 0}}, Program(0x1000, 5));
    WriteBytes(folder.file("single.d64"), single.bytes());
    MemoryImage image;
    LoadFromContainer(image, folder.file("single.d64"), {});
    EXPECT_TRUE(HoldsOnly(image, 0x1000, Tail(Program(0x1000, 5))));
    ExpectRefused(folder.file("single.d64"), {"----"}, UserError::Kind::PickEntry, "is a del file");
}

TEST(Containers, HostileDisksAreRefusedWithTheirReason) {
    TempFolder folder;
    DiskBuilder disk(35);
    disk.entry(18, 1, 0, 0x82, 1, 0, "LOOP", 2);
    disk.chain({{1, 0}, {1, 1}}, Program(0x0801, 400));
    disk.link(1, 1, 1, 0);
    disk.entry(18, 1, 1, 0x82, 36, 0, "PAST", 1);
    disk.entry(18, 1, 2, 0x82, 2, 0, "FAR", 1);
    disk.link(2, 0, 30, 18); // track 30 has 18 sectors: 0..17
    WriteBytes(folder.file("bad.d64"), disk.bytes());
    ExpectRefused(folder.file("bad.d64"), {"LOOP"}, UserError::Kind::CannotOpenFile,
                  "the file \"LOOP\" comes back to track 1 sector 0");
    ExpectRefused(folder.file("bad.d64"), {"PAST"}, UserError::Kind::CannotOpenFile,
                  "starts at track 36 sector 0, outside the disk's 35 tracks");
    ExpectRefused(folder.file("bad.d64"), {"FAR"}, UserError::Kind::CannotOpenFile,
                  "links to track 30 sector 18");

    disk.link(18, 1, 18, 2);
    disk.link(18, 2, 18, 1);
    WriteBytes(folder.file("loop.d64"), disk.bytes());
    EXPECT_THROW(ListContainer(folder.file("loop.d64")), UserError);
    ExpectRefused(folder.file("loop.d64"), {"#1"}, UserError::Kind::CannotOpenFile,
                  "the directory comes back to track 18 sector 1");
}

TEST(Containers, FortyTrackDiskWithErrorBytesReadsItsLastTracks) {
    TempFolder folder;
    DiskBuilder disk(40, true);
    ASSERT_EQ(disk.bytes().size(), 197376u);
    disk.entry(18, 1, 0, 0x82, 40, 16, "HIGH", 2);
    disk.chain({{40, 16}, {36, 0}}, Program(0x2000, 260));
    disk.entry(18, 1, 1, 0x82, 41, 0, "BEYOND", 1);
    WriteBytes(folder.file("forty.d64"), disk.bytes());
    MemoryImage image;
    LoadFromContainer(image, folder.file("forty.d64"), {"HIGH"});
    EXPECT_TRUE(HoldsOnly(image, 0x2000, Tail(Program(0x2000, 260))));
    ExpectRefused(folder.file("forty.d64"), {"BEYOND"}, UserError::Kind::CannotOpenFile,
                  "outside the disk's 40 tracks");
}

TEST(Containers, DiskListingAsJson) {
    TempFolder folder;
    DiskBuilder disk(35);
    disk.block(18, 0)[4] = 5;
    disk.entry(18, 1, 0, 0x82, 1, 0, "A\"B", 1);
    disk.chain({{1, 0}}, Program(0x0801, 3));
    disk.entry(18, 1, 1, 0x01, 1, 1, "OPEN", 0);
    WriteBytes(folder.file("j.d64"), disk.bytes());
    EXPECT_EQ(
        ListingJson(ListContainer(folder.file("j.d64"))),
        "{\"format\": \"d64\", \"name\": \"EMPTY\", \"id\": \"01 2A\", \"blocks_free\": 5, \"entries\": ["
        "{\"index\": 1, \"name\": \"A\\\"B\", \"type\": \"prg\", \"blocks\": 1, \"load_address\": 2049, "
        "\"locked\": false, \"closed\": true}, "
        "{\"index\": 2, \"name\": \"OPEN\", \"type\": \"seq\", \"blocks\": 0, \"load_address\": null, "
        "\"locked\": false, \"closed\": false}]}");
}

namespace {

std::vector<std::uint8_t> TapeRecord(int start, int end, std::uint32_t offset, const std::string& name) {
    std::vector<std::uint8_t> r(32, 0);
    r[0] = 1;
    r[1] = 0x82;
    r[2] = std::uint8_t(start), r[3] = std::uint8_t(start >> 8);
    r[4] = std::uint8_t(end), r[5] = std::uint8_t(end >> 8);
    for (int i = 0; i < 4; ++i)
        r[std::size_t(8 + i)] = std::uint8_t(offset >> (8 * i));
    std::memset(r.data() + 16, ' ', 16);
    std::memcpy(r.data() + 16, name.data(), name.size());
    return r;
}

} // namespace

TEST(Containers, TapeEndAddressesAreRepairedFromTheOffsets) {
    // Two files stored in reverse order: "FIRST" states the usual wrong end $C3C6, "SECOND" the right
    // one, and junk follows its data.
    std::vector<std::uint8_t> tape(64, 0);
    const std::string signature = "C64S tape image file";
    std::memcpy(tape.data(), signature.data(), signature.size());
    tape[34] = 2, tape[36] = 2;
    std::memset(tape.data() + 40, ' ', 24);
    std::memcpy(tape.data() + 40, "MY TAPE", 7);
    const std::vector<std::uint8_t> first = Tail(Program(0x0801, 100)), second = Tail(Program(0x3000, 20, 9));
    const std::uint32_t firstAt = 128 + 20, secondAt = 128;
    for (const auto& r :
         {TapeRecord(0x0801, 0xC3C6, firstAt, "FIRST"), TapeRecord(0x3000, 0x3014, secondAt, "SECOND")})
        tape.insert(tape.end(), r.begin(), r.end());
    tape.insert(tape.end(), second.begin(), second.end());
    tape.insert(tape.end(), first.begin(), first.end());
    TempFolder folder;
    WriteBytes(folder.file("t.t64"), tape);
    ContainerListing listing = ListContainer(folder.file("t.t64"));
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(listing.name, "MY TAPE");
    EXPECT_EQ(listing.entries[0].end, 0x0801 + 100);
    EXPECT_EQ(listing.entries[1].size, 20u);

    tape.insert(tape.end(), 50, 0xEE); // junk after the last file's data: "FIRST" now runs to the end
    const std::uint32_t secondLast = std::uint32_t(tape.size());
    tape.insert(tape.end(), second.begin(), second.end());
    tape.insert(tape.end(), 7, 0xEE);
    const auto record = TapeRecord(0x3000, 0x3014, secondLast, "SECOND");
    std::copy(record.begin(), record.end(), tape.begin() + 96);
    WriteBytes(folder.file("t.t64"), tape);
    listing = ListContainer(folder.file("t.t64"));
    EXPECT_EQ(listing.entries[1].size, 20u); // its stated end comes before the junk
    EXPECT_EQ(
        ListingJson(listing).substr(ListingJson(listing).find("{\"index\": 2")),
        "{\"index\": 2, \"name\": \"SECOND\", \"type\": \"prg\", \"start\": 12288, \"end\": 12308, \"size\": "
        "20}]}");
    MemoryImage image;
    const LoadedFile loaded = LoadFromContainer(image, folder.file("t.t64"), {"SECOND"});
    EXPECT_TRUE(HoldsOnly(image, 0x3000, second));
    EXPECT_EQ(loaded.description, "t.t64: \"SECOND\" PRG $3000-$3013");
}

namespace {

void Big16(std::vector<std::uint8_t>& bytes, std::size_t at, int value) {
    bytes[at] = std::uint8_t(value >> 8);
    bytes[at + 1] = std::uint8_t(value);
}

std::vector<std::uint8_t> Cartridge(const char* signature, const std::vector<std::array<int, 4>>& chips) {
    std::vector<std::uint8_t> crt(64, 0);
    std::memcpy(crt.data(), signature, 16);
    crt[0x13] = 0x40;
    crt[0x14] = 1;
    Big16(crt, 0x16, 19);
    crt[0x18] = 1;
    std::memcpy(crt.data() + 0x20, "TWO BANKS", 9);
    for (const auto& [bank, load, size, packetData] : chips) {
        std::vector<std::uint8_t> chip(16, 0);
        std::memcpy(chip.data(), "CHIP", 4);
        const std::uint32_t length = std::uint32_t(16 + packetData);
        for (int i = 0; i < 4; ++i)
            chip[std::size_t(4 + i)] = std::uint8_t(length >> (24 - 8 * i));
        Big16(chip, 10, bank);
        Big16(chip, 12, load);
        Big16(chip, 14, size);
        for (int i = 0; i < packetData; ++i)
            chip.push_back(std::uint8_t(bank * 16 + i));
        crt.insert(crt.end(), chip.begin(), chip.end());
    }
    return crt;
}

} // namespace

TEST(Containers, CartridgeBanksLoadOneAtATime) {
    TempFolder folder;
    WriteBytes(folder.file("c.crt"),
               Cartridge("C64 CARTRIDGE   ", {{0, 0x8000, 8192, 8192}, {1, 0x8000, 8192, 8192}}));
    const ContainerListing listing = ListContainer(folder.file("c.crt"));
    EXPECT_EQ(
        ListingJson(listing),
        "{\"format\": \"crt\", \"name\": \"TWO BANKS\", \"hardware_type\": 19, \"exrom\": 1, \"game\": 0, "
        "\"entries\": [{\"index\": 1, \"bank\": 0, \"load_address\": 32768, \"size\": 8192, \"chip_type\": "
        "0}, "
        "{\"index\": 2, \"bank\": 1, \"load_address\": 32768, \"size\": 8192, \"chip_type\": 0}]}");
    MemoryImage image;
    const LoadedFile loaded = LoadFromContainer(image, folder.file("c.crt"), {"bank1"});
    std::vector<std::uint8_t> bank1(8192);
    for (int i = 0; i < 8192; ++i)
        bank1[std::size_t(i)] = std::uint8_t(16 + i);
    EXPECT_TRUE(HoldsOnly(image, 0x8000, bank1));
    EXPECT_EQ(loaded.description, "c.crt: bank 1 $8000-$9FFF");
    ExpectRefused(folder.file("c.crt"), {}, UserError::Kind::PickEntry, ": bank0, bank1.");

    WriteBytes(folder.file("128.crt"), Cartridge("C128 CARTRIDGE  ", {{0, 0x8000, 16, 16}}));
    ExpectRefused(folder.file("128.crt"), {}, UserError::Kind::CannotOpenFile,
                  "for the C128, not for the C64");
    WriteBytes(folder.file("long.crt"), Cartridge("C64 CARTRIDGE   ", {{0, 0x8000, 32, 16}}));
    ExpectRefused(folder.file("long.crt"), {}, UserError::Kind::CannotOpenFile,
                  "holds 32 bytes in a packet of 16");
    WriteBytes(folder.file("high.crt"), Cartridge("C64 CARTRIDGE   ", {{0, 0xF000, 8192, 8192}}));
    ExpectRefused(folder.file("high.crt"), {}, UserError::Kind::CannotOpenFile, "past $FFFF");
}

namespace {

void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, bytes] : members) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        ASSERT_GE(zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

std::vector<std::uint8_t> Gzip(const std::vector<std::uint8_t>& bytes) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::vector<std::uint8_t> out(deflateBound(&z, uLong(bytes.size())) + 64);
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = uInt(bytes.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

} // namespace

TEST(Containers, ZipHoldingADiskPicksThroughBothLevels) {
    TempFolder folder;
    const std::string zipPath = folder.file("games.zip");
    WriteZip(zipPath, {{"readme.txt", {'h', 'i'}}, {"disks/game.d64", SampleDisk().bytes()}});
    EXPECT_EQ(ListingJson(ListContainer(zipPath)),
              "{\"format\": \"zip\", \"name\": \"games.zip\", \"entries\": [{\"index\": 1, \"name\": "
              "\"readme.txt\", "
              "\"size\": 2}, {\"index\": 2, \"name\": \"disks/game.d64\", \"size\": 175531}]}");
    EXPECT_EQ(ListContainer(zipPath, {"#2"}).label, "games.zip: disks/game.d64");
    const PickPath picked = ParsePickPath(zipPath + ":game.d64:MAIN");
    ASSERT_EQ(picked.picks, (std::vector<std::string>{"game.d64", "MAIN"}));
    MemoryImage image;
    const LoadedFile loaded = LoadFromContainer(image, picked.file, picked.picks);
    EXPECT_TRUE(HoldsOnly(image, 0x0801, Tail(Program(0x0801, 300))));
    EXPECT_EQ(loaded.description, "games.zip: disks/game.d64: \"MAIN\" PRG $0801-$092C");
    try {
        LoadFromContainer(image, zipPath, {"game.d64"});
        ADD_FAILURE();
    } catch (const ContainerPickError& e) {
        EXPECT_EQ(e.picksToContainer(), std::vector<std::string>{"game.d64"}); // the disk asks, not the zip
    }
    ExpectRefused(zipPath, {"game.d64", "NOPE"}, UserError::Kind::PickEntry,
                  "games.zip: disks/game.d64 holds no entry");

    WriteZip(folder.file("bomb.zip"), {{"big.bin", std::vector<std::uint8_t>((16u << 20) + 1, 0)}});
    ExpectRefused(folder.file("bomb.zip"), {}, UserError::Kind::CannotOpenFile, "larger than 16 MB");
}

TEST(Containers, GzippedSnapshotLoadsAsIfOpenedDirectly) {
    std::vector<std::uint8_t> snapshot(37, 0);
    std::memcpy(snapshot.data(), "VICE Snapshot File\x1A", 19);
    std::memcpy(snapshot.data() + 21, "C64SC", 5);
    std::vector<std::uint8_t> mem(22 + 4 + 0x10000, 0);
    std::memcpy(mem.data(), "C64MEM", 6);
    const std::uint32_t size = std::uint32_t(mem.size());
    for (int i = 0; i < 4; ++i)
        mem[std::size_t(18 + i)] = std::uint8_t(size >> (8 * i));
    mem[22 + 4 + 0xBEEF] = 0x42;
    snapshot.insert(snapshot.end(), mem.begin(), mem.end());
    TempFolder folder;
    WriteBytes(folder.file("s.vsf.gz"), Gzip(snapshot));
    EXPECT_EQ(ListContainer(folder.file("s.vsf.gz")).entries.at(0).name, "s.vsf");
    MemoryImage image;
    const LoadedFile loaded = LoadFromContainer(image, folder.file("s.vsf.gz"), {});
    EXPECT_EQ(loaded.format, FileFormat::ViceSnapshot);
    EXPECT_EQ(image.byteAt(0xBEEF), 0x42);
    EXPECT_EQ(loaded.description.rfind("s.vsf.gz: s.vsf: VICE snapshot", 0), 0u) << loaded.description;

    // Archives inside archives are followed, but not forever (a zip can hold itself).
    std::vector<std::uint8_t> nested = Gzip(snapshot);
    for (int level = 2; level <= 8; ++level)
        nested = Gzip(nested);
    WriteBytes(folder.file("deep.gz"), nested);
    EXPECT_EQ(LoadFromContainer(image, folder.file("deep.gz"), {}).format, FileFormat::ViceSnapshot);
    WriteBytes(folder.file("deeper.gz"), Gzip(nested));
    ExpectRefused(folder.file("deeper.gz"), {}, UserError::Kind::CannotOpenFile, "nested more than 8 deep");

    std::vector<std::uint8_t> cut = Gzip(snapshot);
    cut.resize(cut.size() / 2);
    WriteBytes(folder.file("cut.gz"), cut);
    ExpectRefused(folder.file("cut.gz"), {}, UserError::Kind::CannotOpenFile, "cut short");
}

TEST(Containers, PulseAndGcrImagesAreRefusedWithTheReason) {
    TempFolder folder;
    std::vector<std::uint8_t> tap(100, 0);
    std::memcpy(tap.data(), "C64-TAPE-RAW", 12);
    WriteBytes(folder.file("a.tap"), tap);
    ExpectRefused(folder.file("a.tap"), {}, UserError::Kind::CannotOpenFile, "no files can be read");
    std::memcpy(tap.data(), "GCR-1541", 8);
    WriteBytes(folder.file("a.g64"), tap);
    ExpectRefused(folder.file("a.g64"), {}, UserError::Kind::CannotOpenFile, "no files can be read");
}

TEST(Containers, PlainPathsMayHoldColons) {
    TempFolder folder;
    const std::string path = folder.file("odd:name.d64");
    WriteBytes(path, SampleDisk().bytes());
    const PickPath whole = ParsePickPath(path);
    EXPECT_EQ(whole.file, path);
    EXPECT_TRUE(whole.picks.empty());
    const PickPath picked = ParsePickPath(path + ":MAIN");
    EXPECT_EQ(picked.file, path);
    EXPECT_EQ(picked.picks, std::vector<std::string>{"MAIN"});
    EXPECT_EQ(ParsePickPath(folder.file("missing.d64:MAIN")).file, folder.file("missing.d64:MAIN"));
}
