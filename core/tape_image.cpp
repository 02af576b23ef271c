#include "tape_image.h"

#include "errors.h"

#include <algorithm>

namespace mosaiqua {

namespace {

constexpr std::size_t kHeaderBytes = 64;
constexpr std::size_t kRecordBytes = 32;

[[noreturn]] void Damaged(const std::string& reason) {
    throw UserError(UserError::Kind::CannotOpenFile, "The T64 tape image is damaged: " + reason);
}

int Word(const std::uint8_t* p) {
    return p[0] | p[1] << 8;
}

} // namespace

int TapeEntry::type() const {
    // Writers that follow the disk's convention store $82 for a PRG; older ones 0 or 1 for any program.
    return (fileType & 0x80) ? fileType & 0x0F : 2;
}

TapeDirectory ReadTapeDirectory(std::span<const std::uint8_t> tape) {
    if (tape.size() < kHeaderBytes)
        Damaged("its 64-byte header is cut short.");
    TapeDirectory directory;
    std::copy_n(tape.data() + 40, directory.name.size(), directory.name.begin());
    // Many files state 0 used entries; the directory size bounds the records either way.
    const std::size_t records =
        std::max<std::size_t>({std::size_t(Word(tape.data() + 34)), std::size_t(Word(tape.data() + 36)), 1});
    const std::size_t fit = (tape.size() - kHeaderBytes) / kRecordBytes;
    for (std::size_t i = 0; i < std::min(records, fit); ++i) {
        const std::uint8_t* r = tape.data() + kHeaderBytes + i * kRecordBytes;
        if (r[0] == 0)
            continue;
        TapeEntry entry;
        entry.entryType = r[0];
        entry.fileType = r[1];
        entry.start = Word(r + 2);
        entry.statedEnd = Word(r + 4);
        entry.offset = std::uint64_t(r[8]) | std::uint64_t(r[9]) << 8 | std::uint64_t(r[10]) << 16 |
                       std::uint64_t(r[11]) << 24;
        std::copy_n(r + 16, entry.name.size(), entry.name.begin());
        directory.entries.push_back(entry);
    }
    if (directory.entries.empty() && fit == 0)
        Damaged("it ends before its first file record.");

    // The stated end is often wrong: a file runs to the next file's data, the last one to the end
    // of the tape or to its stated end when that comes first.
    std::vector<std::uint64_t> offsets;
    for (const TapeEntry& entry : directory.entries)
        offsets.push_back(entry.offset);
    std::sort(offsets.begin(), offsets.end());
    for (TapeEntry& entry : directory.entries) {
        const auto next = std::upper_bound(offsets.begin(), offsets.end(), entry.offset);
        std::uint64_t length = 0;
        if (entry.offset < tape.size()) {
            length = tape.size() - entry.offset;
            if (next != offsets.end())
                length = std::min<std::uint64_t>(length, *next - entry.offset);
            else if (const int stated = (entry.statedEnd == 0 ? 0x10000 : entry.statedEnd) - entry.start;
                     stated > 0)
                length = std::min<std::uint64_t>(length, std::uint64_t(stated));
        }
        entry.size = std::size_t(std::min<std::uint64_t>(length, std::uint64_t(0x10000 - entry.start)));
        entry.end = entry.start + int(entry.size);
    }
    return directory;
}

std::span<const std::uint8_t> TapeFileBytes(std::span<const std::uint8_t> tape, const TapeEntry& entry) {
    if (entry.offset >= tape.size())
        Damaged("the data of \"" + TapeAsciiName(entry.name.data(), entry.name.size()) +
                "\" would start at offset " + std::to_string(entry.offset) + ", past the end of the file (" +
                std::to_string(tape.size()) + " bytes).");
    return tape.subspan(std::size_t(entry.offset), entry.size);
}

std::string TapeAsciiName(const std::uint8_t* bytes, std::size_t count) {
    while (count > 0 &&
           (bytes[count - 1] == 0x20 || bytes[count - 1] == 0 || bytes[count - 1] == kPetsciiPadding))
        --count;
    return AsciiName(bytes, count);
}

} // namespace mosaiqua
