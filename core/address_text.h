#pragma once

#include <cstdint>
#include <string>

namespace mosaiqua {

// Upper-case hex, at least four digits: 0x800 -> "0800", 0x10000 -> "10000".
std::string HexAddress(std::int64_t value);
// The on-screen form: "$0800".
std::string ScreenAddress(std::int64_t value);

} // namespace mosaiqua
