// The document's saves: each composes from what the viewers show and writes through the one writer.
#include "document.h"

#include "errors.h"
#include "file_paths.h"

#include <cstdio>

namespace mosaiqua {

WriteOptions Document::writeOptions() const {
    return WriteOptions(m_loadedIdentity, m_opener);
}

ImageSaveOptions Document::pictureOptions(int bitsPerPixel, const ColourSlots& colours) const {
    ImageSaveOptions options;
    options.format = m_save.imageFormat;
    options.bitsPerPixel = bitsPerPixel;
    options.transparent = TransparentColourFor(m_save.transparentBackground, colours);
    return options;
}

SaveResult Document::savePicture(const Raster& picture, const std::string& path, int bitsPerPixel,
                                 const ColourSlots& colours, bool multicolour, std::string status) const {
    const ImageSaveOptions options = pictureOptions(bitsPerPixel, colours);
    WriteImageFile(picture, path, options, writeOptions());
    status += TransparencyStatusNote(WritesTransparency(options, path), colours, multicolour);
    return {std::move(status), {path}};
}

SaveResult Document::saveCurrentSprite(const std::string& path) const {
    const Raster picture = ComposeCurrentSprite(m_spriteRasters.SpriteActual, ReadCellSizes(m_save.sizes));
    SaveResult result = savePicture(picture, path, m_save.spriteBitsPerPixel, m_sprite.colours,
                                    m_sprite.multicolour, kCurrentSpriteSavedStatus);
    result.sprites = 1;
    return result;
}

SaveResult Document::saveNextSeven(const std::string& path) const {
    const Raster picture = ComposeNextSeven(m_spriteRasters.ScanImage, ReadCellSizes(m_save.sizes));
    SaveResult result = savePicture(picture, path, m_save.spriteBitsPerPixel, m_sprite.colours,
                                    m_sprite.multicolour, kNextSevenSavedStatus);
    result.sprites = kStripSprites;
    return result;
}

SaveResult Document::saveRange(std::int32_t start, int count, const std::string& path, bool toSheet,
                               const RangeProgress& progress) const {
    // The sprite is drawn at actual size only: the viewer's enlargement and strip are not saved.
    Raster sprite(kSpriteWidth, kSpriteHeight);
    int done = 0;
    RangeWalk walk;
    walk.showSprite = [&](std::int32_t address) {
        RenderSprite(m_memory, address, m_sprite.multicolour, m_sprite.colours, sprite, 0);
    };
    walk.afterSprite = [&] {
        if (progress)
            progress(++done);
    };
    walk.showSprite(start);
    const ImageSaveOptions options = pictureOptions(m_save.spriteBitsPerPixel, m_sprite.colours);
    SaveResult result;
    if (toSheet) {
        result.sprites =
            SaveRangeToSheet(sprite, start, count, path, m_save.sizes, options, walk, writeOptions());
        result.status = SheetSavedStatus(result.sprites, count);
        result.written.push_back(path);
    } else {
        result.sprites =
            SaveRangeToFiles(sprite, start, count, path, m_save.sizes, options, walk, writeOptions());
        result.status = RangeSavedStatus(result.sprites);
        for (int i = 0; i < result.sprites; ++i)
            result.written.push_back(
                RangeImageFileName(path, start + std::int64_t(kSpriteStride) * i, options.format));
    }
    result.status +=
        TransparencyStatusNote(WritesTransparency(options, path), m_sprite.colours, m_sprite.multicolour);
    return result;
}

SaveResult Document::saveRangeToFiles(std::int32_t start, int count, const std::string& chosenPath,
                                      const RangeProgress& progress) const {
    return saveRange(start, count, chosenPath, false, progress);
}

SaveResult Document::saveRangeToSheet(std::int32_t start, int count, const std::string& path,
                                      const RangeProgress& progress) const {
    return saveRange(start, count, path, true, progress);
}

SaveResult Document::saveCharSetView(CharSetViewKind kind, const std::string& path) const {
    // The view's own picture as last drawn, at its own size; the sprite sizes do not apply.
    return savePicture(m_charSetRasters.of(kind), path, m_save.viewBitsPerPixel, m_charSet.colours,
                       m_charSet.multicolour, CharSetSavedStatus(kind));
}

SaveResult Document::saveAnimation(int frames, int delayMs, const std::string& path) const {
    AnimationSave save;
    save.firstAddress = m_sprite.address;
    save.frames = frames;
    save.delayMs = delayMs;
    save.multicolour = m_sprite.multicolour;
    save.colours = m_sprite.colours;
    save.transparentBackground = m_save.transparentBackground;
    SaveResult result{SaveSpriteAnimation(m_memory, save, m_save.sizes, path, writeOptions()), {path}};
    result.sprites = frames;
    return result;
}

SaveResult Document::saveRawData(const AddressRange& range, RawDataFormat format, RawDataLayout layout,
                                 const std::string& path) const {
    return {WriteRawDataFile(m_memory, range.start, range.end, format, layout, path, writeOptions()), {path}};
}

SaveResult Document::saveOverview(OverviewPage page, const std::string& path) const {
    ImageSaveOptions options;
    options.format = m_save.imageFormat;
    options.bitsPerPixel = m_save.viewBitsPerPixel;
    WriteImageFile(renderOverview(page), path, options, writeOptions());
    return {"Overview saved ok.", {path}};
}

SaveResult Document::saveOnScreenSprites(const std::string& folder, bool all,
                                         const std::function<void(const std::string&)>& written) const {
    if (!m_loaded.machineState)
        throw UserError(UserError::Kind::NoMachineState, "The file holds no machine state.");
    // The character ROM in force: the snapshot's own, else the user's file or an installed VICE's.
    MachineState state = *m_loaded.machineState;
    if (state.characterRom.size() != kCharacterRomBytes && m_characterRom)
        state.characterRom = m_characterRom->bytes;
    const ScreenLayout layout = DescribeScreen(state, m_memory);
    const MemoryImage seen = VideoChipView(state, m_memory, layout.bank);
    const bool png = m_save.imageFormat == ImageFormat::Png;
    SaveResult result;
    std::string note;
    std::string fromRam; // sprites the video chip reads from a ROM the file does not hold
    for (const SpriteState& s : layout.sprites) {
        if (!s.enabled && !all)
            continue;
        if (s.inRom && state.characterRom.size() != kCharacterRomBytes)
            fromRam += (fromRam.empty() ? "" : ", ") + std::to_string(s.number);
        const SpriteSettings settings = SpriteSettingsFor(layout, s.number, m_palette.codeTable());
        Raster sprite(kSpriteWidth, kSpriteHeight);
        RenderSprite(seen, settings.address, settings.multicolour, settings.colours, sprite, 0);
        char name[32];
        std::snprintf(name, sizeof name, "sprite%d_%04X.%s", s.number, unsigned(settings.address),
                      png ? "png" : "BMP");
        const std::string path = (PathFromUtf8(folder) / name).string();
        ImageSaveOptions options;
        options.format = png ? ImageFormat::Png : ImageFormat::Bmp;
        options.bitsPerPixel = m_save.spriteBitsPerPixel;
        options.transparent = TransparentColourFor(m_save.transparentBackground, settings.colours);
        WriteImageFile(sprite, path, options, writeOptions());
        // Said once: the note is the same for every sprite it applies to.
        if (note.empty())
            note = TransparencyStatusNote(WritesTransparency(options, path), settings.colours,
                                          settings.multicolour);
        result.written.push_back(path);
        ++result.sprites;
        if (written)
            written(path);
    }
    if (!note.empty())
        result.status = note.substr(note.find_first_not_of(' '));
    if (!fromRam.empty())
        result.status +=
            std::string(result.status.empty() ? "" : "\n") +
            (fromRam.size() == 1 ? "Sprite " + fromRam + " lies" : "Sprites " + fromRam + " lie") +
            " in the character-ROM shadow, but the snapshot holds no ROM: drawn from the RAM there.";
    return result;
}

} // namespace mosaiqua
