// Edit menu and the colour buttons: the clipboard copy, colour editing and the colour resets.
#include "ui/main_window/main_window.h"

#include "core/errors.h"
#include "ui/desktop/platform.h"
#include "ui/desktop/raster_image.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/palette_picker.h"

#include <QDialog>
#include <QTabWidget>

using mosaiqua::ColourSlot;

QSize MainWindow::PickerOuterSize() const {
    // Dialogs are placed from where the palette picker would be centred.
    return OuterSize(*m_windows.palettePicker);
}

QPoint MainWindow::CentredOver(const QSize& outer) const {
    return CentredPosition(frameGeometry(), outer);
}

// ---- Clipboard ----------------------------------------------------------------------------------

void MainWindow::CopyPictureToClipboard() {
    const QWidget* page = m_pageControl->currentWidget();
    const mosaiqua::Raster& picture = page == m_charSheet     ? m_document.charSetRasters().CharSetImage
                                      : page == m_bitmapSheet ? m_document.bitmapRaster()
                                                              : m_document.spriteRasters().SpriteActual;
    if (!m_platform.SetClipboardImage(RasterToImage(picture)))
        throw mosaiqua::UserError(mosaiqua::UserError::Kind::Clipboard, "Cannot open clipboard");
}

// ---- Edit ---------------------------------------------------------------------------------------

void MainWindow::ResetSpriteColours() {
    m_document.resetSpriteColours();
}

void MainWindow::ResetCharSetColours() {
    m_document.resetCharSetColours();
}

// ---- Colours ------------------------------------------------------------------------------------

void MainWindow::EditColourSlot(Viewer viewer, ColourSlot slot) {
    mosaiqua::ColourSlots colours =
        viewer == Viewer::Sprite ? m_document.sprite().colours : m_document.charSet().colours;
    const mosaiqua::TColor current = mosaiqua::SlotOf(colours, slot);
    std::optional<mosaiqua::TColor> picked;
    const mosaiqua::PaletteKind kind = m_document.palette().kind;
    if (kind == mosaiqua::PaletteKind::pkWindows) {
        picked = m_platform.ChooseColour(this, current);
    } else {
        PalettePicker& picker = *m_windows.palettePicker;
        picker.move(CentredOver(PickerOuterSize()));
        picker.Prepare(current, m_document.palette());
        if (m_platform.RunModal(&picker) == QDialog::Accepted)
            picked = picker.PickedColour();
    }
    if (!picked)
        return;
    if (viewer == Viewer::Sprite)
        m_document.setSpriteColour(slot, *picked);
    else
        m_document.setCharSetColour(slot, *picked);
}

void MainWindow::EditSpriteBackground() {
    EditColourSlot(Viewer::Sprite, ColourSlot::Background);
}
void MainWindow::EditSpriteMulticolour1() {
    EditColourSlot(Viewer::Sprite, ColourSlot::Multicolour1);
}
void MainWindow::EditSpriteMainColour() {
    EditColourSlot(Viewer::Sprite, ColourSlot::Main);
}
void MainWindow::EditSpriteMulticolour2() {
    EditColourSlot(Viewer::Sprite, ColourSlot::Multicolour2);
}
void MainWindow::EditCharSetBackground() {
    EditColourSlot(Viewer::CharSet, ColourSlot::Background);
}
void MainWindow::EditCharSetMulticolour1() {
    EditColourSlot(Viewer::CharSet, ColourSlot::Multicolour1);
}
void MainWindow::EditCharSetMainColour() {
    EditColourSlot(Viewer::CharSet, ColourSlot::Main);
}
void MainWindow::EditCharSetMulticolour2() {
    EditColourSlot(Viewer::CharSet, ColourSlot::Multicolour2);
}
