#include "petscii.h"

namespace mosaiqua {

namespace {

char AsciiFor(std::uint8_t petscii) {
    if (petscii >= 0x20 && petscii <= 0x5A)
        return (petscii <= 0x3F || petscii >= 0x41) ? char(petscii) : '_';
    return petscii == kPetsciiPadding ? ' ' : '_';
}

} // namespace

std::uint8_t PetsciiToScreenCode(std::uint8_t petscii) {
    if (petscii >= 0x40 && petscii <= 0x5F)
        return std::uint8_t(petscii - 0x40);
    if (petscii >= 0x60 && petscii <= 0x7F)
        return std::uint8_t(petscii - 0x20);
    if (petscii >= 0xA0 && petscii <= 0xBF)
        return std::uint8_t(petscii - 0x40);
    if (petscii >= 0xC0 && petscii <= 0xFE)
        return std::uint8_t(petscii - 0x80);
    if (petscii == 0xFF)
        return 0x5E;
    return petscii;
}

std::vector<std::uint8_t> ScreenCodes(const std::uint8_t* bytes, std::size_t count) {
    std::vector<std::uint8_t> codes(count);
    for (std::size_t i = 0; i < count; ++i)
        codes[i] = PetsciiToScreenCode(bytes[i]);
    return codes;
}

std::string AsciiName(const std::uint8_t* bytes, std::size_t count) {
    std::string name;
    for (std::size_t i = 0; i < count && bytes[i] != kPetsciiPadding; ++i)
        name += AsciiFor(bytes[i]);
    return name;
}

std::string AsciiText(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += AsciiFor(bytes[i]);
    return text;
}

} // namespace mosaiqua
