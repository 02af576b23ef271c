#include "core/export.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace mosaiqua {
namespace {

using test::ExpectUserError;
using test::Mismatches;
using test::Tag;
using test::Tagged;
using Kind = UserError::Kind;

TEST(ReadSize, AcceptsSignedDecimalFittingThirtyTwoBits) {
    EXPECT_EQ(ReadSize("24"), 24);
    EXPECT_EQ(ReadSize("0"), 0);
    EXPECT_EQ(ReadSize("-5"), -5);
    EXPECT_EQ(ReadSize("+7"), 7);
    EXPECT_EQ(ReadSize("00000640"), 640);
    EXPECT_EQ(ReadSize("2147483647"), INT_MAX);
    EXPECT_EQ(ReadSize("-2147483648"), INT_MIN);
}

TEST(ReadSize, RefusesAnythingElseNamingTheTextAsTyped) {
    for (const std::string text : {"", " ", " 24", "24 ", "abc", "12a", "0x10", "1e3", "+", "-", "--1",
                                   "2147483648", "-2147483649", "99999999999999999999", "\xD9\xA3"}) {
        SCOPED_TRACE(text);
        ExpectUserError([&] { ReadSize(text); }, Kind::NotAnInteger,
                        "'" + text + "' is not a valid integer value");
    }
}

TEST(ReadSize, CellSizesReadBitmapSizeBeforeSpriteSize) {
    SaveSizeTexts texts{"sw?", "sh?", "bw?", "bh?", "640", "480"};
    ExpectUserError([&] { ReadCellSizes(texts); }, Kind::NotAnInteger, "'bw?' is not a valid integer value");
    texts.bitmapWidth = "30";
    ExpectUserError([&] { ReadCellSizes(texts); }, Kind::NotAnInteger, "'bh?' is not a valid integer value");
    texts.bitmapHeight = "22";
    ExpectUserError([&] { ReadCellSizes(texts); }, Kind::NotAnInteger, "'sw?' is not a valid integer value");
    texts.spriteWidth = "48";
    ExpectUserError([&] { ReadCellSizes(texts); }, Kind::NotAnInteger, "'sh?' is not a valid integer value");
    texts.spriteHeight = "-42";
    const SpriteCellSizes sizes = ReadCellSizes(texts);
    EXPECT_EQ(sizes.spriteWidth, 48);
    EXPECT_EQ(sizes.spriteHeight, -42);
    EXPECT_EQ(sizes.bitmapWidth, 30);
    EXPECT_EQ(sizes.bitmapHeight, 22);
}

TEST(CheckBitmapSize, RefusesEmptyNegativeAndHugeBitmaps) {
    CheckBitmapSize(1, 1);
    CheckBitmapSize(1 << 13, 1 << 13); // exactly kMaxBitmapPixels
    EXPECT_EQ(kMaxBitmapPixels, std::int64_t(1) << 26);
    const std::int64_t refused[][2] = {
        {0, 21}, {24, 0}, {-1, 21}, {24, -1}, {1 << 13, (1 << 13) + 1}, {INT_MAX, INT_MAX}, {INT_MIN, -1}};
    for (const auto& size : refused)
        ExpectUserError([&] { CheckBitmapSize(size[0], size[1]); }, Kind::BadBitmapSize);
}

TEST(ComposeSprite, DefaultSizesCopyTheSpritePixelForPixel) {
    const Raster sprite = Tagged(24, 21);
    EXPECT_EQ(ComposeCurrentSprite(sprite, {24, 21, 24, 21}), sprite);
}

TEST(ComposeSprite, DoubleSizeMakesTwoByTwoBlocks) {
    const Raster out = ComposeCurrentSprite(Tagged(24, 21), {48, 42, 48, 42});
    ASSERT_EQ(out.width(), 48);
    ASSERT_EQ(out.height(), 42);
    EXPECT_EQ(Mismatches(out, [](int x, int y) { return Tag(x / 2, y / 2); }), 0);
}

TEST(ComposeSprite, LargerCellLeavesTheRestBlack) {
    const Raster out = ComposeCurrentSprite(Tagged(24, 21), {24, 21, 32, 32});
    ASSERT_EQ(out.width(), 32);
    ASSERT_EQ(out.height(), 32);
    EXPECT_EQ(Mismatches(out, [](int x, int y) { return x < 24 && y < 21 ? Tag(x, y) : 0u; }), 0);
}

TEST(ComposeSprite, SmallerCellKeepsTheTopLeftQuarterOfTheEnlargement) {
    const Raster out = ComposeCurrentSprite(Tagged(24, 21), {48, 42, 24, 21});
    ASSERT_EQ(out.width(), 24);
    ASSERT_EQ(out.height(), 21);
    EXPECT_EQ(Mismatches(out, [](int x, int y) { return Tag(x / 2, y / 2); }), 0);
}

TEST(ComposeSprite, NextSevenSitInCellsOfTheBitmapWidth) {
    const Raster out = ComposeNextSeven(Tagged(168, 21), {24, 21, 30, 21});
    ASSERT_EQ(out.width(), 7 * 30);
    ASSERT_EQ(out.height(), 21);
    // Sprite k starts at x = 30k and is followed by 6 black columns.
    EXPECT_EQ(Mismatches(out, [](int x, int y) { return x % 30 < 24 ? Tag(24 * (x / 30) + x % 30, y) : 0u; }),
              0);
}

TEST(ComposeSprite, BadCellSizesAreRefused) {
    const Raster sprite = Tagged(24, 21);
    ExpectUserError([&] { ComposeCurrentSprite(sprite, {24, 21, 0, 21}); }, Kind::BadBitmapSize);
    ExpectUserError([&] { ComposeCurrentSprite(sprite, {24, 21, 24, -21}); }, Kind::BadBitmapSize);
    ExpectUserError([&] { ComposeCurrentSprite(sprite, {24, 21, 1 << 20, 1 << 20}); }, Kind::BadBitmapSize);
    const Raster strip = Tagged(168, 21);
    ExpectUserError([&] { ComposeNextSeven(strip, {24, 21, 0, 21}); }, Kind::BadBitmapSize);
    // One cell fits the limit, seven of them do not.
    ExpectUserError([&] { ComposeNextSeven(strip, {24, 21, 10000, 1000}); }, Kind::BadBitmapSize);
}

TEST(SpriteRange, CountsWholeSpritesAndOneMoreForAnEndOfFFFF) {
    EXPECT_EQ(SpriteCount(0x0000, 0x0040), 1);
    EXPECT_EQ(SpriteCount(0x0000, 0x0010), 0);
    EXPECT_EQ(SpriteCount(0x0000, 0xFFFF), 1024);
    EXPECT_EQ(SpriteCount(0x0000, 0xFFC0), 1023);
    EXPECT_EQ(SpriteCount(0xFF80, 0xFFFF), 2);
    EXPECT_EQ(SpriteCount(0x1000, 0x1100), 4);
    EXPECT_EQ(SpriteCount(0x0800, 0x0800), 0);
    EXPECT_EQ(SpriteCount(0x0800, 0x0700), -(0x100 / 64));

    CheckRangeCount(0x1000, 0x1100, 4);
    ExpectUserError([] { CheckRangeCount(0x0000, 0x0010, 0); }, Kind::NothingToSave);
    ExpectUserError([] { CheckRangeCount(0x0800, 0x0800, 0); }, Kind::NothingToSave);
    ExpectUserError([] { CheckRangeCount(0x0800, 0x0700, -4); }, Kind::NothingToSave);
}

TEST(FileNames, RangeFilesDropTheLastFourCharactersAndAddTheAddress) {
    EXPECT_EQ(RangeFileName("/out/a.BMP", 0x1000), "/out/a1000.bmp");
    EXPECT_EQ(RangeFileName("/out/a.BMP", 0x10C0), "/out/a10C0.bmp");
    EXPECT_EQ(RangeFileName("/out/spr.BMP", 0x0040), "/out/spr0040.bmp");
    EXPECT_EQ(RangeFileName("/out/sprite", 0x2000), "/out/sp2000.bmp");
    EXPECT_EQ(RangeFileName("/out/a.BMP", 0x10000), "/out/a10000.bmp");
    // Characters, not bytes: "\xC3\xA4" is one character.
    EXPECT_EQ(RangeFileName("/out/\xC3\xA4"
                            "bcd",
                            0x1000),
              "/out/1000.bmp");
    EXPECT_EQ(RangeFileName("/out/B\xC3\xA4lle", 0x1000), "/out/B1000.bmp");
    // Only the file name gives way: a short one entirely, and the folder never.
    const std::pair<const char*, const char*> folders[] = {
        {"out/ab", "out/2000.bmp"}, {"out/abcd", "out/2000.bmp"},     {"out/", "out/2000.bmp"},
        {"ab", "2000.bmp"},         {"o.x/abcdef", "o.x/ab2000.bmp"}, {"/a/b.c/d", "/a/b.c/2000.bmp"},
    };
    for (const auto& [chosen, expected] : folders)
        EXPECT_EQ(RangeFileName(chosen, 0x2000), expected) << chosen;
}

TEST(FileNames, PresetNames) {
    EXPECT_EQ(PresetCurrentSpriteName(0x0800), "spr0800.BMP");
    EXPECT_EQ(PresetNextSevenName(0x0800), "084009C0.BMP");
    EXPECT_EQ(PresetNextSevenName(0xFE40), "FE8010000.BMP");
    EXPECT_EQ(PresetCharSetName(0xD000), "chrD000.BMP");
    EXPECT_EQ(PresetCharSetName(0x0800), "chr0800.BMP");
    EXPECT_STREQ(kPresetRangeName, "spr.BMP");
    EXPECT_STREQ(kPresetSheetName, "bitmap.BMP");
}

TEST(FitFigures, CellsPerRowRowsAndTotal) {
    const FitFigures defaults = ComputeFitFigures(24, 21, 640, 480);
    EXPECT_EQ((std::vector<std::int64_t>{defaults.bitmapWidth, defaults.bitmapHeight, defaults.maxX,
                                         defaults.maxY, defaults.total}),
              (std::vector<std::int64_t>{24, 21, 640 / 24, 480 / 21, 26 * 22}));
    const FitFigures tooWide = ComputeFitFigures(700, 21, 640, 480);
    EXPECT_EQ(tooWide.maxX, 0);
    EXPECT_EQ(tooWide.total, 0);
    ExpectUserError([] { ComputeFitFigures(0, 21, 640, 480); }, Kind::DivisionByZero, "Division by zero");
    ExpectUserError([] { ComputeFitFigures(24, 0, 640, 480); }, Kind::DivisionByZero, "Division by zero");
}

} // namespace
} // namespace mosaiqua
