#pragma once

#include "bmp.h"
#include "memory_image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mosaiqua {

enum class RawDataFormat { Bin, Prg, Acme, Kick, Ca65, Tass64, C, Basic };
// Sprites: 3 bytes (one sprite row) to a line, a block per 64 bytes. CharSet: 8 bytes (one
// character) to a line and a block.
enum class RawDataLayout { Sprites, CharSet };

// "bin", "prg", "acme", "kick", "ca65", "64tass", "c", "basic" (the CLI's names) and back.
std::optional<RawDataFormat> RawDataFormatFromName(const std::string& name);
std::string RawDataFormatName(RawDataFormat format);
// What the dialog's list shows, e.g. "ACME assembler source (*.asm)".
std::string RawDataFormatTitle(RawDataFormat format);
std::string RawDataExtension(RawDataFormat format); // ".bin", ".prg", ".asm", ".s", ".c", ".bas"
inline constexpr RawDataFormat kAllRawDataFormats[] = {
    RawDataFormat::Bin,  RawDataFormat::Prg,    RawDataFormat::Acme, RawDataFormat::Kick,
    RawDataFormat::Ca65, RawDataFormat::Tass64, RawDataFormat::C,    RawDataFormat::Basic};

// How BASIC DATA lines are numbered: first, first + step, ... up to 63999, BASIC's last line.
struct BasicLineNumbers {
    std::int64_t first = 1000;
    std::int64_t step = 10;
};
inline constexpr std::int64_t kLastBasicLine = 63999;
inline constexpr std::size_t kMaxBasicLineLength = 80; // two screen lines, what the BASIC editor takes
// A message when the first number or the step is out of range; empty when they are good. Saving
// also refuses data whose last line would be numbered past 63999.
std::string BasicLineNumbersProblem(const BasicLineNumbers& numbers);

struct AddressRange {
    std::int64_t start = 0;
    std::int64_t end = 0; // included
};
// What the dialog offers from the page in front, cut at $FFFF.
AddressRange RawDataRangeForSprites(std::int64_t spriteAddress);
AddressRange
RawDataRangeForBitmap(std::int64_t bitmapAddress); // its 8000 bytes  // 8 sprites: start .. start + $1FF
AddressRange RawDataRangeForCharSet(std::int64_t charSetAddress); // 2 KB: start .. start + $7FF

// UserError with the message the user sees, for a range past $FFFF, below $0000, or ending before it starts.
void CheckRawDataRange(std::int64_t start, std::int64_t end);
// The same check as a message: empty when the range is good.
std::string RawDataRangeProblem(std::int64_t start, std::int64_t end);

std::string RawDataLabel(std::int64_t start, RawDataLayout layout); // "sprites_0800", "chars_D000"

// The file's bytes for memory start..end (end included). BASIC: DATA lines of decimal bytes, a new
// line at each sprite (64 bytes) or each pair of characters (16 bytes).
std::vector<std::uint8_t> EncodeRawData(const MemoryImage& image, std::int64_t start, std::int64_t end,
                                        RawDataFormat format, RawDataLayout layout);
std::vector<std::uint8_t> EncodeRawData(const MemoryImage& image, std::int64_t start, std::int64_t end,
                                        RawDataFormat format, RawDataLayout layout,
                                        const BasicLineNumbers& numbers);

// Checks the range, then writes atomically; returns the status text.
std::string WriteRawDataFile(const MemoryImage& image, std::int64_t start, std::int64_t end,
                             RawDataFormat format, RawDataLayout layout, const std::string& utf8Path,
                             const WriteOptions& writing = {});
std::string WriteRawDataFile(const MemoryImage& image, std::int64_t start, std::int64_t end,
                             RawDataFormat format, RawDataLayout layout, const BasicLineNumbers& numbers,
                             const std::string& utf8Path, const WriteOptions& writing = {});

std::string PresetRawDataName(std::int64_t start, RawDataFormat format); // "data0800.bin"

} // namespace mosaiqua
