// The document's screen: landing on what was on screen when a snapshot opens, the character ROM it
// draws with, and the screen picture's save.
#include "core/document.h"
#include "core/palettes.h"
#include "snapshot_fixture.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace mosaiqua {
namespace {

// The fixture's snapshot (see ScreenSnapshot), in the mode `d011` and `d016` choose.
std::string WriteSnapshot(const test::TempFolder& folder, std::uint8_t d018, std::uint8_t d011 = 0x1B,
                          std::uint8_t d016 = 0x08) {
    const std::string path = folder.file("game.vsf");
    test::WriteBytes(path, test::ScreenSnapshot(d018, {}, d011, d016));
    return path;
}

class DocumentScreenTest : public ::testing::Test {
protected:
    DocumentScreenTest() {
        m_document.setViceDataFolders({}); // no installed VICE takes part
        m_document.addObserver([this](DocumentChange change) { m_changes.push_back(change); });
    }
    test::TempFolder m_folder;
    Document m_document;
    std::vector<DocumentChange> m_changes;
};

TEST_F(DocumentScreenTest, ASnapshotOpensOnItsFirstVisibleSpriteAndItsCharacterSet) {
    m_document.load(WriteSnapshot(m_folder, 0x18)); // characters at $2000
    const PaletteTable& vic = TrueVicTable;
    // Sprite 0 is on but empty: sprite 1 is where the viewer lands, with $D021/$D025/$D028/$D026.
    EXPECT_EQ(m_document.sprite().address, 0x3040);
    EXPECT_TRUE(m_document.sprite().multicolour);
    EXPECT_EQ(m_document.sprite().colours, (ColourSlots{vic[6], vic[8], vic[7], vic[13]}));
    EXPECT_EQ(m_document.charSet().address, 0x2000);
    EXPECT_FALSE(m_document.charSet().multicolour);
    EXPECT_EQ(m_document.charSet().colours.main, vic[5]); // the colour RAM's colour
    EXPECT_EQ(m_document.followStatus(),
              "Showing what was on screen: sprite 1 at $3040, character set at $2000.");
    ASSERT_FALSE(m_changes.empty());
    EXPECT_TRUE(Has(m_changes.back(), DocumentChange::Colours));

    // Switched off: the viewers stay where they are, as for a file without machine state.
    m_document.setFollowSnapshotOnOpen(false);
    m_document.setSpriteAddress(0x0100);
    m_document.load(WriteSnapshot(m_folder, 0x18));
    EXPECT_EQ(m_document.sprite().address, 0x0100);
    EXPECT_EQ(m_document.followStatus(), "");
    m_document.setFollowSnapshotOnOpen(true);
    const std::string plain = m_folder.file("plain.bin");
    test::WriteBytes(plain, std::vector<std::uint8_t>(0x100, 0x55));
    m_document.setLoadOptions({false, false});
    m_document.load(plain);
    EXPECT_EQ(m_document.sprite().address, 0x0100);
    EXPECT_EQ(m_document.charSet().address, 0x2000);
    EXPECT_EQ(m_document.followStatus(), "");
    test::ExpectUserError([&] { m_document.composeScreen({}); }, UserError::Kind::NoMachineState,
                          "The file holds no machine state.");
}

TEST_F(DocumentScreenTest, TheCharacterRomIsTheUsersFileWhenTheSnapshotHasNone) {
    // Characters at $1000 of bank 0: the video chip reads the ROM, and screen code 0 is everywhere.
    m_document.load(WriteSnapshot(m_folder, 0x14));
    EXPECT_FALSE(m_document.characterRom());
    EXPECT_TRUE(m_document.composeScreen({false, false}).characterRomMissing);

    const std::string shortRom = m_folder.file("short.rom");
    test::WriteBytes(shortRom, std::vector<std::uint8_t>(4095, 0xFF));
    test::ExpectUserError([&] { m_document.setCharacterRomFile(shortRom); }, UserError::Kind::CannotOpenFile,
                          "The character ROM file \"" + shortRom +
                              "\" holds 4095 bytes; a character ROM holds 4096.");
    EXPECT_EQ(m_document.characterRomFile(), "");

    const std::string rom = m_folder.file("chargen.rom");
    test::WriteBytes(rom, std::vector<std::uint8_t>(4096, 0xFF)); // every glyph solid
    m_document.setCharacterRomFile(rom);
    ASSERT_TRUE(m_document.characterRom());
    EXPECT_EQ(m_document.characterRom()->origin, rom);
    const ComposedScreen screen = m_document.composeScreen({false, false});
    EXPECT_FALSE(screen.characterRomMissing);
    EXPECT_EQ(screen.picture.pixel(0, 0), TrueVicTable[5]); // foreground: colour RAM
    EXPECT_EQ(screen.picture.pixel(319, 199), TrueVicTable[5]);

    // The picture at twice the size: a 24-bit BMP of 768 x 544, rows of 2304 bytes.
    const std::string saved = m_folder.file("screen.bmp");
    EXPECT_EQ(m_document.saveScreenPicture(saved, {}, 2).status, "Screen picture saved ok.");
    EXPECT_EQ(test::ReadBytes(saved).size(), std::size_t(54 + 2304 * 544));
    EXPECT_THROW(m_document.saveScreenPicture(saved, {}, 9), UserError);
}

TEST_F(DocumentScreenTest, ABitmapScreenOpensTheBitmapViewerOnItInItsModeAndColours) {
    // Multicolour bitmap at $2000 with its cell colours at $0400; the sprites are there too.
    m_document.load(WriteSnapshot(m_folder, 0x18, 0x3B, 0x18));
    const BitmapView& view = m_document.bitmap();
    EXPECT_EQ(view.bitmap, 0x2000);
    EXPECT_EQ(view.screen, 0x0400);
    EXPECT_TRUE(view.multicolour);
    EXPECT_EQ(view.background, 6);
    EXPECT_FALSE(view.colourRamAddress); // the snapshot's
    EXPECT_EQ(m_document.followStatus(), "Showing what was on screen: sprite 1 at $3040, bitmap at $2000.");
    EXPECT_TRUE(Has(m_changes.back(), DocumentChange::BitmapView));
    EXPECT_EQ(m_document.ownBitmap(), view);

    // The picture is drawn in the palette in force, and redrawn when it changes.
    m_document.setBitmapAddress(0x3040); // solid bytes: colour RAM's colour everywhere
    EXPECT_EQ(m_document.bitmapRaster().pixel(0, 0), TrueVicTable[5]);
    m_document.choosePalette(*PaletteForKeyword("ccs64"));
    EXPECT_EQ(m_document.bitmapRaster().pixel(0, 0), Ccs64Table[5]);

    // A click on the bitmap screen takes the bitmap viewer back to what the VIC shows.
    EXPECT_EQ(m_document.chooseOnScreen({false, false}, 8, 8), "Bitmap cell at $2148 (column 1, row 1).");
    EXPECT_EQ(m_document.bitmap(), view);

    // A text screen has no bitmap of its own, though the VIC still points at one.
    m_document.load(WriteSnapshot(m_folder, 0x18));
    EXPECT_FALSE(m_document.ownBitmap());
    ASSERT_TRUE(m_document.vicBitmap());
    EXPECT_FALSE(m_document.vicBitmap()->multicolour);
}

TEST_F(DocumentScreenTest, BitmapsSaveAsKoalaAndArtStudioAndOpenAgainInTheirOwnColours) {
    m_document.load(WriteSnapshot(m_folder, 0x18, 0x3B, 0x18));
    m_document.setBitmapAddress(0x3000); // half empty, half solid: every colour pair shows
    m_document.setBitmapBackground(2);
    const Raster shown = m_document.bitmapRaster();
    const std::string koala = m_folder.file("pic.kla");
    EXPECT_EQ(m_document.saveBitmap(BitmapFileKind::Koala, koala).status, "Koala Painter picture saved ok.");
    EXPECT_EQ(test::ReadBytes(koala).size(), kKoalaFileBytes);

    m_document.load(koala);
    EXPECT_EQ(m_document.bitmap().bitmap, kKoalaLoadAddress);
    EXPECT_EQ(m_document.bitmap().colourRamAddress, kKoalaLoadAddress + 9000);
    EXPECT_EQ(m_document.bitmapRaster(), shown);

    m_document.setBitmapMulticolour(false);
    const Raster hires = m_document.bitmapRaster();
    const std::string art = m_folder.file("pic.art");
    m_document.saveBitmap(BitmapFileKind::ArtStudio, art);
    EXPECT_EQ(test::ReadBytes(art).size(), kArtStudioFileBytes);
    m_document.load(art);
    EXPECT_EQ(m_document.bitmap().bitmap, kArtStudioLoadAddress);
    EXPECT_EQ(m_document.bitmapRaster(), hires);

    // Steps stop at the ends of memory and change nothing there.
    EXPECT_TRUE(m_document.stepBitmap(BitmapStep::ToEnd));
    EXPECT_EQ(m_document.bitmap().bitmap, kLastVicBitmap);
    EXPECT_FALSE(m_document.stepBitmap(BitmapStep::Next2000));
    EXPECT_TRUE(m_document.stepBitmap(BitmapStep::NextRow));
    EXPECT_EQ(m_document.bitmap().bitmap, kLastVicBitmap + kBitmapRowBytes);
    m_document.setBitmapScreen(0xFC00);
    EXPECT_FALSE(m_document.stepBitmapScreen(true));
    EXPECT_EQ(m_document.bitmap().screen, 0xFC00);
}

} // namespace
} // namespace mosaiqua
