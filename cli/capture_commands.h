#pragma once

#include "cli/options.h"

#include <iosfwd>

namespace mosaiqua::cli {

// `capture FILE -o FILE.vsf`: FILE is usually `vice:[HOST:PORT]`, a running VICE; what it holds is
// written as a VICE snapshot Mosaiqua opens again with the same machine state. Returns 0, or 1
// after one message on `err`.
int RunCapture(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
