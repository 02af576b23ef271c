#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

struct ChipPacket {
    int chipType = 0; // 0 ROM, 1 RAM, 2 Flash
    int bank = 0;
    int loadAddress = 0;
    int size = 0;
    std::size_t dataOffset = 0; // in the file
};

struct Cartridge {
    std::string name; // ASCII, NUL padding removed
    int version = 0;  // major << 8 | minor
    int hardwareType = 0;
    int exrom = 0;
    int game = 0;
    std::vector<ChipPacket> chips; // in file order
};

// "C128" for "C128 CARTRIDGE  ", and so on for any "<machine> CARTRIDGE" signature; nothing otherwise.
std::optional<std::string> CartridgeMachine(std::span<const std::uint8_t> head);

// Throws UserError(CannotOpenFile) for another machine's cartridge (naming it) and for a packet that
// runs past itself, past the file or past $FFFF.
Cartridge ReadCartridge(std::span<const std::uint8_t> file);

const char* ChipTypeKeyword(int chipType); // "rom", "ram", "flash", else "unknown"

} // namespace mosaiqua
