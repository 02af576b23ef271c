#include "real_parts_corpus.h"

#include "test_helpers.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <utility>

namespace mosaiqua::test {

std::string SharedTestDataDir() {
    // Beside the project; a git worktree one level deeper finds it one level further up.
    const std::filesystem::path beside = std::filesystem::path(MOSAIQUA_SHARED_TESTDATA).lexically_normal();
    for (const auto& dir : {beside, (beside / "../../../shared/testdata").lexically_normal()})
        if (std::filesystem::is_directory(dir / "games"))
            return dir.string();
    return {};
}

int SectorsOnTrack(int track) {
    return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17;
}

namespace {

constexpr int kTracks = 35;
using Sector = std::pair<int, int>;

// Offset of a track/sector in a 35-track image, or -1 when there is no such sector.
long sectorOffset(const std::vector<std::uint8_t>& disk, int track, int sector) {
    if (track < 1 || track > kTracks || sector < 0 || sector >= SectorsOnTrack(track))
        return -1;
    long index = sector;
    for (int t = 1; t < track; ++t)
        index += SectorsOnTrack(t);
    const long offset = index * 256;
    return offset + 256 <= long(disk.size()) ? offset : -1;
}

// The bytes of a chain from track/sector; `used` collects the sectors visited.
std::vector<std::uint8_t> followChain(const std::vector<std::uint8_t>& disk, int track, int sector,
                                      std::set<Sector>& used) {
    std::vector<std::uint8_t> out;
    std::set<Sector> seen;
    while (seen.insert({track, sector}).second) {
        const long at = sectorOffset(disk, track, sector);
        if (at < 0)
            break;
        used.insert({track, sector});
        const std::uint8_t* block = disk.data() + at;
        if (block[0] == 0) { // last block: byte 1 is the index of its last used byte
            if (block[1] >= 2)
                out.insert(out.end(), block + 2, block + block[1] + 1);
            break;
        }
        out.insert(out.end(), block + 2, block + 256);
        track = block[0];
        sector = block[1];
    }
    return out;
}

std::vector<DiskFile> listFiles(const std::vector<std::uint8_t>& disk, std::set<Sector>& used) {
    std::vector<DiskFile> files;
    std::set<Sector> directory;
    followChain(disk, 18, 1, directory);
    used.insert(directory.begin(), directory.end());
    used.insert({18, 0});
    for (const auto& [track, sector] : directory) {
        const std::uint8_t* block = disk.data() + sectorOffset(disk, track, sector);
        for (int e = 0; e < 8; ++e) {
            const std::uint8_t* entry = block + 32 * e;
            if (entry[2] == 0)
                continue;
            DiskFile file;
            file.type = entry[2];
            for (int i = 5; i < 21 && entry[i] != 0xA0; ++i)
                file.name.push_back(char(entry[i]));
            if (entry[3] != 0)
                file.bytes = followChain(disk, entry[3], entry[4], used);
            files.push_back(std::move(file));
        }
    }
    return files;
}

} // namespace

std::vector<DiskFile> DiskFiles(const std::vector<std::uint8_t>& disk) {
    std::set<Sector> used;
    return listFiles(disk, used);
}

std::vector<std::uint8_t> UnlistedSectors(const std::vector<std::uint8_t>& disk) {
    std::set<Sector> used;
    listFiles(disk, used);
    std::vector<std::uint8_t> out;
    for (int track = 1; track <= kTracks; ++track)
        for (int sector = 0; sector < SectorsOnTrack(track); ++sector) {
            const long at = sectorOffset(disk, track, sector);
            if (at < 0 || used.count({track, sector}))
                continue;
            const auto* block = disk.data() + at;
            if (std::any_of(block, block + 256, [](std::uint8_t b) { return b != 0; }))
                out.insert(out.end(), block, block + 256);
        }
    return out;
}

std::vector<SpriteBytes> SpritePadSprites(const std::vector<std::uint8_t>& file) {
    if (file.size() < 9 || file[0] != 'S' || file[1] != 'P' || file[2] != 'D')
        return {};
    std::size_t header = 0, count = 0;
    if (file[3] == 1) {
        header = 9;
        count = std::size_t(file[4]) + 1;
    } else if (file[3] == 5 && file.size() >= 20) {
        header = 20;
        count = std::size_t(file[5]) | std::size_t(file[6]) << 8;
    } else {
        return {};
    }
    std::vector<SpriteBytes> sprites;
    for (std::size_t i = 0; i < count && header + 64 * (i + 1) <= file.size(); ++i) {
        SpriteBytes s{};
        std::copy_n(file.begin() + std::ptrdiff_t(header + 64 * i), 64, s.begin());
        sprites.push_back(s);
    }
    return sprites;
}

std::optional<RealParts> LoadRealParts() {
    const std::string dir = SharedTestDataDir();
    if (dir.empty())
        return std::nullopt;
    const auto read = [&](const std::string& name) { return ReadBytes(dir + "/" + name); };
    const auto fileOf = [](const std::vector<DiskFile>& files, const std::string& name) {
        for (const auto& f : files)
            if (f.name == name && f.bytes.size() > 2)
                return std::vector<std::uint8_t>(f.bytes.begin() + 2, f.bytes.end());
        return std::vector<std::uint8_t>();
    };
    RealParts parts;
    const auto rexDisk = read("games/rex.d64");
    const auto macrossDisk = read("games/macross.d64");
    parts.rexCode = fileOf(DiskFiles(rexDisk), "TREX64");
    parts.macrossCode = fileOf(DiskFiles(macrossDisk), "MACROSS");
    parts.tileWorld = UnlistedSectors(macrossDisk);
    for (const auto& f : DiskFiles(read("games/c64gameframework-example.d64")))
        if (f.bytes.size() >= 256)
            parts.packed.push_back(f.bytes);
    parts.bitmap = read("games/blumba2.bin");
    parts.romFont = read("chargen_openroms.rom");
    parts.shmupChars = read("games/hscrollshmupchars.bin");
    if (parts.rexCode.size() >= 0x336F - 0x0810 + 1024)
        parts.rexChars.assign(parts.rexCode.begin() + (0x336F - 0x0810),
                              parts.rexCode.begin() + (0x336F - 0x0810 + 1024));
    const auto raw = [](const std::vector<std::uint8_t>& bytes) {
        std::vector<SpriteBytes> sprites;
        for (std::size_t at = 0; at + 64 <= bytes.size(); at += 64) {
            SpriteBytes s{};
            std::copy_n(bytes.begin() + std::ptrdiff_t(at), 64, s.begin());
            sprites.push_back(s);
        }
        return sprites;
    };
    parts.tunedSheets = {{"dino", SpritePadSprites(read("games/dino.spd"))},
                         {"spacetaxi", SpritePadSprites(read("games/spacetaxi-sprites.spd"))},
                         {"shmup", raw(read("games/hscrollshmupsprites.bin"))},
                         {"unigames", raw(read("unigames-sprites.bin"))}};
    parts.heldOutSheet = {"bunkerdigger", SpritePadSprites(read("games/bunkerdigger-sprites.spd"))};
    const bool complete =
        parts.rexCode.size() == 12127 && parts.macrossCode.size() == 6571 &&
        parts.tileWorld.size() == 132 * 256 && parts.packed.size() >= 5 && parts.bitmap.size() == 10000 &&
        parts.romFont.size() == 4096 && parts.rexChars.size() == 1024 && parts.shmupChars.size() == 1328 &&
        parts.tunedSheets[0].sprites.size() == 32 && parts.tunedSheets[1].sprites.size() == 4 &&
        parts.tunedSheets[2].sprites.size() == 64 && parts.tunedSheets[3].sprites.size() == 48 &&
        parts.heldOutSheet.sprites.size() == 64;
    return complete ? std::optional<RealParts>(std::move(parts)) : std::nullopt;
}

namespace {

// 64 KB being laid out: which bytes are taken, and what each cell holds.
class Layout final {
public:
    explicit Layout(unsigned seed) : m_random(seed) { m_kind.fill('0'); }

    std::mt19937& random() { return m_random; }
    int pick(int n) { return n <= 0 ? 0 : int(m_random() % unsigned(n)); }

    bool isFree(int at, int size) const {
        if (at < 0 || at + size > 0x10000)
            return false;
        return std::none_of(m_taken.begin() + at, m_taken.begin() + at + size, [](bool t) { return t; });
    }
    // A free, aligned place in [low, high), at random; -1 when there is none.
    int find(int size, int align, int low, int high) {
        std::vector<int> places;
        for (int at = (low + align - 1) / align * align; at + size <= high; at += align)
            if (isFree(at, size))
                places.push_back(at);
        return places.empty() ? -1 : places[std::size_t(pick(int(places.size())))];
    }
    void put(int at, const std::uint8_t* bytes, int size, char kind) {
        std::copy_n(bytes, size, m_memory.begin() + at);
        std::fill_n(m_taken.begin() + at, size, true);
        for (int cell = at / 64; cell <= (at + size - 1) / 64; ++cell)
            m_kind[std::size_t(cell)] = kind;
    }
    void put(int at, const std::vector<std::uint8_t>& bytes, char kind) {
        put(at, bytes.data(), int(std::min<std::size_t>(bytes.size(), std::size_t(0x10000 - at))), kind);
    }
    // The free stretch from `at`, up to `limit` bytes.
    int freeRun(int at, int limit) const {
        int n = 0;
        while (at + n < 0x10000 && n < limit && !m_taken[std::size_t(at + n)])
            ++n;
        return n;
    }
    bool taken(int at) const { return m_taken[std::size_t(at)]; }

    std::array<std::uint8_t, 0x10000> m_memory{};
    std::array<char, 1024> m_kind{};

private:
    std::mt19937 m_random;
    std::array<bool, 0x10000> m_taken{};
};

std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& from, int at, int size) {
    at = std::clamp(at, 0, int(from.size()));
    size = std::min(size, int(from.size()) - at);
    return {from.begin() + at, from.begin() + at + size};
}

// A game screen in the character set's codes: a tile-world stretch for the play field, a line of
// text and digits for the score.
std::vector<std::uint8_t> gameScreen(Layout& layout, const RealParts& parts, int characters) {
    std::vector<std::uint8_t> screen(1000, 0x20);
    const int from = layout.pick(int(parts.tileWorld.size()) - 1000);
    for (int i = 80; i < 1000; ++i)
        screen[std::size_t(i)] = std::uint8_t(parts.tileWorld[std::size_t(from + i)] % characters);
    const char* score = "SCORE 0012340   HIGH 0100000   LIVES 3";
    for (int i = 0; score[i] != 0; ++i)
        screen[std::size_t(41 + i)] = std::uint8_t(score[i] >= 'A' ? score[i] - 0x40 : score[i]);
    return screen;
}

// Whatever else a game keeps in a free stretch: packed files, tile world, more code, zeros.
void fillRest(Layout& layout, const RealParts& parts) {
    for (int at = 0x0400; at < 0x10000;) {
        if (layout.taken(at)) {
            ++at;
            continue;
        }
        const int run = layout.freeRun(at, 256 * (1 + layout.pick(16)));
        std::vector<std::uint8_t> bytes;
        char kind = 'P';
        switch (layout.pick(6)) {
        case 0:
        case 1: {
            const auto& file = parts.packed[std::size_t(layout.pick(int(parts.packed.size())))];
            bytes = slice(file, layout.pick(int(file.size()) / 2), run);
            break;
        }
        case 2:
            bytes = slice(parts.tileWorld, layout.pick(int(parts.tileWorld.size()) - run), run);
            kind = 'T';
            break;
        case 3:
            bytes = slice(parts.macrossCode, layout.pick(int(parts.macrossCode.size()) - run), run);
            kind = 'c';
            break;
        default:
            bytes.assign(std::size_t(run), layout.pick(8) == 0 ? 0xFF : 0x00);
            kind = 'E';
        }
        bytes.resize(std::size_t(run), 0);
        layout.put(at, bytes, kind);
        at += run;
    }
}

} // namespace

RealImage MakeRealImage(const RealParts& parts, unsigned seed, bool heldOut) {
    Layout layout(seed * 2 + (heldOut ? 1 : 0));
    RealImage result;

    // Zero page, stack and system area: pointers and counters, mostly zero.
    std::vector<std::uint8_t> low(0x400, 0);
    for (int i = 2; i < 0x100; ++i)
        low[std::size_t(i)] = layout.pick(3) == 0 ? std::uint8_t(layout.random()()) : 0;
    for (int i = 0x1E0; i < 0x200; ++i)
        low[std::size_t(i)] = std::uint8_t(layout.random()());
    layout.put(0, low, 'z');

    // The program, loaded low.
    const bool rex = layout.pick(2) == 0;
    const int codeAt = rex ? 0x0810 : 0x0801;
    layout.put(codeAt, rex ? parts.rexCode : parts.macrossCode, rex ? 'C' : 'c');
    if (rex) // the dinosaur's sprites and the level characters, unaligned, before the game copies them
        for (int cell = 0x2E6F / 64; cell <= 0x376F / 64; ++cell) {
            result.unsure.insert(cell * 64);
            layout.m_kind[std::size_t(cell)] = 'g';
        }

    // The VIC bank: a screen on a 1 KB boundary, the character set on 2 KB, sprite sheets in runs.
    const int bank = 0x4000 * (1 + layout.pick(3));
    std::vector<std::uint8_t> charset = parts.shmupChars;
    if (!heldOut) {
        const int which = layout.pick(3);
        charset = which == 0 ? parts.rexChars : slice(parts.romFont, (which - 1) * 0x800, 0x800);
    }
    const int charsetAt = layout.find(0x800, 0x800, bank, bank + 0x4000);
    layout.put(charsetAt, charset, 'h');
    result.screenCharSet = charsetAt;
    const int screenAt = layout.find(1000, 0x400, bank, bank + 0x4000);
    layout.put(screenAt, gameScreen(layout, parts, int(charset.size() / 8)), 's');

    std::vector<const SpriteSheet*> sheets;
    if (heldOut) {
        sheets.push_back(&parts.heldOutSheet);
    } else {
        const int first = layout.pick(4);
        sheets.push_back(&parts.tunedSheets[std::size_t(first)]);
        sheets.push_back(&parts.tunedSheets[std::size_t((first + 1 + layout.pick(3)) % 4)]);
    }
    for (const SpriteSheet* sheet : sheets) {
        const int size = int(sheet->sprites.size()) * 64;
        int at = layout.find(size, 64, bank, bank + 0x4000);
        if (at < 0)
            at = layout.find(size, 64, 0x4000, 0x10000);
        if (at < 0)
            continue;
        for (std::size_t i = 0; i < sheet->sprites.size(); ++i) {
            const SpriteBytes& s = sheet->sprites[i];
            const int cellAt = at + int(i) * 64;
            layout.put(cellAt, s.data(), 64, 'S');
            if (std::any_of(s.begin(), s.begin() + 63, [](std::uint8_t b) { return b != 0; }))
                result.sprites.insert(cellAt);
            else
                layout.m_kind[std::size_t(cellAt / 64)] = 'e'; // an empty frame: nothing to find
        }
    }

    // Half the images also hold a bitmap picture on an 8 KB boundary, its screen and colours after it.
    if (layout.pick(2) == 0) {
        const int at = layout.find(0x2000, 0x2000, 0x4000, 0x10000);
        if (at >= 0) {
            layout.put(at, parts.bitmap.data(), 8000, 'B');
            const int colours = layout.find(2000, 0x400, 0x4000, 0x10000);
            if (colours >= 0)
                layout.put(colours, parts.bitmap.data() + 8000, 2000, 'b');
        }
    }
    // The game's own default screen at $0400, in the ROM font's codes.
    layout.put(0x0400, gameScreen(layout, parts, 64), 's');

    fillRest(layout, parts);
    result.image.write(0, layout.m_memory.data(), layout.m_memory.size());
    result.kinds = layout.m_kind;
    return result;
}

} // namespace mosaiqua::test
