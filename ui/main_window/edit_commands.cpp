// Edit menu and the colour buttons: the clipboard copy, colour editing and the colour resets.
#include "ui/main_window/main_window.h"

#include "core/errors.h"
#include "ui/desktop/platform.h"
#include "ui/desktop/raster_image.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/widgets/colour_swatch.h"

#include <QDialog>
#include <QTabWidget>

QSize MainWindow::PickerOuterSize() const {
    // Dialogs are placed from where the palette picker would be centred.
    return OuterSize(*m_windows.palettePicker);
}

QPoint MainWindow::CentredOver(const QSize& outer) const {
    return CentredPosition(frameGeometry(), outer);
}

// ---- Clipboard ----------------------------------------------------------------------------------

void MainWindow::CopyPictureToClipboard() {
    const mosaiqua::Raster& picture = m_pageControl->currentWidget() == m_charSheet
                                          ? m_charSetRasters.CharSetImage
                                          : m_spriteRasters.SpriteActual;
    if (!m_platform.SetClipboardImage(RasterToImage(picture)))
        throw mosaiqua::UserError(mosaiqua::UserError::Kind::Clipboard, "Cannot open clipboard");
}
// ---- Edit ---------------------------------------------------------------------------------------

void MainWindow::ResetSpriteColours() {
    mosaiqua::ColourSlots sprite = SpriteColours();
    mosaiqua::ColourSlots charSet = CharSetColours();
    mosaiqua::ResetSpriteColours(sprite, charSet);
    SetSpriteColours(sprite);
    SetCharSetColours(charSet);
    // The charset views pick up their new colours at their next refresh.
    DrawCurrentSprite();
    DrawNextSevenSprites();
}

void MainWindow::ResetCharSetColours() {
    mosaiqua::ColourSlots charSet = CharSetColours();
    mosaiqua::ResetCharSetColours(charSet);
    SetCharSetColours(charSet);
    RefreshCharSets();
}

// ---- Colours ------------------------------------------------------------------------------------

void MainWindow::EditColourSlot(ColourSwatch* swatch, SlotRedraw redraw) {
    std::optional<mosaiqua::TColor> picked;
    const mosaiqua::PaletteKind kind = CurrentPaletteKind();
    if (kind == mosaiqua::PaletteKind::pkWindows) {
        picked = m_platform.ChooseColour(this, swatch->Colour());
    } else {
        PalettePicker& picker = *m_windows.palettePicker;
        picker.move(CentredOver(PickerOuterSize()));
        picker.Prepare(swatch->Colour(), kind);
        if (m_platform.RunModal(&picker) == QDialog::Accepted)
            picked = picker.PickedColour();
    }
    if (!picked)
        return;
    swatch->SetColour(*picked);
    switch (redraw) {
    case SlotRedraw::Sprite:
        DrawCurrentSprite();
        DrawNextSevenSprites();
        break;
    case SlotRedraw::CharSet:
        repaint();
        RefreshCharSetViews(true, true, true, true);
        break;
    case SlotRedraw::CharSetMulticolour:
        // In hi-res the multicolour slots play no part in the pictures.
        repaint();
        if (CharSetMulticolour())
            RefreshCharSetViews(true, true, true, true);
        break;
    }
    // The overview follows every swatch, also where the views wait for their next refresh.
    FollowInOverview();
}

void MainWindow::EditSpriteBackground() {
    EditColourSlot(m_back, SlotRedraw::Sprite);
}
void MainWindow::EditSpriteMulticolour1() {
    EditColourSlot(m_col1, SlotRedraw::Sprite);
}
void MainWindow::EditSpriteMainColour() {
    EditColourSlot(m_col2, SlotRedraw::Sprite);
}
void MainWindow::EditSpriteMulticolour2() {
    EditColourSlot(m_col3, SlotRedraw::Sprite);
}
void MainWindow::EditCharSetBackground() {
    EditColourSlot(m_cBack, SlotRedraw::CharSet);
}
void MainWindow::EditCharSetMulticolour1() {
    EditColourSlot(m_cCol1, SlotRedraw::CharSetMulticolour);
}
void MainWindow::EditCharSetMainColour() {
    EditColourSlot(m_cCol2, SlotRedraw::CharSet);
}
void MainWindow::EditCharSetMulticolour2() {
    EditColourSlot(m_cCol3, SlotRedraw::CharSetMulticolour);
}
