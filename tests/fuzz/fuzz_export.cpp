// Every export composed and written with arbitrary sizes, including 0, negative and huge ones:
// each either writes a complete file or refuses with a message.
#include "core/bmp.h"
#include "core/errors.h"
#include "core/export.h"
#include "core/sprite_render.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

using namespace mosaiqua;

namespace {

int takeInt(const std::uint8_t*& data, std::size_t& size) {
    std::int32_t v = 0;
    if (size >= 4) {
        std::memcpy(&v, data, 4);
        data += 4;
        size -= 4;
    }
    // Mostly small numbers, sometimes anything at all.
    return (v & 0x40000000) ? v : v % 700;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = [] {
        char name[] = "/tmp/mosaiqua-fuzz-export-XXXXXX";
        return std::string(mkdtemp(name));
    }();
    if (size < 2)
        return 0;
    const int which = data[0] % 4;
    const int depth = (data[1] % 3 == 0) ? 16 : (data[1] % 3 == 1 ? 24 : 32);
    data += 2;
    size -= 2;
    SaveSizeTexts texts;
    texts.spriteWidth = std::to_string(takeInt(data, size));
    texts.spriteHeight = std::to_string(takeInt(data, size));
    texts.bitmapWidth = std::to_string(takeInt(data, size));
    texts.bitmapHeight = std::to_string(takeInt(data, size));
    texts.finalWidth = std::to_string(takeInt(data, size));
    texts.finalHeight = std::to_string(takeInt(data, size));

    MemoryImage image;
    image.write(0, data, size);
    SpriteRasters views;
    DrawCurrentSpriteRasters(views, image, 0, false, kStartupColours);
    DrawNextSevenSpriteRasters(views, image, 0, false, kStartupColours);
    RangeWalk walk;
    walk.showSprite = [&](std::int32_t a) {
        DrawCurrentSpriteRasters(views, image, a, false, kStartupColours);
    };
    const std::string target = folder + "/out.BMP";
    try {
        switch (which) {
        case 0:
            WriteBmpFile(ComposeCurrentSprite(views.SpriteActual, ReadCellSizes(texts)), target, depth);
            break;
        case 1:
            WriteBmpFile(ComposeNextSeven(views.ScanImage, ReadCellSizes(texts)), target, depth);
            break;
        case 2:
            SaveRangeToFiles(views.SpriteActual, 0, 3, target, texts, AtDepth(depth), walk);
            break;
        default:
            ComputeFitFigures(ReadSize(texts.bitmapWidth), ReadSize(texts.bitmapHeight),
                              ReadSize(texts.finalWidth), ReadSize(texts.finalHeight));
            SaveRangeToSheet(views.SpriteActual, 0, 5, target, texts, AtDepth(depth), walk);
            break;
        }
    } catch (const UserError&) {
        // Refused with a message: fine, as long as nothing half-written is left (checked below).
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".part") != std::string::npos)
            std::abort();
        std::filesystem::remove(entry.path());
    }
    return 0;
}
