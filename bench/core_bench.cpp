// Each operation stands beside the limit it should approach: the same pixel bytes copied, the same
// file bytes written plainly.
#include "ratio_reporter.h"

#include "core/bmp.h"
#include "core/charset_render.h"
#include "core/export.h"
#include "core/memory_image.h"
#include "core/sprite_render.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

using namespace mosaiqua;

namespace {

MemoryImage randomImage() {
    MemoryImage image;
    std::mt19937 random(64);
    std::vector<std::uint8_t> bytes(MemoryImage::kMemoryReadBytes);
    for (auto& b : bytes)
        b = std::uint8_t(random());
    image.write(0, bytes.data(), bytes.size());
    return image;
}

const MemoryImage& sharedImage() {
    static const MemoryImage image = randomImage();
    return image;
}

std::filesystem::path benchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "mosaiqua-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

void copyPixels(const Raster& from, Raster& to) {
    std::memcpy(const_cast<TColor*>(to.pixels().data()), from.pixels().data(),
                from.pixels().size() * sizeof(TColor));
}

void SpriteRedraw(benchmark::State& state) {
    SpriteRasters views;
    std::int32_t address = 0;
    for (auto _ : state) {
        DrawCurrentSpriteRasters(views, sharedImage(), address, true, kStartupColours);
        DrawNextSevenSpriteRasters(views, sharedImage(), address, true, kStartupColours);
        address = (address + 0x40) & 0xFFFF;
        benchmark::DoNotOptimize(views.SpriteBig.pixels().data());
    }
}
BENCHMARK(SpriteRedraw);

void SpriteRedrawLimit(benchmark::State& state) {
    SpriteRasters source, views;
    for (auto _ : state) {
        copyPixels(source.SpriteActual, views.SpriteActual);
        copyPixels(source.SpriteBig, views.SpriteBig);
        copyPixels(source.ScanImage, views.ScanImage);
        benchmark::DoNotOptimize(views.SpriteBig.pixels().data());
    }
}
BENCHMARK(SpriteRedrawLimit)->Name("SpriteRedraw/limit");

// Told the rows drawn once per line of characters, as the window's progress bar is.
void CharSetRefreshAllViews(benchmark::State& state) {
    CharSetRasters views;
    int steps = 0;
    auto step = [&steps](int rows) { steps += rows; };
    for (auto _ : state) {
        for (CharSetViewKind kind : kRefreshOrder)
            RenderCharSetView(kind, sharedImage(), 0x2000, kStartupColours, false, views.of(kind), step);
        benchmark::DoNotOptimize(steps);
    }
}
BENCHMARK(CharSetRefreshAllViews);

// Told after every single byte row, as the drawing-order tests watch it.
void CharSetRefreshEveryRow(benchmark::State& state) {
    CharSetRasters views;
    int steps = 0;
    auto step = [&steps] { ++steps; };
    for (auto _ : state) {
        for (CharSetViewKind kind : kRefreshOrder)
            RenderCharSetView(kind, sharedImage(), 0x2000, kStartupColours, false, views.of(kind), step);
        benchmark::DoNotOptimize(steps);
    }
}
BENCHMARK(CharSetRefreshEveryRow);

void CharSetRefreshNoNotification(benchmark::State& state) {
    CharSetRasters views;
    for (auto _ : state) {
        for (CharSetViewKind kind : kRefreshOrder)
            RenderCharSetView(kind, sharedImage(), 0x2000, kStartupColours, false, views.of(kind));
        benchmark::DoNotOptimize(views.CharSetImage.pixels().data());
    }
}
BENCHMARK(CharSetRefreshNoNotification);

void CharSetRefreshLimit(benchmark::State& state) {
    CharSetRasters source, views;
    for (auto _ : state) {
        for (CharSetViewKind kind : kRefreshOrder)
            copyPixels(source.of(kind), views.of(kind));
        benchmark::DoNotOptimize(views.CharSetImage.pixels().data());
    }
}
BENCHMARK(CharSetRefreshLimit)->Name("CharSetRefreshAllViews/limit");

void writePlain(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// The BMP writer on its own: WriteBmpFile_24x21 below, and beside Qt's writer in the window benchmarks.

// Every sprite of memory to its own file, with the views redrawn for each sprite as a window does.
void WholeMemoryRangeToFiles(benchmark::State& state) {
    const auto folder = benchFolder() / "range";
    std::filesystem::create_directories(folder);
    const std::string chosen = (folder / "spr.BMP").string();
    SpriteRasters views;
    RangeWalk walk;
    walk.showSprite = [&](std::int32_t address) {
        DrawCurrentSpriteRasters(views, sharedImage(), address, false, kStartupColours);
        DrawNextSevenSpriteRasters(views, sharedImage(), address, false, kStartupColours);
    };
    for (auto _ : state) {
        walk.showSprite(0);
        SaveRangeToFiles(views.SpriteActual, 0, SpriteCount(0, 0xFFFF), chosen, SaveSizeTexts{}, {}, walk);
    }
}
BENCHMARK(WholeMemoryRangeToFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void WholeMemoryRangeLimit(benchmark::State& state) {
    const auto folder = benchFolder() / "range-plain";
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> bytes = EncodeBmp(Raster(24, 21, 0), 24);
    std::vector<std::filesystem::path> names;
    for (int i = 0; i < 1024; ++i)
        names.push_back(folder / ("spr" + std::to_string(i) + ".bmp"));
    for (auto _ : state)
        for (const auto& name : names)
            writePlain(name, bytes);
}
BENCHMARK(WholeMemoryRangeLimit)
    ->Name("WholeMemoryRangeToFiles/limit")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One small picture written over the same name again and again, as a user saving one sprite does,
// beside a plain fopen/fwrite/fclose of the same bytes.
void WriteBmp24x21(benchmark::State& state) {
    const Raster picture(24, 21, 0x6C6C6C);
    const std::string path = (benchFolder() / "one.bmp").string();
    for (auto _ : state)
        WriteBmpFile(picture, path, 24);
}
BENCHMARK(WriteBmp24x21)->Name("WriteBmpFile_24x21")->UseRealTime();

void WriteBmp24x21Limit(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(Raster(24, 21, 0x6C6C6C), 24);
    const auto path = benchFolder() / "one-plain.bmp";
    for (auto _ : state)
        writePlain(path, bytes);
}
BENCHMARK(WriteBmp24x21Limit)->Name("WriteBmpFile_24x21/limit")->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithRatios(argc, argv);
}
