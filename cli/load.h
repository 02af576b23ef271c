#pragma once

#include "core/file_formats.h"
#include "core/memory_image.h"

#include <functional>
#include <ostream>
#include <string>

namespace mosaiqua::cli {

// How every command reads its FILE: formats recognised unless `raw`, the header skip as given.
// Throws UserError (Cannot open file ...) when the file cannot be read; once read, the file is
// protected so no output of the command can replace it.
LoadedFile LoadCommandFile(MemoryImage& image, const std::string& file, bool raw, bool skipHeader);

// Runs a command's body and returns its exit status; a failure is printed on `err` in the user's
// words (unexpected ones prefixed with the program's name) and gives 1.
int RunGuarded(std::ostream& err, const std::function<int()>& body);

} // namespace mosaiqua::cli
