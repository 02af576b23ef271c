#pragma once

#include "core/file_formats.h"
#include "core/memory_image.h"

#include <string>

namespace mosaiqua::cli {

// How every command reads its FILE: formats recognised unless `raw`, the header skip as given.
// Throws UserError (Cannot open file ...) when the file cannot be read; once read, the file is
// protected so no output of the command can replace it.
LoadedFile LoadCommandFile(MemoryImage& image, const std::string& file, bool raw, bool skipHeader);

} // namespace mosaiqua::cli
