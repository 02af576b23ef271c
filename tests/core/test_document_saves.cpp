// The document's saves of sprites, views, bitmaps, the screen and editor files: each writes the files it
// reports, in what the viewers show, and a failed write leaves the old file and no temporary.
#include "bmp_reader.h"
#include "core/document.h"
#include "core/palettes.h"
#include "editor_file_reader.h"
#include "failing_output.h"
#include "snapshot_fixture.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace mosaiqua {
namespace {

using test::kSlots;

// `cells` sprites side by side from sprite `first` of the fixture's memory, drawn multicolour.
Raster Strip(int cells, int first) {
    Raster strip(kSpriteWidth * cells, kSpriteHeight, kSlots.background);
    for (int k = 0; k < cells; ++k)
        for (int x : {0, 1})
            strip.setPixel(kSpriteWidth * k + x, first + k, kSlots.multicolour1);
    return strip;
}

test::BmpPicture ReadBmp(const std::string& path) {
    test::BmpPicture picture;
    EXPECT_EQ(test::ParseBmp(test::ReadBytes(path), picture), "") << path;
    return picture;
}

class DocumentSavesTest : public ::testing::Test {
protected:
    DocumentSavesTest() {
        // Sprite j starts its row j with the pair 01: two multicolour-1 pixels (hi-res: one main).
        std::vector<std::pair<int, std::uint8_t>> pokes;
        for (int j = 0; j < kSpriteHeight; ++j)
            pokes.emplace_back(0x40 * j + 3 * j, std::uint8_t(0x40));
        test::WriteBytes(m_snapshot, test::ScreenSnapshot(0x18, pokes)); // characters at $2000
        m_document.setViceDataFolders({});
        m_document.load(m_snapshot);
        m_document.setSpriteAddress(0x40);
        m_document.setSpriteMulticolour(true);
        m_document.setSpriteColours(kSlots);
        m_document.setCharSetViewEnabled(CharSetViewKind::cv8x16, true);
        m_document.setCharSetViewEnabled(CharSetViewKind::cv16x16, true);
        SaveSettings settings;
        settings.spriteBitsPerPixel = 32; // the views keep 24, so a save at the other depth shows
        settings.sizes.finalWidth = "48"; // a sheet of two cells
        settings.sizes.finalHeight = "21";
        m_document.setSaveSettings(settings);
    }

    // A BMP holding exactly `expected` at `depth`.
    std::function<void(const std::string&)> bmp(std::function<Raster()> expected, int depth) const {
        return [=](const std::string& path) {
            const test::BmpPicture picture = ReadBmp(path);
            const Raster want = expected();
            EXPECT_EQ(picture.bitsPerPixel, depth);
            EXPECT_EQ(picture.width, want.width());
            EXPECT_EQ(picture.height, want.height());
            EXPECT_TRUE(picture.pixels == want.pixels()) << path << " is not what the save composes";
        };
    }

    test::TempFolder m_folder;
    const std::string m_snapshot = m_folder.file("game.vsf");
    Document m_document;
};

TEST_F(DocumentSavesTest, EachSaveWritesWhatItReportsAndAFailedOneKeepsTheOldFile) {
    using Save = std::function<SaveResult(const std::string& path)>;
    const Document& d = m_document;
    const auto view = [&](CharSetViewKind kind) {
        return [&d, kind] { return d.charSetRasters().of(kind); };
    };
    const auto overview = [&](OverviewPage page) { return [&d, page] { return d.renderOverview(page); }; };
    const struct {
        const char* file; // where the save is pointed
        Save save;
        std::function<void(const std::string& path)> check; // each file written
    } saves[] = {
        {"seven.bmp", [&](auto& p) { return d.saveNextSeven(p); }, bmp([] { return Strip(7, 2); }, 32)},
        {"sheet.bmp",
         [&](auto& p) {
             const SaveResult saved = d.saveRangeToSheet(0x100, 3, p);
             EXPECT_EQ(saved.sprites, 2); // of 3: the sheet holds two cells
             return saved;
         },
         bmp([] { return Strip(2, 4); }, 32)},
        {"8x8.bmp", [&](auto& p) { return d.saveCharSetView(CharSetViewKind::cv8x8, p); },
         bmp(view(CharSetViewKind::cv8x8), 24)},
        {"8x16.bmp", [&](auto& p) { return d.saveCharSetView(CharSetViewKind::cv8x16, p); },
         bmp(view(CharSetViewKind::cv8x16), 24)},
        {"16x16.bmp", [&](auto& p) { return d.saveCharSetView(CharSetViewKind::cv16x16, p); },
         bmp(view(CharSetViewKind::cv16x16), 24)},
        {"anim.gif", [&](auto& p) { return d.saveAnimation(3, 100, p); },
         [](const std::string& path) {
             // The header and the logical screen: one sprite cell.
             test::Bytes gif = test::ReadBytes(path);
             gif.resize(10);
             EXPECT_EQ(gif, (test::Bytes{'G', 'I', 'F', '8', '9', 'a', 24, 0, 21, 0}));
         }},
        {"sprites.bmp", [&](auto& p) { return d.saveOverview(OverviewPage::Sprites, p); },
         bmp(overview(OverviewPage::Sprites), 24)},
        {"chars.bmp", [&](auto& p) { return d.saveOverview(OverviewPage::CharSets, p); },
         bmp(overview(OverviewPage::CharSets), 24)},
        {"", [&](auto&) { return d.saveOnScreenSprites(m_folder.path().string(), false); },
         [](const std::string& path) {
             const test::BmpPicture sprite = ReadBmp(path);
             EXPECT_EQ(sprite.bitsPerPixel, 32);
             EXPECT_EQ(sprite.width * sprite.height, kSpriteWidth * kSpriteHeight);
         }},
        {"screen.bmp", [&](auto& p) { return d.saveScreenPicture(p, {}); },
         bmp([&d] { return d.composeScreen({}).picture; }, 24)},
        {"copy.vsf", [&](auto& p) { return d.saveViceSnapshot(p); },
         [&d](const std::string& path) {
             Document copy;
             copy.setViceDataFolders({});
             copy.load(path);
             ASSERT_TRUE(copy.machineState());
             EXPECT_EQ(copy.machineState()->vic, d.machineState()->vic);
             EXPECT_EQ(copy.machineState()->colourRam, d.machineState()->colourRam);
             int differ = 0;
             for (int a = 0; a < 0x10000; ++a)
                 differ += copy.memory().byteAt(a) != d.memory().byteAt(a);
             EXPECT_EQ(differ, 0);
         }},
        {"bitmap.bmp", [&](auto& p) { return d.saveBitmap(BitmapFileKind::Picture, p); },
         bmp([&d] { return d.bitmapRaster(); }, 24)},
        {"bitmap.kla", [&](auto& p) { return d.saveBitmap(BitmapFileKind::Koala, p); },
         [](const std::string& path) { EXPECT_EQ(test::ReadBytes(path).size(), 10003u); }},
        {"bitmap.art", [&](auto& p) { return d.saveBitmap(BitmapFileKind::ArtStudio, p); },
         [](const std::string& path) { EXPECT_EQ(test::ReadBytes(path).size(), 9009u); }},
        {"range.spd", [&](auto& p) { return d.saveSpritePad(0x80, 0x140, p); },
         [](const std::string& path) {
             const test::SpdFile spd = test::ReadSpd(test::ReadBytes(path));
             ASSERT_EQ(spd.data.size(), 3u);
             for (std::size_t k = 0; k < 3; ++k)
                 EXPECT_EQ(spd.data[k][3 * (k + 2)], 0x40) << "sprite " << k;
             EXPECT_TRUE(spd.attributes[0] & 0x80); // the viewer's multicolour
         }},
        {"screen.spd", [&](auto& p) { return d.saveOnScreenSpritePad(p); },
         [](const std::string& path) {
             const test::SpdFile spd = test::ReadSpd(test::ReadBytes(path));
             ASSERT_EQ(spd.data.size(), 3u); // sprites 0-2 are on
             EXPECT_EQ(spd.data[1], test::Bytes(63, 0xFF));
         }},
        {"set.ctm", [&](auto& p) { return d.saveCharPad(p); },
         [](const std::string& path) {
             // The screen is drawn with the set at $2000, so its map comes along.
             const test::CtmFile ctm = test::ReadCtm(test::ReadBytes(path));
             EXPECT_EQ(ctm.characters, 256);
             EXPECT_EQ(ctm.mapWidth * ctm.mapHeight, 40 * 25);
         }},
    };
    ASSERT_EQ(d.charSet().address, 0x2000);
    for (const auto& row : saves) {
        SCOPED_TRACE(*row.file ? row.file : "on-screen sprites");
        const std::vector<std::string> before = m_folder.names();
        const SaveResult saved = row.save(m_folder.file(row.file));
        // On-screen sprites only speak of what needs saying; every other save reports itself.
        EXPECT_EQ(saved.status.empty(), !*row.file) << saved.status;
        ASSERT_FALSE(saved.written.empty());
        std::vector<std::string> expected = before;
        for (const std::string& path : saved.written) {
            expected.push_back(std::filesystem::path(path).filename().string());
            row.check(path);
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(m_folder.names(), expected);

        for (const std::string& path : saved.written)
            test::WriteBytes(path, {'o', 'l', 'd'});
        m_document.setOutputOpener(test::FailingOpener(10));
        EXPECT_THROW(row.save(m_folder.file(row.file)), UserError);
        m_document.setOutputOpener({});
        for (const std::string& path : saved.written)
            EXPECT_EQ(test::ReadBytes(path), (test::Bytes{'o', 'l', 'd'})) << path;
        EXPECT_EQ(m_folder.names(), expected);
    }
}

TEST_F(DocumentSavesTest, OverviewsAndOnScreenSpritesDrawInTheirOwnModesAndColours) {
    // The sprite page in the sprite viewer's multicolour, the character page in the character-set
    // viewer's hi-res colours (the snapshot's).
    m_document.saveOverview(OverviewPage::Sprites, m_folder.file("sprites.bmp"));
    test::BmpPicture page = ReadBmp(m_folder.file("sprites.bmp"));
    EXPECT_EQ(page.at(2 * kSpriteWidth + 1, 2), kSlots.multicolour1);
    m_document.saveOverview(OverviewPage::CharSets, m_folder.file("chars.bmp"));
    page = ReadBmp(m_folder.file("chars.bmp"));
    const ColourSlots& set = m_document.charSet().colours;
    ASSERT_NE(set.main, set.background);
    EXPECT_EQ(page.at(0, 0), set.background);
    EXPECT_EQ(page.at(1, 0), set.main);

    // Sprite 1 is multicolour and solid: $D026 everywhere, not the viewer's colours.
    const SaveResult saved = m_document.saveOnScreenSprites(m_folder.path().string(), false);
    ASSERT_EQ(saved.written.size(), 3u);
    EXPECT_EQ(saved.written[1], m_folder.file("sprite1_3040.BMP"));
    EXPECT_EQ(ReadBmp(saved.written[1]).at(0, 0), TrueVicTable[13]);
}

} // namespace
} // namespace mosaiqua
