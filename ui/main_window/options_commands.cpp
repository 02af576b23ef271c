// Options menu: palettes, save settings, folders and the freeze-file header.
#include "ui/main_window/main_window.h"

#include "ui/desktop/platform.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/save_settings_dialog.h"

#include <QAction>

// ---- Options ------------------------------------------------------------------------------------

void MainWindow::ChoosePalette(mosaiqua::PaletteKind kind) {
    using mosaiqua::PaletteKind;
    // The marks show the palette in force, also after a click on its own item.
    const bool changed = kind != m_palette;
    m_palette = kind;
    m_useC64Palette1->setChecked(kind == PaletteKind::pkCcs64);
    m_useVicPalette1->setChecked(kind == PaletteKind::pkTrueVic);
    m_useWindowsStandard16bitPalette1->setChecked(kind == PaletteKind::pkWindows);
    if (!changed)
        return;
    RefreshSpriteViews();
    ShowSnapshotState();
}

void MainWindow::EditSaveSettings() {
    SaveSettingsDialog& settings = *m_windows.saveSettingsDialog;
    settings.move(CentredOver(OuterSize(settings)));
    // Whatever the boxes hold when it closes is in force; the result itself means nothing.
    m_platform.RunModal(&settings);
}

void MainWindow::EditFolders() {
    m_windows.foldersDialog->ShowOver(frameGeometry());
}
