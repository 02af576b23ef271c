// Finding graphics and drawing the overview, each beside the limit it should approach: one pass
// over the same bytes, the same pixels copied.
#include "core/graphics_scan.h"
#include "core/memory_image.h"
#include "core/overview.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cstring>
#include <random>
#include <vector>

using namespace mosaiqua;

namespace {

// Random bytes with empty stretches, so the empty-cell shortcut does not flatter the figure.
const MemoryImage& scanImage() {
    static const MemoryImage image = [] {
        MemoryImage made;
        std::mt19937 random(14);
        std::vector<std::uint8_t> bytes(0x10000);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = (i / 0x1000) % 4 == 3 ? 0 : std::uint8_t(random());
        made.write(0, bytes.data(), bytes.size());
        return made;
    }();
    return image;
}

void ScoreAllCellsAndBlocks(benchmark::State& state) {
    for (auto _ : state) {
        const GraphicsScores scores = ScoreGraphics(scanImage());
        benchmark::DoNotOptimize(scores.sprites.data());
    }
}
BENCHMARK(ScoreAllCellsAndBlocks)->Unit(benchmark::kMicrosecond);

// Reads every byte as the scoring does (each once per cell, once per block) and counts its bits.
void ScoreAllCellsAndBlocksLimit(benchmark::State& state) {
    const std::uint8_t* bytes = scanImage().data();
    for (auto _ : state) {
        int bits = 0;
        for (int pass = 0; pass < 2; ++pass)
            for (int i = 0; i < 0x10000; ++i)
                bits += std::popcount(bytes[i]);
        benchmark::DoNotOptimize(bits);
    }
}
BENCHMARK(ScoreAllCellsAndBlocksLimit)->Name("ScoreAllCellsAndBlocks/limit")->Unit(benchmark::kMicrosecond);

void DrawPage(benchmark::State& state, OverviewPage page) {
    Raster picture;
    for (auto _ : state) {
        DrawOverview(page, scanImage(), true, kStartupColours, picture);
        benchmark::DoNotOptimize(picture.pixels().data());
    }
}

void CopyPage(benchmark::State& state, OverviewPage page) {
    const Raster from(OverviewWidth(page), OverviewHeight(page));
    Raster to(OverviewWidth(page), OverviewHeight(page));
    for (auto _ : state) {
        std::memcpy(to.row(0), from.row(0), from.pixels().size() * sizeof(TColor));
        benchmark::DoNotOptimize(to.pixels().data());
    }
}

void OverviewSprites(benchmark::State& state) {
    DrawPage(state, OverviewPage::Sprites);
}
void OverviewCharSets(benchmark::State& state) {
    DrawPage(state, OverviewPage::CharSets);
}
void OverviewSpritesLimit(benchmark::State& state) {
    CopyPage(state, OverviewPage::Sprites);
}
void OverviewCharSetsLimit(benchmark::State& state) {
    CopyPage(state, OverviewPage::CharSets);
}
BENCHMARK(OverviewSprites)->Unit(benchmark::kMicrosecond);
BENCHMARK(OverviewSpritesLimit)->Name("OverviewSprites/limit")->Unit(benchmark::kMicrosecond);
BENCHMARK(OverviewCharSets)->Unit(benchmark::kMicrosecond);
BENCHMARK(OverviewCharSetsLimit)->Name("OverviewCharSets/limit")->Unit(benchmark::kMicrosecond);

} // namespace
