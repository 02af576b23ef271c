#include "core/memory_image.h"
#include "core/sprite_render.h"
#include "known_pictures.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace mosaiqua {
namespace {

using test::kSlots;
using test::Picture;
using Rows = std::vector<std::string>;

MemoryImage ImageWith(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    MemoryImage image;
    for (const auto& [index, value] : bytes)
        image.write(index, &value, 1);
    return image;
}

Rows Blank(int width, int height) {
    return Rows(std::size_t(height), std::string(std::size_t(width), '.'));
}

TEST(RenderSprite, HiResDrawsOnePixelPerBitMostSignificantFirst) {
    const MemoryImage image = ImageWith({{0x2000, 0x80}, {0x2001, 0x1B}, {0x2002, 0xFF}});
    Raster r(24, 21);
    RenderSprite(image, 0x2000, false, kSlots, r, 0);
    Rows expected = Blank(24, 21);
    expected[0] = "#......."
                  "...##.##"
                  "########";
    EXPECT_EQ(Picture(r, 0, 0, 24, 21), expected);
}

TEST(RenderSprite, MulticolourDrawsEachBitPairTwiceWide) {
    const MemoryImage image = ImageWith({{0x2000, 0x80}, {0x2001, 0x1B}, {0x2002, 0xFF}});
    Raster r(24, 21);
    RenderSprite(image, 0x2000, true, kSlots, r, 0);
    Rows expected = Blank(24, 21);
    expected[0] = "##......"
                  "..11##33"
                  "33333333";
    EXPECT_EQ(Picture(r, 0, 0, 24, 21), expected);
}

TEST(RenderSprite, WritesOnlyItsColumnsAndReadsOnlyItsSixtyThreeBytes) {
    // Unaligned address; the bytes just before it and at offset 63 must not show.
    const MemoryImage image =
        ImageWith({{0x0000, 0xFF}, {0x0001, 0x80}, {0x0001 + 62, 0x01}, {0x0001 + 63, 0xFF}});
    const TColor sentinel = 0x5A5A5A;
    Raster strip(168, 21, sentinel);
    RenderSprite(image, 0x0001, false, kSlots, strip, 48);
    Rows expected = Blank(24, 21);
    expected[0][0] = '#';
    expected[20][23] = '#';
    EXPECT_EQ(Picture(strip, 48, 0, 24, 21), expected);
    int touched = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 168; ++x)
            touched += (x < 48 || x >= 72) && strip.pixel(x, y) != sentinel;
    EXPECT_EQ(touched, 0);
}

TEST(RenderSprite, AtTopOfMemoryReadsTheBytesAfterTheRam) {
    // Row 20 of the sprite at $FFFF starts at index 65535 + 60.
    const MemoryImage image = ImageWith({{65535, 0x80}, {65535 + 60, 0x01}});
    Raster r(24, 21);
    RenderSprite(image, 0xFFFF, false, kSlots, r, 0);
    Rows expected = Blank(24, 21);
    expected[0][0] = '#';
    expected[20][7] = '#';
    EXPECT_EQ(Picture(r, 0, 0, 24, 21), expected);
}

TEST(RenderSprite, DrawsTheBalloonOfTheDemoProgram) {
    MOSAIQUA_SKIP_WITHOUT_DATA(test::DataFile("ballon_demo.prg"));
    MemoryImage image;
    ASSERT_NO_THROW(LoadFreezeFile(image, test::DataFile("ballon_demo.prg"), false));
    Raster r(24, 21);
    RenderSprite(image, 0x0049, false, kSlots, r, 0);
    EXPECT_EQ(Picture(r, 0, 0, 24, 21), test::kBalloon);
}

TEST(SpriteViews, CurrentSpriteAndItsTenfoldEnlargement) {
    const MemoryImage image = ImageWith({{0x0800, 0x80}, {0x0800 + 62, 0x01}, {0x0800 + 63, 0xFF}});
    SpriteRasters views;
    DrawCurrentSpriteRasters(views, image, 0x0800, false, kSlots);
    Rows expected = Blank(24, 21);
    expected[0][0] = '#';
    expected[20][23] = '#';
    EXPECT_EQ(Picture(views.SpriteActual, 0, 0, 24, 21), expected);
    EXPECT_EQ(test::Mismatches(views.SpriteBig,
                               [&](int x, int y) { return views.SpriteActual.pixel(x / 10, y / 10); }),
              0);
    EXPECT_EQ(views.SpriteBig.pixel(235, 205), kSlots.main);
}

TEST(SpriteViews, StripShowsTheSevenSpritesAfterTheAddress) {
    // Sprite k gets its pixel k - 1 of row 0 set; the current sprite and sprite 8 are full rows.
    const std::size_t a = 0x0100;
    MemoryImage image = ImageWith({{a, 0xFF}, {a + 64 * 8, 0xFF}});
    for (unsigned k = 1; k <= 7; ++k) {
        const auto mark = std::uint8_t(0x80u >> (k - 1));
        image.write(a + 64 * k, &mark, 1);
    }
    SpriteRasters views;
    DrawNextSevenSpriteRasters(views, image, std::int64_t(a), false, kSlots);
    Rows expected = Blank(168, 21);
    for (std::size_t k = 1; k <= 7; ++k)
        expected[0][24 * (k - 1) + (k - 1)] = '#';
    EXPECT_EQ(Picture(views.ScanImage, 0, 0, 168, 21), expected);
    EXPECT_EQ(views.SpriteActual.pixels(), std::vector<TColor>(24 * 21, 0)); // untouched
}

TEST(SpriteLabels, StripLabelsStayPutFromFE40) {
    const auto texts = [](std::int64_t address) {
        const SpriteLabelTexts t = SpriteLabelsFor(address);
        return Rows{t.label1, t.label2.value_or("kept"), t.label3.value_or("kept")};
    };
    EXPECT_EQ(texts(0), (Rows{"$0000", "$0040", "$01C0"}));
    EXPECT_EQ(texts(0xFE3F), (Rows{"$FE3F", "$FE7F", "$FFFF"}));
    EXPECT_EQ(texts(0xFE40), (Rows{"$FE40", "kept", "kept"}));
    EXPECT_EQ(texts(0xFFFF), (Rows{"$FFFF", "kept", "kept"}));
    EXPECT_EQ(texts(0x1003F), (Rows{"$1003F", "kept", "kept"}));
}

TEST(SpriteNavigation, EachStepMovesOnlyWithinItsBound) {
    using S = SpriteStep;
    const std::optional<std::int32_t> none;
    const struct {
        std::int32_t from;
        SpriteStep step;
        std::optional<std::int32_t> to;
    } cases[] = {
        {0x0000, S::NextSprite, 0x0040},     {0x0001, S::NextSprite, 0x0041},
        {0xFFBF, S::NextSprite, 0xFFFF},     {0xFFC0, S::NextSprite, none},
        {0x0040, S::PreviousSprite, 0x0000}, {0x003F, S::PreviousSprite, none},
        {0x0001, S::PreviousSprite, none},   {0xFE40, S::PreviousSprite, 0xFE00},
        {0xEFFF, S::Next1000, 0xFFFF},       {0xF000, S::Next1000, none},
        {0x1001, S::Previous1000, 0x0001},   {0x1000, S::Previous1000, none},
        {0xFFFE, S::PlusOneByte, 0xFFFF},    {0xFFFF, S::PlusOneByte, none},
        {0x0001, S::MinusOneByte, 0x0000},   {0x0000, S::MinusOneByte, none},
        {0x1234, S::ToBeginning, 0x0000},    {0x0000, S::ToBeginning, 0x0000},
        {0x0123, S::ToEnd, 0xFE40},          {0xFFFF, S::ToEnd, 0xFE40},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepSpriteAddress(c.from, c.step), c.to) << "from " << c.from << " step " << int(c.step);
}

} // namespace
} // namespace mosaiqua
