// Any registers, CIA 2 port, colour RAM and memory through the screen composer, its hit test and the
// bitmap renderer: every picture has its size and nothing reads outside what it was given.
#include "core/bitmap_render.h"
#include "core/screen_composer.h"

#include <cstdlib>
#include <vector>

using namespace mosaiqua;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 64 + 3 + 4;
    if (size < kHead)
        return 0;
    MachineState state;
    std::copy(data, data + 64, state.vic.begin());
    state.cia2PortA = data[64];
    state.cia2DirectionA = data[65];
    const std::uint8_t flags = data[66];
    // Colour RAM of any length up to its size, and a ROM only when the flags say so.
    state.colourRam.assign(data + kHead, data + std::min(size, kHead + (flags & 1 ? kColourRamBytes : 5)));
    std::vector<std::uint8_t> rom;
    if (flags & 2)
        rom.assign(kCharacterRomBytes, std::uint8_t(flags));
    // The rest, repeated, is the memory.
    MemoryImage ram;
    const std::size_t rest = size - kHead;
    if (rest > 0) {
        std::vector<std::uint8_t> bytes(0x10000);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = data[kHead + i % rest];
        ram.write(0, bytes.data(), bytes.size());
    }
    const ComposeOptions options{.sprites = bool(flags & 4), .border = bool(flags & 8)};
    const ComposedScreen composed = ComposeScreen(ram, state, rom, Ccs64Table, options);
    const int width = options.border ? kFrameWidth : kDisplayWidth;
    const int height = options.border ? kFrameHeight : kDisplayHeight;
    if (composed.picture.width() != width || composed.picture.height() != height)
        std::abort();
    const int x = (data[67] | data[68] << 8) % (width + 20) - 10;
    const int y = (data[69] | data[70] << 8) % (height + 20) - 10;
    const ScreenHit hit = HitTestScreen(ram, state, rom, options, x, y);
    if (hit.sprite && (*hit.sprite < 0 || *hit.sprite > 7 || !options.sprites))
        std::abort();
    if (hit.cell &&
        (hit.cell->column < 0 || hit.cell->column >= 40 || hit.cell->row < 0 || hit.cell->row >= 25))
        std::abort();
    (void)DescribeScreenHit(hit);

    BitmapView view;
    view.bitmap = std::int32_t(data[0] | data[1] << 8);
    view.screen = std::int32_t(data[2] | data[3] << 8);
    if (flags & 16)
        view.colourRamAddress = std::int32_t(data[4] | data[5] << 8);
    view.multicolour = flags & 32;
    view.background = data[6];
    const Raster bitmap = RenderBitmap(ram, state.colourRam, view, Ccs64Table);
    if (bitmap.width() != kBitmapWidth || bitmap.height() != kBitmapHeight)
        std::abort();
    if (EncodeKoala(ram, state.colourRam, view).size() != kKoalaFileBytes ||
        EncodeArtStudio(ram, view).size() != kArtStudioFileBytes)
        std::abort();
    return 0;
}
