// The document's screen: the frame the snapshot's registers describe, what lies under a point of it,
// its save, and the move of both viewers to what was on screen when a snapshot opens.
#include "document.h"

#include "address_text.h"
#include "errors.h"
#include "sprite_render.h"

#include <algorithm>

namespace mosaiqua {

namespace {

constexpr int kMaxScreenScale = 8;

std::span<const std::uint8_t> RomBytes(const std::optional<CharacterRom>& rom) {
    return rom ? std::span<const std::uint8_t>(rom->bytes) : std::span<const std::uint8_t>();
}

// A sprite whose 63 bytes are all zero shows nothing: not worth landing on.
bool SpriteHasPixels(const MemoryImage& seen, std::int32_t address) {
    for (int i = 0; i < kSpriteBytes; ++i)
        if (seen.byteAt(address + i) != 0)
            return true;
    return false;
}

} // namespace

void Document::findCharacterRom() {
    const MachineState* state = m_loaded.machineState ? &*m_loaded.machineState : nullptr;
    try {
        m_characterRom = FindCharacterRom(state, m_characterRomFile, m_viceFolders);
    } catch (const UserError&) {
        // The named file went away or changed size since it was chosen: look further as if unnamed.
        m_characterRom = FindCharacterRom(state, {}, m_viceFolders);
    }
}

void Document::setCharacterRomFile(const std::string& utf8Path) {
    if (!utf8Path.empty())
        ReadCharacterRomFile(utf8Path); // throws before anything changes
    m_characterRomFile = utf8Path;
    findCharacterRom();
    notify(DocumentChange::Settings);
}

void Document::setViceDataFolders(std::vector<std::filesystem::path> folders) {
    m_viceFolders = std::move(folders);
    findCharacterRom();
    notify(DocumentChange::Settings);
}

bool Document::composeScreenInto(Raster& picture, const ComposeOptions& options) const {
    if (!m_loaded.machineState)
        throw UserError(UserError::Kind::NoMachineState, "The file holds no machine state.");
    return ComposeScreenInto(picture, m_memory, *m_loaded.machineState, RomBytes(m_characterRom),
                             m_palette.codeTable(), options);
}

ComposedScreen Document::composeScreen(const ComposeOptions& options) const {
    ComposedScreen screen;
    screen.characterRomMissing = composeScreenInto(screen.picture, options);
    return screen;
}

ScreenHit Document::hitTestScreen(const ComposeOptions& options, int x, int y) const {
    if (!m_loaded.machineState)
        return {};
    return HitTestScreen(m_memory, *m_loaded.machineState, RomBytes(m_characterRom), options, x, y);
}

std::string Document::describeScreenAt(const ComposeOptions& options, int x, int y) const {
    return DescribeScreenHit(hitTestScreen(options, x, y));
}

std::string Document::chooseOnScreen(const ComposeOptions& options, int x, int y) {
    const ScreenHit hit = hitTestScreen(options, x, y);
    if (hit.sprite) {
        const std::optional<SpriteSettings> settings = screenSprite(*hit.sprite);
        if (!settings)
            return {};
        if (settings->inRom)
            return "Sprite " + std::to_string(*hit.sprite) + " at " + ScreenAddress(settings->address) +
                   " lies in the character ROM, not in RAM.";
        takeSprite(*settings);
        return "Sprite " + std::to_string(*hit.sprite) + " at " + ScreenAddress(settings->address) + ".";
    }
    if (!hit.cell)
        return {};
    const ScreenCell& cell = *hit.cell;
    const std::string where =
        " (column " + std::to_string(cell.column) + ", row " + std::to_string(cell.row) + ")";
    if (cell.bitmapMode) {
        if (const std::optional<BitmapView> view = vicBitmap())
            takeBitmap(*view);
        return "Bitmap cell at " + ScreenAddress(cell.graphicsAddress) + where + ".";
    }
    const std::string character = "Character $" + HexAddress(cell.screenCode).substr(2) + " at " +
                                  ScreenAddress(cell.graphicsAddress) + where;
    const std::optional<CharSetSettings> settings = screenCharSet();
    if (!settings)
        return {};
    if (cell.graphicsInRom || settings->inRom)
        return character + ": the character set is the character ROM, not RAM.";
    takeCharSet(*settings);
    return character + ".";
}

SaveResult Document::saveScreenPicture(const std::string& path, const ComposeOptions& options,
                                       int scale) const {
    if (scale < 1 || scale > kMaxScreenScale)
        throw UserError(UserError::Kind::BadBitmapSize, "The scale must be a whole number from 1 to " +
                                                            std::to_string(kMaxScreenScale) + ".");
    const ComposedScreen screen = composeScreen(options);
    Raster picture = screen.picture;
    if (scale > 1) {
        picture = Raster(screen.picture.width() * scale, screen.picture.height() * scale);
        StretchCopy(screen.picture, {0, 0, screen.picture.width(), screen.picture.height()}, picture,
                    {0, 0, picture.width(), picture.height()});
    }
    ImageSaveOptions imageOptions;
    imageOptions.format = m_save.imageFormat;
    imageOptions.bitsPerPixel = m_save.viewBitsPerPixel;
    WriteImageFile(picture, path, imageOptions, writeOptions());
    std::string status = "Screen picture saved ok.";
    if (screen.characterRomMissing)
        status += std::string(" The ") + kCharacterRomMissingText + ": its glyphs are drawn blank.";
    return {std::move(status), {path}};
}

void Document::setFollowSnapshotOnOpen(bool on) {
    m_followSnapshotOnOpen = on;
    notify(DocumentChange::Settings);
}

DocumentChange Document::followSnapshot() {
    findCharacterRom();
    m_followStatus.clear();
    if (!m_followSnapshotOnOpen || !m_loaded.machineState)
        return DocumentChange{};
    const MachineState& state = *m_loaded.machineState;
    const ScreenLayout layout = DescribeScreen(state, m_memory);
    const MemoryImage seen = VideoChipView(state, m_memory, layout.bank);
    std::vector<std::string> moves;
    for (const SpriteState& sprite : layout.sprites) {
        if (!sprite.enabled || sprite.inRom || !SpriteHasPixels(seen, sprite.address))
            continue;
        const SpriteSettings settings = SpriteSettingsFor(layout, sprite.number, m_palette.codeTable());
        m_sprite.address = settings.address;
        m_sprite.multicolour = settings.multicolour;
        m_sprite.colours = settings.colours;
        drawSprite();
        moves.push_back("sprite " + std::to_string(sprite.number) + " at " + ScreenAddress(settings.address));
        break;
    }
    if (layout.bitmapMode) {
        m_bitmap = VicBitmapView(layout);
        moves.push_back("bitmap at " + ScreenAddress(m_bitmap.bitmap));
    } else if (!layout.charSetInRom) {
        const CharSetSettings settings =
            CharSetSettingsFor(layout, state, m_palette.codeTable(), m_charSet.colours.main);
        m_charSet.address = settings.address;
        m_charSet.multicolour = settings.multicolour;
        m_charSet.colours = settings.colours;
        drawCharSets({true, true, true});
        moves.push_back("character set at " + ScreenAddress(settings.address));
    }
    if (moves.empty())
        return DocumentChange{};
    m_followStatus = "Showing what was on screen: " + moves.front();
    if (moves.size() > 1)
        m_followStatus += ", " + moves.back();
    m_followStatus += ".";
    return DocumentChange::Colours;
}

} // namespace mosaiqua
