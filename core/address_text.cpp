#include "address_text.h"

#include <cstdio>

namespace mosaiqua {

std::string HexAddress(std::int64_t value) {
    char buffer[24];
    // Negative values never reach the screen; show them plainly rather than as a huge number.
    if (value < 0)
        std::snprintf(buffer, sizeof buffer, "-%04llX", static_cast<unsigned long long>(-value));
    else
        std::snprintf(buffer, sizeof buffer, "%04llX", static_cast<unsigned long long>(value));
    return buffer;
}

std::string ScreenAddress(std::int64_t value) {
    return "$" + HexAddress(value);
}

} // namespace mosaiqua
