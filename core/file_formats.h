#pragma once

#include "machine_state.h"
#include "memory_image.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace mosaiqua {

enum class FileFormat { Raw, ViceSnapshot, Prg, P00 };

struct LoadOptions {
    bool detectFormat = true; // off: every file loads as a raw freeze file
    bool skipHeader = true;   // the 1148-byte skip, for raw files only
};

// What a load read, for the status bar, `info` and the Snapshot window.
struct LoadedFile {
    FileFormat format = FileFormat::Raw;
    std::string machine;     // "C64" or "C64SC" for snapshots, else empty
    std::string viceVersion; // "3.10.0" when the snapshot has a version block, else empty
    std::int32_t ramStart = 0;
    std::int32_t ramEnd = -1; // inclusive; below ramStart when nothing was read
    std::string description;  // the status-bar text; empty for raw files (the bar keeps its text)
    std::optional<MachineState> machineState;
};

// Reads bytes at an offset; both the file loader and the in-memory parser go through it.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies exactly `count` bytes or returns false.
    virtual bool readAt(std::uint64_t offset, std::uint8_t* dst, std::size_t count) = 0;
    // The bytes themselves when the source already holds them in memory (valid while it lives),
    // so the RAM goes into the image in one copy; nullptr when they must be read.
    virtual const std::uint8_t* peek(std::uint64_t /*offset*/, std::size_t /*count*/) { return nullptr; }
};

class MemorySource final : public ByteSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint64_t size() const override { return m_size; }
    bool readAt(std::uint64_t offset, std::uint8_t* dst, std::size_t count) override;
    const std::uint8_t* peek(std::uint64_t offset, std::size_t count) override;

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

// The format the content (and, for PRG, the name's extension) says the file is.
FileFormat RecogniseFormat(ByteSource& source, const std::string& utf8Name);

// Parses a recognised format into `image` (every other store byte 0). Throws UserError
// (CannotOpenFile, what() the reason in user words) and leaves the image untouched when the file is
// refused.
LoadedFile ParseRecognised(FileFormat format, ByteSource& source, MemoryImage& image);

// The one entry point for every file the user opens: recognised formats as above, anything else
// (or everything, with detectFormat off) exactly as LoadFreezeFile reads it. A refused file throws
// UserError "Cannot open file "<shownName>". <why>" (shownName empty: the path) and changes nothing.
LoadedFile LoadMemoryFile(MemoryImage& image, const std::string& utf8Path, const LoadOptions& options,
                          const std::string& shownName = {});

const char* FormatKeyword(FileFormat format); // "vice-snapshot", "prg", "p00", "raw"

} // namespace mosaiqua
