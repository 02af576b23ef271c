#pragma once

#include <filesystem>
#include <string>

namespace mosaiqua {

// File helpers shared by the loader and the writers.

// A UTF-8 path as the file system takes it, whatever the locale.
std::filesystem::path PathFromUtf8(const std::string& utf8);

} // namespace mosaiqua
