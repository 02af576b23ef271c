#pragma once

#include "errors.h"
#include "file_formats.h"
#include "memory_image.h"
#include "petscii.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

// Disk, tape and cartridge images and the archives they come in: one entry point for listing
// them and for loading what the user picks inside.

enum class ContainerFormat { D64, D71, D81, T64, Crt, Zip, Gz, Tap, G64 };

const char* ContainerKeyword(ContainerFormat format); // "d64" ... "gz", "tap", "g64"

// What the first bytes (at least 64 when the file has them) and the size say the file is. VICE
// snapshots and P00 files are not containers, whatever their size.
std::optional<ContainerFormat> RecogniseContainer(std::span<const std::uint8_t> head, std::uint64_t size);
// The same for a file; nothing when it cannot be read (the ordinary loader then says why).
std::optional<ContainerFormat> RecogniseContainerFile(const std::string& utf8Path);

struct ContainerEntry {
    int index = 0;         // from 1, in directory order
    std::string name;      // ASCII for disks and tapes, as stored for archives; empty for CRT packets
    PetsciiName petscii{}; // disks and tapes: the name as stored, for drawing with the C64 font
    std::string type;      // disks and tapes: "prg", "seq", "usr", "rel", "del"
    int blocks = 0;        // disks; tapes: the blocks the file would take on a disk
    std::optional<int> loadAddress; // disk PRGs (when readable), tape start, CRT packets
    bool locked = false;
    bool closed = false;
    int start = 0, end = 0; // tapes: end repaired, one past the last byte
    std::uint64_t size = 0; // tapes, cartridges, archives
    int bank = 0;           // cartridges
    int chipType = 0;       // cartridges: 0 ROM, 1 RAM, 2 Flash
    bool loadable = false;  // counts when deciding whether the user must pick
};

struct ContainerListing {
    ContainerFormat format = ContainerFormat::D64;
    std::string label;                         // where it is, e.g. "games.zip: game.d64"
    std::string name;                          // ASCII: disk or tape name, cartridge name, archive file name
    std::vector<std::uint8_t> petsciiName;     // disks (16 bytes), tapes (24)
    std::array<std::uint8_t, 5> id{};          // disks: ID, `$A0`, DOS type
    int blocksFree = 0;                        // disks
    int hardwareType = 0, exrom = 0, game = 0; // cartridges
    std::vector<ContainerEntry> entries;

    bool isDisk() const;
    int loadableCount() const; // CRT: the banks
};

// A picked path as typed: `FILE:ENTRY[:ENTRY...]`. The file is the longest prefix ending before a
// ':' that exists as a file (a plain path may itself hold ':'); without one, the whole text.
struct PickPath {
    std::string file;
    std::vector<std::string> picks; // an entry name as listed, "#N", or "bankN"
};
PickPath ParsePickPath(const std::string& text);

// Thrown (kind PickEntry) when a name is missing or ambiguous, or a container with several loadable
// entries was given no pick. `picksToContainer` leads from the file to the container concerned
// (the window lists that one and asks).
class ContainerPickError final : public UserError {
public:
    ContainerPickError(const std::string& message, std::vector<std::string> picksToContainer)
        : UserError(Kind::PickEntry, message), m_picks(std::move(picksToContainer)) {}
    const std::vector<std::string>& picksToContainer() const { return m_picks; }

private:
    std::vector<std::string> m_picks;
};

// The container at the end of `picks` (none: the file itself). Refusals throw UserError
// (CannotOpenFile, with the file's name and the reason); bad picks throw ContainerPickError.
ContainerListing ListContainer(const std::string& utf8Path, const std::vector<std::string>& picks = {});

// Loads the entry the picks lead to, as a PRG loads: at its load address (`address` instead when
// given; SEQ and USR files at $0000 without one), every other byte 0. A CRT pick loads one bank
// (every packet of it). A file inside an archive loads as if opened directly. A file that is no
// container, with no picks, loads as LoadMemoryFile does; so does any file with `detectFormat` off
// and no picks. Refusals change nothing in `image`.
LoadedFile LoadFromContainer(MemoryImage& image, const std::string& utf8Path,
                             const std::vector<std::string>& picks, const LoadOptions& options = {},
                             std::optional<int> address = std::nullopt);

// The listing as `list --json` prints it, and as the C64 lists a directory (for `list`).
std::string ListingJson(const ContainerListing& listing);
std::string ListingText(const ContainerListing& listing);

} // namespace mosaiqua
