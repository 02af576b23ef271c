#include "vice_capture.h"

#include "errors.h"

#include <algorithm>
#include <array>

namespace mosaiqua {

namespace {

constexpr std::size_t kVicColourFirst = 0x20, kVicColourLast = 0x2E;
constexpr std::size_t kVicControl2 = 0x16;

void CheckWhole(const ViceCapture& capture) {
    const auto wrong = [](const std::vector<std::uint8_t>& bytes, std::size_t size) {
        return bytes.size() != size;
    };
    if (wrong(capture.ram, 0x10000) || wrong(capture.vic, 64) || wrong(capture.colourRam, kColourRamBytes) ||
        capture.cia2.size() < 3 || wrong(capture.characterRom, kCharacterRomBytes))
        throw UserError(UserError::Kind::ViceMonitor,
                        "The capture from VICE at " + capture.peer + " is not whole; nothing was loaded.");
}

} // namespace

MachineState MachineStateFromCapture(const ViceCapture& capture) {
    CheckWhole(capture);
    MachineState state;
    std::copy(capture.vic.begin(), capture.vic.end(), state.vic.begin());
    for (std::size_t r = kVicColourFirst; r <= kVicColourLast; ++r)
        state.vic[r] &= 0x0F;
    state.vic[kVicControl2] &= 0x3F;
    // $DD00 peeks the pins, outputs and inputs together; with bits 0-1 counted as outputs the pins
    // are the value read, so VicBank gives (~value) & 3.
    state.cia2PortA = capture.cia2[0];
    state.cia2DirectionA = std::uint8_t(capture.cia2[2] | 0x03);
    state.colourRam.resize(kColourRamBytes);
    std::transform(capture.colourRam.begin(), capture.colourRam.end(), state.colourRam.begin(),
                   [](std::uint8_t colour) { return std::uint8_t(colour & 0x0F); });
    state.characterRom = capture.characterRom;
    return state;
}

std::string CaptureDescription(const ViceCapture& capture) {
    std::string text = "VICE (running) at " + capture.peer;
    text +=
        capture.rasterLine ? ", raster line " + std::to_string(*capture.rasterLine) : ", raster line unknown";
    text += capture.cycle ? ", cycle " + std::to_string(*capture.cycle) : ", cycle unknown";
    return text;
}

LoadedFile LoadCapture(const ViceCapture& capture, MemoryImage& image) {
    LoadedFile loaded;
    loaded.machineState = MachineStateFromCapture(capture); // throws before the image changes
    loaded.format = FileFormat::ViceMonitor;
    loaded.ramStart = 0;
    loaded.ramEnd = 0xFFFF;
    loaded.description = CaptureDescription(capture);
    static const std::array<std::uint8_t, MemoryImage::kStoreSize - 0x10000> zeros{};
    image.write(0, capture.ram.data(), capture.ram.size());
    image.write(capture.ram.size(), zeros.data(), zeros.size());
    return loaded;
}

} // namespace mosaiqua
