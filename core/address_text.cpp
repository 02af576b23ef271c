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

AddressText ReadAddressDigits(std::string_view text) {
    int base = 10;
    if (text.starts_with('$')) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty())
        return {};
    std::int32_t value = 0;
    bool aboveFfff = false;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9'                 ? c - '0'
                          : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                               : -1;
        if (digit < 0)
            return {}; // "0x1ZZZZ" is not an address, however long
        value = value * base + digit;
        if (value > 0xFFFF) {
            aboveFfff = true;
            value = 0x10000;
        }
    }
    if (aboveFfff)
        return {std::nullopt, true};
    return {value, false};
}

std::optional<std::int32_t> ReadAddressText(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return ReadAddressDigits(text).value;
}

} // namespace mosaiqua
