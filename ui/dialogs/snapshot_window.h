#pragma once

#include "core/colours.h"
#include "core/document.h"
#include "core/machine_state.h"
#include "core/memory_image.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QWidget;

// "Snapshot": what the loaded file says was on screen, and one step to show it in the viewers.
class SnapshotWindow final : public QDialog {
    Q_OBJECT

public:
    explicit SnapshotWindow(QWidget* parent = nullptr);
    ~SnapshotWindow() override;

    // From now on shows the state of the file `document` loaded, in its palette; the document
    // must outlive the window.
    void follow(mosaiqua::Document& document);

    // Shows the state of the file just loaded, or the "no machine state" text when there is none.
    // `image` is the loaded memory (for the thumbnails); `palette` the one in force; `currentCharSetMain`
    // the character-set viewer's main colour, kept when the file holds no colour RAM.
    void showState(const std::optional<mosaiqua::MachineState>& state, const mosaiqua::MemoryImage& image,
                   const mosaiqua::PaletteTable& palette, mosaiqua::TColor currentCharSetMain);

    // What the window says about a sprite or character set it did not hand on; empty otherwise.
    QString note() const;

signals:
    // A sprite row chosen (double-click or Return) that lies in RAM the video chip shows.
    void spriteChosen(const mosaiqua::SpriteSettings& settings);
    // "Show Character Set" for a character set in RAM.
    void charSetChosen(const mosaiqua::CharSetSettings& settings);
    // "Show Bitmap": the bitmap the VIC's registers point at, in its mode and colours.
    void bitmapChosen();
    // "Save On-Screen Sprites as SpritePad...": the owner asks for the file and saves.
    void spritePadSaveAsked();

private:
    void chooseSprite(int number);
    void chooseCharSet();
    void fillSprites();

    mosaiqua::Document* m_document = nullptr;
    mosaiqua::Document::ObserverId m_observer = 0;
    std::optional<mosaiqua::MachineState> m_state;
    mosaiqua::ScreenLayout m_layout;
    mosaiqua::MemoryImage m_seen; // RAM with the character ROM over its shadow when the file holds it
    mosaiqua::PaletteTable m_palette{};
    mosaiqua::TColor m_currentCharSetMain = 0;

    QLabel* m_noState = nullptr;
    QWidget* m_details = nullptr;
    QLabel* m_bank = nullptr;
    QLabel* m_screen = nullptr;
    QLabel* m_charSet = nullptr;
    QLabel* m_mode = nullptr;
    QLabel* m_border = nullptr;
    QLabel* m_background = nullptr;
    QTreeWidget* m_sprites = nullptr;
    QPushButton* m_showCharSet = nullptr;
    QPushButton* m_showBitmap = nullptr;
    QPushButton* m_saveSpritePad = nullptr;
    QLabel* m_note = nullptr;
};
