#include "document.h"

#include "errors.h"
#include "file_paths.h"

#include <algorithm>
#include <cstdio>

namespace mosaiqua {

namespace {

constexpr std::int32_t kLastAddress = kAddressSpace - 1;

std::int32_t clampAddress(std::int32_t address) {
    return std::clamp(address, 0, kLastAddress);
}

bool anyEnabled(const CharSetViewFlags& flags) {
    return flags.view8x8 || flags.view16x16 || flags.view8x16;
}

bool& flagOf(CharSetViewFlags& flags, CharSetViewKind kind) {
    switch (kind) {
    case CharSetViewKind::cv8x8:
        return flags.view8x8;
    case CharSetViewKind::cv16x16:
        return flags.view16x16;
    case CharSetViewKind::cv8x16:
        break;
    }
    return flags.view8x16;
}

} // namespace

TColor& SlotOf(ColourSlots& colours, ColourSlot slot) {
    switch (slot) {
    case ColourSlot::Background:
        return colours.background;
    case ColourSlot::Multicolour1:
        return colours.multicolour1;
    case ColourSlot::Main:
        return colours.main;
    case ColourSlot::Multicolour2:
        break;
    }
    return colours.multicolour2;
}

Document::Document() {
    drawSprite();
    drawBitmap();
    // At start-up only the 8 x 8 view is drawn; the other two stay black until enabled.
    drawCharSets({true, true, true});
}

Document::ObserverId Document::addObserver(Observer observer) {
    m_observers.emplace_back(m_nextObserver, std::move(observer));
    return m_nextObserver++;
}

void Document::removeObserver(ObserverId id) {
    std::erase_if(m_observers, [id](const auto& entry) { return entry.first == id; });
}

void Document::notify(DocumentChange change) {
    // A copy: an observer may add or remove observers while it is told.
    const auto observers = m_observers;
    for (const auto& [id, observer] : observers)
        if (observer)
            observer(change);
}

void Document::drawSprite() {
    DrawCurrentSpriteRasters(m_spriteRasters, m_memory, m_sprite.address, m_sprite.multicolour,
                             m_sprite.colours);
    DrawNextSevenSpriteRasters(m_spriteRasters, m_memory, m_sprite.address, m_sprite.multicolour,
                               m_sprite.colours);
}

void Document::drawCharSets(CharSetViewFlags requested) {
    const CharSetRefreshPlan plan = PlanCharSetRefresh(requested, m_charSet.enabled);
    if (m_charSetDrawing.starting)
        m_charSetDrawing.starting(plan);
    auto rows = [this](int count) {
        if (m_charSetDrawing.rowsDrawn)
            m_charSetDrawing.rowsDrawn(count);
    };
    const StepNotification step(rows);
    for (CharSetViewKind kind : kRefreshOrder) {
        const bool wanted = (kind == CharSetViewKind::cv8x8 && plan.draw8x8) ||
                            (kind == CharSetViewKind::cv16x16 && plan.draw16x16) ||
                            (kind == CharSetViewKind::cv8x16 && plan.draw8x16);
        if (wanted)
            RenderCharSetView(kind, m_memory, m_charSet.address, m_charSet.colours, m_charSet.multicolour,
                              m_charSetRasters.of(kind), step);
    }
}

// ---- Loading ------------------------------------------------------------------------------------

const LoadedFile& Document::load(const std::string& systemPath, const std::string& shownName) {
    return loadPicked(systemPath, {}, std::nullopt, shownName);
}

const LoadedFile& Document::adoptLoad(LoadedFile loaded, const std::string& systemPath) {
    m_loaded = std::move(loaded);
    m_loadedIdentity = IdentifyFile(systemPath);
    drawSprite();
    drawCharSets({true, true, true});
    // A Koala or Art Studio picture shows in its own colours whatever else is followed.
    if (std::optional<BitmapView> own = PictureFileView(m_loaded, m_memory))
        m_bitmap = *own;
    const DocumentChange followed = followSnapshot();
    drawBitmap();
    notify(DocumentChange::Memory | DocumentChange::SpriteView | DocumentChange::CharSetView |
           DocumentChange::BitmapView | followed);
    return m_loaded;
}

void Document::setLoadOptions(const LoadOptions& options) {
    m_loadOptions = options;
    notify(DocumentChange::Settings);
}

// ---- Sprite viewer ------------------------------------------------------------------------------

bool Document::stepSprite(SpriteStep step) {
    const std::optional<std::int32_t> next = StepSpriteAddress(m_sprite.address, step);
    if (!next)
        return false;
    setSpriteAddress(*next);
    return true;
}

void Document::setSpriteAddress(std::int32_t address) {
    m_sprite.address = clampAddress(address);
    drawSprite();
    notify(DocumentChange::SpriteView);
}

void Document::setSpriteMulticolour(bool on) {
    m_sprite.multicolour = on;
    drawSprite();
    notify(DocumentChange::SpriteView);
}

void Document::setSpriteColour(ColourSlot slot, TColor colour) {
    SlotOf(m_sprite.colours, slot) = colour;
    drawSprite();
    notify(DocumentChange::Colours | DocumentChange::SpriteView);
}

void Document::setSpriteColours(const ColourSlots& colours) {
    m_sprite.colours = colours;
    drawSprite();
    notify(DocumentChange::Colours | DocumentChange::SpriteView);
}

void Document::resetSpriteColours() {
    // The character-set views pick up their two new colours at their next refresh.
    ResetSpriteColours(m_sprite.colours, m_charSet.colours);
    drawSprite();
    notify(DocumentChange::Colours | DocumentChange::SpriteView);
}

void Document::takeSprite(const SpriteSettings& settings) {
    m_sprite.address = clampAddress(settings.address);
    m_sprite.multicolour = settings.multicolour;
    m_sprite.colours = settings.colours;
    drawSprite();
    notify(DocumentChange::Colours | DocumentChange::SpriteView);
}

// ---- Character-set viewer -----------------------------------------------------------------------

void Document::setCharSetDrawing(CharSetDrawing drawing) {
    m_charSetDrawing = std::move(drawing);
}

bool Document::stepCharSet(CharSetStep step) {
    const std::optional<std::int32_t> next =
        StepCharSetAddress(m_charSet.address, step, anyEnabled(m_charSet.enabled));
    if (!next)
        return false;
    m_charSet.address = *next;
    const bool redraw = StepRedrawsViews(step);
    drawCharSets({redraw, redraw, redraw});
    notify(DocumentChange::CharSetView);
    return true;
}

void Document::setCharSetAddress(std::int32_t address) {
    m_charSet.address = clampAddress(address);
    refreshCharSetViews();
}

void Document::setCharSetMulticolour(bool on) {
    m_charSet.multicolour = on;
    refreshCharSetViews();
}

void Document::setCharSetColour(ColourSlot slot, TColor colour) {
    SlotOf(m_charSet.colours, slot) = colour;
    // In hi-res the multicolour slots play no part in the pictures.
    const bool drawn = slot == ColourSlot::Background || slot == ColourSlot::Main || m_charSet.multicolour;
    if (drawn)
        drawCharSets({true, true, true});
    notify(drawn ? DocumentChange::Colours | DocumentChange::CharSetView : DocumentChange::Colours);
}

void Document::setCharSetColours(const ColourSlots& colours) {
    m_charSet.colours = colours;
    drawCharSets({true, true, true});
    notify(DocumentChange::Colours | DocumentChange::CharSetView);
}

void Document::resetCharSetColours() {
    ResetCharSetColours(m_charSet.colours);
    drawCharSets({true, true, true});
    notify(DocumentChange::Colours | DocumentChange::CharSetView);
}

void Document::setCharSetViewEnabled(CharSetViewKind kind, bool enabled) {
    flagOf(m_charSet.enabled, kind) = enabled;
    if (enabled) {
        CharSetViewFlags only;
        flagOf(only, kind) = true;
        drawCharSets(only);
    }
    notify(DocumentChange::CharSetView);
}

void Document::refreshCharSetViews(CharSetViewFlags requested) {
    drawCharSets(requested);
    notify(DocumentChange::CharSetView);
}

void Document::takeCharSet(const CharSetSettings& settings) {
    m_charSet.address = clampAddress(settings.address);
    m_charSet.multicolour = settings.multicolour;
    m_charSet.colours = settings.colours;
    drawCharSets({true, true, true});
    notify(DocumentChange::Colours | DocumentChange::CharSetView);
}

std::optional<CharSetSettings> Document::screenCharSet() const {
    if (!m_loaded.machineState)
        return std::nullopt;
    const ScreenLayout layout = DescribeScreen(*m_loaded.machineState, m_memory);
    return CharSetSettingsFor(layout, *m_loaded.machineState, m_palette.codeTable(), m_charSet.colours.main);
}

std::optional<SpriteSettings> Document::screenSprite(int number) const {
    if (!m_loaded.machineState || number < 0 || number > 7)
        return std::nullopt;
    const ScreenLayout layout = DescribeScreen(*m_loaded.machineState, m_memory);
    return SpriteSettingsFor(layout, number, m_palette.codeTable());
}

// ---- Palette and settings -----------------------------------------------------------------------

void Document::choosePalette(const Palette& palette) {
    m_palette = palette;
    // The bitmap's colours are codes: they change with the palette, the viewers' colours do not.
    drawBitmap();
    notify(DocumentChange::Palette | DocumentChange::BitmapView);
}

void Document::setSaveSettings(const SaveSettings& settings) {
    m_save = settings;
    notify(DocumentChange::Settings);
}

void Document::setFolders(const Folders& folders) {
    m_folders = folders;
    notify(DocumentChange::Settings);
}

// ---- Rendering ----------------------------------------------------------------------------------

Raster Document::renderOverview(OverviewPage page) const {
    Raster picture;
    if (page == OverviewPage::Sprites)
        DrawOverview(page, m_memory, m_sprite.multicolour, m_sprite.colours, picture);
    else
        DrawOverview(page, m_memory, m_charSet.multicolour, m_charSet.colours, picture);
    return picture;
}

} // namespace mosaiqua
