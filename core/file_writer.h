#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace mosaiqua {

// Where a named temporary's bytes go; tests substitute one that fails part-way.
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

// A file on disk whatever it is called: device and inode, so links and other spellings match.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known = false;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity IdentifyFile(const std::string& utf8Path); // not known when it cannot be looked at

// How one write goes: the file it must never replace (the loaded snapshot), and, for tests, the
// opener of a named temporary (the system's unnamed one is then not used).
struct WriteOptions {
    FileIdentity keep;
    OutputFileOpener opener;

    WriteOptions() = default;
    WriteOptions(OutputFileOpener namedOpener) : opener(std::move(namedOpener)) {}
    WriteOptions(FileIdentity kept, OutputFileOpener namedOpener = {})
        : keep(kept), opener(std::move(namedOpener)) {}
};

// Writes a file so that it never surprises:
// - a regular file (or a new name) is written to a temporary beside it and given its name only when
//   complete, so a failure never leaves a half-written file nor destroys the old one; the replaced
//   file's permission bits (and owner, where allowed) carry over. On Linux the temporary has no
//   name until it is complete;
// - a symbolic link is followed: its target is replaced and the link stays a link;
// - one of the process's own open descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N) is written
//   through that descriptor, so `>>` appends and a shell group keeps its other lines;
// - a character device or a FIFO is written straight through (-o /dev/null);
// - anything else (a folder, a socket, a block device) and `options.keep` are refused.
// Throws UserError "Cannot create file %s: <reason>" or "Stream write error writing %s: <reason>".
void WriteFileAtomically(const std::string& utf8Path, std::span<const std::uint8_t> bytes,
                         const WriteOptions& options = {});

// The descriptor a name like /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N stands for,
// when it is open in this process.
std::optional<int> OwnDescriptorNamed(const std::string& utf8Path);

// For main(), before any thread starts: SIGINT and SIGTERM then reach the main thread only, whose
// writes hold them off while a named temporary exists, remove it, and then end the run as
// interrupted. A save never installs it itself.
void InstallInterruptCleanup();

} // namespace mosaiqua
