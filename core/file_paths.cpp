#include "file_paths.h"

#include <cctype>

namespace mosaiqua {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string LowerExtension(const std::string& utf8Name) {
    std::string extension = std::filesystem::path(utf8Name).extension().string();
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

} // namespace mosaiqua
