#include "container.h"

#include "archive.h"
#include "cartridge.h"
#include "container_pick.h"
#include "disk_image.h"
#include "file_paths.h"
#include "tape_image.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <variant>

namespace mosaiqua {

using detail::PickFailure;
using detail::Picking;
using detail::SelectEntries;

namespace {

// Larger than any image or archive of C64 software; a top-level file past it is not read whole.
constexpr std::uint64_t kMaxImageBytes = 64u << 20;
constexpr std::size_t kHeadBytes = 64;
constexpr int kMaxNesting = 8;

[[noreturn]] void Refuse(const std::string& reason) {
    throw UserError(UserError::Kind::CannotOpenFile, reason);
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Hex4(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "$%04X", unsigned(value) & 0xFFFF);
    return text;
}

bool StartsWith(std::span<const std::uint8_t> bytes, const char* text) {
    const std::size_t n = std::strlen(text);
    return bytes.size() >= n && std::memcmp(bytes.data(), text, n) == 0;
}

// One container on the way down: the file itself or a member of an archive.
struct Level {
    std::string label; // its own name
    std::string chain; // every label from the file down to it, joined by ": "
    std::string path;  // the file's path, for a top-level zip that libzip reads itself
    std::vector<std::uint8_t> bytes;
    ContainerFormat format = ContainerFormat::D64;
};

struct Opened {
    Level level;
    ContainerListing listing;
    std::optional<DiskGeometry> geometry;
    DiskDirectory disk;
    TapeDirectory tape;
    Cartridge cart;
    std::optional<ZipArchive> zip;
    std::vector<std::uint8_t> gzMember;
};

// Bytes of a leaf that go to one address.
struct Piece {
    int address = 0;
    std::size_t offset = 0;
    std::size_t count = 0;
};

// What a pick ends on: a file to put into memory.
struct Leaf {
    enum class Kind { Program, Data, Pieces, Plain } kind = Kind::Plain;
    std::string chain; // of the container it came from
    std::string what;  // "\"MAIN\" PRG", "bank 0", or a member's name
    std::vector<std::uint8_t> bytes;
    std::vector<Piece> pieces;
};

std::string MemberNameOfGz(const Level& level) {
    std::string name = GzipStoredName(level.bytes);
    if (!name.empty())
        return name;
    name = level.label;
    const std::string lower = Lower(name);
    if (lower.size() > 3 && lower.ends_with(".gz"))
        return name.substr(0, name.size() - 3);
    return name + ".data";
}

Opened Open(Level level) {
    Opened o;
    ContainerListing& l = o.listing;
    l.format = level.format;
    l.label = level.chain;
    switch (level.format) {
    case ContainerFormat::Tap:
        Refuse("It is a TAP tape image: it holds the tape's signal, not its files, and no files can be read "
               "from it "
               "without running a loader.");
    case ContainerFormat::G64:
        Refuse("It is a G64 disk image: it holds the disk's raw GCR stream, and no files can be read from it "
               "without "
               "running a loader.");
    case ContainerFormat::D64:
    case ContainerFormat::D71:
    case ContainerFormat::D81: {
        o.geometry = DiskGeometry::ForSize(level.bytes.size());
        if (!o.geometry)
            Refuse("The disk image has no disk image's size.");
        o.disk = ReadDiskDirectory(level.bytes, *o.geometry);
        l.name = AsciiName(o.disk.name);
        l.petsciiName.assign(o.disk.name.begin(), o.disk.name.end());
        l.id = o.disk.id;
        l.blocksFree = o.disk.blocksFree;
        l.entries.reserve(o.disk.entries.size());
        for (const DiskEntry& e : o.disk.entries) {
            ContainerEntry entry;
            entry.index = int(l.entries.size()) + 1;
            entry.name = AsciiName(e.name);
            entry.petscii = e.name;
            entry.type = CbmFileTypeKeyword(e.type());
            entry.blocks = e.blocks;
            entry.loadAddress = e.loadAddress;
            entry.locked = e.locked();
            entry.closed = e.closed();
            entry.loadable = e.type() == int(CbmFileType::Seq) || e.type() == int(CbmFileType::Prg) ||
                             e.type() == int(CbmFileType::Usr);
            l.entries.push_back(entry);
        }
        break;
    }
    case ContainerFormat::T64: {
        o.tape = ReadTapeDirectory(level.bytes);
        l.name = TapeAsciiName(o.tape.name.data(), o.tape.name.size());
        l.petsciiName.assign(o.tape.name.begin(), o.tape.name.end());
        for (const TapeEntry& e : o.tape.entries) {
            ContainerEntry entry;
            entry.index = int(l.entries.size()) + 1;
            entry.name = TapeAsciiName(e.name.data(), e.name.size());
            entry.petscii = e.name;
            entry.type = CbmFileTypeKeyword(e.type());
            entry.blocks = int((e.size + 2 + 253) / 254);
            entry.loadAddress = e.start;
            entry.start = e.start;
            entry.end = e.end;
            entry.size = e.size;
            entry.loadable = true;
            l.entries.push_back(entry);
        }
        break;
    }
    case ContainerFormat::Crt: {
        o.cart = ReadCartridge(level.bytes);
        l.name = o.cart.name;
        l.hardwareType = o.cart.hardwareType;
        l.exrom = o.cart.exrom;
        l.game = o.cart.game;
        for (const ChipPacket& chip : o.cart.chips) {
            ContainerEntry entry;
            entry.index = int(l.entries.size()) + 1;
            entry.bank = chip.bank;
            entry.loadAddress = chip.loadAddress;
            entry.size = std::uint64_t(chip.size);
            entry.chipType = chip.chipType;
            entry.loadable = true;
            l.entries.push_back(entry);
        }
        break;
    }
    case ContainerFormat::Zip:
    case ContainerFormat::Gz: {
        l.name = level.label;
        std::vector<ArchiveMember> members;
        if (level.format == ContainerFormat::Zip) {
            o.zip = level.path.empty() ? ZipArchive::OpenBytes(std::move(level.bytes))
                                       : ZipArchive::OpenFile(level.path);
            level.bytes.clear();
            members = o.zip->members();
        } else {
            o.gzMember = Gunzip(level.bytes);
            members.push_back({MemberNameOfGz(level), o.gzMember.size()});
            level.bytes.clear();
        }
        for (const ArchiveMember& m : members) {
            ContainerEntry entry;
            entry.index = int(l.entries.size()) + 1;
            entry.name = m.name;
            entry.size = m.size;
            entry.loadable = true;
            l.entries.push_back(entry);
        }
        break;
    }
    }
    o.level = std::move(level);
    return o;
}

// --- going down ----------------------------------------------------------------------------------

Level Child(const Level& parent, const std::string& label, std::vector<std::uint8_t> bytes,
            std::optional<ContainerFormat> format) {
    Level child;
    child.label = label;
    child.chain = parent.chain + ": " + label;
    child.bytes = std::move(bytes);
    child.format = format.value_or(ContainerFormat::D64);
    return child;
}

// Takes the chosen entries out of an opened container: another container (a member that is one)
// or the leaf to load.
std::variant<Level, Leaf> Extract(Opened& o, const std::vector<std::size_t>& chosen, const Picking& picking) {
    const ContainerListing& l = o.listing;
    const ContainerEntry& first = l.entries[chosen.front()];
    Leaf leaf;
    leaf.chain = l.label;
    switch (l.format) {
    case ContainerFormat::D64:
    case ContainerFormat::D71:
    case ContainerFormat::D81: {
        const DiskEntry& e = o.disk.entries[chosen.front()];
        if (!first.loadable)
            PickFailure(Quoted(first.name) + " in " + l.label + " is a " + first.type +
                            " file; only PRG, SEQ and USR files load.",
                        picking);
        leaf.bytes =
            ReadDiskFile(o.level.bytes, *o.geometry, e.track, e.sector, "the file " + Quoted(first.name));
        leaf.kind = e.type() == int(CbmFileType::Prg) ? Leaf::Kind::Program : Leaf::Kind::Data;
        leaf.what = Quoted(first.name) + " " + Upper(first.type);
        return leaf;
    }
    case ContainerFormat::T64: {
        const TapeEntry& e = o.tape.entries[chosen.front()];
        const auto data = TapeFileBytes(o.level.bytes, e);
        leaf.kind = Leaf::Kind::Pieces;
        leaf.bytes.assign(data.begin(), data.end());
        leaf.pieces.push_back({e.start, 0, data.size()});
        leaf.what = Quoted(first.name) + " " + Upper(first.type);
        return leaf;
    }
    case ContainerFormat::Crt: {
        leaf.kind = Leaf::Kind::Pieces;
        for (std::size_t i : chosen) {
            const ChipPacket& chip = o.cart.chips[i];
            const std::uint8_t* data = o.level.bytes.data() + chip.dataOffset;
            leaf.pieces.push_back({chip.loadAddress, leaf.bytes.size(), std::size_t(chip.size)});
            leaf.bytes.insert(leaf.bytes.end(), data, data + chip.size);
        }
        // "#N" picks one packet; a bank (named or the only one) is every packet of it.
        leaf.what = picking.taken.back().starts_with("#") ? "packet #" + std::to_string(first.index) +
                                                                " (bank " + std::to_string(first.bank) + ")"
                                                          : "bank " + std::to_string(first.bank);
        return leaf;
    }
    case ContainerFormat::Zip:
    case ContainerFormat::Gz:
    case ContainerFormat::Tap:
    case ContainerFormat::G64:
        break;
    }
    std::vector<std::uint8_t> bytes =
        l.format == ContainerFormat::Zip ? o.zip->read(chosen.front()) : std::move(o.gzMember);
    const auto format = RecogniseContainer(bytes, bytes.size());
    if (format)
        return Child(o.level, first.name, std::move(bytes), format);
    leaf.kind = Leaf::Kind::Plain;
    leaf.what = first.name;
    leaf.bytes = std::move(bytes);
    return leaf;
}

std::string BaseName(const std::string& utf8Path) {
    return std::filesystem::path(utf8Path).filename().string();
}

Level TopLevel(const std::string& utf8Path, ContainerFormat format) {
    Level top;
    top.label = top.chain = BaseName(utf8Path);
    top.format = format;
    if (format == ContainerFormat::Zip) {
        top.path = utf8Path;
        return top;
    }
    std::ifstream in(PathFromUtf8(utf8Path), std::ios::binary);
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(PathFromUtf8(utf8Path), ec);
    if (!in || ec)
        Refuse("The file cannot be opened for reading.");
    if (size > kMaxImageBytes)
        Refuse("It is larger than any disk, tape or cartridge image (" + std::to_string(size) + " bytes).");
    top.bytes.resize(std::size_t(size));
    in.read(reinterpret_cast<char*>(top.bytes.data()), std::streamsize(size));
    if (std::uint64_t(in.gcount()) != size)
        Refuse("The file cannot be read.");
    return top;
}

// Runs `body`, turning a refusal into the one message both front ends show for a file that does not open.
template <typename F>
auto Guarded(const std::string& utf8Path, const std::string& topLabel, const std::string& where, F body) {
    try {
        return body();
    } catch (const ContainerPickError&) {
        throw;
    } catch (const UserError& e) {
        if (e.kind() != UserError::Kind::CannotOpenFile)
            throw;
        std::string reason = e.what();
        if (where.size() > topLabel.size())
            reason = "In " + where.substr(topLabel.size() + 2) + ": " + reason;
        throw UserError(UserError::Kind::CannotOpenFile, CannotOpenFileMessage(utf8Path, reason));
    }
}

std::optional<Leaf> Walk(const std::string& utf8Path, ContainerFormat format,
                         const std::vector<std::string>& picks, bool toLeaf, ContainerListing* listing) {
    const std::string top = BaseName(utf8Path);
    std::string where = top;
    return Guarded(utf8Path, top, where, [&]() -> std::optional<Leaf> {
        Picking picking{top, {}};
        Level level = TopLevel(utf8Path, format);
        std::size_t next = 0;
        // An archive may hold itself (quine zips exist): with single members picked on their own,
        // only a depth limit ends the walk.
        for (int depth = 1;; ++depth) {
            where = level.chain;
            if (depth > kMaxNesting)
                Refuse("Its archives are nested more than " + std::to_string(kMaxNesting) + " deep.");
            Opened opened = Open(std::move(level));
            if (!toLeaf && next >= picks.size()) {
                *listing = std::move(opened.listing);
                return std::nullopt;
            }
            const auto chosen = SelectEntries(opened.listing, picks, next, picking);
            auto child = Extract(opened, chosen, picking);
            if (auto* leaf = std::get_if<Leaf>(&child)) {
                if (next < picks.size() || !toLeaf)
                    PickFailure(leaf->chain + ": " + leaf->what +
                                    " is a file, not a disk, tape or cartridge image "
                                    "or an archive: there is nothing to pick inside it.",
                                picking);
                return std::move(*leaf);
            }
            level = std::get<Level>(std::move(child));
        }
    });
}

// --- loading ---------------------------------------------------------------------------------------

LoadedFile PlaceInMemory(MemoryImage& image, const std::vector<std::uint8_t>& bytes,
                         std::vector<Piece> pieces, const std::string& description) {
    LoadedFile loaded;
    loaded.format = FileFormat::Prg;
    int low = 0x10000, high = -1;
    for (Piece& piece : pieces) {
        if (piece.address < 0 || piece.address > 0xFFFF)
            Refuse("The load address " + std::to_string(piece.address) + " lies outside the C64's memory.");
        // Bytes past $FFFF are dropped, as for a PRG.
        piece.count = std::min(piece.count, std::size_t(0x10000 - piece.address));
        low = std::min(low, piece.address);
        if (piece.count > 0)
            high = std::max(high, piece.address + int(piece.count) - 1);
    }
    static const std::array<std::uint8_t, MemoryImage::kStoreSize> zeros{};
    image.write(0, zeros.data(), zeros.size());
    for (const Piece& piece : pieces)
        image.write(std::size_t(piece.address), bytes.data() + piece.offset, piece.count);
    loaded.ramStart = low > 0xFFFF ? 0 : low;
    loaded.ramEnd = high < 0 ? loaded.ramStart - 1 : high;
    loaded.description =
        description + " " + Hex4(loaded.ramStart) + (high < 0 ? " (no bytes)" : "-" + Hex4(loaded.ramEnd));
    return loaded;
}

LoadedFile LoadPlain(MemoryImage& image, const Leaf& leaf, const LoadOptions& options) {
    const std::string where = leaf.chain + ": " + leaf.what;
    MemorySource source(leaf.bytes.data(), leaf.bytes.size());
    if (options.detectFormat) {
        const FileFormat format = RecogniseFormat(source, leaf.what);
        if (format != FileFormat::Raw) {
            LoadedFile loaded;
            try {
                loaded = ParseRecognised(format, source, image);
            } catch (const UserError& refused) {
                Refuse("In " + leaf.what + ": " + refused.what());
            }
            loaded.description = leaf.chain + ": " + leaf.what + ": " + loaded.description;
            return loaded;
        }
    }
    // As a freeze file opened directly: the header skip, then the memory bytes over the start.
    const std::size_t size = leaf.bytes.size();
    std::size_t read = std::min(size, MemoryImage::kMemoryReadBytes);
    if (options.skipHeader) {
        const std::size_t header = std::min(size, MemoryImage::kHeaderBytes);
        image.write(0, leaf.bytes.data(), header);
        if (header == MemoryImage::kHeaderBytes) {
            const std::size_t memory = std::min(size - header, MemoryImage::kMemoryReadBytes);
            image.write(0, leaf.bytes.data() + header, memory);
            read = std::max(header, memory);
        } else
            read = header;
    } else
        image.write(0, leaf.bytes.data(), read);
    LoadedFile loaded;
    loaded.ramEnd = std::int32_t(std::min<std::size_t>(read, 0x10000)) - 1;
    loaded.description = where + ": raw memory";
    return loaded;
}

} // namespace

const char* ContainerKeyword(ContainerFormat format) {
    switch (format) {
    case ContainerFormat::D64:
        return "d64";
    case ContainerFormat::D71:
        return "d71";
    case ContainerFormat::D81:
        return "d81";
    case ContainerFormat::T64:
        return "t64";
    case ContainerFormat::Crt:
        return "crt";
    case ContainerFormat::Zip:
        return "zip";
    case ContainerFormat::Gz:
        return "gz";
    case ContainerFormat::Tap:
        return "tap";
    case ContainerFormat::G64:
        return "g64";
    }
    return "";
}

std::optional<ContainerFormat> RecogniseContainer(std::span<const std::uint8_t> head, std::uint64_t size) {
    if (StartsWith(head, "VICE Snapshot File") || StartsWith(head, "C64File"))
        return std::nullopt;
    if (StartsWith(head, "PK\x03\x04") || StartsWith(head, "PK\x05\x06"))
        return ContainerFormat::Zip;
    if (StartsWith(head, "\x1F\x8B"))
        return ContainerFormat::Gz;
    if (StartsWith(head, "C64-TAPE-RAW"))
        return ContainerFormat::Tap;
    if (StartsWith(head, "GCR-1541"))
        return ContainerFormat::G64;
    if (CartridgeMachine(head))
        return ContainerFormat::Crt;
    if (StartsWith(head, "C64") && head.size() >= 32) {
        // "C64 tape image file", "C64S tape file"...: the word that sets it apart from other "C64" files.
        const std::string signature = Lower(std::string(reinterpret_cast<const char*>(head.data()), 32));
        if (signature.find("tape") != std::string::npos)
            return ContainerFormat::T64;
    }
    if (const auto geometry = DiskGeometry::ForSize(size)) {
        switch (geometry->kind()) {
        case DiskKind::D64:
            return ContainerFormat::D64;
        case DiskKind::D71:
            return ContainerFormat::D71;
        case DiskKind::D81:
            return ContainerFormat::D81;
        }
    }
    return std::nullopt;
}

std::optional<ContainerFormat> RecogniseContainerFile(const std::string& utf8Path) {
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    const std::uint64_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in)
        return std::nullopt;
    std::array<std::uint8_t, kHeadBytes> head{};
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    return RecogniseContainer(std::span(head.data(), std::size_t(in.gcount())), size);
}

bool ContainerListing::isDisk() const {
    return format == ContainerFormat::D64 || format == ContainerFormat::D71 || format == ContainerFormat::D81;
}

ContainerListing ListContainer(const std::string& utf8Path, const std::vector<std::string>& picks) {
    ContainerListing listing;
    const auto format = RecogniseContainerFile(utf8Path);
    if (!format) {
        std::error_code ec;
        Refuse(CannotOpenFileMessage(utf8Path,
                                     std::filesystem::is_regular_file(PathFromUtf8(utf8Path), ec)
                                         ? "It is not a disk, tape or cartridge image, nor a zip or gz "
                                           "archive."
                                         : "The file does not exist or cannot be reached."));
    }
    Walk(utf8Path, *format, picks, false, &listing);
    return listing;
}

LoadedFile LoadFromContainer(MemoryImage& image, const std::string& utf8Path,
                             const std::vector<std::string>& picks, const LoadOptions& options,
                             std::optional<int> address) {
    // With recognition off and nothing picked, a container is raw bytes like any other file.
    const auto format =
        options.detectFormat || !picks.empty() ? RecogniseContainerFile(utf8Path) : std::nullopt;
    if (!format) {
        if (!picks.empty())
            throw ContainerPickError(CannotOpenFileMessage(utf8Path,
                                                           "It is not a disk, tape or cartridge image, "
                                                           "nor a zip or gz archive: there is nothing to "
                                                           "pick inside it."),
                                     {});
        return LoadMemoryFile(image, utf8Path, options);
    }
    const std::optional<Leaf> leaf = Walk(utf8Path, *format, picks, true, nullptr);
    const std::string top = BaseName(utf8Path);
    return Guarded(utf8Path, top, leaf->chain, [&] {
        const std::string description = leaf->chain + ": " + leaf->what;
        switch (leaf->kind) {
        case Leaf::Kind::Program: {
            if (leaf->bytes.size() < 2)
                Refuse("The file " + leaf->what + " is too short to hold its two-byte load address.");
            const int at = address.value_or(leaf->bytes[0] | leaf->bytes[1] << 8);
            return PlaceInMemory(image, leaf->bytes, {{at, 2, leaf->bytes.size() - 2}}, description);
        }
        case Leaf::Kind::Data:
            return PlaceInMemory(image, leaf->bytes, {{address.value_or(0), 0, leaf->bytes.size()}},
                                 description);
        case Leaf::Kind::Pieces: {
            std::vector<Piece> pieces = leaf->pieces;
            if (address && !pieces.empty()) {
                const int lowest =
                    std::min_element(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) {
                        return a.address < b.address;
                    })->address;
                const int shift = *address - lowest;
                for (Piece& piece : pieces)
                    piece.address += shift;
            }
            return PlaceInMemory(image, leaf->bytes, std::move(pieces), description);
        }
        case Leaf::Kind::Plain:
            break;
        }
        return LoadPlain(image, *leaf, options);
    });
}

} // namespace mosaiqua
