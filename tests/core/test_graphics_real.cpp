#include "core/graphics_scan.h"
#include "real_parts_corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>

namespace mosaiqua {
namespace {

using test::RealImage;

constexpr unsigned kImagesPerSide = 24;

// Precision of the first 16, 32 and 64 sprite candidates and how often the screen's character set is
// among the first three blocks, averaged over images.
struct Figures {
    double at16 = 0, at32 = 0, at64 = 0, charsetTop3 = 0;
    int images = 0;
    void add(const std::vector<std::int32_t>& ranked, const RealImage& c,
             const std::vector<std::int32_t>& blocks) {
        std::vector<std::int32_t> counted;
        for (auto a : ranked)
            if (!c.unsure.count(a))
                counted.push_back(a);
        const auto precision = [&](std::size_t k) {
            int hits = 0;
            for (std::size_t i = 0; i < k && i < counted.size(); ++i)
                hits += int(c.sprites.count(counted[i]));
            return double(hits) / double(k);
        };
        at16 += precision(16);
        at32 += precision(32);
        at64 += precision(64);
        const auto top3 = blocks.begin() + std::ptrdiff_t(std::min<std::size_t>(3, blocks.size()));
        charsetTop3 += std::find(blocks.begin(), top3, c.screenCharSet) != top3;
        ++images;
    }
    void print(const char* what) const {
        std::printf("%-26s %5.2f %5.2f %5.2f   %5.2f\n", what, at16 / images, at32 / images, at64 / images,
                    charsetTop3 / images);
    }
};

std::vector<std::int32_t> addressesOf(const std::vector<GraphicsCandidate>& list) {
    std::vector<std::int32_t> out;
    for (const auto& c : list)
        out.push_back(c.address);
    return out;
}

// The trivial ranking: the cells (blocks) with most non-zero bytes first, ties in address order.
std::vector<std::int32_t> fullestFirst(const MemoryImage& image, int stride, int count) {
    std::vector<std::pair<int, std::int32_t>> filled;
    for (int i = 0; i < count; ++i) {
        int n = 0;
        for (int k = 0; k < (stride == 64 ? 63 : stride); ++k)
            n += image.byteAt(i * stride + k) != 0;
        filled.push_back({-n, i * stride});
    }
    std::stable_sort(filled.begin(), filled.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<std::int32_t> out;
    for (const auto& f : filled)
        out.push_back(f.second);
    return out;
}

struct Side {
    Figures score, trivial;
    double random = 0;          // expected precision of cells picked at random
    std::map<char, int> misses; // kinds of the wrong cells among the first 32 candidates
};

Side measure(const test::RealParts& parts, bool heldOut) {
    Side side;
    for (unsigned seed = 1; seed <= kImagesPerSide; ++seed) {
        const RealImage c = test::MakeRealImage(parts, seed, heldOut);
        const GraphicsScores scores = ScoreGraphics(c.image);
        const auto sprites = addressesOf(SpriteCandidates(scores));
        side.score.add(sprites, c, addressesOf(CharSetCandidates(scores)));
        side.trivial.add(fullestFirst(c.image, 64, 1024), c, fullestFirst(c.image, 0x800, 32));
        side.random += double(c.sprites.size()) / double(1024 - c.unsure.size()) / kImagesPerSide;
        int listed = 0;
        for (auto a : sprites)
            if (!c.unsure.count(a) && listed++ < 32 && !c.sprites.count(a))
                ++side.misses[c.kinds[std::size_t(a / 64)]];
    }
    return side;
}

// The figures in docs/FINDING-GRAPHICS.md; the floors stop a change that makes them worse.
TEST(GraphicsScanRealParts, FindsTheSpritesAndCharacterSetsOfRealGames) {
    const auto parts = test::LoadRealParts();
    if (!parts)
        GTEST_SKIP() << "the real game parts are not here (../shared/testdata/games beside the project)";
    const Side tuned = measure(*parts, false);
    const Side heldOut = measure(*parts, true);
    std::printf("%u images each; precision of the first 16 / 32 / 64 sprites, screen charset in top 3\n",
                kImagesPerSide);
    tuned.score.print("tuned parts: score");
    tuned.trivial.print("tuned parts: fullest first");
    heldOut.score.print("held-out: score");
    heldOut.trivial.print("held-out: fullest first");
    std::printf("random picks: %.2f (tuned), %.2f (held-out)\nwrong among the first 32 (tuned):",
                tuned.random, heldOut.random);
    for (const auto& [kind, n] : tuned.misses)
        std::printf(" %c %d", kind, n);
    std::printf("\nwrong among the first 32 (held-out):");
    for (const auto& [kind, n] : heldOut.misses)
        std::printf(" %c %d", kind, n);
    std::printf("\n");

    EXPECT_GE(tuned.score.at32 / kImagesPerSide, 0.9);
    EXPECT_GE(heldOut.score.at32 / kImagesPerSide, 0.85);
    EXPECT_GE(tuned.score.charsetTop3 / kImagesPerSide, 0.75);
    EXPECT_GT(tuned.score.at32, tuned.trivial.at32 + 0.5 * kImagesPerSide);
}

} // namespace
} // namespace mosaiqua
