#include "colours.h"
#include "palette.h"

namespace mosaiqua {

const PaletteTable* TableFor(PaletteKind kind) {
    switch (kind) {
    case PaletteKind::pkCcs64:
        return &Ccs64Table;
    case PaletteKind::pkTrueVic:
        return &TrueVicTable;
    case PaletteKind::pkWindows:
        break;
    }
    return nullptr;
}

void ResetSpriteColours(ColourSlots& sprite, ColourSlots& charSet) {
    sprite.background = kStartupColours.background;
    sprite.multicolour1 = kStartupColours.multicolour1;
    charSet.multicolour1 = kStartupColours.multicolour1;
    sprite.main = kStartupColours.main;
    charSet.main = kStartupColours.main;
    sprite.multicolour2 = kStartupColours.multicolour2;
}

void ResetCharSetColours(ColourSlots& charSet) {
    charSet = kCharSetResetColours;
}

Palette Palette::Builtin(PaletteKind kind) {
    switch (kind) {
    case PaletteKind::pkCcs64:
        return {kind, "CCS64", Ccs64Table};
    case PaletteKind::pkTrueVic:
        return {kind, "True VIC-II", TrueVicTable};
    case PaletteKind::pkWindows:
        break;
    }
    return {PaletteKind::pkWindows, "Windows Standard", std::nullopt};
}

} // namespace mosaiqua
