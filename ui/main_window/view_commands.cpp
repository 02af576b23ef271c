// View menu: pages, sprite and character-set navigation, views and the window.
#include "ui/main_window/tform1.h"

#include "core/address_text.h"
#include "core/bmp.h"
#include "core/errors.h"
#include "core/export.h"
#include "ui/assets/web_links.h"
#include "ui/desktop/command_guard.h"
#include "ui/desktop/platform.h"
#include "ui/desktop/raster_image.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/help_window.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/dialogs/save_settings_dialog.h"
#include "ui/dialogs/sprite_range_dialog.h"
#include "ui/widgets/colour_swatch.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>

#include <string>

using mosaiqua::CharSetStep;
using mosaiqua::SpriteStep;

// ---- View: pages --------------------------------------------------------------------------------

void TForm1::SpriteRipper1Click() {
    m_pageControl->setCurrentWidget(m_spriteSheet);
}
void TForm1::CharSetRipper1Click() {
    m_pageControl->setCurrentWidget(m_charSheet);
}

// ---- View: sprite navigation --------------------------------------------------------------------

void TForm1::StepSprite(SpriteStep step) {
    const std::optional<std::int32_t> next = mosaiqua::StepSpriteAddress(m_image.SpriteAddress, step);
    if (!next)
        return;
    m_image.SpriteAddress = *next;
    RefreshSpriteViews();
}

void TForm1::Button1Click() {
    StepSprite(SpriteStep::NextSprite);
}
void TForm1::Button2Click() {
    StepSprite(SpriteStep::PreviousSprite);
}
void TForm1::Button3Click() {
    StepSprite(SpriteStep::Next1000);
}
void TForm1::Button4Click() {
    StepSprite(SpriteStep::Previous1000);
}
void TForm1::Button8Click() {
    StepSprite(SpriteStep::MinusOneByte);
}
void TForm1::Button9Click() {
    StepSprite(SpriteStep::PlusOneByte);
}
void TForm1::Button10Click() {
    StepSprite(SpriteStep::ToBeginning);
}

void TForm1::Button11Click() {
    // From $FE40 on the drawing leaves the strip labels alone, so they are set here.
    m_label2->setText(QString::fromStdString(mosaiqua::ScreenAddress(mosaiqua::kEndLabel2)));
    m_label3->setText(QString::fromStdString(mosaiqua::ScreenAddress(mosaiqua::kEndLabel3)));
    StepSprite(SpriteStep::ToEnd);
}

void TForm1::NextSprite1Click() {
    Button1Click();
}
void TForm1::PreviousSprite1Click() {
    Button2Click();
}
void TForm1::Next1000Bytes1Click() {
    Button3Click();
}
void TForm1::Back1000memory1Click() {
    Button4Click();
}

void TForm1::MCMClick() {
    RefreshSpriteViews();
}

void TForm1::MulticolourMode1Click() {
    // The mark and the button can disagree after a click on MCM; the mark decides here.
    const bool turnOn = !m_multicolourMode1->isChecked();
    m_multicolourMode1->setChecked(turnOn);
    m_mcm->setChecked(turnOn);
    DrawCurrentSprite();
    DrawNextSevenSprites();
}

// ---- View: character sets -----------------------------------------------------------------------

void TForm1::StepCharSet(CharSetStep step) {
    const bool anyEnabled = m_check8x8->isChecked() || m_check16x16->isChecked() || m_check8x16->isChecked();
    const std::optional<std::int32_t> next =
        mosaiqua::StepCharSetAddress(m_image.CharSetAddress, step, anyEnabled);
    if (!next)
        return;
    m_image.CharSetAddress = *next;
    const bool redraw = mosaiqua::StepRedrawsViews(step);
    RefreshCharSetViews(redraw, redraw, redraw, true);
}

void TForm1::CSR1Click() {
    StepCharSet(CharSetStep::Next0800);
}
void TForm1::CSL1Click() {
    StepCharSet(CharSetStep::Previous0800);
}
void TForm1::CSPlusClick() {
    StepCharSet(CharSetStep::PlusOneByte);
}
void TForm1::CSMinusClick() {
    StepCharSet(CharSetStep::MinusOneByte);
}

void TForm1::CharSetPrevious0800Bytes1Click() {
    CSL1Click();
}
void TForm1::CharSetNext0800Bytes1Click() {
    CSR1Click();
}
void TForm1::RefreshCharSetDisplay1Click() {
    CharRefreshClick();
}

void TForm1::CharRefreshClick() {
    RefreshCharSetViews(true, true, true, true);
    update();
}

void TForm1::CMCMClick() {
    RefreshCharSetViews(true, true, true, true);
    update();
}

void TForm1::CharSetMulticolourModeEnable1Click() {
    // Setting CMCM from here is not a click on it: CMCMClick does not run.
    const bool turnOn = !m_charSetMulticolourModeEnable1->isChecked();
    m_charSetMulticolourModeEnable1->setChecked(turnOn);
    m_cmcm->setChecked(turnOn);
    CharRefreshClick();
}

void TForm1::ViewBoxChanged(QAction* item, QCheckBox* box, mosaiqua::CharSetViewKind kind) {
    using mosaiqua::CharSetViewKind;
    if (!box->isChecked()) {
        item->setChecked(false);
        return;
    }
    item->setChecked(true);
    RefreshCharSetViews(kind == CharSetViewKind::cv8x8, kind == CharSetViewKind::cv16x16,
                        kind == CharSetViewKind::cv8x16, true);
}

void TForm1::Check8x8Click() {
    ViewBoxChanged(m_n8x8CharSetView1, m_check8x8, mosaiqua::CharSetViewKind::cv8x8);
}
void TForm1::Check16x16Click() {
    ViewBoxChanged(m_n16x16CharSetViewEnabled1, m_check16x16, mosaiqua::CharSetViewKind::cv16x16);
}
void TForm1::Check8x16Click() {
    ViewBoxChanged(m_n8x16CharSetViewEnabled1, m_check8x16, mosaiqua::CharSetViewKind::cv8x16);
}

void TForm1::ToggleViewFromMenu(QAction* item, QCheckBox* box) {
    // The box's own handler runs when its state changes, as if the user had clicked it.
    const bool turnOn = !item->isChecked();
    item->setChecked(turnOn);
    box->setChecked(turnOn);
}

void TForm1::N8x8CharSetView1Click() {
    ToggleViewFromMenu(m_n8x8CharSetView1, m_check8x8);
}
void TForm1::N8x16CharSetViewEnabled1Click() {
    ToggleViewFromMenu(m_n8x16CharSetViewEnabled1, m_check8x16);
}
void TForm1::N16x16CharSetViewEnabled1Click() {
    ToggleViewFromMenu(m_n16x16CharSetViewEnabled1, m_check16x16);
}

// ---- View: window -------------------------------------------------------------------------------

void TForm1::AlwaysOnTop1Click() {
    const bool onTop = !m_alwaysOnTop1->isChecked();
    m_alwaysOnTop1->setChecked(onTop);
    ApplyStayOnTop(onTop);
}

