// Commands that show the secondary windows: colour picking, save settings, folders, help, About
// and the web links.
#include "ui/tform1.h"

#include "ui/colour_swatch.h"
#include "ui/platform.h"
#include "ui/taboutbox.h"
#include "ui/tc64palette.h"
#include "ui/tform3.h"
#include "ui/tformdir.h"
#include "ui/tsavespritemem.h"
#include "ui/tsavespritesettings.h"
#include "ui/web_links.h"

#include <QDialog>

void TForm1::AttachWindows(const SecondaryWindows& windows) {
    m_windows = windows;
    AddStayOnTopFollower(m_windows.c64Palette);
    connect(m_windows.formDir, &TFormDir::FreezeDirectoryPicked, this,
            [this](const QString& folder) { m_freezeDirectory = folder; });
    connect(m_windows.formDir, &TFormDir::BitmapDirectoryPicked, this,
            [this](const QString& folder) { m_bitmapDirectory = folder; });
}

QSize TForm1::PickerOuterSize() const {
    // Creating the native window first makes the frame count even before the picker's first showing.
    m_windows.c64Palette->winId();
    return m_windows.c64Palette->frameGeometry().size();
}

QPoint TForm1::CentredOver(const QSize& outer) const {
    // Outer sizes of both windows; C++ division truncates toward zero as the placement wants.
    const QRect main = frameGeometry();
    return {main.left() + (main.width() - outer.width()) / 2, main.top() + (main.height() - outer.height()) / 2};
}

// ---- Colours ------------------------------------------------------------------------------------

void TForm1::EditColourSlot(ColourSwatch* swatch, SlotRedraw redraw) {
    std::optional<mosaiqua::TColor> picked;
    const mosaiqua::PaletteKind kind = CurrentPaletteKind();
    if (kind == mosaiqua::PaletteKind::pkWindows) {
        picked = m_platform.ChooseColour(this, swatch->Colour());
    } else {
        TC64Palette& picker = *m_windows.c64Palette;
        picker.move(CentredOver(PickerOuterSize()));
        picker.Prepare(swatch->Colour(), kind == mosaiqua::PaletteKind::pkCcs64 ? 0 : 1);
        if (m_platform.RunModal(&picker) == QDialog::Accepted)
            picked = picker.Tag();
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
}

void TForm1::BackClick() {
    EditColourSlot(m_back, SlotRedraw::Sprite);
}
void TForm1::Button5Click() {
    EditColourSlot(m_col1, SlotRedraw::Sprite);
}
void TForm1::Button6Click() {
    EditColourSlot(m_col2, SlotRedraw::Sprite);
}
void TForm1::Button7Click() {
    EditColourSlot(m_col3, SlotRedraw::Sprite);
}
void TForm1::CBackClick() {
    EditColourSlot(m_cBack, SlotRedraw::CharSet);
}
void TForm1::ButCol1Click() {
    EditColourSlot(m_cCol1, SlotRedraw::CharSetMulticolour);
}
void TForm1::ButCol2Click() {
    EditColourSlot(m_cCol2, SlotRedraw::CharSet);
}
void TForm1::ButCol3Click() {
    EditColourSlot(m_cCol3, SlotRedraw::CharSetMulticolour);
}

// ---- Options ------------------------------------------------------------------------------------

void TForm1::SpriteSizeWhenSaving1Click() {
    TSaveSpriteSettings& settings = *m_windows.saveSpriteSettings;
    settings.winId();
    settings.move(CentredOver(settings.frameGeometry().size()));
    // Whatever the boxes hold when it closes is in force; the result itself means nothing.
    m_platform.RunModal(&settings);
}

void TForm1::SetDefaultFreezeDirectory1Click() {
    m_windows.formDir->ShowOver(frameGeometry());
}

// ---- Help ---------------------------------------------------------------------------------------

void TForm1::HelpFile1Click() {
    m_windows.form3->PlaceOver(frameGeometry(), PickerOuterSize());
    m_platform.RunModal(m_windows.form3);
}

void TForm1::TessalumaOnTheWeb1Click() {
    m_platform.OpenWebPage(HomePageUrl());
}
void TForm1::ReportABug1Click() {
    m_platform.OpenWebPage(BugBoardUrl());
}
void TForm1::MakeASuggestion1Click() {
    m_platform.OpenWebPage(SuggestionBoardUrl());
}
void TForm1::Image5DblClick() {
    TessalumaOnTheWeb1Click();
}

void TForm1::About1Click() {
    m_platform.RunModal(m_windows.aboutBox);
}
