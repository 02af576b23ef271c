// The main window's commands, grouped by the menu that carries them.
#include "ui/tform1.h"

#include "core/address_text.h"
#include "core/errors.h"
#include "ui/colour_swatch.h"
#include "ui/command_guard.h"
#include "ui/platform.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

#include <string>

using mosaiqua::CharSetStep;
using mosaiqua::SpriteStep;

// ---- File ---------------------------------------------------------------------------------------

void TForm1::OpenFreezeFile1Click() {
    const std::optional<QString> chosen = m_platform.OpenFileName(this, m_freezeDirectory);
    if (!chosen)
        return;
    LoadAndRedraw(*chosen);
}

void TForm1::OpenFreezeFileNamed(const QString& path) {
    RunGuarded(m_platform, this, [this, &path] { LoadAndRedraw(path); });
}

void TForm1::LoadAndRedraw(const QString& path) {
    std::string why;
    if (!mosaiqua::LoadFreezeFile(m_image, path.toStdString(), m_skipFirst1148BytesOfFile1->isChecked(),
                                  &why)) {
        std::string message = "Cannot open file \"" + path.toStdString() + "\".";
        if (!why.empty())
            message += " " + why;
        throw mosaiqua::UserError(mosaiqua::UserError::Kind::CannotOpenFile, message);
    }
    DrawCurrentSprite();
    DrawNextSevenSprites();
    repaint();
    RefreshCharSetViews(true, true, true, true);
}


void TForm1::ExitProgram1Click() {
    close();
}

// ---- Edit ---------------------------------------------------------------------------------------


void TForm1::SpriteOffset1Byte1Click() {
    Button8Click();
}
void TForm1::SpriteOffset1Byte2Click() {
    Button9Click();
}
void TForm1::EditBackgroundColour1Click() {
    BackClick();
}
void TForm1::EditColour11Click() {
    Button5Click();
}
void TForm1::EditColour21Click() {
    Button6Click();
}
void TForm1::EditColour31Click() {
    Button7Click();
}
void TForm1::CharSetOffset1Byte1Click() {
    CSMinusClick();
}
void TForm1::CharSetOffset1Byte2Click() {
    CSPlusClick();
}
void TForm1::EditCharSetBackgroundColour1Click() {
    CBackClick();
}
void TForm1::EditCharSetMultiColour1Col11Click() {
    ButCol1Click();
}
void TForm1::EditCharSetColourCol21Click() {
    ButCol2Click();
}
void TForm1::EditCharSetMultiColour3Col31Click() {
    ButCol3Click();
}


void TForm1::ResetColoursToDefaults1Click() {
    mosaiqua::ColourSlots sprite = SpriteColours();
    mosaiqua::ColourSlots charSet = CharSetColours();
    mosaiqua::ResetSpriteColours(sprite, charSet);
    SetSpriteColours(sprite);
    SetCharSetColours(charSet);
    // The charset views pick up their new colours at their next refresh.
    DrawCurrentSprite();
    DrawNextSevenSprites();
}

void TForm1::ResetCharSetColoursToDefault1Click() {
    mosaiqua::ColourSlots charSet = CharSetColours();
    mosaiqua::ResetCharSetColours(charSet);
    SetCharSetColours(charSet);
    CharRefreshClick();
}

// ---- Options ------------------------------------------------------------------------------------

void TForm1::ChoosePalette(QAction* chosen) {
    if (chosen->isChecked())
        return;
    for (QAction* item : {m_useC64Palette1, m_useVicPalette1, m_useWindowsStandard16bitPalette1})
        item->setChecked(item == chosen);
    RefreshSpriteViews();
}

void TForm1::UseC64Palette1Click() {
    ChoosePalette(m_useC64Palette1);
}
void TForm1::UseVicPalette1Click() {
    ChoosePalette(m_useVicPalette1);
}
void TForm1::UseWindowsStandard16bitPalette1Click() {
    ChoosePalette(m_useWindowsStandard16bitPalette1);
}


void TForm1::SkipFirst1148BytesOfFile1Click() {
    m_skipFirst1148BytesOfFile1->setChecked(!m_skipFirst1148BytesOfFile1->isChecked());
    DrawCurrentSprite();
    DrawNextSevenSprites();
}

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

// ---- Help ---------------------------------------------------------------------------------------

