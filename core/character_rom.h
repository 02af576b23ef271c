#pragma once

#include "machine_state.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace mosaiqua {

struct CharacterRom {
    std::vector<std::uint8_t> bytes; // 4096
    std::string origin;              // "the snapshot", or the file it was read from
};

// Where VICE installs its ROM images, in the order they are looked at; each may hold C64/chargen*.
std::vector<std::filesystem::path> ViceDataFolders();

// A character ROM file the user names: exactly 4096 bytes, else UserError saying why.
std::vector<std::uint8_t> ReadCharacterRomFile(const std::string& utf8Path);

// The ROM a drawing uses: the snapshot's own, else the user's file (when named; a bad one throws),
// else the first C64/chargen* of 4096 bytes in `viceFolders`, else none. Mosaiqua ships no ROM.
std::optional<CharacterRom>
FindCharacterRom(const MachineState* state, const std::string& userFileUtf8,
                 const std::vector<std::filesystem::path>& viceFolders = ViceDataFolders());

} // namespace mosaiqua
