#include "bmp_reader.h"
#include "core/export.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace mosaiqua {
namespace {

using test::ExpectUserError;
using Kind = UserError::Kind;

constexpr TColor kWhite = 0xFFFFFF;

TColor SpriteColour(std::int32_t address) {
    return MakeColor(std::uint8_t(address >> 8), std::uint8_t(address), 0x40);
}

// Stands in for the window: "showing" a sprite paints the current-sprite raster with a colour named
// after its address, and a white bottom-right pixel.
class RangeExportTest : public ::testing::Test {
protected:
    RangeExportTest() {
        m_walk.showSprite = [this](std::int32_t address) {
            m_events.push_back("show " + std::to_string(address));
            show(address);
        };
        m_walk.afterSprite = [this] { m_events.push_back("after"); };
    }
    void show(std::int32_t address) {
        m_actual.fill(SpriteColour(address));
        m_actual.setPixel(23, 20, kWhite);
    }
    test::BmpPicture readBack(const std::string& name, int bitsPerPixel) {
        test::BmpPicture picture;
        EXPECT_EQ(test::ParseBmp(test::ReadBytes(m_folder.path() / name), picture), "") << name;
        EXPECT_EQ(picture.bitsPerPixel, bitsPerPixel);
        return picture;
    }

    test::TempFolder m_folder;
    Raster m_actual{24, 21};
    RangeWalk m_walk;
    std::vector<std::string> m_events;
};

TEST_F(RangeExportTest, ToFilesWritesOneBmpPerSprite) {
    show(0x1000);
    const int written = SaveRangeToFiles(m_actual, 0x1000, SpriteCount(0x1000, 0x1100),
                                         m_folder.file("a.BMP"), {}, {}, m_walk);
    EXPECT_EQ(written, 4);
    EXPECT_EQ(m_folder.names(),
              (std::vector<std::string>{"a1000.bmp", "a1040.bmp", "a1080.bmp", "a10C0.bmp"}));
    const std::vector<std::string> walk = {"show 4160", "after", "show 4224", "after",
                                           "show 4288", "after", "show 4352", "after"};
    EXPECT_EQ(m_events, walk);
    int k = 0;
    for (const std::string name : {"a1000.bmp", "a1040.bmp", "a1080.bmp", "a10C0.bmp"}) {
        const test::BmpPicture picture = readBack(name, 24);
        ASSERT_EQ(picture.width, 24);
        ASSERT_EQ(picture.height, 21);
        const TColor colour = SpriteColour(0x1000 + 0x40 * k++);
        int wrong = 0;
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 24; ++x)
                wrong += picture.at(x, y) != (x == 23 && y == 20 ? kWhite : colour);
        EXPECT_EQ(wrong, 0) << name;
    }
}

TEST_F(RangeExportTest, ToFilesWritesNothingWhenItCannotStart) {
    show(0x1000);
    const std::string chosen = m_folder.file("a.BMP");
    ExpectUserError([&] { SaveRangeToFiles(m_actual, 0x1000, 0, chosen, {}, {}, m_walk); },
                    Kind::NothingToSave);
    EXPECT_TRUE(m_events.empty());

    SaveSizeTexts letters;
    letters.spriteWidth = "x";
    ExpectUserError([&] { SaveRangeToFiles(m_actual, 0x1000, 4, chosen, letters, {}, m_walk); },
                    Kind::NotAnInteger, "'x' is not a valid integer value");
    SaveSizeTexts zero;
    zero.bitmapWidth = "0";
    ExpectUserError([&] { SaveRangeToFiles(m_actual, 0x1000, 4, chosen, zero, {}, m_walk); },
                    Kind::BadBitmapSize);
    EXPECT_TRUE(m_folder.names().empty());
}

TEST_F(RangeExportTest, ToFilesStopsAtAFileThatCannotBeCreatedKeepingTheEarlierOnes) {
    std::filesystem::create_directory(m_folder.path() / "a1080.bmp");
    show(0x1000);
    const std::string chosen = m_folder.file("a.BMP");
    ExpectUserError([&] { SaveRangeToFiles(m_actual, 0x1000, 4, chosen, {}, {}, m_walk); },
                    Kind::CannotCreateFile,
                    "Cannot create file " + m_folder.file("a1080.bmp") +
                        ": Is a directory (2 of the 4 files were written before it)");
    EXPECT_EQ(m_folder.names(), (std::vector<std::string>{"a1000.bmp", "a1040.bmp", "a1080.bmp"}));
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.path() / "a1080.bmp"));
    EXPECT_EQ(readBack("a1040.bmp", 24).at(0, 0), SpriteColour(0x1040));
}

TEST(SingleBitmapSheet, DefaultsPutTwentySixCellsToARow) {
    SingleBitmapSheet sheet(640, 480, 24, 21);
    ASSERT_EQ(sheet.bitmap().width(), 640);
    ASSERT_EQ(sheet.bitmap().height(), 480);
    EXPECT_EQ(sheet.bitmap().pixels(), std::vector<TColor>(640 * 480, 0));
    for (int k = 0; k < 27; ++k)
        sheet.add(Raster(24, 21, TColor(k + 1)), 24, 21);
    EXPECT_EQ(sheet.column(), 1);
    EXPECT_EQ(sheet.row(), 1);
    const Raster& b = sheet.bitmap();
    EXPECT_EQ(b.pixel(25 * 24 + 23, 20), 26u); // sprite 25 ends row 0
    EXPECT_EQ(b.pixel(0, 21), 27u);            // sprite 26 starts row 1 at y = 21
    EXPECT_EQ(b.pixel(23, 41), 27u);
    EXPECT_EQ(b.pixel(24, 21), 0u);
    int lit = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 26 * 24; x < 640; ++x)
            lit += b.pixel(x, y) != 0;
    EXPECT_EQ(lit, 0); // the last 16 columns stay black
}

TEST(SingleBitmapSheet, LaterCellsOverwriteAndOverhangIsClipped) {
    SingleBitmapSheet sheet(100, 50, 24, 21);
    sheet.add(Raster(24, 21, 1), 48, 42);
    sheet.add(Raster(24, 21, 2), 48, 42);
    EXPECT_EQ(sheet.bitmap().pixel(10, 30), 1u);
    EXPECT_EQ(sheet.bitmap().pixel(30, 30), 2u);
    EXPECT_EQ(sheet.bitmap().pixel(71, 41), 2u);
    EXPECT_EQ(sheet.bitmap().pixel(72, 0), 0u);

    // A cell wider than the bitmap: the row never wraps, only the first cell shows.
    SingleBitmapSheet narrow(20, 30, 24, 21);
    for (TColor c : {1u, 2u, 3u})
        narrow.add(Raster(24, 21, c), 24, 21);
    EXPECT_EQ(narrow.column(), 3);
    EXPECT_EQ(narrow.row(), 0);
    EXPECT_EQ(test::Mismatches(narrow.bitmap(), [](int, int y) { return y < 21 ? 1u : 0u; }), 0);
}

TEST(SingleBitmapSheet, RefusesBadSizes) {
    ExpectUserError([] { SingleBitmapSheet(0, 480, 24, 21); }, Kind::BadBitmapSize);
    ExpectUserError([] { SingleBitmapSheet(640, -1, 24, 21); }, Kind::BadBitmapSize);
    EXPECT_THROW(SingleBitmapSheet(640, 480, 0, 21), UserError);
    EXPECT_THROW(SingleBitmapSheet(640, 480, 24, 0), UserError);
}

TEST_F(RangeExportTest, ToSheetLaysTheRangeOutOnOneBitmap) {
    show(0x1000);
    SaveRangeToSheet(m_actual, 0x1000, 27, m_folder.file("sheet.BMP"), {}, AtDepth(32), m_walk);
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{"sheet.BMP"});
    ASSERT_EQ(m_events.size(), 2u * 27);
    EXPECT_EQ(m_events.back(), "after");
    EXPECT_EQ(m_events[m_events.size() - 2], "show " + std::to_string(0x1000 + 27 * 0x40));

    const test::BmpPicture picture = readBack("sheet.BMP", 32);
    ASSERT_EQ(picture.width, 640);
    ASSERT_EQ(picture.height, 480);
    for (int k = 0; k < 27; ++k) {
        const int x = 24 * (k % 26);
        const int y = 21 * (k / 26);
        EXPECT_EQ(picture.at(x, y), SpriteColour(0x1000 + 0x40 * k)) << k;
        EXPECT_EQ(picture.at(x + 23, y + 20), kWhite) << k;
    }
    EXPECT_EQ(picture.at(24, 21), 0u);
    EXPECT_EQ(picture.at(639, 0), 0u);
}

TEST_F(RangeExportTest, ToSheetWritesNothingWhenItCannotStart) {
    show(0x1000);
    const std::string chosen = m_folder.file("sheet.BMP");
    ExpectUserError([&] { SaveRangeToSheet(m_actual, 0x1000, 0, chosen, {}, {}, m_walk); },
                    Kind::NothingToSave);
    SaveSizeTexts letters;
    letters.finalWidth = "abc";
    ExpectUserError([&] { SaveRangeToSheet(m_actual, 0x1000, 4, chosen, letters, {}, m_walk); },
                    Kind::NotAnInteger, "'abc' is not a valid integer value");
    SaveSizeTexts zero;
    zero.bitmapWidth = "0";
    EXPECT_THROW(SaveRangeToSheet(m_actual, 0x1000, 4, chosen, zero, {}, m_walk), UserError);
    EXPECT_TRUE(m_folder.names().empty());
}

// The cell obeys the rules of a single sprite's bitmap; a sheet on which no cell fits writes nothing,
// and one on which some fit says how many.
TEST_F(RangeExportTest, ToSheetCellsFollowTheSpriteRulesAndCountWhatFits) {
    show(0x1000);
    const std::string chosen = m_folder.file("sheet.BMP");
    const struct {
        SaveSizeTexts texts;
        Kind kind;
        std::string message;
    } refused[] = {
        {{"24", "21", "-24", "21", "640", "480"},
         Kind::BadBitmapSize,
         "A bitmap of -24 x 21 pixels cannot be saved: width and height must be at least 1."},
        {{"24", "21", "0", "21", "640", "480"},
         Kind::BadBitmapSize,
         "A bitmap of 0 x 21 pixels cannot be saved: width and height must be at least 1."},
        {{"24", "21", "24", "21", "23", "21"},
         Kind::NothingToSave,
         "Not even one cell of 24 x 21 pixels fits on a bitmap of 23 x 21: nothing was saved."},
    };
    for (const auto& r : refused)
        ExpectUserError([&] { SaveRangeToSheet(m_actual, 0x1000, 16, chosen, r.texts, {}, m_walk); }, r.kind,
                        r.message);
    EXPECT_TRUE(m_folder.names().empty());
    // 48 x 42 holds 2 x 2 cells of 24 x 21: 4 of 16; all 16 when there is room.
    EXPECT_EQ(
        SaveRangeToSheet(m_actual, 0x1000, 16, chosen, {"24", "21", "24", "21", "48", "42"}, {}, m_walk), 4);
    EXPECT_EQ(SaveRangeToSheet(m_actual, 0x1000, 16, chosen, {}, {}, m_walk), 16);
}

// With several bad texts the message names the first one read: bw, bh, fw, fh, then sw, sh.
TEST_F(RangeExportTest, ToSheetNamesTheFirstBadSizeInReadingOrder) {
    show(0x1000);
    const std::string chosen = m_folder.file("sheet.BMP");
    const auto expectNamed = [&](const SaveSizeTexts& texts, const std::string& text) {
        ExpectUserError([&] { SaveRangeToSheet(m_actual, 0x1000, 4, chosen, texts, {}, m_walk); },
                        Kind::NotAnInteger, "'" + text + "' is not a valid integer value");
    };
    expectNamed({"sw?", "sh?", "bw?", "bh?", "fw?", "fh?"}, "bw?");
    expectNamed({"sw?", "sh?", "24", "bh?", "fw?", "fh?"}, "bh?");
    expectNamed({"sw?", "sh?", "24", "21", "fw?", "fh?"}, "fw?");
    expectNamed({"sw?", "sh?", "24", "21", "640", "fh?"}, "fh?");
    expectNamed({"sw?", "sh?", "24", "21", "640", "480"}, "sw?");
    expectNamed({"24", "sh?", "24", "21", "640", "480"}, "sh?");
    EXPECT_TRUE(m_folder.names().empty());
}

} // namespace
} // namespace mosaiqua
