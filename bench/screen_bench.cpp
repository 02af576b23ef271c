// The composed screen beside copying the same frame's pixels.
#include "ratio_reporter.h"

#include "core/machine_state.h"
#include "core/memory_image.h"
#include "core/screen_composer.h"

#include <cstring>
#include <random>
#include <vector>

using namespace mosaiqua;

namespace {

// Random memory seen as a multicolour text screen with all eight sprites on the display, of every
// kind: hi-res and multicolour, expanded, some behind the foreground.
struct BusyScreen {
    MemoryImage ram;
    MachineState state;
    BusyScreen() {
        std::mt19937 random(19);
        std::vector<std::uint8_t> bytes(0x10000);
        for (auto& b : bytes)
            b = std::uint8_t(random());
        for (int n = 0; n < 8; ++n)
            bytes[std::size_t(0x07F8 + n)] = std::uint8_t(0x80 + n);
        ram.write(0, bytes.data(), bytes.size());
        state.colourRam.resize(kColourRamBytes);
        for (auto& c : state.colourRam)
            c = std::uint8_t(random());
        auto& r = state.vic;
        r[0x11] = 0x1B;
        r[0x16] = 0x18;
        r[0x18] = 0x1C;
        for (int n = 0; n < 8; ++n) {
            r[std::size_t(2 * n)] = std::uint8_t(40 + 36 * n);
            r[std::size_t(2 * n + 1)] = std::uint8_t(60 + 20 * n);
            r[std::size_t(0x27 + n)] = std::uint8_t(n + 1);
        }
        r[0x15] = 0xFF;
        r[0x1C] = 0x0F;
        r[0x1D] = 0x21;
        r[0x17] = 0x42;
        r[0x1B] = 0x90;
    }
};

const BusyScreen& busy() {
    static const BusyScreen screen;
    return screen;
}

void ComposeFrameWithEightSprites(benchmark::State& state) {
    Raster picture;
    for (auto _ : state) {
        ComposeScreenInto(picture, busy().ram, busy().state, {}, Ccs64Table);
        benchmark::DoNotOptimize(picture.pixels().data());
    }
}
BENCHMARK(ComposeFrameWithEightSprites);

void ComposeFrameLimit(benchmark::State& state) {
    const Raster source = ComposeScreen(busy().ram, busy().state, {}, Ccs64Table).picture;
    Raster picture(kFrameWidth, kFrameHeight);
    for (auto _ : state) {
        std::memcpy(const_cast<TColor*>(picture.pixels().data()), source.pixels().data(),
                    source.pixels().size() * sizeof(TColor));
        benchmark::DoNotOptimize(picture.pixels().data());
    }
}
BENCHMARK(ComposeFrameLimit)->Name("ComposeFrameWithEightSprites/limit");

} // namespace
