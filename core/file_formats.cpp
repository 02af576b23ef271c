#include "file_formats.h"

#include "errors.h"

#include "file_paths.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define MOSAIQUA_POSIX_FILES 1
#endif

namespace mosaiqua {

bool MemorySource::readAt(std::uint64_t offset, std::uint8_t* dst, std::size_t count) {
    if (offset > m_size || count > m_size - offset)
        return false;
    if (count > 0)
        std::memcpy(dst, m_data + offset, count);
    return true;
}

const std::uint8_t* MemorySource::peek(std::uint64_t offset, std::size_t count) {
    return offset <= m_size && count <= m_size - offset ? m_data + offset : nullptr;
}

namespace {

constexpr char kViceMagic[] = "VICE Snapshot File\x1A"; // 19 bytes
constexpr char kVersionMagic[] = "VICE Version\x1A";    // 13 bytes
constexpr char kP00Magic[] = "C64File";                 // with its NUL: 8 bytes
constexpr std::size_t kViceHeader = 37;
constexpr std::size_t kVersionBlockEnd = 58;
constexpr std::size_t kModuleHeader = 22;
constexpr std::size_t kRamBytes = 0x10000;
constexpr std::size_t kMemBodyRamOffset = 4;
constexpr std::size_t kRomCharOffset = 8192 * 2;
// x64's VIC-II body: colour RAM at 43, registers at 1119.
constexpr std::size_t kX64ColourRam = 43;
constexpr std::size_t kX64Registers = 1119;
constexpr std::size_t kX64scRegisters = 1;
constexpr std::size_t kX64scColourRam = 761;
constexpr std::size_t kP00LoadAddress = 0x1A;
// The versions whose layouts are known: snapshot formats 1 and 2, C64MEM 0.x, VIC-II 1.1-1.4, CIA2 2.x.
constexpr int kKnownMemMajor = 0;
constexpr int kKnownVicMajor = 1;
constexpr int kKnownCia2Major = 2;

// Reads the file with as few system calls as the walk allows, since each costs more than copying
// kilobytes: one read of the head (the header and, in the files seen, the whole C64MEM module), kept
// for the RAM copy, and windows beyond it for the module headers spread through the rest. Mapping
// the file was measured too: its page faults cost ten times these reads, and a file truncated
// while mapped kills the process.
class FileSource final : public ByteSource {
public:
    FileSource() = default;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() override { close(); }
    // False when the path is not a regular file that opens; the caller then lets the freeze-file
    // loader word the failure.
    bool open(const std::filesystem::path& path);
    std::uint64_t size() const override { return m_size; }
    bool readAt(std::uint64_t offset, std::uint8_t* dst, std::size_t count) override;
    // Only the head: the window moves on with the next read.
    const std::uint8_t* peek(std::uint64_t offset, std::size_t count) override {
        loadHead();
        return m_head.holds(offset, count) ? m_head.bytes.get() + offset : nullptr;
    }

private:
    static constexpr std::size_t kHead = 0x10000 + 1024;
    static constexpr std::size_t kWindow = 4096;
    static constexpr std::size_t kTail = 32768;
    struct Buffer {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::uint64_t start = 0;
        std::size_t size = 0;
        bool holds(std::uint64_t offset, std::size_t count) const {
            return offset >= start && count <= size && offset - start <= size - count;
        }
    };
    void loadHead() {
        if (!m_headTried)
            fill(m_head, 0, std::size_t(std::min<std::uint64_t>(kHead, m_size)));
        m_headTried = true;
    }
    bool fill(Buffer& buffer, std::uint64_t offset, std::size_t count);
    bool readFile(std::uint64_t offset, std::uint8_t* dst, std::size_t count);
    void close();

#ifdef MOSAIQUA_POSIX_FILES
    int m_fd = -1;
#else
    std::ifstream m_in;
#endif
    std::uint64_t m_size = 0;
    bool m_headTried = false;
    Buffer m_head, m_window;
};

bool FileSource::readAt(std::uint64_t offset, std::uint8_t* dst, std::size_t count) {
    if (offset > m_size || count > m_size - offset)
        return false;
    if (count == 0)
        return true;
    loadHead();
    const Buffer* from = m_head.holds(offset, count)     ? &m_head
                         : m_window.holds(offset, count) ? &m_window
                                                         : nullptr;
    if (!from) {
        if (count > kTail / 4)
            return readFile(offset, dst, count);
        // A short rest of the file comes in whole: the small modules at the end of a snapshot.
        const std::uint64_t rest = m_size - offset;
        if (!fill(m_window, offset, rest <= kTail ? std::size_t(rest) : std::max(kWindow, count)))
            return false;
        from = &m_window;
    }
    std::memcpy(dst, from->bytes.get() + (offset - from->start), count);
    return true;
}

bool FileSource::fill(Buffer& buffer, std::uint64_t offset, std::size_t count) {
    if (!buffer.bytes)
        buffer.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(&buffer == &m_head ? kHead : kTail);
    buffer.start = offset;
    buffer.size = readFile(offset, buffer.bytes.get(), count) ? count : 0;
    return buffer.size == count;
}

#ifdef MOSAIQUA_POSIX_FILES

bool FileSource::open(const std::filesystem::path& path) {
    // Non-blocking and checked after opening, so a pipe or device is never waited on or read.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        close();
        return false;
    }
    m_size = std::uint64_t(info.st_size);
    return true;
}

bool FileSource::readFile(std::uint64_t offset, std::uint8_t* dst, std::size_t count) {
    while (count > 0) {
        const ssize_t got = ::pread(m_fd, dst, count, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false; // an error, or the file shrank since it was opened
        dst += got;
        offset += std::uint64_t(got);
        count -= std::size_t(got);
    }
    return true;
}

void FileSource::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

#else

bool FileSource::open(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    m_size = std::filesystem::file_size(path, ec);
    if (ec)
        return false;
    // Unbuffered: the reads above are already as large as they should be.
    m_in.rdbuf()->pubsetbuf(nullptr, 0);
    m_in.open(path, std::ios::binary);
    return bool(m_in);
}

bool FileSource::readFile(std::uint64_t offset, std::uint8_t* dst, std::size_t count) {
    m_in.clear();
    m_in.seekg(std::streamoff(offset));
    m_in.read(reinterpret_cast<char*>(dst), std::streamsize(count));
    return m_in.gcount() == std::streamsize(count);
}

void FileSource::close() {}

#endif

std::string Hex4(std::int64_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "$%04X", unsigned(value & 0xFFFF));
    return text;
}

std::string Printable(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && bytes[i] != 0; ++i)
        text += std::isprint(bytes[i]) ? char(bytes[i]) : '?';
    return text;
}

std::uint32_t Dword(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

bool Fail(std::string* why, const std::string& reason) {
    if (why)
        *why = reason;
    return false;
}

struct Module {
    std::uint64_t body = 0; // offset of the body in the file
    std::uint64_t size = 0; // body bytes
    bool found = false;
    int major = 0;
    int minor = 0;
    std::string version() const { return std::to_string(major) + "." + std::to_string(minor); }
};

struct Modules {
    Module mem, vic, vicSc, cia2, rom;
    std::uint64_t ignoredTail = 0; // bytes after the last whole module, once the RAM was found
};

std::string Counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool WalkModules(ByteSource& source, std::uint64_t offset, Modules& modules, std::string* why) {
    const std::string damaged = "The VICE snapshot is damaged: ";
    while (offset < source.size()) {
        std::array<std::uint8_t, kModuleHeader> header{};
        const bool whole = source.readAt(offset, header.data(), header.size());
        const std::uint64_t size = Dword(header.data() + 18);
        // Once the RAM is in hand, what follows the last whole module costs nothing but a note.
        if (modules.mem.found && (!whole || size < kModuleHeader || size > source.size() - offset)) {
            modules.ignoredTail = source.size() - offset;
            return true;
        }
        if (!whole)
            return Fail(why, damaged + "the file ends inside a module header at offset " +
                                 std::to_string(offset) + ".");
        // The name is only spelled out for a message: comparing the raw field keeps the walk cheap.
        const auto name = [&] { return Printable(header.data(), 16); };
        if (size < kModuleHeader)
            return Fail(why, damaged + "the module \"" + name() + "\" at offset " + std::to_string(offset) +
                                 " is smaller than its own header.");
        if (size > source.size() - offset)
            return Fail(why, damaged + "the module \"" + name() + "\" at offset " + std::to_string(offset) +
                                 " runs past the end of the file.");
        const auto is = [&](const char* wanted) {
            return std::memcmp(header.data(), wanted, std::strlen(wanted) + 1) == 0;
        };
        Module* slot = is("C64MEM")     ? &modules.mem
                       : is("VIC-II")   ? &modules.vic
                       : is("VIC-IISC") ? &modules.vicSc
                       : is("CIA2")     ? &modules.cia2
                       : is("C64ROM")   ? &modules.rom
                                        : nullptr;
        // A name can appear twice; the first one counts.
        if (slot && !slot->found)
            *slot = {offset + kModuleHeader, size - kModuleHeader, true, header[16], header[17]};
        offset += size;
    }
    return true;
}

// The bytes a parser takes into the image at `address`; every other store byte becomes 0. They point
// into the source when it holds them in memory already, else into `copy`.
struct Taken {
    const std::uint8_t* bytes = nullptr;
    std::size_t address = 0;
    std::size_t count = 0;
    std::unique_ptr<std::uint8_t[]> copy;
};

bool Take(ByteSource& source, std::uint64_t offset, std::size_t address, std::size_t count, Taken& taken) {
    taken.address = address;
    taken.count = count;
    taken.bytes = count > 0 ? source.peek(offset, count) : nullptr;
    if (taken.bytes || count == 0)
        return true;
    taken.copy = std::make_unique_for_overwrite<std::uint8_t[]>(count);
    taken.bytes = taken.copy.get();
    return source.readAt(offset, taken.copy.get(), count);
}

bool ReadBody(ByteSource& source, const Module& m, std::size_t at, std::uint8_t* dst, std::size_t count) {
    return m.found && at <= m.size && count <= m.size - at && source.readAt(m.body + at, dst, count);
}

// Reads what the known layouts allow; `notes` get what is missing or assumed, `noState` why there is
// no state at all.
std::optional<MachineState> ReadMachineState(ByteSource& source, const Modules& modules, bool x64,
                                             std::vector<std::string>& notes, std::string& noState) {
    MachineState state;
    // CIA2 first: VICE writes it before the video chip, so both come from one window.
    const Module& cia2 = modules.cia2;
    std::array<std::uint8_t, 3> cia{};
    if (!cia2.found)
        notes.push_back("no CIA2 module: bank $0000 assumed");
    else if (cia2.major != kKnownCia2Major)
        notes.push_back("CIA2 module version " + cia2.version() +
                        " has an unknown layout: bank $0000 assumed");
    else if (!ReadBody(source, cia2, 0, cia.data(), cia.size()))
        notes.push_back("the CIA2 module is cut short: bank $0000 assumed");
    else {
        state.cia2PortA = cia[0];
        state.cia2DirectionA = cia[2];
    }
    state.bankAssumed = !notes.empty();
    const bool sc = modules.vicSc.found || !x64;
    const Module& vic = modules.vicSc.found ? modules.vicSc : modules.vic;
    const std::string vicName = modules.vicSc.found ? "VIC-IISC" : "VIC-II";
    if (!vic.found)
        noState = "no VIC-II module, so the screen state is unknown";
    else if (vic.major != kKnownVicMajor)
        noState = "the screen state has an unknown layout: " + vicName + " module version " + vic.version();
    else if (!ReadBody(source, vic, sc ? kX64scRegisters : kX64Registers, state.vic.data(), state.vic.size()))
        noState = "the " + vicName + " module is cut short at " + Counted(vic.size, "byte", "bytes") +
                  ", so the screen state is unknown";
    if (!noState.empty()) {
        notes.push_back(noState);
        return std::nullopt;
    }
    // x64sc's layout is known for module versions 1.3 and 1.4 only.
    const bool scColourRam = sc && vic.major == 1 && (vic.minor == 3 || vic.minor == 4);
    if (!sc || scColourRam) {
        state.colourRam.resize(kColourRamBytes);
        if (!ReadBody(source, vic, sc ? kX64scColourRam : kX64ColourRam, state.colourRam.data(),
                      kColourRamBytes))
            state.colourRam.clear();
    }
    if (modules.rom.found) {
        state.characterRom.resize(kCharacterRomBytes);
        if (!ReadBody(source, modules.rom, kRomCharOffset, state.characterRom.data(), kCharacterRomBytes))
            state.characterRom.clear();
    }
    return state;
}

// The machine name as written, without the spaces some writers pad it with.
std::string MachineName(const std::uint8_t* field) {
    std::string name = Printable(field, 16);
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The description, with what the load dropped or assumed in brackets.
std::string WithNotes(std::string description, const std::vector<std::string>& notes) {
    for (std::size_t i = 0; i < notes.size(); ++i)
        description += (i == 0 ? " (" : "; ") + notes[i];
    return notes.empty() ? description : description + ")";
}

std::optional<LoadedFile> ParseVice(ByteSource& source, Taken& ram, std::string* why) {
    std::array<std::uint8_t, kVersionBlockEnd> header{};
    const std::size_t have = std::size_t(std::min<std::uint64_t>(source.size(), header.size()));
    if (have < kViceHeader || !source.readAt(0, header.data(), have)) {
        Fail(why, "The VICE snapshot is damaged: its header is cut short.");
        return std::nullopt;
    }
    LoadedFile loaded;
    loaded.format = FileFormat::ViceSnapshot;
    const std::string written = MachineName(header.data() + 21);
    const std::string machine = Upper(written);
    if (machine != "C64" && machine != "C64SC") {
        Fail(why, "This is a VICE snapshot of a " +
                      (written.empty() ? std::string("machine it does not name") : written) +
                      ", not of a C64: it holds no C64 memory.");
        return std::nullopt;
    }
    loaded.machine = machine;
    std::uint64_t first = kViceHeader;
    if (have == kVersionBlockEnd && std::memcmp(header.data() + kViceHeader, kVersionMagic, 13) == 0) {
        loaded.viceVersion =
            std::to_string(header[50]) + "." + std::to_string(header[51]) + "." + std::to_string(header[52]);
        first = kVersionBlockEnd;
    }
    Modules modules;
    if (!WalkModules(source, first, modules, why))
        return std::nullopt;
    if (!modules.mem.found) {
        Fail(why, "The VICE snapshot is damaged: it holds no C64MEM module, so no C64 RAM.");
        return std::nullopt;
    }
    const Module& mem = modules.mem;
    if (kMemBodyRamOffset > mem.size || kRamBytes > mem.size - kMemBodyRamOffset ||
        !Take(source, mem.body + kMemBodyRamOffset, 0, kRamBytes, ram)) {
        const std::uint64_t got =
            modules.mem.size > kMemBodyRamOffset ? modules.mem.size - kMemBodyRamOffset : 0;
        Fail(why, "The VICE snapshot is damaged: its RAM is cut short (" + std::to_string(got) +
                      " of 65536 bytes).");
        return std::nullopt;
    }
    loaded.ramStart = 0;
    loaded.ramEnd = 0xFFFF;
    if (mem.major != kKnownMemMajor)
        loaded.notes.push_back("C64MEM module version " + mem.version() +
                               " has an unknown layout: the RAM was read where version 0 keeps it");
    const int format = header[19];
    if (format == 1 || format == 2) {
        loaded.machineState =
            ReadMachineState(source, modules, machine == "C64", loaded.notes, loaded.noStateReason);
    } else {
        loaded.noStateReason = "the screen state has an unknown layout: snapshot format " +
                               std::to_string(format) + "." + std::to_string(header[20]);
        loaded.notes.push_back(loaded.noStateReason);
    }
    if (modules.ignoredTail > 0)
        loaded.notes.push_back(Counted(modules.ignoredTail, "byte after the last module was ignored",
                                       "bytes after the last module were ignored"));
    std::string program = machine == "C64" ? "x64" : "x64sc";
    if (!loaded.viceVersion.empty())
        program += ", VICE " + std::to_string(header[50]) + "." + std::to_string(header[51]);
    loaded.description = WithNotes("VICE snapshot (" + program + "): RAM $0000-$FFFF", loaded.notes);
    return loaded;
}

std::optional<LoadedFile> ParseProgram(FileFormat format, ByteSource& source, Taken& ram, std::string* why) {
    const std::uint64_t at = format == FileFormat::P00 ? kP00LoadAddress : 0;
    std::array<std::uint8_t, 2> address{};
    if (!source.readAt(at, address.data(), 2)) {
        Fail(why, format == FileFormat::P00 ? "The P00 file is cut short before its load address."
                                            : "The PRG file is too short to hold its two-byte load address.");
        return std::nullopt;
    }
    LoadedFile loaded;
    loaded.format = format;
    loaded.ramStart = address[0] | address[1] << 8;
    // Bytes past $FFFF are dropped, and said to be.
    const std::uint64_t data = source.size() - at - 2;
    const std::size_t count =
        std::size_t(std::min<std::uint64_t>(data, kRamBytes - std::size_t(loaded.ramStart)));
    if (data > count)
        loaded.notes.push_back(Counted(data - count, "byte", "bytes") + " past $FFFF dropped");
    if (!Take(source, at + 2, std::size_t(loaded.ramStart), count, ram)) {
        Fail(why, "The file cannot be read.");
        return std::nullopt;
    }
    loaded.ramEnd = loaded.ramStart + std::int32_t(count) - 1;
    const char* kind = format == FileFormat::P00         ? "P00"
                       : format == FileFormat::Koala     ? "Koala Painter picture"
                       : format == FileFormat::ArtStudio ? "Art Studio picture"
                                                         : "PRG";
    loaded.description = WithNotes(std::string(kind) + ": " + Hex4(loaded.ramStart) +
                                       (count > 0 ? "-" + Hex4(loaded.ramEnd) : std::string(" (no bytes)")),
                                   loaded.notes);
    return loaded;
}

} // namespace

FileFormat RecogniseFormat(ByteSource& source, const std::string& utf8Name) {
    std::array<std::uint8_t, 19> head{};
    if (source.readAt(0, head.data(), 19) && std::memcmp(head.data(), kViceMagic, 19) == 0)
        return FileFormat::ViceSnapshot;
    if (source.readAt(0, head.data(), 8) && std::memcmp(head.data(), kP00Magic, 8) == 0)
        return FileFormat::P00;
    const std::string extension = LowerExtension(utf8Name);
    if (extension == ".prg")
        return FileFormat::Prg;
    // Pictures by name and exact size: their content has no signature.
    if ((extension == ".kla" || extension == ".koa") && source.size() == 10003)
        return FileFormat::Koala;
    if (extension == ".art" && source.size() == 9009)
        return FileFormat::ArtStudio;
    return FileFormat::Raw;
}

namespace {

std::optional<LoadedFile> parseRecognised(FileFormat format, ByteSource& source, MemoryImage& image,
                                          std::string* why) {
    // The image changes only once the whole file is accepted, so a refused file changes nothing.
    Taken ram;
    std::optional<LoadedFile> loaded;
    switch (format) {
    case FileFormat::ViceSnapshot:
        loaded = ParseVice(source, ram, why);
        break;
    case FileFormat::Prg:
    case FileFormat::P00:
    case FileFormat::Koala:
    case FileFormat::ArtStudio:
        loaded = ParseProgram(format, source, ram, why);
        break;
    case FileFormat::Raw:
    case FileFormat::ViceMonitor:
        Fail(why, "The file is not in a format Mosaiqua recognises.");
        break;
    }
    if (loaded) {
        static const std::array<std::uint8_t, MemoryImage::kStoreSize> zeros{};
        const std::size_t end = ram.address + ram.count;
        image.write(0, zeros.data(), ram.address);
        if (ram.count > 0)
            image.write(ram.address, ram.bytes, ram.count);
        image.write(end, zeros.data(), MemoryImage::kStoreSize - end);
    }
    return loaded;
}

} // namespace

LoadedFile ParseRecognised(FileFormat format, ByteSource& source, MemoryImage& image) {
    std::string why;
    std::optional<LoadedFile> loaded = parseRecognised(format, source, image, &why);
    if (!loaded)
        throw UserError(UserError::Kind::CannotOpenFile, why);
    return std::move(*loaded);
}

LoadedFile LoadMemoryFile(MemoryImage& image, const std::string& utf8Path, const LoadOptions& options,
                          const std::string& shownName) {
    std::string whyNot;
    std::string* why = &whyNot;
    const auto refuse = [&] {
        return UserError(UserError::Kind::CannotOpenFile,
                         CannotOpenFileMessage(shownName.empty() ? utf8Path : shownName, whyNot));
    };
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    std::uint64_t size = 0;
    bool sized = false;
    if (options.detectFormat) {
        FileSource source;
        if (source.open(path)) {
            size = source.size();
            sized = true;
            const FileFormat format = RecogniseFormat(source, utf8Path);
            if (format != FileFormat::Raw) {
                std::optional<LoadedFile> loaded = parseRecognised(format, source, image, why);
                if (!loaded)
                    throw refuse();
                return std::move(*loaded);
            }
        }
    }
    if (!sized) {
        std::error_code ec;
        size = std::filesystem::file_size(path, ec);
        if (ec)
            size = 0;
    }
    // The old loader words every failure (missing file, folder, device) the way the user knows it.
    if (!ReadFreezeFile(image, utf8Path, options.skipHeader, why))
        throw refuse();
    LoadedFile loaded;
    std::uint64_t read = std::min<std::uint64_t>(size, MemoryImage::kMemoryReadBytes);
    if (options.skipHeader)
        read = size < MemoryImage::kHeaderBytes
                   ? size
                   : std::max<std::uint64_t>(MemoryImage::kHeaderBytes,
                                             std::min<std::uint64_t>(size - MemoryImage::kHeaderBytes,
                                                                     MemoryImage::kMemoryReadBytes));
    loaded.ramEnd = std::int32_t(std::min<std::uint64_t>(read, kRamBytes)) - 1;
    // A short memory part leaves header bytes above it (file offsets equal the addresses there).
    if (options.skipHeader && size > 0) {
        const std::uint64_t memoryPart =
            size < MemoryImage::kHeaderBytes ? 0 : size - MemoryImage::kHeaderBytes;
        if (memoryPart < MemoryImage::kHeaderBytes)
            loaded.headerFrom = std::int32_t(memoryPart);
    }
    return loaded;
}

const char* FormatKeyword(FileFormat format) {
    switch (format) {
    case FileFormat::ViceSnapshot:
        return "vice-snapshot";
    case FileFormat::Prg:
        return "prg";
    case FileFormat::P00:
        return "p00";
    case FileFormat::ViceMonitor:
        return "vice-monitor";
    case FileFormat::Koala:
        return "koala";
    case FileFormat::ArtStudio:
        return "art-studio";
    case FileFormat::Raw:
        break;
    }
    return "raw";
}

} // namespace mosaiqua
