#include "ui/main_window/application_windows.h"

#include "ui/dialogs/about_box.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/dialogs/help_window.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/sprite_range_dialog.h"
#include "ui/dialogs/save_settings_dialog.h"

ApplicationWindows::ApplicationWindows(Platform& platform) : m_form1(std::make_unique<TForm1>(platform)) {
    TForm1* main = m_form1.get();
    SecondaryWindows windows;
    windows.aboutBox = new TAboutBox(main);
    windows.form3 = new TForm3(main);
    windows.c64Palette = new TC64Palette(main);
    // Constructing it writes its first range ($0000-$0040, one sprite) into the main window's.
    windows.saveSpriteMem = new TSaveSpriteMem(main->SpriteRange(), main);
    windows.saveSpriteSettings = new TSaveSpriteSettings(main);
    windows.formDir = new TFormDir(platform, main);
    main->AttachWindows(windows);
}

ApplicationWindows::~ApplicationWindows() = default;
