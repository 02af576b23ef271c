// Options menu: palettes, save settings, folders, how files load and whether PNG backgrounds are
// transparent.
#include "ui/main_window/main_window.h"

#include "ui/desktop/platform.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/save_settings_dialog.h"

#include <QAction>

// ---- Options ------------------------------------------------------------------------------------

void MainWindow::ChoosePalette(mosaiqua::PaletteKind kind) {
    // A click on the palette in force changes nothing; its mark is put back.
    if (mosaiqua::Palette::Builtin(kind).keyword == m_document.palette().keyword &&
        kind == m_document.palette().kind) {
        ShowSettings();
        return;
    }
    m_document.choosePalette(mosaiqua::Palette::Builtin(kind));
}

void MainWindow::EditSaveSettings() {
    SaveSettingsDialog& settings = *m_windows.saveSettingsDialog;
    settings.move(CentredOver(OuterSize(settings)));
    // Whatever the boxes hold when it closes is in force; the result itself means nothing.
    m_platform.RunModal(&settings);
    ApplySaveSettings();
}

void MainWindow::EditFolders() {
    m_windows.foldersDialog->ShowOver(frameGeometry());
}
