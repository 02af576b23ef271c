#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mosaiqua {

// The program's one copy of C64 memory: index i is address i for $0000..$FFFF, followed by the
// bytes a freeze file holds after the RAM. Reads past the store give 0.
class MemoryImage final {
public:
    static constexpr std::size_t kStoreSize = 68150;
    static constexpr std::size_t kHeaderBytes = 1148;
    static constexpr std::size_t kMemoryReadBytes = 67000;

    MemoryImage();

    std::uint8_t byteAt(std::int64_t index) const {
        return (index >= 0 && std::uint64_t(index) < kStoreSize) ? m_store[std::size_t(index)] : 0;
    }
    // The store itself, for readers that check their own bounds.
    const std::uint8_t* data() const { return m_store.data(); }

    // Writes leading bytes; used by the loader and by tests that build images by hand.
    void write(std::size_t index, const std::uint8_t* bytes, std::size_t count);

private:
    std::vector<std::uint8_t> m_store;
};

// Reads a freeze file into the image: with skipHeader, first up to 1148 bytes from offset 0, then
// up to 67000 bytes, both into the start of the store; bytes beyond what was read keep their old
// values. Throws UserError (CannotOpenFile) and leaves the image alone when the file cannot be
// opened or is not a regular file.
void LoadFreezeFile(MemoryImage& image, const std::string& utf8Path, bool skipHeader);
// The same, returning false with the reason in `why` (for loaders that word the message themselves).
bool ReadFreezeFile(MemoryImage& image, const std::string& utf8Path, bool skipHeader, std::string* why);

// What a refused file is reported as: Cannot open file "<path>". <why>
std::string CannotOpenFileMessage(const std::string& utf8Path, const std::string& why);

} // namespace mosaiqua
