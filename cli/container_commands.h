#pragma once

#include "cli/options.h"

#include <iosfwd>

namespace mosaiqua::cli {

// mosaiqua-cli list FILE[:ENTRY...] [--json]: the directory of a disk or tape image, the banks of a
// cartridge or the members of an archive, as the C64 lists it or as one JSON object. Returns 0, 1
// after a refused file, or 2 when a pick on the way names no single entry.
int RunList(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
