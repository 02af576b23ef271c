#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mosaiqua {

// A file or disk name as the drive stores it: 16 PETSCII bytes, `$A0` padded.
using PetsciiName = std::array<std::uint8_t, 16>;

constexpr std::uint8_t kPetsciiPadding = 0xA0;

// The screen code the C64 draws for a PETSCII byte, to look up in the ROM font.
std::uint8_t PetsciiToScreenCode(std::uint8_t petscii);

// Every byte as its screen code, padding included (the C64 lists all 16 characters).
std::vector<std::uint8_t> ScreenCodes(const std::uint8_t* bytes, std::size_t count);
inline std::vector<std::uint8_t> ScreenCodes(const PetsciiName& name) {
    return ScreenCodes(name.data(), name.size());
}

// The name proper (up to the first `$A0`) in ASCII, for file names and the command line:
// letters and `$20-$3F` as they look, anything else `_`.
std::string AsciiName(const std::uint8_t* bytes, std::size_t count);
inline std::string AsciiName(const PetsciiName& name) {
    return AsciiName(name.data(), name.size());
}

// Every byte in ASCII, `$A0` as a space: for fields shown whole, such as the disk ID.
std::string AsciiText(const std::uint8_t* bytes, std::size_t count);

} // namespace mosaiqua
