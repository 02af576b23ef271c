// The document's bitmap viewer: a 320 x 200 hi-res or multicolour bitmap anywhere in memory, its
// cell colours from screen memory and colour RAM, and its saves as a picture, Koala or Art Studio.
#include "document.h"

#include "address_text.h"

#include <algorithm>

namespace mosaiqua {

namespace {

std::span<const std::uint8_t> ColourRamOf(const LoadedFile& loaded) {
    if (!loaded.machineState)
        return {};
    return loaded.machineState->colourRam;
}

} // namespace

void Document::drawBitmap() {
    RenderBitmapInto(m_bitmapRaster, m_memory, ColourRamOf(m_loaded), m_bitmap, m_palette.codeTable());
}

bool Document::stepBitmap(BitmapStep step) {
    const std::optional<std::int32_t> next = StepBitmapAddress(m_bitmap.bitmap, step);
    if (!next)
        return false;
    setBitmapAddress(*next);
    return true;
}

void Document::setBitmapAddress(std::int32_t address) {
    m_bitmap.bitmap = std::clamp(address, 0, kAddressSpace - 1);
    drawBitmap();
    notify(DocumentChange::BitmapView);
}

bool Document::stepBitmapScreen(bool forward) {
    const std::optional<std::int32_t> next = StepScreenAddress(m_bitmap.screen, forward);
    if (!next)
        return false;
    setBitmapScreen(*next);
    return true;
}

void Document::setBitmapScreen(std::int32_t address) {
    m_bitmap.screen = std::clamp(address, 0, kAddressSpace - 1);
    drawBitmap();
    notify(DocumentChange::BitmapView);
}

void Document::setBitmapColourRam(std::optional<std::int32_t> address) {
    if (address)
        address = std::clamp(*address, 0, kAddressSpace - 1);
    m_bitmap.colourRamAddress = address;
    drawBitmap();
    notify(DocumentChange::BitmapView);
}

void Document::setBitmapMulticolour(bool on) {
    m_bitmap.multicolour = on;
    drawBitmap();
    notify(DocumentChange::BitmapView);
}

void Document::setBitmapBackground(std::uint8_t code) {
    m_bitmap.background = code & 15;
    drawBitmap();
    notify(DocumentChange::BitmapView);
}

void Document::takeBitmap(const BitmapView& view) {
    m_bitmap = view;
    m_bitmap.bitmap = std::clamp(view.bitmap, 0, kAddressSpace - 1);
    m_bitmap.screen = std::clamp(view.screen, 0, kAddressSpace - 1);
    drawBitmap();
    notify(DocumentChange::BitmapView);
}

std::optional<BitmapView> Document::vicBitmap() const {
    if (!m_loaded.machineState)
        return std::nullopt;
    return VicBitmapView(DescribeScreen(*m_loaded.machineState, m_memory));
}

std::optional<BitmapView> Document::ownBitmap() const {
    if (std::optional<BitmapView> own = PictureFileView(m_loaded, m_memory))
        return own;
    if (!m_loaded.machineState)
        return std::nullopt;
    const ScreenLayout layout = DescribeScreen(*m_loaded.machineState, m_memory);
    if (!layout.bitmapMode)
        return std::nullopt;
    return VicBitmapView(layout);
}

std::string Document::describeBitmapAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= kBitmapWidth || y >= kBitmapHeight)
        return {};
    const int column = x / 8;
    const int row = y / 8;
    const int cell = row * 40 + column;
    const std::int32_t bytes = m_bitmap.bitmap + cell * 8;
    std::string text = "Cell (" + std::to_string(column) + ", " + std::to_string(row) + "): bitmap " +
                       ScreenAddress(bytes) + "-" + ScreenAddress(bytes + 7) + ", screen " +
                       ScreenAddress(m_bitmap.screen + cell);
    if (m_bitmap.multicolour)
        text +=
            ", colour RAM " + (m_bitmap.colourRamAddress ? ScreenAddress(*m_bitmap.colourRamAddress + cell)
                                                         : ScreenAddress(0xD800 + cell));
    return text + ".";
}

SaveResult Document::saveBitmap(BitmapFileKind kind, const std::string& path) const {
    std::string status;
    switch (kind) {
    case BitmapFileKind::Koala:
        status = SaveKoala(path, m_memory, ColourRamOf(m_loaded), m_bitmap, writeOptions());
        break;
    case BitmapFileKind::ArtStudio:
        status = SaveArtStudio(path, m_memory, m_bitmap, writeOptions());
        break;
    case BitmapFileKind::Picture: {
        ImageSaveOptions options;
        options.format = m_save.imageFormat;
        options.bitsPerPixel = m_save.viewBitsPerPixel;
        const TColor background = m_palette.codeTable()[m_bitmap.background & 15];
        // Hi-res cells take both colours from screen memory: only multicolour has one background.
        if (m_save.transparentBackground && m_bitmap.multicolour)
            options.transparent = background;
        status = SaveBitmapPicture(path, m_memory, ColourRamOf(m_loaded), m_bitmap, m_palette.codeTable(),
                                   options, writeOptions());
        break;
    }
    }
    return {std::move(status), {path}};
}

} // namespace mosaiqua
