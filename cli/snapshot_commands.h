#pragma once

#include "core/colours.h"
#include "core/file_formats.h"
#include "core/image_file.h"
#include "core/memory_image.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace mosaiqua::cli {

struct InfoOptions {
    std::string file;
    bool json = false;
    bool raw = false;       // --raw: no format recognition
    bool skipHeader = true; // --no-skip-header clears it (raw files only)
};

struct OnScreenOptions {
    std::string file;
    std::string outputDir = "."; // -o DIR
    bool all = false;            // every sprite, not only the enabled ones
    PaletteKind palette = PaletteKind::pkTrueVic;
    int bitsPerPixel = 24;
    bool raw = false;
    bool skipHeader = true;
    std::optional<ImageFormat> format = std::nullopt; // nothing: BMP
    bool transparent = false;                         // the background transparent (PNG only)
};

// `info`: what was recognised and, for a snapshot, the machine state. Returns 0, or 1 after one
// message on `err`.
int RunInfo(const InfoOptions& options, std::ostream& out, std::ostream& err);

// `onscreen`: the snapshot's sprites as DIR/sprite<N>_<HHHH>.BMP (.png for PNG) in their own modes
// and colours.
// A file without machine state is an error (1).
int RunOnScreen(const OnScreenOptions& options, std::ostream& out, std::ostream& err);

// The one-line JSON object `info --json` prints (without the newline).
std::string InfoJson(const LoadedFile& loaded, const MemoryImage& image);

} // namespace mosaiqua::cli
