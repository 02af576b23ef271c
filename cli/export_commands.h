#pragma once

#include "cli/options.h"

#include <iosfwd>

namespace mosaiqua::cli {

// `anim FILE --address A [--frames N] [--delay MS] [sprite options] [--transparent] [-o PATH]` and
// `data FILE --start A --end B --format bin|prg|acme|kick|ca65|64tass|c|basic [--line N] [--step N] [-o
// PATH]` (end included). Both load the file, write atomically and print the status and the path on `out`;
// they return 0, or 1 after one message on `err`.
int RunAnim(const CliOptions& options, std::ostream& out, std::ostream& err);
int RunData(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
