#include "cartridge.h"

#include "errors.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace mosaiqua {

namespace {

constexpr std::size_t kSignatureBytes = 16;
constexpr std::size_t kMinimumHeader = 0x40;
constexpr std::size_t kChipHeader = 16;

[[noreturn]] void Damaged(const std::string& reason) {
    throw UserError(UserError::Kind::CannotOpenFile, "The CRT cartridge image is damaged: " + reason);
}

std::uint32_t Big32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
int Big16(const std::uint8_t* p) {
    return p[0] << 8 | p[1];
}

} // namespace

std::optional<std::string> CartridgeMachine(std::span<const std::uint8_t> head) {
    if (head.size() < kSignatureBytes)
        return std::nullopt;
    const std::string signature(reinterpret_cast<const char*>(head.data()), kSignatureBytes);
    const std::size_t word = signature.find(" CARTRIDGE");
    if (word == std::string::npos || word == 0 ||
        signature.find_first_not_of(' ', word + 10) != std::string::npos)
        return std::nullopt;
    const std::string machine = signature.substr(0, word);
    for (char c : machine)
        if (!std::isupper(static_cast<unsigned char>(c)) && !std::isdigit(static_cast<unsigned char>(c)) &&
            c != '+')
            return std::nullopt;
    return machine;
}

Cartridge ReadCartridge(std::span<const std::uint8_t> file) {
    const auto machine = CartridgeMachine(file);
    if (!machine)
        Damaged("it does not start with \"C64 CARTRIDGE\".");
    if (*machine != "C64")
        throw UserError(UserError::Kind::CannotOpenFile,
                        "This is a cartridge image for the " + *machine + ", not for the C64.");
    if (file.size() < kMinimumHeader)
        Damaged("its 64-byte header is cut short.");
    Cartridge cart;
    const std::uint8_t* h = file.data();
    cart.version = Big16(h + 0x14);
    cart.hardwareType = Big16(h + 0x16);
    cart.exrom = h[0x18];
    cart.game = h[0x19];
    for (std::size_t i = 0x20; i < 0x40 && h[i] != 0; ++i)
        cart.name += std::isprint(static_cast<unsigned char>(h[i])) ? char(h[i]) : '?';
    // Some writers state a shorter header than the 64 bytes every file has.
    std::uint64_t offset = std::max<std::uint64_t>(Big32(h + 0x10), kMinimumHeader);
    while (offset < file.size()) {
        const std::string where = " at offset " + std::to_string(offset);
        if (file.size() - offset < kChipHeader || std::memcmp(file.data() + offset, "CHIP", 4) != 0) {
            if (cart.chips.empty())
                Damaged("no CHIP packet" + where + ".");
            break; // padding after the last packet
        }
        const std::uint8_t* p = file.data() + offset;
        const std::uint32_t length = Big32(p + 4);
        ChipPacket chip{Big16(p + 8), Big16(p + 10), Big16(p + 12), Big16(p + 14),
                        std::size_t(offset) + kChipHeader};
        if (length < kChipHeader)
            Damaged("the CHIP packet" + where + " is shorter than its own header.");
        if (length > file.size() - offset)
            Damaged("the CHIP packet" + where + " runs past the end of the file.");
        if (std::uint32_t(chip.size) > length - kChipHeader)
            Damaged("the CHIP packet" + where + " holds " + std::to_string(chip.size) +
                    " bytes in a packet of " + std::to_string(length - kChipHeader) + ".");
        if (chip.loadAddress + chip.size > 0x10000)
            Damaged("the CHIP packet" + where + " would load past $FFFF.");
        cart.chips.push_back(chip);
        offset += length;
    }
    if (cart.chips.empty())
        Damaged("it holds no CHIP packet.");
    return cart;
}

const char* ChipTypeKeyword(int chipType) {
    switch (chipType) {
    case 0:
        return "rom";
    case 1:
        return "ram";
    case 2:
        return "flash";
    default:
        return "unknown";
    }
}

} // namespace mosaiqua
