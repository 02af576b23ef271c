#pragma once

#include <filesystem>
#include <string>

namespace mosaiqua {

// File helpers shared by the loader and the writers.

// A UTF-8 path as the file system takes it, whatever the locale.
std::filesystem::path PathFromUtf8(const std::string& utf8);

// The name's extension in lower case, dot included ("pic.KLA" -> ".kla"); empty when it has none.
std::string LowerExtension(const std::string& utf8Name);

} // namespace mosaiqua
