#pragma once

#include "cli/options.h"

#include <iosfwd>

namespace mosaiqua::cli {

// mosaiqua-cli scan FILE [--json] [--top N]: the graphics candidates, best first, as JSON
// {"sprites": [{"address": 20928, "score": 0.93}, ...], "charsets": [...]} or as readable lines;
// --top negative: every cell and block scoring above 0. Returns 0, or 1 after one message on `err`.
int RunScan(const CliOptions& options, std::ostream& out, std::ostream& err);

// mosaiqua-cli overview FILE [--charset] [--format bmp|png] [-o PATH]: the picture of all 64 KB,
// by default "overview-sprites.bmp" / "overview-charsets.bmp" (.png for PNG). Returns 0, or 1
// after one message on `err`.
int RunOverview(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
