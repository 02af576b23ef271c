#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace mosaiqua {

// No archive member is inflated past this: the largest real C64 file is far smaller, and a zip bomb
// must not fill the memory.
constexpr std::uint64_t kMaxArchiveMemberBytes = 16u << 20;

struct ArchiveMember {
    std::string name;       // as stored, with any folders
    std::uint64_t size = 0; // declared, uncompressed
};

// A zip archive read through libzip, from a file or from bytes already in memory (a zip in a zip).
class ZipArchive final {
public:
    // Both throw UserError(CannotOpenFile) when libzip refuses the archive.
    static ZipArchive OpenFile(const std::string& utf8Path);
    static ZipArchive OpenBytes(std::vector<std::uint8_t> bytes);
    ZipArchive(ZipArchive&&) noexcept;
    ZipArchive& operator=(ZipArchive&&) noexcept;
    ~ZipArchive();

    // The files in stored order; folders are left out.
    const std::vector<ArchiveMember>& members() const { return m_members; }
    // The member's bytes; refuses one larger than kMaxArchiveMemberBytes, declared or inflated.
    std::vector<std::uint8_t> read(std::size_t member) const;

private:
    struct State;
    explicit ZipArchive(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
    std::vector<ArchiveMember> m_members;
    std::vector<std::uint64_t> m_indices; // of each member in the zip
};

// The name stored in a gzip header, or empty when it stores none.
std::string GzipStoredName(std::span<const std::uint8_t> gz);
// Inflates a gzip stream (members one after another), refusing output past kMaxArchiveMemberBytes.
std::vector<std::uint8_t> Gunzip(std::span<const std::uint8_t> gz);

} // namespace mosaiqua
