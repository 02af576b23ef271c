// Arbitrary text as a save size: a number or the conversion message, nothing else.
#include "core/errors.h"
#include "core/export.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const int value = mosaiqua::ReadSize(text);
        if (std::to_string(value) != text && text.front() != '+' && text.front() != '0' &&
            text.rfind("-0", 0) != 0)
            std::abort();
    } catch (const mosaiqua::UserError& e) {
        // what() is a C string: compare only texts without a NUL (an edit box cannot hold one).
        if (text.find('\0') == std::string::npos && e.what() != "'" + text + "' is not a valid integer value")
            std::abort();
    }
    return 0;
}
