#pragma once

#include "animation.h"
#include "bitmap_render.h"
#include "character_rom.h"
#include "charset_render.h"
#include "colours.h"
#include "export.h"
#include "file_formats.h"
#include "file_writer.h"
#include "image_file.h"
#include "machine_state.h"
#include "memory_image.h"
#include "overview.h"
#include "palette.h"
#include "raster.h"
#include "raw_data.h"
#include "screen_composer.h"
#include "sprite_render.h"
#include "vice_monitor.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mosaiqua {

// What an observer is told changed; several at once are or-ed together.
enum class DocumentChange : unsigned {
    Memory = 1u << 0,      // a load: memory, loaded file, machine state
    SpriteView = 1u << 1,  // the sprite viewer's address or mode, and its rasters
    CharSetView = 1u << 2, // the character-set viewer's address, mode, enabled views or rasters
    Colours = 1u << 3,     // a colour slot of either viewer
    Palette = 1u << 4,
    Settings = 1u << 5,   // load options, save settings, folders
    BitmapView = 1u << 6, // the bitmap viewer's addresses, mode, background, and its picture
};
constexpr DocumentChange operator|(DocumentChange a, DocumentChange b) {
    return DocumentChange(unsigned(a) | unsigned(b));
}
constexpr bool Has(DocumentChange set, DocumentChange one) {
    return (unsigned(set) & unsigned(one)) != 0;
}

enum class ColourSlot { Background, Multicolour1, Main, Multicolour2 };
TColor& SlotOf(ColourSlots& colours, ColourSlot slot);

struct SpriteViewer {
    std::int32_t address = 0;
    bool multicolour = false;
    ColourSlots colours = kStartupColours;
};

struct CharSetViewer {
    std::int32_t address = 0;
    bool multicolour = false;
    ColourSlots colours = kStartupColours; // the design colours after the start-up sprite reset
    CharSetViewFlags enabled{true, false, false};
};

// How pictures are saved. The window sets the depths from its settings and the display; the command
// line sets both from --depth.
struct SaveSettings {
    SaveSizeTexts sizes;
    int spriteBitsPerPixel = 24;            // current sprite, next seven, range, sheet
    int viewBitsPerPixel = 24;              // character-set views and the overview
    std::optional<ImageFormat> imageFormat; // nothing: from each file's name
    bool transparentBackground = false;     // PNG and GIF
};

struct Folders {
    std::string freeze; // where snapshots are opened from
    std::string bitmap; // where pictures are saved
};

// What a save did: the status the window shows, the files it wrote in order, and for the sprite
// saves how many sprites they hold (a sheet: those that fitted).
struct SaveResult {
    std::string status;
    std::vector<std::string> written;
    int sprites = 0;
};

// Told before the character-set views are drawn (which views, and the progress total in byte
// rows), then as rows are drawn, so a window can run its progress bar.
struct CharSetDrawing {
    std::function<void(const CharSetRefreshPlan&)> starting;
    std::function<void(int rows)> rowsDrawn;
};

// The one model both front ends drive: memory, what was loaded, both viewers, the palette and the
// save settings. Operations change it, tell observers what changed, and return what happened or
// throw UserError with the user's message.
class Document final {
public:
    using Observer = std::function<void(DocumentChange)>;
    using ObserverId = int;

    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    ObserverId addObserver(Observer observer);
    void removeObserver(ObserverId id);

    // ---- State -------------------------------------------------------------------------------------
    const MemoryImage& memory() const { return m_memory; }
    const LoadedFile& loadedFile() const { return m_loaded; }
    const std::optional<MachineState>& machineState() const { return m_loaded.machineState; }
    // The file just loaded: no save replaces it under any name.
    const FileIdentity& loadedIdentity() const { return m_loadedIdentity; }
    const LoadOptions& loadOptions() const { return m_loadOptions; }
    const SpriteViewer& sprite() const { return m_sprite; }
    const CharSetViewer& charSet() const { return m_charSet; }
    const Palette& palette() const { return m_palette; }
    const SaveSettings& saveSettings() const { return m_save; }
    const Folders& folders() const { return m_folders; }
    const SpriteRasters& spriteRasters() const { return m_spriteRasters; }
    // The character-set pictures as last drawn: some changes only take effect at the next refresh.
    const CharSetRasters& charSetRasters() const { return m_charSetRasters; }

    // ---- Loading -----------------------------------------------------------------------------------
    // Reads the file (`shownName` is what messages call it; empty: the path). A refused file
    // changes nothing. Redraws every view.
    const LoadedFile& load(const std::string& systemPath, const std::string& shownName = {});
    void setLoadOptions(const LoadOptions& options);

    // ---- Sprite viewer -----------------------------------------------------------------------------
    // False (and no change) when the step is at its bound.
    bool stepSprite(SpriteStep step);
    void setSpriteAddress(std::int32_t address); // clamped to $0000-$FFFF
    void setSpriteMulticolour(bool on);
    void setSpriteColour(ColourSlot slot, TColor colour);
    void setSpriteColours(const ColourSlots& colours);
    // Edit > Reset Colours: the sprite slots and the character set's multicolour 1 and main.
    void resetSpriteColours();
    // A snapshot sprite's address, mode and colours.
    void takeSprite(const SpriteSettings& settings);

    // ---- Character-set viewer ----------------------------------------------------------------------
    void setCharSetDrawing(CharSetDrawing drawing);
    // The $0800 steps redraw the views, the byte steps relabel them; false when nothing moved.
    bool stepCharSet(CharSetStep step);
    void setCharSetAddress(std::int32_t address); // clamped; redraws
    void setCharSetMulticolour(bool on);          // redraws
    // Background and main redraw; the multicolour slots redraw only in multicolour mode.
    void setCharSetColour(ColourSlot slot, TColor colour);
    void setCharSetColours(const ColourSlots& colours); // redraws
    void resetCharSetColours();
    // Enabling a view draws it; disabling keeps its last picture.
    void setCharSetViewEnabled(CharSetViewKind kind, bool enabled);
    // Draws the requested views that are enabled (all three: View > Redraw).
    void refreshCharSetViews(CharSetViewFlags requested = {true, true, true});
    void takeCharSet(const CharSetSettings& settings);
    // The colours the snapshot's character set would get, keeping the current main colour when the
    // file holds no colour RAM.
    std::optional<CharSetSettings> screenCharSet() const;
    std::optional<SpriteSettings> screenSprite(int number) const;

    // ---- Bitmap viewer -----------------------------------------------------------------------------
    // Where the bitmap, its cell colours and colour RAM are read, its mode and background.
    const BitmapView& bitmap() const { return m_bitmap; }
    // The 320 x 200 picture as last drawn; it follows every change of memory, view and palette.
    const Raster& bitmapRaster() const { return m_bitmapRaster; }
    // False (and no change) when the step would leave memory.
    bool stepBitmap(BitmapStep step);
    void setBitmapAddress(std::int32_t address); // clamped to $0000-$FFFF
    bool stepBitmapScreen(bool forward);
    void setBitmapScreen(std::int32_t address);
    // Nothing: the snapshot's colour RAM (a file without one reads colour 0).
    void setBitmapColourRam(std::optional<std::int32_t> address);
    void setBitmapMulticolour(bool on);
    void setBitmapBackground(std::uint8_t code);
    void takeBitmap(const BitmapView& view);
    // The bitmap the VIC's registers point at, in its mode and colours; none without machine state.
    std::optional<BitmapView> vicBitmap() const;
    // What the loaded file shows as a bitmap: a Koala or Art Studio picture's own layout, or the VIC's
    // bitmap when the snapshot is in a bitmap mode; none otherwise.
    std::optional<BitmapView> ownBitmap() const;
    // The cell under a point of the bitmap picture, for the status line (empty outside it).
    std::string describeBitmapAt(int x, int y) const;
    // The picture (BMP or PNG by the name or the save settings), or a Koala or Art Studio file.
    SaveResult saveBitmap(BitmapFileKind kind, const std::string& path) const;

    // ---- Palette and settings ----------------------------------------------------------------------
    void choosePalette(const Palette& palette);
    void setSaveSettings(const SaveSettings& settings);
    void setFolders(const Folders& folders);

    // ---- Rendering ---------------------------------------------------------------------------------
    // The overview page in that page's viewer mode and colours.
    Raster renderOverview(OverviewPage page) const;

    // ---- Saves -------------------------------------------------------------------------------------
    // Each composes from what the viewers show, writes atomically (never over the loaded file) and
    // returns the status and the files written.
    SaveResult saveCurrentSprite(const std::string& path) const;
    SaveResult saveNextSeven(const std::string& path) const;
    // The sprites start, start + $40, ... (count of them), drawn in the sprite viewer's mode and
    // colours; the viewer itself does not move. `progress(done)` runs after each sprite.
    using RangeProgress = std::function<void(int done)>;
    // One file each, named by RangeImageFileName; a device, FIFO or folder name is refused.
    SaveResult saveRangeToFiles(std::int32_t start, int count, const std::string& chosenPath,
                                const RangeProgress& progress = {}) const;
    // On one bitmap; `sprites` of the result is how many fitted.
    SaveResult saveRangeToSheet(std::int32_t start, int count, const std::string& path,
                                const RangeProgress& progress = {}) const;
    SaveResult saveCharSetView(CharSetViewKind kind, const std::string& path) const;
    // The animation from the sprite viewer's address.
    SaveResult saveAnimation(int frames, int delayMs, const std::string& path) const;
    SaveResult saveRawData(const AddressRange& range, RawDataFormat format, RawDataLayout layout,
                           const std::string& path) const;
    SaveResult saveOverview(OverviewPage page, const std::string& path) const;
    // The snapshot's sprites (enabled ones, or all) in their own modes and colours from the palette
    // in force, as folder/sprite<N>_<HHHH>.BMP (.png for PNG): one file each, in order.
    // `written(path)` runs after each file. Throws UserError when the file holds no machine state.
    SaveResult saveOnScreenSprites(const std::string& folder, bool all,
                                   const std::function<void(const std::string&)>& written = {}) const;

    // How saves write; tests give an opener that fails.
    void setOutputOpener(OutputFileOpener opener) { m_opener = std::move(opener); }

    // ---- Screen ----
    // The character ROM the screen is drawn with: the snapshot's own, else the file the user named,
    // else an installed VICE's; none when nothing was found.
    const std::optional<CharacterRom>& characterRom() const { return m_characterRom; }
    // A 4096-byte file used from now on (empty: none); a wrong one throws UserError and changes nothing.
    void setCharacterRomFile(const std::string& utf8Path);
    const std::string& characterRomFile() const { return m_characterRomFile; }
    // Where an installed VICE is looked for (tests give their own folders).
    void setViceDataFolders(std::vector<std::filesystem::path> folders);
    // The frame the snapshot's registers describe; UserError when the file holds no machine state.
    // The Into form returns whether the character ROM was missing.
    ComposedScreen composeScreen(const ComposeOptions& options) const;
    bool composeScreenInto(Raster& picture, const ComposeOptions& options) const;
    // What lies under a point of that picture, and its words for the status line (empty: nothing).
    ScreenHit hitTestScreen(const ComposeOptions& options, int x, int y) const;
    std::string describeScreenAt(const ComposeOptions& options, int x, int y) const;
    // A click there: a sprite moves the sprite viewer to it, a character moves the character-set
    // viewer to the screen's character set; returns the status (empty when nothing was there).
    std::string chooseOnScreen(const ComposeOptions& options, int x, int y);
    // The frame at `scale` (1..8), BMP or PNG by the name or the save settings' format.
    SaveResult saveScreenPicture(const std::string& path, const ComposeOptions& options, int scale = 1) const;
    // On: a load of a file with machine state moves both viewers to what was on screen.
    void setFollowSnapshotOnOpen(bool on);
    bool followSnapshotOnOpen() const { return m_followSnapshotOnOpen; }
    // Where the last load moved the viewers; empty when it did not move them.
    const std::string& followStatus() const { return m_followStatus; }
    // ---- Capture from VICE ----
    // Captures the running machine and loads it like a snapshot (format "VICE (running)", machine
    // state, character ROM); no file is loaded afterwards. Without `keepViewers` the viewers follow
    // the screen as for an opened snapshot (when that is on); with it (capturing again) their
    // addresses, modes and colours stay. A failed capture throws UserError and changes nothing.
    // `connector` replaces the TCP connection (tests).
    const LoadedFile& capture(const MonitorAddress& address, bool keepViewers,
                              const MonitorTimeouts& timeouts = {}, const MonitorConnector& connector = {});
    // What is loaded as a VICE snapshot Mosaiqua opens again with the same machine state. Throws
    // UserError when the loaded file holds no machine state.
    SaveResult saveViceSnapshot(const std::string& path) const;
    // ---- Containers --------------------------------------------------------------------------------
    // load() through disk, tape and cartridge images and archives: `picks` lead to the entry (see
    // ParsePickPath); `address` places a file without a usable load address. A container that needs
    // a pick throws ContainerPickError naming the container to list. The loaded file's identity is
    // the file on disk, so no save replaces the image.
    const LoadedFile& loadPicked(const std::string& systemPath, const std::vector<std::string>& picks,
                                 std::optional<int> address = std::nullopt,
                                 const std::string& shownName = {});
    // ---- Editor files ----
    // The sprites start, start + $40, ... before `end` (counted as the range saves count them) as a
    // SpritePad file in the sprite viewer's mode, its colours as codes of the palette in force.
    SaveResult saveSpritePad(std::int32_t start, std::int32_t end, const std::string& path) const;
    // The snapshot's enabled sprites (all eight with `all`) in one SpritePad file. UserError when the
    // file holds no machine state or no sprite is enabled.
    SaveResult saveOnScreenSpritePad(const std::string& path, bool all = false) const;
    // The character set at the viewer's address as a CharPad file; its map is the snapshot's screen
    // when that screen is drawn with this set.
    SaveResult saveCharPad(const std::string& path) const;
    SaveResult saveRawData(const AddressRange& range, RawDataFormat format, RawDataLayout layout,
                           const BasicLineNumbers& numbers, const std::string& path) const;
    // Reads a VICE .vpl file and puts it in force. A refused file throws UserError naming the line
    // and leaves the palette as it was.
    const Palette& loadPaletteFile(const std::string& path);

private:
    void notify(DocumentChange change);
    const LoadedFile& adoptLoad(LoadedFile loaded, const std::string& systemPath);
    void drawSprite();
    void drawBitmap();
    void drawCharSets(CharSetViewFlags requested);
    WriteOptions writeOptions() const;
    ImageSaveOptions pictureOptions(int bitsPerPixel, const ColourSlots& colours) const;
    SaveResult savePicture(const Raster& picture, const std::string& path, int bitsPerPixel,
                           const ColourSlots& colours, bool multicolour, std::string status) const;
    SaveResult saveRange(std::int32_t start, int count, const std::string& path, bool toSheet,
                         const RangeProgress& progress) const;

    MemoryImage m_memory;
    LoadedFile m_loaded;
    FileIdentity m_loadedIdentity;
    LoadOptions m_loadOptions;
    SpriteViewer m_sprite;
    CharSetViewer m_charSet;
    Palette m_palette = Palette::Builtin(PaletteKind::pkTrueVic);
    SaveSettings m_save;
    Folders m_folders;
    SpriteRasters m_spriteRasters;
    CharSetRasters m_charSetRasters;
    BitmapView m_bitmap;
    Raster m_bitmapRaster{kBitmapWidth, kBitmapHeight};
    CharSetDrawing m_charSetDrawing;
    OutputFileOpener m_opener;
    std::vector<std::pair<ObserverId, Observer>> m_observers;
    ObserverId m_nextObserver = 1;

    // Screen
    DocumentChange followSnapshot();
    void findCharacterRom();
    std::string m_characterRomFile;
    std::vector<std::filesystem::path> m_viceFolders = ViceDataFolders();
    std::optional<CharacterRom> m_characterRom = FindCharacterRom(nullptr, {}, m_viceFolders);
    bool m_followSnapshotOnOpen = true;
    std::string m_followStatus;
};

} // namespace mosaiqua
