// PNG and GIF writing, each beside the limit it should approach: Qt's own PNG writer saving the
// same picture, and libspng encoding the same indexed picture as libpng does in the core.
#include "ratio_reporter.h"

#include "core/animation.h"
#include "core/export.h"
#include "core/gif_writer.h"
#include "core/indexed_colours.h"
#include "core/memory_image.h"
#include "core/png_writer.h"
#include "core/sprite_render.h"

#include <QGuiApplication>
#include <QImage>

#include <spng.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

using namespace mosaiqua;

namespace {

const ColourSlots kColours{0x000000, 0x444444, 0x6C6C6C, 0xFFFFFF};

MemoryImage RandomMemory() {
    std::vector<std::uint8_t> bytes(0x10000);
    std::mt19937 random(13);
    for (auto& b : bytes)
        b = std::uint8_t(random());
    MemoryImage image;
    image.write(0, bytes.data(), bytes.size());
    return image;
}

SpriteCellSizes Cell(int w, int h) {
    return {w, h, w, h};
}

// What the saves write: one sprite at actual size, and a 640 x 480 sheet of 26 x 22 sprite cells.
const Raster& Picture(int width) {
    static const MemoryImage memory = RandomMemory();
    static const Raster sprite =
        ComposeAnimationFrames(memory, 0x2000, 1, true, kColours, Cell(24, 21)).front();
    static const Raster sheet = [] {
        SingleBitmapSheet s(640, 480, 26, 22);
        SpriteRasters views;
        for (int k = 0; k < 24 * 21; ++k) {
            DrawCurrentSpriteRasters(views, memory, 0x40 * k, k % 2 == 0, kColours);
            s.add(views.SpriteActual, 24, 21);
        }
        return s.bitmap();
    }();
    return width == 24 ? sprite : sheet;
}

QImage AsQImage(const Raster& r) {
    QImage image(r.width(), r.height(), QImage::Format_RGB32);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const TColor c = r.pixel(x, y);
            image.setPixel(x, y, qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
        }
    return image;
}

std::string BenchFile(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("mosaiqua-bench-") + name)).string();
}

void WritePng(benchmark::State& state, int width) {
    const Raster& picture = Picture(width);
    const std::string path = BenchFile("png.png");
    for (auto _ : state)
        WritePngFile(picture, path);
}
void WritePngLimit(benchmark::State& state, int width) {
    const QImage picture = AsQImage(Picture(width));
    const QString path = QString::fromStdString(BenchFile("qt.png"));
    for (auto _ : state)
        if (!picture.save(path, "PNG"))
            state.SkipWithError("QImage::save failed");
}

// libspng with the same palette, depth and filter choice as the core's libpng encoder.
std::size_t EncodeWithSpng(const Raster& r) {
    const auto picture = IndexColours({&r}, std::nullopt);
    const int depth = SmallestBitDepth(picture->palette.size());
    const int perByte = 8 / depth;
    const std::size_t stride = (std::size_t(r.width()) + perByte - 1) / perByte;
    std::vector<std::uint8_t> packed(stride * std::size_t(r.height()), 0);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            packed[stride * y + std::size_t(x / perByte)] |= std::uint8_t(
                picture->indices[std::size_t(y) * r.width() + x] << (8 - depth * (x % perByte + 1)));
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE);
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, 6);
    spng_ihdr ihdr{std::uint32_t(r.width()),
                   std::uint32_t(r.height()),
                   std::uint8_t(depth),
                   SPNG_COLOR_TYPE_INDEXED,
                   0,
                   0,
                   0};
    spng_set_ihdr(ctx, &ihdr);
    spng_plte plte{};
    plte.n_entries = std::uint32_t(picture->palette.size());
    for (std::size_t i = 0; i < picture->palette.size(); ++i)
        plte.entries[i] = {RedOf(picture->palette[i]), GreenOf(picture->palette[i]),
                           BlueOf(picture->palette[i]), 0};
    spng_set_plte(ctx, &plte);
    if (spng_encode_image(ctx, packed.data(), packed.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0)
        throw std::runtime_error("spng failed");
    std::size_t length = 0;
    int error = 0;
    void* png = spng_get_png_buffer(ctx, &length, &error);
    std::free(png);
    spng_ctx_free(ctx);
    return length;
}

void EncodePngLibpng(benchmark::State& state, int width) {
    const Raster& picture = Picture(width);
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodePng(picture).size());
}
void EncodePngLibspng(benchmark::State& state, int width) {
    const Raster& picture = Picture(width);
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeWithSpng(picture));
}

void WriteGif8Frames(benchmark::State& state) {
    static const MemoryImage memory = RandomMemory();
    const auto frames = ComposeAnimationFrames(memory, 0x2000, 8, true, kColours, Cell(24, 21));
    const std::string path = BenchFile("anim.gif");
    for (auto _ : state)
        WriteAnimatedGifFile(frames, 10, path);
}
// The same eight pictures, each written as a PNG.
void WriteGif8FramesLimit(benchmark::State& state) {
    static const MemoryImage memory = RandomMemory();
    const auto frames = ComposeAnimationFrames(memory, 0x2000, 8, true, kColours, Cell(24, 21));
    const std::string path = BenchFile("frame.png");
    for (auto _ : state)
        for (const Raster& frame : frames)
            WritePngFile(frame, path);
}

} // namespace

BENCHMARK_CAPTURE(WritePng, 24x21, 24)->Name("WritePng_24x21");
BENCHMARK_CAPTURE(WritePngLimit, 24x21, 24)->Name("WritePng_24x21/limit");
BENCHMARK_CAPTURE(WritePng, 640x480, 640)->Name("WritePng_640x480");
BENCHMARK_CAPTURE(WritePngLimit, 640x480, 640)->Name("WritePng_640x480/limit");
BENCHMARK_CAPTURE(EncodePngLibpng, 24x21, 24)->Name("EncodePng_libpng_24x21");
BENCHMARK_CAPTURE(EncodePngLibspng, 24x21, 24)->Name("EncodePng_libpng_24x21/limit");
BENCHMARK_CAPTURE(EncodePngLibpng, 640x480, 640)->Name("EncodePng_libpng_640x480");
BENCHMARK_CAPTURE(EncodePngLibspng, 640x480, 640)->Name("EncodePng_libpng_640x480/limit");
BENCHMARK(WriteGif8Frames)->Name("WriteGif_8_frames_24x21");
BENCHMARK(WriteGif8FramesLimit)->Name("WriteGif_8_frames_24x21/limit");

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunBenchmarksWithRatios(argc, argv);
}
