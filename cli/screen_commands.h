#pragma once

#include "cli/options.h"

#include <iosfwd>

namespace mosaiqua::cli {

// `screen`: the frame a snapshot shows, to -o or screen.png (screen.bmp with --format bmp). A file
// without machine state is an error (1).
int RunScreen(const CliOptions& options, std::ostream& out, std::ostream& err);

// `bitmap`: a bitmap picture, or a Koala or Art Studio file, from the file's own bitmap with the
// options' changes; a file without one needs --address and --screen (2 otherwise).
int RunBitmap(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
