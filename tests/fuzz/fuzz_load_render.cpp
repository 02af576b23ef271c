// Any bytes as a freeze file, with and without the header skip, then every view drawn at
// addresses and modes taken from the input.
#include "core/charset_render.h"
#include "core/memory_image.h"
#include "core/sprite_render.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace mosaiqua;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = [] {
        char name[] = "/tmp/mosaiqua-fuzz-load-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0)
            close(fd);
        return std::string(name);
    }();
    if (size < 6)
        return 0;
    const bool skip = data[0] & 1;
    const bool multicolour = data[0] & 2;
    const std::int32_t spriteAddress = std::int32_t((data[1] << 8 | data[2]) & 0xFFFF);
    const std::int32_t charAddress = std::int32_t((data[3] << 8 | data[4]) & 0xFFFF);
    const ColourSlots colours{0x000000u + data[5], 0x444444, 0x6C6C6C, 0xFFFFFF};

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data + 6, 1, size - 6, file);
    std::fclose(file);

    MemoryImage image;
    if (!ReadFreezeFile(image, path, skip, nullptr))
        std::abort(); // a regular file must always load

    SpriteRasters sprites;
    DrawCurrentSpriteRasters(sprites, image, spriteAddress, multicolour, colours);
    DrawNextSevenSpriteRasters(sprites, image, spriteAddress, multicolour, colours);
    // A range export walks up to $40 past $FFFF.
    DrawNextSevenSpriteRasters(sprites, image, spriteAddress + 0x40, multicolour, colours);
    CharSetRasters views;
    int steps = 0;
    auto step = [&steps] { ++steps; };
    for (CharSetViewKind kind : kRefreshOrder)
        RenderCharSetView(kind, image, charAddress, colours, multicolour, views.of(kind), step);
    if (steps != 2160 + 2880 + 4320)
        std::abort();
    return 0;
}
