#pragma once

#include "file_paths.h"
#include "raster.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

// 24: blue, green, red per pixel, no colour table. 32: BI_RGB with an unused fourth byte.
// 16: 5-6-5 with BI_BITFIELDS masks.
bool IsSupportedBmpDepth(int bitsPerPixel);

// Refuses (UserError) a bitmap of 0 or fewer pixels across or down, or one too big to hold in memory.
void CheckBitmapSize(std::int64_t width, std::int64_t height);
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t(1) << 26;
std::size_t BmpFileSize(int width, int height, int bitsPerPixel);
std::vector<std::uint8_t> EncodeBmp(const Raster& raster, int bitsPerPixel);

// Where WriteFileAtomically sends its bytes; tests substitute one that fails part-way.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool write(const std::uint8_t* bytes, std::size_t count) = 0;
    virtual bool close() = 0; // flushes; false when the data did not reach the disk
    // The system's errno for the last failure, 0 when there is none to tell.
    virtual int systemError() const { return 0; }
};
using OutputFileOpener = std::function<std::unique_ptr<OutputFile>(const std::filesystem::path&)>;
std::unique_ptr<OutputFile> OpenPlainOutputFile(const std::filesystem::path& path);

// Writes a file so that it never surprises:
// - a regular file (or a new name) is written to a temporary beside it and renamed over it only when
//   complete, so a failure never leaves a half-written file nor destroys the old one; the replaced
//   file's permission bits (and owner, where allowed) carry over. On Linux the temporary has no name
//   until it is complete, so an interrupted run leaves nothing; elsewhere the named temporary is
//   removed on SIGINT/SIGTERM.
// - a symbolic link is followed: its target is replaced and the link stays a link;
// - a character device or a FIFO is written straight through (-o /dev/null, -o /dev/stdout);
// - anything else (a folder, a socket, a block device) and the protected loaded file are refused.
// Throws UserError "Cannot create file %s: <reason>" or "Stream write error writing %s: <reason>".
// An `opener` given by a test replaces the system's file creation with a named temporary.
void WriteFileAtomically(const std::string& utf8Path, std::span<const std::uint8_t> bytes,
                         const OutputFileOpener& opener = {});

// Writes a raster as a BMP file at 24 bits, or at the display's depth (16 or 32) when asked.
void WriteBmpFile(const Raster& raster, const std::string& utf8Path, int bitsPerPixel,
                  const OutputFileOpener& opener = {});

// A file on disk whatever it is called: device and inode, so links and other spellings match.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known = false;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity IdentifyFile(const std::string& utf8Path); // not known when it cannot be looked at

// The snapshot that was loaded: every later write refuses to replace it (under any name) until
// another is protected. Call after each successful load; a failed identification protects nothing.
void ProtectLoadedFile(const std::string& utf8Path);
void ProtectLoadedFile(const FileIdentity& identity);

} // namespace mosaiqua
