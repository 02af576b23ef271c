// Any bytes through format recognition and every parser, in memory. With bit 0 of the first byte
// set, the rest follows a valid snapshot header and RAM module, so small inputs reach the video-chip
// and ROM modules behind the 64 KB of RAM.
#include "core/errors.h"
#include "core/file_formats.h"
#include "core/machine_state.h"
#include "core/sprite_render.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace mosaiqua;

namespace {

std::vector<std::uint8_t> SnapshotStart(bool x64sc) {
    std::vector<std::uint8_t> bytes(37, 0);
    std::memcpy(bytes.data(), "VICE Snapshot File\x1A", 19);
    bytes[19] = 2;
    std::memcpy(bytes.data() + 21, x64sc ? "C64SC" : "C64", x64sc ? 5 : 3);
    std::vector<std::uint8_t> mem(22 + 4 + 0x10000, 0);
    std::memcpy(mem.data(), "C64MEM", 6);
    const std::uint32_t size = std::uint32_t(mem.size());
    for (int i = 0; i < 4; ++i)
        mem[std::size_t(18 + i)] = std::uint8_t(size >> (8 * i));
    bytes.insert(bytes.end(), mem.begin(), mem.end());
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t mode = data[0];
    std::vector<std::uint8_t> file;
    if (mode & 1) {
        static const std::vector<std::uint8_t> x64 = SnapshotStart(false), x64sc = SnapshotStart(true);
        file = (mode & 4) ? x64sc : x64;
    }
    file.insert(file.end(), data + 1, data + size);

    MemorySource source(file.data(), file.size());
    const FileFormat recognised = RecogniseFormat(source, (mode & 2) ? "x.prg" : "x.bin");
    for (FileFormat format : {recognised, FileFormat::ViceSnapshot, FileFormat::Prg, FileFormat::P00}) {
        MemoryImage image;
        const std::uint8_t mark = 0xA5;
        image.write(0x1234, &mark, 1);
        std::optional<LoadedFile> loaded;
        try {
            loaded = ParseRecognised(format, source, image);
        } catch (const UserError& e) {
            if (std::string(e.what()).empty() || image.byteAt(0x1234) != mark)
                std::abort(); // a refusal names its reason and changes nothing
            continue;
        }
        if (loaded->ramEnd > 0xFFFF || loaded->description.empty())
            std::abort();
        if (!loaded->machineState)
            continue;
        const MachineState& state = *loaded->machineState;
        const ScreenLayout layout = DescribeScreen(state, image);
        const MemoryImage seen = VideoChipView(state, image, layout.bank);
        Raster sprite(kSpriteWidth, kSpriteHeight);
        for (int n = 0; n < 8; ++n) {
            const SpriteSettings s = SpriteSettingsFor(layout, n, TrueVicTable);
            RenderSprite(seen, s.address, s.multicolour, s.colours, sprite, 0);
        }
        const CharSetSettings c = CharSetSettingsFor(layout, state, Ccs64Table, 0x123456);
        if (c.address < 0 || c.address > 0xF800)
            std::abort();
    }
    return 0;
}
