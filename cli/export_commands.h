#pragma once

#include "core/animation.h"
#include "core/colours.h"
#include "core/export.h"
#include "core/raw_data.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace mosaiqua::cli {

// `anim FILE --address A [--frames N] [--delay MS] [sprite options] [--transparent] [-o PATH]`
struct AnimOptions {
    std::string file;
    bool skipHeader = true;
    std::int32_t address = 0x0000;
    int frames = kDefaultAnimationFrames;
    int delayMs = kDefaultFrameDelayMs;
    bool multicolour = false;
    std::optional<ColourSlots> colours; // empty: the sprite viewer's start-up colours
    SaveSizeTexts sizes;
    bool transparent = false;
    std::string output; // empty: "anim" + HHHH + ".gif"
    bool raw = false;   // --raw: no format recognition
};

// `data FILE --start A --end B --format bin|prg|acme|kick|ca65|64tass|c [-o PATH]`, end included.
struct DataOptions {
    std::string file;
    bool skipHeader = true;
    std::int64_t start = 0x0000;
    std::int64_t end = 0x01FF;
    RawDataFormat format = RawDataFormat::Bin;
    RawDataLayout layout = RawDataLayout::Sprites; // 3 bytes a line; CharSet: 8
    std::string output;                            // empty: "data" + HHHH + the format's extension
    bool raw = false;
};

// Both load the file, write atomically and print the status and the path on `out`; they return
// 0, or 1 after one message on `err`.
int RunAnim(const AnimOptions& options, std::ostream& out, std::ostream& err);
int RunData(const DataOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
