#pragma once

#include "bmp.h"
#include "memory_image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mosaiqua {

enum class RawDataFormat { Bin, Prg, Acme, Kick, Ca65, Tass64, C };
// Sprites: 3 bytes (one sprite row) to a line, a block per 64 bytes. CharSet: 8 bytes (one
// character) to a line and a block.
enum class RawDataLayout { Sprites, CharSet };

// "bin", "prg", "acme", "kick", "ca65", "64tass", "c" (the CLI's names) and back.
std::optional<RawDataFormat> RawDataFormatFromName(const std::string& name);
std::string RawDataFormatName(RawDataFormat format);
// What the dialog's list shows, e.g. "ACME assembler source (*.asm)".
std::string RawDataFormatTitle(RawDataFormat format);
std::string RawDataExtension(RawDataFormat format); // ".bin", ".prg", ".asm", ".s", ".c"
inline constexpr RawDataFormat kAllRawDataFormats[] = {
    RawDataFormat::Bin,  RawDataFormat::Prg,    RawDataFormat::Acme, RawDataFormat::Kick,
    RawDataFormat::Ca65, RawDataFormat::Tass64, RawDataFormat::C};

struct AddressRange {
    std::int64_t start = 0;
    std::int64_t end = 0; // included
};
// What the dialog offers from the page in front, cut at $FFFF.
AddressRange RawDataRangeForSprites(std::int64_t spriteAddress);  // 8 sprites: start .. start + $1FF
AddressRange RawDataRangeForCharSet(std::int64_t charSetAddress); // 2 KB: start .. start + $7FF

// UserError with the message the user sees, for a range past $FFFF, below $0000, or ending before it starts.
void CheckRawDataRange(std::int64_t start, std::int64_t end);
// The same check as a message: empty when the range is good.
std::string RawDataRangeProblem(std::int64_t start, std::int64_t end);

std::string RawDataLabel(std::int64_t start, RawDataLayout layout); // "sprites_0800", "chars_D000"

// The file's bytes for memory start..end (end included).
std::vector<std::uint8_t> EncodeRawData(const MemoryImage& image, std::int64_t start, std::int64_t end,
                                        RawDataFormat format, RawDataLayout layout);

// Checks the range, then writes atomically; returns the status text.
std::string WriteRawDataFile(const MemoryImage& image, std::int64_t start, std::int64_t end,
                             RawDataFormat format, RawDataLayout layout, const std::string& utf8Path,
                             const WriteOptions& writing = {});

std::string PresetRawDataName(std::int64_t start, RawDataFormat format); // "data0800.bin"

} // namespace mosaiqua
