// View menu and the page buttons: sprite and character-set navigation and views.
#include "ui/main_window/main_window.h"

#include "core/address_text.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>

using mosaiqua::CharSetStep;
using mosaiqua::SpriteStep;

// ---- View: sprite navigation --------------------------------------------------------------------

void MainWindow::StepSprite(SpriteStep step) {
    const std::optional<std::int32_t> next = mosaiqua::StepSpriteAddress(m_image.SpriteAddress, step);
    if (!next)
        return;
    m_image.SpriteAddress = *next;
    RefreshSpriteViews();
}

void MainWindow::SpriteToEnd() {
    // From $FE40 on the drawing leaves the strip labels alone, so they are set here.
    m_label2->setText(QString::fromStdString(mosaiqua::ScreenAddress(mosaiqua::kEndLabel2)));
    m_label3->setText(QString::fromStdString(mosaiqua::ScreenAddress(mosaiqua::kEndLabel3)));
    StepSprite(SpriteStep::ToEnd);
}

void MainWindow::SpriteModeClicked() {
    RefreshSpriteViews();
}

// ---- View: character sets -----------------------------------------------------------------------

void MainWindow::StepCharSet(CharSetStep step) {
    const bool anyEnabled = m_check8x8->isChecked() || m_check16x16->isChecked() || m_check8x16->isChecked();
    const std::optional<std::int32_t> next =
        mosaiqua::StepCharSetAddress(m_image.CharSetAddress, step, anyEnabled);
    if (!next)
        return;
    m_image.CharSetAddress = *next;
    const bool redraw = mosaiqua::StepRedrawsViews(step);
    RefreshCharSetViews(redraw, redraw, redraw, true);
}

void MainWindow::RefreshCharSets() {
    RefreshCharSetViews(true, true, true, true);
    update();
}

void MainWindow::ViewBoxChanged(mosaiqua::CharSetViewKind kind) {
    using mosaiqua::CharSetViewKind;
    if (!ViewBox(kind)->isChecked())
        return;
    RefreshCharSetViews(kind == CharSetViewKind::cv8x8, kind == CharSetViewKind::cv16x16,
                        kind == CharSetViewKind::cv8x16, true);
}
