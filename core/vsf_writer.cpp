#include "vsf_writer.h"

#include <algorithm>
#include <cstring>

namespace mosaiqua {

namespace {

constexpr std::size_t kModuleHeader = 22;
constexpr std::size_t kRamBytes = 0x10000;
constexpr std::size_t kVicBody = 761 + kColourRamBytes;
constexpr std::size_t kVicColourRam = 761;
constexpr std::size_t kRomBytes = 8192 + 8192 + kCharacterRomBytes;

// Appends a module header (the size counts the header too) and returns where its body starts.
std::size_t AddModule(std::vector<std::uint8_t>& file, const char* name, std::uint8_t major,
                      std::uint8_t minor, std::size_t bodySize) {
    const std::size_t start = file.size();
    file.resize(start + kModuleHeader + bodySize, 0);
    std::memcpy(file.data() + start, name, std::strlen(name));
    file[start + 16] = major;
    file[start + 17] = minor;
    const auto size = std::uint32_t(kModuleHeader + bodySize);
    for (std::size_t i = 0; i < 4; ++i)
        file[start + 18 + i] = std::uint8_t(size >> (8 * i));
    return start + kModuleHeader;
}

} // namespace

std::vector<std::uint8_t> EncodeViceSnapshot(const MemoryImage& image, const MachineState& state) {
    std::vector<std::uint8_t> file(58, 0);
    std::memcpy(file.data(), "VICE Snapshot File\x1A", 19);
    file[19] = 2;
    std::memcpy(file.data() + 21, "C64SC", 5);
    std::memcpy(file.data() + 37, "VICE Version\x1A", 13);
    file[50] = 3;
    file[51] = 10;

    std::size_t body = AddModule(file, "C64MEM", 0, 1, 4 + kRamBytes);
    file[body] = image.byteAt(1);
    file[body + 1] = image.byteAt(0);
    std::memcpy(file.data() + body + 4, image.data(), kRamBytes);

    if (state.characterRom.size() == kCharacterRomBytes) {
        body = AddModule(file, "C64ROM", 0, 0, kRomBytes);
        std::copy(state.characterRom.begin(), state.characterRom.end(),
                  file.begin() + std::ptrdiff_t(body + 16384));
    }

    body = AddModule(file, "VIC-II", 1, 3, kVicBody);
    std::copy(state.vic.begin(), state.vic.end(), file.begin() + std::ptrdiff_t(body + 1));
    if (state.colourRam.size() == kColourRamBytes)
        std::copy(state.colourRam.begin(), state.colourRam.end(),
                  file.begin() + std::ptrdiff_t(body + kVicColourRam));

    body = AddModule(file, "CIA2", 2, 2, 4);
    file[body] = state.cia2PortA;
    file[body + 1] = 0xFF;
    file[body + 2] = state.cia2DirectionA;
    return file;
}

void WriteViceSnapshot(const std::string& utf8Path, const MemoryImage& image, const MachineState& state,
                       const WriteOptions& writing) {
    WriteFileAtomically(utf8Path, EncodeViceSnapshot(image, state), writing);
}

} // namespace mosaiqua
