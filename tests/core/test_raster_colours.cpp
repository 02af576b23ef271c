#include "core/address_text.h"
#include "core/colours.h"
#include "core/raster.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

namespace mosaiqua {
namespace {

using test::Tag;
using test::Tagged;

TEST(Colours, TColorKeepsRedInTheLowByte) {
    EXPECT_EQ(MakeColor(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(RedOf(0x563412), 0x12);
    EXPECT_EQ(GreenOf(0x563412), 0x34);
    EXPECT_EQ(BlueOf(0x563412), 0x56);
}

TEST(Colours, OnlyTheC64KindsHaveATable) {
    EXPECT_EQ(TableFor(PaletteKind::pkCcs64), &Ccs64Table);
    EXPECT_EQ(TableFor(PaletteKind::pkTrueVic), &TrueVicTable);
    EXPECT_EQ(TableFor(PaletteKind::pkWindows), nullptr);
}

TEST(Colours, SpriteResetAlsoSetsTwoCharSetSlots) {
    ColourSlots sprite{1, 2, 3, 4};
    ColourSlots charSet{5, 6, 7, 8};
    ResetSpriteColours(sprite, charSet);
    EXPECT_EQ(sprite, (ColourSlots{0x000000, 0x444444, 0x6C6C6C, 0xFFFFFF}));
    EXPECT_EQ(charSet, (ColourSlots{5, 0x444444, 0x6C6C6C, 8}));

    ResetCharSetColours(charSet);
    EXPECT_EQ(charSet, (ColourSlots{0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF}));
    EXPECT_EQ(sprite, (ColourSlots{0x000000, 0x444444, 0x6C6C6C, 0xFFFFFF}));
}

TEST(AddressText, UpperCaseHexWithAtLeastFourDigits) {
    EXPECT_EQ(HexAddress(0), "0000");
    EXPECT_EQ(HexAddress(0xABC), "0ABC");
    EXPECT_EQ(HexAddress(0xD000), "D000");
    EXPECT_EQ(HexAddress(0x10000), "10000");
    EXPECT_EQ(ScreenAddress(0x800), "$0800");
    EXPECT_EQ(ScreenAddress(0x1003F), "$1003F");
}

TEST(StretchCopy, TenfoldEnlargementMakesTenByTenBlocks) {
    const Raster src = Tagged(24, 21);
    Raster dst(240, 210);
    StretchCopy(src, {0, 0, 24, 21}, dst, {0, 0, 240, 210});
    EXPECT_EQ(test::Mismatches(dst, [](int x, int y) { return Tag(x / 10, y / 10); }), 0);
    EXPECT_EQ(dst.pixel(235, 205), Tag(23, 20));
}

// Destination pixel i of a span of D over a source span of S takes source i * S / D.
TEST(StretchCopy, PicksTheNearestSourcePixelWhenScalingByFractions) {
    const Raster src = Tagged(3, 1);
    Raster dst(5, 1);
    StretchCopy(src, {0, 0, 3, 1}, dst, {0, 0, 5, 1});
    EXPECT_EQ(dst.pixels(), (std::vector<TColor>{Tag(0, 0), Tag(0, 0), Tag(1, 0), Tag(1, 0), Tag(2, 0)}));

    const Raster wide = Tagged(4, 1);
    Raster half(2, 1);
    StretchCopy(wide, {0, 0, 4, 1}, half, {0, 0, 2, 1});
    EXPECT_EQ(half.pixels(), (std::vector<TColor>{Tag(0, 0), Tag(2, 0)}));
}

TEST(StretchCopy, ClipsWhatFallsOutsideTheDestination) {
    const Raster src = Tagged(2, 2);
    Raster dst(4, 4);
    StretchCopy(src, {0, 0, 2, 2}, dst, {2, 2, 4, 4});
    EXPECT_EQ(dst.pixel(2, 2), Tag(0, 0));
    EXPECT_EQ(dst.pixel(3, 3), Tag(0, 0));
    EXPECT_EQ(dst.pixel(1, 1), 0u);
    EXPECT_EQ(dst.pixel(3, 1), 0u);

    Raster shifted(4, 4);
    StretchCopy(src, {0, 0, 2, 2}, shifted, {-2, -2, 4, 4});
    // The visible part is span positions 2 and 3, which take source pixel 1.
    EXPECT_EQ(shifted.pixel(0, 0), Tag(1, 1));
    EXPECT_EQ(shifted.pixel(1, 1), Tag(1, 1));
    EXPECT_EQ(shifted.pixel(2, 0), 0u);
    EXPECT_EQ(shifted.pixel(0, 2), 0u);
}

TEST(StretchCopy, NegativeSizesMirrorAndExtendBackFromTheCorner) {
    const Raster row = Tagged(4, 1);
    Raster mirrored(4, 1);
    StretchCopy(row, {0, 0, 4, 1}, mirrored, {4, 0, -4, 1});
    EXPECT_EQ(mirrored.pixels(), (std::vector<TColor>{Tag(3, 0), Tag(2, 0), Tag(1, 0), Tag(0, 0)}));

    const Raster column = Tagged(1, 3);
    Raster flipped(1, 3);
    StretchCopy(column, {0, 0, 1, 3}, flipped, {0, 3, 1, -3});
    EXPECT_EQ(flipped.pixels(), (std::vector<TColor>{Tag(0, 2), Tag(0, 1), Tag(0, 0)}));

    // A sprite drawn with a negative width from x = 0 lands wholly left of the bitmap.
    Raster black(4, 1);
    StretchCopy(row, {0, 0, 4, 1}, black, {0, 0, -4, 1});
    EXPECT_EQ(black.pixels(), std::vector<TColor>(4, 0));
}

} // namespace
} // namespace mosaiqua
