#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaiqua {

// Upper-case hex, at least four digits: 0x800 -> "0800", 0x10000 -> "10000".
std::string HexAddress(std::int64_t value);
// The on-screen form: "$0800".
std::string ScreenAddress(std::int64_t value);
// An address written "$hhhh", "0xhhhh" or decimal, exactly: no value for anything else, and
// `aboveFfff` set for a number past $FFFF.
struct AddressText {
    std::optional<std::int32_t> value;
    bool aboveFfff = false;
};
AddressText ReadAddressDigits(std::string_view text);
// What a user types for an address: "$hhhh", "0xhhhh" or decimal, $0000-$FFFF, spaces around
// allowed; nothing for anything else.
std::optional<std::int32_t> ReadAddressText(std::string_view text);

} // namespace mosaiqua
