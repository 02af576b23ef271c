#pragma once

#include "file_writer.h"
#include "machine_state.h"
#include "memory_image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mosaiqua {

// A minimal snapshot as VICE 3.10's x64sc lays one out, for Mosaiqua to open again (VICE itself
// need not load it): format 2.0, machine C64SC, a version block naming 3.10.0; C64MEM 0.1 with
// the RAM (CPU port taken from RAM bytes 1 and 0), VIC-II 1.3 (model byte 0, registers, colour RAM
// at body 761), CIA2 (port A, port B $FF, direction A, direction B 0) and, when the state holds
// the character ROM, C64ROM with KERNAL and BASIC as zeros, since only the character ROM is known.
std::vector<std::uint8_t> EncodeViceSnapshot(const MemoryImage& image, const MachineState& state);

// Encodes and writes through WriteFileAtomically (its UserErrors; nothing half-written).
void WriteViceSnapshot(const std::string& utf8Path, const MemoryImage& image, const MachineState& state,
                       const WriteOptions& writing = {});

} // namespace mosaiqua
