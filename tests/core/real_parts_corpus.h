#pragma once

// Memory images built from parts of real, openly licensed games (../shared/testdata/games): their code,
// packed files, tile world, bitmap, character sets and sprite sheets, laid out as games lay out memory.
// Every graphics cell's place is known. None of the files are part of the project; they are read at
// test time.

#include "core/memory_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace mosaiqua::test {

// The shared test data folder beside the project, or "" when it is absent.
std::string SharedTestDataDir();

// A file on a D64 disk, followed along its chain of sectors.
struct DiskFile {
    std::string name;
    std::uint8_t type = 0; // the directory entry's type byte
    std::vector<std::uint8_t> bytes;
};

int SectorsOnTrack(int track);
// Files listed in the directory; broken or looping chains end where they break.
std::vector<DiskFile> DiskFiles(const std::vector<std::uint8_t>& disk);
// The non-empty sectors that neither the directory, its files nor the BAM use, in disk order.
std::vector<std::uint8_t> UnlistedSectors(const std::vector<std::uint8_t>& disk);

using SpriteBytes = std::array<std::uint8_t, 64>;
// The sprites of a SpritePad file (version 1: 9-byte header; version 5: 20-byte header, count at 5-6),
// each with the attribute byte SpritePad keeps in its 64th byte. Empty when the file is neither.
std::vector<SpriteBytes> SpritePadSprites(const std::vector<std::uint8_t>& file);

struct SpriteSheet {
    std::string game;
    std::vector<SpriteBytes> sprites;
};

struct RealParts {
    std::vector<std::uint8_t> rexCode;     // TREX64 without its load address, from $0810
    std::vector<std::uint8_t> macrossCode; // MACROSS, from $0801
    std::vector<std::vector<std::uint8_t>> packed;
    std::vector<std::uint8_t> tileWorld;
    std::vector<std::uint8_t> bitmap; // 8000 bitmap, 1000 screen, 1000 colour bytes
    std::vector<std::uint8_t> romFont, rexChars, shmupChars;
    std::vector<SpriteSheet> tunedSheets; // dino, spacetaxi, shmup, unigames
    SpriteSheet heldOutSheet;             // bunkerdigger: never looked at while tuning
};

// Every part, or nothing when the shared folder is absent or a file is missing.
std::optional<RealParts> LoadRealParts();

struct RealImage {
    MemoryImage image;
    std::set<std::int32_t> sprites;  // cells holding a drawn sprite
    std::set<std::int32_t> unsure;   // cells partly over graphics the game keeps unaligned: not counted
    std::int32_t screenCharSet = -1; // the 2 KB block of the character set the screen shows
    std::array<char, 1024> kinds{};  // per cell, what was put there, for reading the mistakes
};

// Image `seed`: code low, then packed data and tile world, a VIC bank with screen, character set and
// sprite sheets, perhaps a bitmap. Held-out images use only the held-out sprite sheet and the
// shmup character set.
RealImage MakeRealImage(const RealParts& parts, unsigned seed, bool heldOut);

} // namespace mosaiqua::test
