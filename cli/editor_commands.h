#pragma once

#include "cli/options.h"

#include <iosfwd>

namespace mosaiqua::cli {

// `spritepad FILE --start A --end B [sprite options] [-o PATH]`: the sprites of the range (counted
// as range and sheet count them) in one SpritePad file, sprites<HHHH>.spd by default.
// `charpad FILE [--address A] [colour options] [-o PATH]`: the character set as a CharPad file,
// chars<HHHH>.ctm by default; without --address a snapshot's screen character set in its colours.
// Both print the status and the path on `out` and return 0, or 1 after one message on `err`.
int RunSpritePad(const CliOptions& options, std::ostream& out, std::ostream& err);
int RunCharPad(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
