#include "core/graphics_scan.h"
#include "core/overview.h"
#include "graphics_corpus.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace mosaiqua {
namespace {

using test::CorpusImage;
using test::Filler;

// ROM set 1 at $2000, the balloon at $4840 amid code, code, text and screen memory elsewhere.
struct HandMadeImage {
    MemoryImage image;
    HandMadeImage() {
        std::mt19937 random(7);
        const Filler around[] = {Filler::Code, Filler::Ascii, Filler::ScreenMemory, Filler::Code};
        for (int block = 0; block < 32; ++block) {
            const auto bytes = test::Filled(around[block % 4], random, 0x800);
            image.write(std::size_t(block) * 0x800, bytes.data(), bytes.size());
        }
        const auto rom = test::ReadBytes(test::DataFile("chargen_openroms.rom"));
        image.write(0x2000, rom.data(), 0x800);
        const auto prg = test::ReadBytes(test::DataFile("ballon_demo.prg"));
        image.write(0x4840, prg.data() + 0x49, 63);
    }
};

TEST(GraphicsScan, RealGraphicsOutrankCodeAndText) {
    MOSAIQUA_SKIP_WITHOUT_DATA(test::DataFile("chargen_openroms.rom"));
    MOSAIQUA_SKIP_WITHOUT_DATA(test::DataFile("ballon_demo.prg"));
    const HandMadeImage made;
    const GraphicsScores scores = ScoreGraphics(made.image);
    const float rom = scores.charsets[0x2000 / 0x800];
    int compared = 0;
    for (int block = 0; block < 32; ++block)
        if (block != 4) {
            EXPECT_GT(rom, scores.charsets[std::size_t(block)]) << "block " << block;
            ++compared;
        }
    EXPECT_EQ(compared, 31);
    // The balloon against the 31 cells of code around it in block 9 ($4800-$4FFF).
    const float balloon = scores.sprites[0x4840 / 64];
    for (int cell = 0x4800 / 64; cell < 0x5000 / 64; ++cell)
        if (cell != 0x4840 / 64) {
            EXPECT_GT(balloon, scores.sprites[std::size_t(cell)]) << "cell " << cell;
        }
    EXPECT_EQ(SpriteCandidates(scores, 1).front().address, 0x4840);
    EXPECT_EQ(CharSetCandidates(scores, 1).front().address, 0x2000);
}

TEST(GraphicsScan, EmptyMemoryHasNoCandidates) {
    const GraphicsScores scores = ScoreGraphics(MemoryImage());
    EXPECT_TRUE(SpriteCandidates(scores).empty());
    EXPECT_TRUE(CharSetCandidates(scores).empty());
    EXPECT_EQ(ScoreSpriteCell(MemoryImage(), 1024), 0.0f);
    EXPECT_EQ(ScoreCharSetBlock(MemoryImage(), -1), 0.0f);
}

// Precision and recall of the top candidates over the corpus, for the heuristic and for the trivial
// score (every non-empty cell alike, in address order). The figures go to docs/FINDING-GRAPHICS.md.
struct Tally {
    int found = 0, listed = 0, present = 0;
    void add(const std::vector<std::int32_t>& top, const std::set<std::int32_t>& truth) {
        for (auto a : top)
            found += int(truth.count(a));
        listed += int(top.size());
        present += int(truth.size());
    }
    double precision() const { return listed ? double(found) / listed : 0; }
    double recall() const { return present ? double(found) / present : 0; }
};

std::vector<std::int32_t> topOf(const std::vector<GraphicsCandidate>& list, std::size_t n) {
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i < list.size() && i < n; ++i)
        out.push_back(list[i].address);
    return out;
}

std::vector<std::int32_t> trivialTop(const MemoryImage& image, int stride, std::size_t n) {
    std::vector<std::int32_t> out;
    for (int a = 0; a < 0x10000 && out.size() < n; a += stride)
        for (int i = 0; i < stride; ++i)
            if (image.byteAt(a + i) != 0) {
                out.push_back(a);
                break;
            }
    return out;
}

TEST(GraphicsScanCorpus, FindsMoreThanTheTrivialScore) {
    MOSAIQUA_SKIP_WITHOUT_DATA(test::DataFile("chargen_openroms.rom"));
    MOSAIQUA_SKIP_WITHOUT_DATA(test::DataFile("ballon_demo.prg"));
    constexpr unsigned kImages = 40;
    // Top k = as many as there are (R-precision), and fixed lists of 16 sprites / 4 character sets.
    Tally spriteR, spriteTop16, charR, charTop4, trivialSpriteR, trivialSprite16, trivialCharR, trivialChar4;
    double expectedSprite = 0, expectedChar = 0; // the trivial score with ties in random order
    for (unsigned seed = 1; seed <= kImages; ++seed) {
        const CorpusImage c = test::MakeCorpusImage(seed);
        expectedSprite += double(c.sprites.size()) / double(trivialTop(c.image, 64, 1024).size()) / kImages;
        expectedChar += double(c.charsets.size()) / double(trivialTop(c.image, 0x800, 32).size()) / kImages;
        const GraphicsScores scores = ScoreGraphics(c.image);
        const auto sprites = SpriteCandidates(scores);
        const auto charsets = CharSetCandidates(scores);
        spriteR.add(topOf(sprites, c.sprites.size()), c.sprites);
        spriteTop16.add(topOf(sprites, 16), c.sprites);
        charR.add(topOf(charsets, c.charsets.size()), c.charsets);
        charTop4.add(topOf(charsets, 4), c.charsets);
        trivialSpriteR.add(trivialTop(c.image, 64, c.sprites.size()), c.sprites);
        trivialSprite16.add(trivialTop(c.image, 64, 16), c.sprites);
        trivialCharR.add(trivialTop(c.image, 0x800, c.charsets.size()), c.charsets);
        trivialChar4.add(trivialTop(c.image, 0x800, 4), c.charsets);
    }
    const auto line = [](const char* what, const Tally& score, const Tally& trivial) {
        std::printf("%-28s precision %.2f recall %.2f | trivial precision %.2f recall %.2f\n", what,
                    score.precision(), score.recall(), trivial.precision(), trivial.recall());
    };
    std::printf("corpus: %u images, %d sprites, %d character sets\n", kImages, spriteR.present,
                charR.present);
    line("sprites, top k = present", spriteR, trivialSpriteR);
    line("sprites, top 16", spriteTop16, trivialSprite16);
    line("character sets, top k", charR, trivialCharR);
    line("character sets, top 4", charTop4, trivialChar4);
    std::printf(
        "trivial score, ties in random order: expected precision %.2f (sprites), %.2f (character sets)\n",
        expectedSprite, expectedChar);

    EXPECT_GE(spriteR.precision(), 0.9);
    EXPECT_GE(charR.precision(), 0.9);
    EXPECT_GT(spriteR.precision(), trivialSpriteR.precision() + 0.5);
    EXPECT_GT(charR.precision(), trivialCharR.precision() + 0.5);
}

// 32 x 32 sprite cells of 24 x 21; 8 x 4 blocks of 16 x 16 characters of 8 x 8.
TEST(Overview, PixelsAndAddressesMeetOnBothPages) {
    EXPECT_EQ(OverviewWidth(OverviewPage::Sprites), 32 * 24);
    EXPECT_EQ(OverviewHeight(OverviewPage::Sprites), 32 * 21);
    EXPECT_EQ(OverviewWidth(OverviewPage::CharSets), 8 * 128);
    EXPECT_EQ(OverviewHeight(OverviewPage::CharSets), 4 * 128);

    EXPECT_EQ(OverviewAddressAt(OverviewPage::Sprites, 0, 0), 0);
    EXPECT_EQ(OverviewAddressAt(OverviewPage::Sprites, 24 * 3 + 23, 21 * 2 + 20), (2 * 32 + 3) * 64);
    EXPECT_EQ(OverviewAddressAt(OverviewPage::Sprites, 767, 671), 0xFFC0);
    EXPECT_EQ(OverviewAddressAt(OverviewPage::Sprites, 768, 0), std::nullopt);
    // Block 1 * 8 + 2 = 10, character row 3 column 5 inside it.
    EXPECT_EQ(OverviewAddressAt(OverviewPage::CharSets, 2 * 128 + 5 * 8 + 7, 128 + 3 * 8), 10 * 0x800);
    EXPECT_EQ(OverviewAddressAt(OverviewPage::CharSets, 2 * 128 + 5 * 8 + 7, 128 + 3 * 8, true),
              10 * 0x800 + (3 * 16 + 5) * 8);
    EXPECT_EQ(OverviewAddressAt(OverviewPage::CharSets, -1, 0), std::nullopt);

    // Eight sprites from $07F0 touch cells 31..39: the end of row 0, then row 1 from its start.
    const auto rects = OverviewRangeRects(OverviewPage::Sprites, 0x07F0, 8 * 64);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ((std::array{rects[0].left, rects[0].top, rects[0].width, rects[0].height}),
              (std::array{31 * 24, 0, 24, 21}));
    EXPECT_EQ((std::array{rects[1].left, rects[1].top, rects[1].width, rects[1].height}),
              (std::array{0, 21, 8 * 24, 21}));
    // Nothing beyond $FFFF is outlined.
    EXPECT_EQ(OverviewRangeRects(OverviewPage::CharSets, 0xFFF8, 2160).size(), 1u);
}

TEST(Overview, DrawsEachCellWhereItsAddressSays) {
    MemoryImage image;
    const std::uint8_t left = 0x80;
    image.write(33 * 64, &left, 1);            // sprite cell 33: column 1, row 1
    image.write(0x800 + 17 * 8 + 2, &left, 1); // block 1, character 17: column 1, row 1; its third row
    const ColourSlots colours{1, 2, 3, 4};
    Raster sprites, charsets;
    DrawOverview(OverviewPage::Sprites, image, false, colours, sprites);
    DrawOverview(OverviewPage::CharSets, image, false, colours, charsets);
    EXPECT_EQ(sprites.pixel(24, 21), 3u);
    EXPECT_EQ(sprites.pixel(25, 21), 1u);
    EXPECT_EQ(charsets.pixel(128 + 8, 8 + 2), 3u);
    EXPECT_EQ(charsets.pixel(128 + 8, 8 + 1), 1u);
    DrawOverview(OverviewPage::Sprites, image, true, colours, sprites);
    EXPECT_EQ(sprites.pixel(25, 21), 3u); // pair 10 is the main colour, two pixels wide
}

} // namespace
} // namespace mosaiqua
