#include "core/bitmap_render.h"
#include "core/character_rom.h"
#include "core/errors.h"

#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace mosaiqua {
namespace {

constexpr PaletteTable kPalette = {0x100, 0x101, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107,
                                   0x108, 0x109, 0x10A, 0x10B, 0x10C, 0x10D, 0x10E, 0x10F};

void Poke(MemoryImage& ram, int address, std::uint8_t value) {
    ram.write(std::size_t(address), &value, 1);
}

// Bitmap $2000 and screen $0400 of varied bytes, colour RAM from the snapshot.
MemoryImage Picture() {
    MemoryImage ram;
    for (int i = 0; i < 8000; ++i)
        Poke(ram, 0x2000 + i, std::uint8_t(i * 37 + (i >> 5)));
    for (int i = 0; i < 1000; ++i)
        Poke(ram, 0x0400 + i, std::uint8_t(i * 11 + 3));
    return ram;
}
std::vector<std::uint8_t> ColourRam() {
    std::vector<std::uint8_t> colours(1024);
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = std::uint8_t(0xF0 | (i * 5 % 16)); // high bits are not colour
    return colours;
}

TEST(BitmapRender, CellsTakeTheirColoursByMode) {
    MemoryImage ram;
    Poke(ram, 0x0400 + 41, 0x52);
    Poke(ram, 0xD800 + 41, 0x07);
    Poke(ram, 0x2000 + 41 * 8 + 2, 0x1B); // cell (1, 1), line 2: 00 01 10 11
    BitmapView view;
    Raster r = RenderBitmap(ram, {}, view, kPalette);
    ASSERT_EQ(r.width(), 320);
    ASSERT_EQ(r.height(), 200);
    EXPECT_EQ(r.pixel(8 + 3, 10), 0x105u);
    EXPECT_EQ(r.pixel(8 + 2, 10), 0x102u);

    view.multicolour = true;
    view.background = 6;
    view.colourRamAddress = 0xD800;
    r = RenderBitmap(ram, {}, view, kPalette);
    const TColor pairs[4] = {0x106, 0x105, 0x102, 0x107};
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(r.pixel(8 + 2 * p + 1, 10), pairs[p]) << p;
    // The snapshot's colour RAM when no address is named; none at all reads colour 0.
    view.colourRamAddress.reset();
    std::vector<std::uint8_t> colourRam(1024, 0);
    colourRam[41] = 0xF9;
    EXPECT_EQ(RenderBitmap(ram, colourRam, view, kPalette).pixel(8 + 7, 10), 0x109u);
    EXPECT_EQ(RenderBitmap(ram, {}, view, kPalette).pixel(8 + 7, 10), 0x100u);
}

TEST(BitmapRender, KoalaAndArtStudioFilesReadBackAsThePicture) {
    test::TempFolder folder;
    const MemoryImage ram = Picture();
    const auto colourRam = ColourRam();
    BitmapView view;
    view.multicolour = true;
    view.background = 11;
    view.border = 5;

    EXPECT_EQ(SaveKoala(folder.file("pic.kla"), ram, colourRam, view), "Koala Painter picture saved ok.");
    const auto koala = test::ReadBytes(folder.file("pic.kla"));
    ASSERT_EQ(koala.size(), 10003u);
    EXPECT_EQ(koala[0], 0x00);
    EXPECT_EQ(koala[1], 0x60);
    EXPECT_EQ(koala[2 + 8000 + 1000 + 1], 5); // colour of cell 1, low nybble only
    EXPECT_EQ(koala[10002], 11);
    MemoryImage loadedRam;
    auto loaded = LoadMemoryFile(loadedRam, folder.file("pic.kla"), {});
    EXPECT_EQ(loaded.format, FileFormat::Koala);
    EXPECT_EQ(loaded.description, "Koala Painter picture: $6000-$8710");
    auto own = PictureFileView(loaded, loadedRam);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->bitmap, 0x6000);
    EXPECT_EQ(own->colourRamAddress, 0x6000 + 9000);
    EXPECT_EQ(RenderBitmap(loadedRam, {}, *own, kPalette), RenderBitmap(ram, colourRam, view, kPalette));

    view.multicolour = false;
    EXPECT_EQ(SaveArtStudio(folder.file("pic.art"), ram, view), "Art Studio picture saved ok.");
    const auto art = test::ReadBytes(folder.file("pic.art"));
    ASSERT_EQ(art.size(), 9009u);
    EXPECT_EQ(art[1], 0x20);
    EXPECT_EQ(art[2 + 9000], 5);
    EXPECT_EQ(std::vector<std::uint8_t>(art.begin() + 9003, art.end()), std::vector<std::uint8_t>(6, 0));
    loaded = LoadMemoryFile(loadedRam, folder.file("pic.art"), {});
    EXPECT_EQ(loaded.format, FileFormat::ArtStudio);
    own = PictureFileView(loaded, loadedRam);
    ASSERT_TRUE(own);
    EXPECT_FALSE(own->multicolour);
    EXPECT_EQ(own->border, 5);
    EXPECT_EQ(RenderBitmap(loadedRam, {}, *own, kPalette), RenderBitmap(ram, colourRam, view, kPalette));

    // Name and size together: either alone is not a picture.
    test::WriteBytes(folder.file("short.kla"), std::vector<std::uint8_t>(10002, 0));
    test::WriteBytes(folder.file("pic.bin"), koala);
    for (const char* name : {"short.kla", "pic.bin"}) {
        loaded = LoadMemoryFile(loadedRam, folder.file(name), {});
        EXPECT_EQ(loaded.format, FileFormat::Raw) << name;
        EXPECT_FALSE(PictureFileView(loaded, loadedRam));
    }
}

TEST(CharacterRom, SnapshotThenUserFileThenVice) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder.path() / "vice/C64");
    test::WriteBytes(folder.file("vice/C64/chargen"), std::vector<std::uint8_t>(100, 1)); // wrong size
    test::WriteBytes(folder.file("vice/C64/chargen-901225-01.bin"), std::vector<std::uint8_t>(4096, 2));
    test::WriteBytes(folder.file("mine.rom"), std::vector<std::uint8_t>(4096, 3));
    const std::vector<std::filesystem::path> folders{folder.path() / "none", folder.path() / "vice"};

    MachineState state;
    auto rom = FindCharacterRom(&state, "", folders);
    ASSERT_TRUE(rom);
    EXPECT_EQ(rom->bytes, std::vector<std::uint8_t>(4096, 2));
    EXPECT_EQ(rom->origin, (folder.path() / "vice/C64/chargen-901225-01.bin").string());
    rom = FindCharacterRom(&state, folder.file("mine.rom"), folders);
    EXPECT_EQ(rom->bytes, std::vector<std::uint8_t>(4096, 3));
    state.characterRom.assign(4096, 4);
    rom = FindCharacterRom(&state, folder.file("mine.rom"), folders);
    EXPECT_EQ(rom->origin, "the snapshot");
    EXPECT_EQ(rom->bytes, std::vector<std::uint8_t>(4096, 4));

    EXPECT_FALSE(FindCharacterRom(nullptr, "", {folder.path() / "none"}));
    EXPECT_THROW(FindCharacterRom(nullptr, folder.file("vice/C64/chargen"), folders), UserError);
    EXPECT_THROW(ReadCharacterRomFile(folder.file("missing.rom")), UserError);
}

} // namespace
} // namespace mosaiqua
