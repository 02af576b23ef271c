#pragma once

#include "cli/options.h"

#include <iosfwd>

namespace mosaiqua::cli {

// Loads the file, draws the views and writes what the command asks for, the way the window's
// command does. Returns the exit status: 0, or 1 after one message on `err`.
int RunCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
