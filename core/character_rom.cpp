#include "character_rom.h"

#include "errors.h"
#include "file_paths.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace mosaiqua {

namespace {

std::optional<std::vector<std::uint8_t>> ReadExactly(const std::filesystem::path& path, std::uintmax_t size) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) != size || ec)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(size);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size)))
        return std::nullopt;
    return bytes;
}

} // namespace

std::vector<std::filesystem::path> ViceDataFolders() {
    std::vector<std::filesystem::path> folders;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        folders.emplace_back(std::filesystem::path(xdg) / "vice");
    if (const char* home = std::getenv("HOME"); home && *home) {
        folders.emplace_back(std::filesystem::path(home) / ".local/share/vice");
        folders.emplace_back(std::filesystem::path(home) / ".vice");
    }
    for (const char* folder :
         {"/usr/local/share/vice", "/usr/share/vice", "/usr/local/lib/vice", "/usr/lib/vice",
          "/usr/lib64/vice", "/usr/share/games/vice", "/opt/homebrew/share/vice",
          "/Applications/vice/VICE.app/Contents/Resources/share/vice"})
        folders.emplace_back(folder);
    return folders;
}

std::vector<std::uint8_t> ReadCharacterRomFile(const std::string& utf8Path) {
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw UserError(UserError::Kind::CannotOpenFile,
                        "Cannot open character ROM file \"" + utf8Path + "\": it is not a file that exists.");
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size != kCharacterRomBytes)
        throw UserError(UserError::Kind::CannotOpenFile, "The character ROM file \"" + utf8Path +
                                                             "\" holds " + std::to_string(ec ? 0 : size) +
                                                             " bytes; a character ROM holds 4096.");
    auto bytes = ReadExactly(path, kCharacterRomBytes);
    if (!bytes)
        throw UserError(UserError::Kind::CannotOpenFile,
                        "Cannot read character ROM file \"" + utf8Path + "\".");
    return std::move(*bytes);
}

std::optional<CharacterRom> FindCharacterRom(const MachineState* state, const std::string& userFileUtf8,
                                             const std::vector<std::filesystem::path>& viceFolders) {
    if (state && state->characterRom.size() == kCharacterRomBytes)
        return CharacterRom{state->characterRom, "the snapshot"};
    if (!userFileUtf8.empty())
        return CharacterRom{ReadCharacterRomFile(userFileUtf8), userFileUtf8};
    for (const auto& folder : viceFolders) {
        std::error_code ec;
        std::vector<std::filesystem::path> names;
        for (std::filesystem::directory_iterator it(folder / "C64", ec), end; !ec && it != end;
             it.increment(ec))
            if (it->path().filename().string().rfind("chargen", 0) == 0)
                names.push_back(it->path());
        // "chargen" before "chargen-901225-01.bin": the same order on every system.
        std::sort(names.begin(), names.end());
        for (const auto& name : names)
            if (auto bytes = ReadExactly(name, kCharacterRomBytes))
                return CharacterRom{std::move(*bytes), name.string()};
    }
    return std::nullopt;
}

} // namespace mosaiqua
