// Options menu: palettes, save settings, folders and the freeze-file header.
#include "ui/main_window/tform1.h"

#include "ui/desktop/platform.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/save_settings_dialog.h"

#include <QAction>

// ---- Options ------------------------------------------------------------------------------------

void TForm1::ChoosePalette(QAction* chosen, bool checked) {
    // A click on the palette in use changes nothing: its mark stays.
    if (!checked) {
        chosen->setChecked(true);
        return;
    }
    for (QAction* item : {m_useC64Palette1, m_useVicPalette1, m_useWindowsStandard16bitPalette1})
        item->setChecked(item == chosen);
    RefreshSpriteViews();
    ShowSnapshotState();
}

void TForm1::SpriteSizeWhenSaving1Click() {
    TSaveSpriteSettings& settings = *m_windows.saveSpriteSettings;
    settings.move(CentredOver(OuterSize(settings)));
    // Whatever the boxes hold when it closes is in force; the result itself means nothing.
    m_platform.RunModal(&settings);
}

void TForm1::SetDefaultFreezeDirectory1Click() {
    m_windows.formDir->ShowOver(frameGeometry());
}
