// The document without a window: load, step, recolour, observers and the saves.
#include "core/document.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace mosaiqua {
namespace {

using Kind = UserError::Kind;

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() {
        // A plain memory file read from offset 0: the sprite at $0040 has its top-left pixel set.
        std::vector<std::uint8_t> memory(0x1000, 0);
        memory[0x40] = 0x80;
        memory[0x800] = 0x80; // character 0 of the set at $0800: top-left pixel
        test::WriteBytes(m_file, memory);
        m_document.setLoadOptions({false, false});
        m_document.addObserver([this](DocumentChange change) { m_changes.push_back(change); });
    }
    test::TempFolder m_folder;
    const std::string m_file = m_folder.file("memory.bin");
    Document m_document;
    std::vector<DocumentChange> m_changes;
};

TEST_F(DocumentTest, LoadStepAndRecolourTellTheObserversAndRedraw) {
    EXPECT_EQ(m_document.sprite().colours, kStartupColours);
    EXPECT_EQ(m_document.palette().kind, PaletteKind::pkTrueVic);
    m_document.load(m_file);
    EXPECT_TRUE(Has(m_changes.back(), DocumentChange::Memory));
    EXPECT_EQ(m_document.loadedFile().format, FileFormat::Raw);
    EXPECT_TRUE(m_document.loadedIdentity().known);

    EXPECT_FALSE(m_document.stepSprite(SpriteStep::PreviousSprite)); // at $0000 already
    EXPECT_TRUE(m_document.stepSprite(SpriteStep::NextSprite));
    EXPECT_EQ(m_document.sprite().address, 0x40);
    EXPECT_EQ(m_changes.back(), DocumentChange::SpriteView);
    EXPECT_EQ(m_document.spriteRasters().SpriteActual.pixel(0, 0), kStartupColours.main);
    m_document.setSpriteColour(ColourSlot::Main, 0x0000FF);
    EXPECT_EQ(m_document.spriteRasters().SpriteActual.pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(m_document.spriteRasters().SpriteBig.pixel(9, 9), 0x0000FFu);

    // A refused file changes nothing and tells no one.
    const std::size_t told = m_changes.size();
    test::ExpectUserError([&] { m_document.load(m_folder.file("missing.bin"), "shown.bin"); },
                          Kind::CannotOpenFile,
                          "Cannot open file \"shown.bin\". The file does not exist or cannot be reached.");
    EXPECT_EQ(m_changes.size(), told);
    EXPECT_EQ(m_document.sprite().address, 0x40);
    EXPECT_EQ(m_document.memory().byteAt(0x40), 0x80);
}

TEST_F(DocumentTest, CharSetViewsRedrawOnlyWhenThePictureCanChange) {
    m_document.load(m_file);
    m_document.setCharSetAddress(0x800);
    const Raster& view = m_document.charSetRasters().CharSetImage;
    EXPECT_EQ(view.pixel(0, 0), kStartupColours.main);
    // Hi-res: a multicolour slot plays no part, so nothing is redrawn.
    m_document.setCharSetColour(ColourSlot::Multicolour1, 0x00FF00);
    EXPECT_EQ(m_changes.back(), DocumentChange::Colours);
    m_document.setCharSetColour(ColourSlot::Main, 0xFF0000);
    EXPECT_EQ(m_changes.back(), DocumentChange::Colours | DocumentChange::CharSetView);
    EXPECT_EQ(view.pixel(0, 0), 0xFF0000u);
    // A byte step moves the address but keeps the pictures until the next redraw.
    EXPECT_TRUE(m_document.stepCharSet(CharSetStep::PlusOneByte));
    EXPECT_EQ(m_document.charSet().address, 0x801);
    EXPECT_EQ(view.pixel(0, 0), 0xFF0000u);
    m_document.refreshCharSetViews();
    EXPECT_EQ(view.pixel(0, 0), kStartupColours.background);
}

TEST_F(DocumentTest, SavesWriteWhatTheViewersShowAndNeverTheLoadedFile) {
    m_document.load(m_file);
    m_document.setSpriteAddress(0x40);
    const std::string one = m_folder.file("one.bmp");
    SaveResult saved = m_document.saveCurrentSprite(one);
    EXPECT_EQ(saved.status, "1 sprite saved ok.");
    EXPECT_EQ(saved.written, std::vector<std::string>{one});
    EXPECT_EQ(test::ReadBytes(one).size(), 54u + 21 * 72); // 24 pixels of 3 bytes a row

    int progress = 0;
    saved =
        m_document.saveRangeToFiles(0x40, 3, m_folder.file("spr.bmp"), [&](int done) { progress = done; });
    EXPECT_EQ(progress, 3);
    EXPECT_EQ(saved.status, "3 sprites saved ok.");
    // The chosen name loses its last four characters to the address.
    EXPECT_EQ(saved.written.back(), m_folder.file("spr00C0.bmp"));
    EXPECT_EQ(m_document.sprite().address, 0x40); // the viewer stays where it was
    EXPECT_EQ(m_folder.names(), (std::vector<std::string>{"memory.bin", "one.bmp", "spr0040.bmp",
                                                          "spr0080.bmp", "spr00C0.bmp"}));

    // The loaded file under another name, and a FIFO for numbered files: refused, nothing written.
    const std::string link = m_folder.file("link.bin");
    std::filesystem::create_hard_link(m_file, link);
    test::ExpectUserError(
        [&] {
            m_document.saveRawData({0, 1}, RawDataFormat::Bin, RawDataLayout::Sprites, link);
        },
        Kind::CannotCreateFile);
    EXPECT_EQ(test::ReadBytes(m_file).size(), 0x1000u);
    ASSERT_EQ(::mkfifo(m_folder.file("pipe").c_str(), 0600), 0);
    test::ExpectUserError([&] { m_document.saveRangeToFiles(0, 2, m_folder.file("pipe")); },
                          Kind::NotAFileName);
    EXPECT_EQ(m_folder.names().size(), 7u);
}

} // namespace
} // namespace mosaiqua
