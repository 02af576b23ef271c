#include "core/charset_render.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace mosaiqua {
namespace {

using test::kSlots;
using test::Picture;
using Point = std::pair<int, int>;
using Kind = CharSetViewKind;

// Renders a hi-res view of an image that holds only the given bytes (each a single set bit) and
// returns where the main colour shows. Everything else must be background.
std::set<Point> LitPixels(Kind kind, std::int64_t address,
                          std::initializer_list<std::pair<std::int64_t, std::uint8_t>> bytes) {
    MemoryImage image;
    for (const auto& [offset, value] : bytes)
        image.write(std::size_t(address + offset), &value, 1);
    Raster r;
    RenderCharSetView(kind, image, address, kSlots, false, r);
    std::set<Point> lit;
    int other = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            if (r.pixel(x, y) == kSlots.main)
                lit.insert({x, y});
            else
                other += r.pixel(x, y) != kSlots.background;
        }
    EXPECT_EQ(other, 0);
    return lit;
}

TEST(CharSetGeometry, MatchesTheThreeViews) {
    const auto check = [](Kind kind, std::vector<int> expected) {
        const CharSetViewGeometry& g = GeometryOf(kind);
        EXPECT_EQ((std::vector<int>{g.width, g.height, g.columns, g.rows, g.cellWidth, g.cellHeight,
                                    g.byteRows, g.highestOffset}),
                  expected);
    };
    check(Kind::cv8x8, {240, 72, 30, 9, 8, 8, 30 * 9 * 8, 30 * 9 * 8 - 1});
    check(Kind::cv8x16, {240, 144, 30, 9, 8, 16, 30 * 9 * 16, 512 + 30 * 9 * 8 - 1});
    check(Kind::cv16x16, {480, 48, 30, 3, 16, 16, 30 * 3 * 32, 1536 + 30 * 3 * 8 - 1});

    CharSetRasters rasters;
    for (Kind kind : kRefreshOrder) {
        EXPECT_EQ(rasters.of(kind).width(), GeometryOf(kind).width);
        EXPECT_EQ(rasters.of(kind).height(), GeometryOf(kind).height);
    }
}

TEST(CharSetRender, EightByEightPlacesCellNAtItsRowAndColumn) {
    // Offsets: cell 0 rows 0 and 7, cell 29 row 3, cell 30 row 0, cell 269 row 7, then one past the end.
    const std::set<Point> lit = LitPixels(
        Kind::cv8x8, 0x3000,
        {{-1, 0xFF}, {0, 0x80}, {7, 0x01}, {8 * 29 + 3, 0x80}, {8 * 30, 0x80}, {2159, 0x01}, {2160, 0xFF}});
    EXPECT_EQ(lit, (std::set<Point>{{0, 0}, {7, 7}, {232, 3}, {0, 8}, {239, 71}}));
}

TEST(CharSetRender, EightBySixteenStacksTheCharacter512BytesOn) {
    // Offset 515 is row 3 of cell 64's top and of cell 0's bottom; 2152 is cell 269's top and
    // cell 205's bottom; 2671 is the last byte of cell 269's bottom.
    const std::set<Point> lit =
        LitPixels(Kind::cv8x16, 0, {{0, 0x80}, {515, 0x80}, {2152, 0x80}, {2671, 0x01}, {2672, 0xFF}});
    EXPECT_EQ(lit,
              (std::set<Point>{{0, 0}, {32, 32 + 3}, {0, 8 + 3}, {232, 128}, {200, 96 + 8}, {239, 143}}));
}

TEST(CharSetRender, SixteenBySixteenPutsQuartersAt0And512And1024And1536) {
    const std::set<Point> lit = LitPixels(Kind::cv16x16, 0x1000,
                                          {{0, 0x80},        // cell 0 top-left
                                           {8, 0x80},        // cell 1 top-left
                                           {512 + 1, 0x80},  // cell 0 top-right, cell 64 top-left
                                           {1024 + 2, 0x80}, // cell 0 bottom-left, cell 64 top-right
                                           {1536 + 3, 0x80}, // cell 0 bottom-right, cell 64 bottom-left
                                           {2255, 0x01},     // cell 89 bottom-right, last row
                                           {2256, 0xFF}});
    EXPECT_EQ(lit, (std::set<Point>{{0, 0},
                                    {16, 0},
                                    {8, 1},
                                    {64, 32 + 1},
                                    {0, 8 + 2},
                                    {72, 32 + 2},
                                    {8, 8 + 3},
                                    {64, 32 + 8 + 3},
                                    {16 * 29 + 15, 47}}));
}

TEST(CharSetRender, ByteToPixelsInBothModesAndEveryPixelDrawn) {
    MemoryImage image;
    const std::uint8_t b = 0x1B;
    image.write(0x0800, &b, 1);
    for (Kind kind : kRefreshOrder) {
        for (bool multicolour : {false, true}) {
            Raster r(3, 3, 0x5A5A5A);
            RenderCharSetView(kind, image, 0x0800, kSlots, multicolour, r);
            const CharSetViewGeometry& g = GeometryOf(kind);
            ASSERT_EQ(r.width(), g.width);
            ASSERT_EQ(r.height(), g.height);
            std::vector<std::string> expected(std::size_t(g.height), std::string(std::size_t(g.width), '.'));
            expected[0].replace(0, 8, multicolour ? "..11##33" : "...##.##");
            EXPECT_EQ(Picture(r, 0, 0, g.width, g.height), expected) << int(kind) << " " << multicolour;
        }
    }
}

TEST(CharSetRender, DrawsTheLetterAOfTheRom) {
    MOSAIQUA_SKIP_WITHOUT_DATA(test::DataFile("chargen_openroms.rom"));
    MemoryImage image;
    ASSERT_NO_THROW(LoadFreezeFile(image, test::DataFile("chargen_openroms.rom"), false));
    Raster r;
    RenderCharSetView(Kind::cv8x8, image, 0, kSlots, false, r);
    EXPECT_EQ(Picture(r, 8, 0, 8, 8),
              (std::vector<std::string>{"..####..", ".##..##.", ".##..##.", ".######.", ".##..##.",
                                        ".##..##.", ".##..##.", "........"}));
}

// Where the j-th byte row of each view lands, in the order the progress steps report them.
std::vector<Point> ExpectedDrawingOrder(Kind kind) {
    std::vector<Point> order;
    const auto rowsOfCells = [&](int cellRows, int x0, int xStep, int yStep, int yOffset) {
        for (int r = 0; r < cellRows; ++r)
            for (int c = 0; c < 30; ++c)
                for (int k = 0; k < 8; ++k)
                    order.push_back({x0 + xStep * c, yStep * r + yOffset + k});
    };
    if (kind == Kind::cv8x8) {
        rowsOfCells(9, 0, 8, 8, 0);
    } else if (kind == Kind::cv8x16) {
        rowsOfCells(9, 0, 8, 16, 0);
        rowsOfCells(9, 0, 8, 16, 8);
    } else {
        for (int half : {0, 8})
            for (int r = 0; r < 3; ++r)
                for (int x0 : {0, 8})
                    for (int c = 0; c < 30; ++c)
                        for (int k = 0; k < 8; ++k)
                            order.push_back({x0 + 16 * c, 16 * r + half + k});
    }
    return order;
}

TEST(CharSetRender, NotifiesOnceAfterEachByteRowInDrawingOrder) {
    // Every byte is $FF, so a byte row shows in the main colour as soon as it is drawn.
    MemoryImage image;
    const std::vector<std::uint8_t> ones(4096, 0xFF);
    image.write(0, ones.data(), ones.size());
    for (Kind kind : kRefreshOrder) {
        SCOPED_TRACE(int(kind));
        const std::vector<Point> order = ExpectedDrawingOrder(kind);
        ASSERT_EQ(int(order.size()), GeometryOf(kind).byteRows);
        Raster r;
        std::size_t steps = 0;
        int outOfOrder = 0;
        const auto drawn = [&](Point p) {
            return r.width() > 0 && r.pixel(p.first, p.second) == kSlots.main &&
                   r.pixel(p.first + 7, p.second) == kSlots.main;
        };
        auto step = [&] {
            if (steps < order.size() &&
                (!drawn(order[steps]) || (steps + 1 < order.size() && drawn(order[steps + 1]))))
                ++outOfOrder;
            ++steps;
        };
        RenderCharSetView(kind, image, 0, kSlots, false, r, step);
        EXPECT_EQ(steps, order.size());
        EXPECT_EQ(outOfOrder, 0);
    }
}

TEST(CharSetRefresh, PlanDrawsRequestedEnabledViewsAndSumsTheirRows) {
    const CharSetViewFlags all{true, true, true};
    const CharSetViewFlags none{};
    const auto plan = [](CharSetViewFlags requested, CharSetViewFlags enabled) {
        const CharSetRefreshPlan p = PlanCharSetRefresh(requested, enabled);
        return std::vector<int>{p.draw8x8, p.draw16x16, p.draw8x16, p.progressTotal};
    };
    EXPECT_EQ(plan(all, all), (std::vector<int>{1, 1, 1, 2160 + 2880 + 4320}));
    EXPECT_EQ(plan(all, {true, false, false}), (std::vector<int>{1, 0, 0, 2160}));
    EXPECT_EQ(plan({false, true, false}, all), (std::vector<int>{0, 1, 0, 2880}));
    EXPECT_EQ(plan({false, false, true}, all), (std::vector<int>{0, 0, 1, 4320}));
    EXPECT_EQ(plan(none, all), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(plan(all, none), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(kRefreshOrder, (std::array<Kind, 3>{Kind::cv8x8, Kind::cv16x16, Kind::cv8x16}));
}

TEST(CharSetStepping, StepsStayWithinMemoryAndNeedAnEnabledView) {
    using S = CharSetStep;
    const std::optional<std::int32_t> none;
    EXPECT_EQ(StepCharSetAddress(0xF7FF, S::Next0800, true), 0xFFFF);
    EXPECT_EQ(StepCharSetAddress(0xF800, S::Next0800, true), none);
    EXPECT_EQ(StepCharSetAddress(0x0800, S::Previous0800, true), 0x0000);
    EXPECT_EQ(StepCharSetAddress(0x07FF, S::Previous0800, true), none);
    EXPECT_EQ(StepCharSetAddress(0x2000, S::PlusOneByte, true), 0x2001);
    EXPECT_EQ(StepCharSetAddress(0xFFFF, S::PlusOneByte, true), none);
    EXPECT_EQ(StepCharSetAddress(0x0001, S::MinusOneByte, true), 0x0000);
    EXPECT_EQ(StepCharSetAddress(0x0000, S::MinusOneByte, true), none);
    for (S step : {S::Next0800, S::Previous0800, S::PlusOneByte, S::MinusOneByte})
        EXPECT_EQ(StepCharSetAddress(0x2000, step, false), none);
    EXPECT_TRUE(StepRedrawsViews(S::Next0800));
    EXPECT_TRUE(StepRedrawsViews(S::Previous0800));
    EXPECT_FALSE(StepRedrawsViews(S::PlusOneByte));
    EXPECT_FALSE(StepRedrawsViews(S::MinusOneByte));
}

} // namespace
} // namespace mosaiqua
