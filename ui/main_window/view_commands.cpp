// View menu and the page buttons: sprite and character-set navigation and views.
#include "ui/main_window/main_window.h"

#include "core/address_text.h"

#include <QAbstractButton>
#include <QLabel>

using mosaiqua::CharSetStep;
using mosaiqua::SpriteStep;

// ---- View: sprite navigation --------------------------------------------------------------------

void MainWindow::StepSprite(SpriteStep step) {
    m_document.stepSprite(step);
}

void MainWindow::SpriteToEnd() {
    // From $FE40 on the drawing leaves the strip labels alone, so they are set here.
    m_label2->setText(QString::fromStdString(mosaiqua::ScreenAddress(mosaiqua::kEndLabel2)));
    m_label3->setText(QString::fromStdString(mosaiqua::ScreenAddress(mosaiqua::kEndLabel3)));
    StepSprite(SpriteStep::ToEnd);
}

void MainWindow::SpriteModeClicked() {
    m_document.setSpriteMulticolour(!m_document.sprite().multicolour);
}

// ---- View: character sets -----------------------------------------------------------------------

void MainWindow::StepCharSet(CharSetStep step) {
    m_document.stepCharSet(step);
}

void MainWindow::RefreshCharSets() {
    m_document.refreshCharSetViews();
}
