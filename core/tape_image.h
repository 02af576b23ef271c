#pragma once

#include "petscii.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

struct TapeEntry {
    std::uint8_t entryType = 0; // 1 a normal file; 0 (free) is never listed
    std::uint8_t fileType = 0;  // the C64 file type byte as stored
    PetsciiName name{};         // space padded
    int start = 0;
    int statedEnd = 0;        // as stored, often wrong
    int end = 0;              // one past the last byte, repaired from the data offsets
    std::uint64_t offset = 0; // of the data in the file
    std::size_t size = 0;     // data bytes, after the repair

    int type() const; // as on disk: 2 for PRG, 1 for SEQ...
};

struct TapeDirectory {
    std::array<std::uint8_t, 24> name{}; // space padded
    std::vector<TapeEntry> entries;      // in record order, free records left out
};

// Throws UserError(CannotOpenFile) when the header or the records are cut short.
TapeDirectory ReadTapeDirectory(std::span<const std::uint8_t> tape);
// The entry's data (without a load address); throws when its offset lies past the file.
std::span<const std::uint8_t> TapeFileBytes(std::span<const std::uint8_t> tape, const TapeEntry& entry);

// The tape name or a file name without the padding spaces, in ASCII.
std::string TapeAsciiName(const std::uint8_t* bytes, std::size_t count);

} // namespace mosaiqua
