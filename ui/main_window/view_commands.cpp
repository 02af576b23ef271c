// View menu and the page buttons: sprite and character-set navigation and views.
#include "ui/main_window/tform1.h"

#include "core/address_text.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>

using mosaiqua::CharSetStep;
using mosaiqua::SpriteStep;

// ---- View: sprite navigation --------------------------------------------------------------------

void TForm1::StepSprite(SpriteStep step) {
    const std::optional<std::int32_t> next = mosaiqua::StepSpriteAddress(m_spriteAddress, step);
    if (!next)
        return;
    m_spriteAddress = *next;
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

void TForm1::MCMClick() {
    RefreshSpriteViews();
}

// ---- View: character sets -----------------------------------------------------------------------

void TForm1::StepCharSet(CharSetStep step) {
    const bool anyEnabled = m_check8x8->isChecked() || m_check16x16->isChecked() || m_check8x16->isChecked();
    const std::optional<std::int32_t> next = mosaiqua::StepCharSetAddress(m_charSetAddress, step, anyEnabled);
    if (!next)
        return;
    m_charSetAddress = *next;
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

void TForm1::CharRefreshClick() {
    RefreshCharSetViews(true, true, true, true);
    update();
}

void TForm1::CMCMClick() {
    RefreshCharSetViews(true, true, true, true);
    update();
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
