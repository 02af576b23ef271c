// The saves for sprite and character editors, BASIC DATA, and palettes read from files.
#include "document.h"

#include "charpad.h"
#include "errors.h"
#include "palettes.h"
#include "spritepad.h"

namespace mosaiqua {

SaveResult Document::saveSpritePad(std::int32_t start, std::int32_t end, const std::string& path) const {
    SaveResult result{WriteSpritePadRange(m_memory, start, end, m_sprite.multicolour, m_sprite.colours,
                                          m_palette.codeTable(), path, writeOptions()),
                      {path}};
    result.sprites = SpriteCount(start, end);
    return result;
}

SaveResult Document::saveOnScreenSpritePad(const std::string& path, bool all) const {
    if (!m_loaded.machineState)
        throw UserError(UserError::Kind::NoMachineState, "The file holds no machine state.");
    return {WriteOnScreenSpritePad(*m_loaded.machineState, m_memory, all, path, writeOptions()), {path}};
}

SaveResult Document::saveCharPad(const std::string& path) const {
    std::optional<CharPadScreen> screen;
    if (m_loaded.machineState)
        screen = ScreenDrawnWith(*m_loaded.machineState, m_memory, m_charSet.address);
    return {WriteCharPadFile(m_memory, m_charSet.address, m_charSet.multicolour, m_charSet.colours,
                             m_palette.codeTable(), screen, path, writeOptions()),
            {path}};
}

SaveResult Document::saveRawData(const AddressRange& range, RawDataFormat format, RawDataLayout layout,
                                 const BasicLineNumbers& numbers, const std::string& path) const {
    return {WriteRawDataFile(m_memory, range.start, range.end, format, layout, numbers, path, writeOptions()),
            {path}};
}

const Palette& Document::loadPaletteFile(const std::string& path) {
    choosePalette(LoadVicePaletteFile(path)); // throws before anything changes
    return m_palette;
}

} // namespace mosaiqua
