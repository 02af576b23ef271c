#pragma once

#include "colours.h"

#include <optional>
#include <string>

namespace mosaiqua {

// The palette the colour picker offers and snapshot colour codes are looked up in. A value, so a
// palette read from a file can stand beside the built-in ones.
struct Palette {
    PaletteKind kind = PaletteKind::pkTrueVic;
    std::string name;
    std::optional<PaletteTable> table; // none: colours are picked freely (the Windows palette)

    static Palette Builtin(PaletteKind kind);
    // What snapshot colour codes map to: the true VIC-II table stands in where there is none.
    const PaletteTable& codeTable() const { return table ? *table : TrueVicTable; }
    friend bool operator==(const Palette&, const Palette&) = default;
};

} // namespace mosaiqua
