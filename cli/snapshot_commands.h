#pragma once

#include "cli/options.h"

#include "core/file_formats.h"
#include "core/memory_image.h"

#include <iosfwd>
#include <string>

namespace mosaiqua::cli {

// `info`: what was recognised and, for a snapshot, the machine state. Returns 0, or 1 after one
// message on `err`.
int RunInfo(const CliOptions& options, std::ostream& out, std::ostream& err);

// `onscreen`: the snapshot's sprites as DIR/sprite<N>_<HHHH>.BMP (.png for PNG) in their own modes
// and colours, DIR being -o or the current folder; with --format spd one SpritePad file (-o, or
// onscreen.spd).
// A file without machine state is an error (1).
int RunOnScreen(const CliOptions& options, std::ostream& out, std::ostream& err);

// The one-line JSON object `info --json` prints (without the newline).
std::string InfoJson(const LoadedFile& loaded, const MemoryImage& image);

} // namespace mosaiqua::cli
