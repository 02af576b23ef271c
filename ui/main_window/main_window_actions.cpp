// MainMenu1 from the one command table, and the toolbar that shows the menu.
#include "ui/main_window/main_window_actions.h"

#include "ui/main_window/main_window.h"

#include "ui/components/stmenubar.h"
#include "ui/desktop/command_guard.h"

#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QMenu>
#include <QTabWidget>

using main_window::CommandRow;
using main_window::Mark;
using main_window::MenuColumn;

QString main_window::MenuItemText(const char* caption, const QKeySequence& key) {
    QString text = QString::fromLatin1(caption);
    if (!key.isEmpty())
        text += QLatin1Char('\t') + key.toString();
    return text;
}

void MainWindow::Run(const std::function<void()>& command) {
    RunGuarded(m_platform, this, command);
}

QAction* MainWindow::MenuItem(const char* name) const {
    return m_mainMenu1->findChild<QAction*>(QString::fromLatin1(name));
}

void MainWindow::BuildCommands() {
    using mosaiqua::BitmapFileKind;
    using mosaiqua::BitmapStep;
    using mosaiqua::CharSetStep;
    using mosaiqua::CharSetViewKind;
    using mosaiqua::PaletteKind;
    using mosaiqua::SpriteStep;
    // Commands that ignore the mark.
    const auto plain = [this](void (MainWindow::*command)()) {
        return [this, command](bool) { (this->*command)(); };
    };
    const auto sprite = [this](SpriteStep step) { return [this, step](bool) { StepSprite(step); }; };
    const auto charSet = [this](CharSetStep step) { return [this, step](bool) { StepCharSet(step); }; };
    const auto bitmap = [this](BitmapStep step) { return [this, step](bool) { StepBitmap(step); }; };
    const auto bitmapSave = [this](BitmapFileKind kind) { return [this, kind](bool) { SaveBitmap(kind); }; };
    const auto palette = [this](PaletteKind kind) { return [this, kind](bool) { ChoosePalette(kind); }; };
    const auto builtIn = [this](const char* keyword) {
        return [this, keyword](bool) { ChooseBuiltInPalette(keyword); };
    };
    const auto view = [this](CharSetViewKind kind) {
        return [this, kind](bool checked) { m_document.setCharSetViewEnabled(kind, checked); };
    };
    const CommandRow separator;
    const auto key = [](QKeyCombination code) { return QKeySequence(code); };

    const MenuColumn menus[] = {
        {"File1",
         "&File",
         {
             {"OpenFreezeFile1", "&Open CCS64 Freeze File", key(Qt::CTRL | Qt::Key_O), Mark::None,
              plain(&MainWindow::OpenFreezeFile)},
             {"CaptureFromVice1", "Capture from &VICE", key(Qt::CTRL | Qt::SHIFT | Qt::Key_V), Mark::None,
              plain(&MainWindow::CaptureFromVice)},
             {"CaptureAgain1", "Capture &Again", key(Qt::CTRL | Qt::SHIFT | Qt::Key_A), Mark::None,
              plain(&MainWindow::CaptureAgain)},
             separator,
             {"SaveSprite1",
              "&Save Current Sprite",

              {},
              Mark::None,
              plain(&MainWindow::SaveCurrentSprite)},
             {"SaveNext7Sprites1",
              "Save &Next 7 Sprites",

              {},
              Mark::None,
              plain(&MainWindow::SaveNextSevenSprites)},
             {"SaveSpriteAnimation1",
              "Save Sprite &Animation",

              {},
              Mark::None,
              plain(&MainWindow::SaveSpriteAnimation)},
             {"SaveSpritesInMemoryAB1",
              "Save Sprites In &Memory Range",

              {},
              Mark::None,
              [this](bool) { SaveSpriteRange(RangeDialogMode::ToFiles); }},
             {"SaveSpriteInMemoryRangeToSingleBitmap1",
              "Save Sprites In Memory Range To Single &Bitmap",

              {},
              Mark::None,
              [this](bool) { SaveSpriteRange(RangeDialogMode::ToSingleBitmap); }},
             separator,
             {"Save8x8CharSet1",
              "Save &8 x 8 CharSet",

              {},
              Mark::None,
              [this](bool) { SaveCharSetView(CharSetViewKind::cv8x8); }},
             {"Save8x16CharSet1",
              "Save 8 x 16 &CharSet",

              {},
              Mark::None,
              [this](bool) { SaveCharSetView(CharSetViewKind::cv8x16); }},
             {"Save16x16CharSet1",
              "Save 16 x 16 C&harSet",

              {},
              Mark::None,
              [this](bool) { SaveCharSetView(CharSetViewKind::cv16x16); }},
             {"SaveRawData1", "Save &Raw Data", {}, Mark::None, plain(&MainWindow::SaveRawData)},
             {"SaveSpritesAsSpritePad1",
              "Save Sprites as &SpritePad...",
              {},
              Mark::None,
              plain(&MainWindow::SaveSpritesAsSpritePad)},
             {"SaveCharSetAsCharPad1",
              "Save CharSet as &CharPad...",
              {},
              Mark::None,
              plain(&MainWindow::SaveCharSetAsCharPad)},
             separator,
             {"SaveBitmapPicture1",
              "Save Bitmap &Picture...",
              {},
              Mark::None,
              bitmapSave(BitmapFileKind::Picture)},
             {"SaveBitmapKoala1",
              "Save Bitmap as &Koala Painter...",
              {},
              Mark::None,
              bitmapSave(BitmapFileKind::Koala)},
             {"SaveBitmapArtStudio1",
              "Save Bitmap as Art S&tudio...",
              {},
              Mark::None,
              bitmapSave(BitmapFileKind::ArtStudio)},
             separator,
             {"ExitProgram1", "E&xit Program", {}, Mark::None, [this](bool) { close(); }},
         }},
        {"Edit1",
         "&Edit",
         {
             {"CopySpriteToClipboard1", "&Copy Sprite / CharSet To Clipboard", key(Qt::CTRL | Qt::Key_C),
              Mark::None, plain(&MainWindow::CopyPictureToClipboard)},
             separator,
             {"SpriteOffset1Byte1", "&Sprite Offset -1 Byte", key(Qt::Key_F9), Mark::None,
              sprite(SpriteStep::MinusOneByte)},
             {"SpriteOffset1Byte2", "Sprite &Offset +1 Byte", key(Qt::Key_F10), Mark::None,
              sprite(SpriteStep::PlusOneByte)},
             separator,
             {"EditBackgroundColour1",
              "Edit Sprite Background Colour",

              {},
              Mark::None,
              plain(&MainWindow::EditSpriteBackground)},
             {"EditColour11",
              "Edit Sprite Multi Colour 1 (Col 1)",

              {},
              Mark::None,
              plain(&MainWindow::EditSpriteMulticolour1)},
             {"EditColour21",
              "Edit Sprite Colour (Col 2)",

              {},
              Mark::None,
              plain(&MainWindow::EditSpriteMainColour)},
             {"EditColour31",
              "Edit Sprite Multi Colour 2 (Col 3)",

              {},
              Mark::None,
              plain(&MainWindow::EditSpriteMulticolour2)},
             {"ResetColoursToDefaults1",
              "&Reset Sprite Colours To Default",

              {},
              Mark::None,
              plain(&MainWindow::ResetSpriteColours)},
             separator,
             {"CharSetOffset1Byte1", "CharSet Offset -1 Byte", key(Qt::Key_F11), Mark::None,
              charSet(CharSetStep::MinusOneByte)},
             {"CharSetOffset1Byte2", "CharSet Offset +1 Byte", key(Qt::Key_F12), Mark::None,
              charSet(CharSetStep::PlusOneByte)},
             separator,
             {"EditCharSetBackgroundColour1",
              "Edit CharSet Background Colour",

              {},
              Mark::None,
              plain(&MainWindow::EditCharSetBackground)},
             {"EditCharSetMultiColour1Col11",
              "Edit CharSet Multi Colour 1 (Col 1)",

              {},
              Mark::None,
              plain(&MainWindow::EditCharSetMulticolour1)},
             {"EditCharSetColourCol21",
              "Edit CharSet Colour (Col 2)",

              {},
              Mark::None,
              plain(&MainWindow::EditCharSetMainColour)},
             {"EditCharSetMultiColour3Col31",
              "Edit CharSet Multi Colour 2 (Col 3)",

              {},
              Mark::None,
              plain(&MainWindow::EditCharSetMulticolour2)},
             {"ResetCharSetColoursToDefault1",
              "Rese&t CharSet Colours To Default",

              {},
              Mark::None,
              plain(&MainWindow::ResetCharSetColours)},
         }},
        {"Options1",
         "&Options",
         {
             {"UseC64Palette1",
              "Use &CCS64 Colour Palette",

              {},
              Mark::Off,
              palette(PaletteKind::pkCcs64)},
             {"UseVicPalette1",
              "Use &True VIC-II Colour Palette",

              {},
              Mark::On,
              palette(PaletteKind::pkTrueVic)},
             {"UseWindowsStandard16bitPalette1",
              "Use &Windows Standard Colour Palette",

              {},
              Mark::Off,
              palette(PaletteKind::pkWindows)},
             {"UseColodorePalette1", "Use C&olodore Colour Palette", {}, Mark::Off, builtIn("colodore")},
             {"UseCommunityColorsPalette1",
              "Use Co&mmunity Colors Palette",
              {},
              Mark::Off,
              builtIn("community")},
             {"UsePalette6569R5Palette1",
              "Use PALette &6569R5 Colour Palette",
              {},
              Mark::Off,
              builtIn("6569r5")},
             {"LoadPaletteFile1",
              "Load &Palette File...",
              {},
              Mark::None,
              plain(&MainWindow::LoadPaletteFile)},
             separator,
             {"SpriteSizeWhenSaving1",
              "Set S&ave Sprite Settings",

              {},
              Mark::None,
              plain(&MainWindow::EditSaveSettings)},
             // Read by every picture save when it writes a PNG.
             {"TransparentBackgroundInPng1",
              "Transparent Back&ground In PNG",
              {},
              Mark::Off,
              [this](bool checked) {
                  mosaiqua::SaveSettings settings = m_document.saveSettings();
                  settings.transparentBackground = checked;
                  m_document.setSaveSettings(settings);
              }},
             separator,
             {"SetDefaultFreezeDirectory1",
              "Set &Default File Directories",

              {},
              Mark::None,
              plain(&MainWindow::EditFolders)},
             separator,
             {"SkipFirst1148BytesOfFile1",
              "&Skip First 1148 Bytes Of File",
              {},
              Mark::On,
              [this](bool checked) {
                  mosaiqua::LoadOptions options = m_document.loadOptions();
                  options.skipHeader = checked;
                  m_document.setLoadOptions(options);
              }},
             // Takes effect at the next load; off, every file loads as a plain freeze file.
             {"DetectFileFormat1",
              "Detect File &Format",
              {},
              Mark::On,
              [this](bool checked) {
                  mosaiqua::LoadOptions options = m_document.loadOptions();
                  options.detectFormat = checked;
                  m_document.setLoadOptions(options);
              }},
             separator,
             {"CharacterRomFile1",
              "Character &ROM File...",
              {},
              Mark::None,
              plain(&MainWindow::ChooseCharacterRomFile)},
             // Takes effect at the next load of a file with machine state.
             {"FollowSnapshotOnOpen1",
              "&Follow Snapshot on Open",
              {},
              Mark::On,
              [this](bool checked) { m_document.setFollowSnapshotOnOpen(checked); }},
         }},
        {"View1",
         "&View",
         {
             {"SpriteRipper1",
              "Sprite Ripper",

              {},
              Mark::None,
              [this](bool) { m_pageControl->setCurrentWidget(m_spriteSheet); }},
             {"CharSetRipper1",
              "CharSet Ripper",

              {},
              Mark::None,
              [this](bool) { m_pageControl->setCurrentWidget(m_charSheet); }},
             {"BitmapRipper1",
              "Bitmap Ripper",
              {},
              Mark::None,
              [this](bool) { m_pageControl->setCurrentWidget(m_bitmapSheet); }},
             separator,
             {"CharSetPrevious0800Bytes1", "CharSet Prev&ious $0800 Bytes", key(Qt::Key_F3), Mark::None,
              charSet(CharSetStep::Previous0800)},
             {"CharSetNext0800Bytes1", "C&harSet Next $0800 Bytes", key(Qt::Key_F4), Mark::None,
              charSet(CharSetStep::Next0800)},
             separator,
             {"Back1000memory1", "Sprite &Previous $1000 Bytes", key(Qt::Key_F5), Mark::None,
              sprite(SpriteStep::Previous1000)},
             {"PreviousSprite1", "P&revious Sprite", key(Qt::Key_F6), Mark::None,
              sprite(SpriteStep::PreviousSprite)},
             {"NextSprite1", "N&ext Sprite", key(Qt::Key_F7), Mark::None, sprite(SpriteStep::NextSprite)},
             {"Next1000Bytes1", "Sprite Nex&t $1000 Bytes", key(Qt::Key_F8), Mark::None,
              sprite(SpriteStep::Next1000)},
             separator,
             // The bitmap keys are the sprite keys with Shift: the same steps, one page further.
             {"BitmapPrevious2000Bytes1", "Bitmap Previous $2000 Bytes", key(Qt::SHIFT | Qt::Key_F5),
              Mark::None, bitmap(BitmapStep::Previous2000)},
             {"BitmapPreviousRow1", "Bitmap Previous Row", key(Qt::SHIFT | Qt::Key_F6), Mark::None,
              bitmap(BitmapStep::PreviousRow)},
             {"BitmapNextRow1", "Bitmap Next Row", key(Qt::SHIFT | Qt::Key_F7), Mark::None,
              bitmap(BitmapStep::NextRow)},
             {"BitmapNext2000Bytes1", "Bitmap Next $2000 Bytes", key(Qt::SHIFT | Qt::Key_F8), Mark::None,
              bitmap(BitmapStep::Next2000)},
             {"BitmapOffset1Byte1", "Bitmap Offset -1 Byte", key(Qt::SHIFT | Qt::Key_F9), Mark::None,
              bitmap(BitmapStep::MinusOneByte)},
             {"BitmapOffset1Byte2", "Bitmap Offset +1 Byte", key(Qt::SHIFT | Qt::Key_F10), Mark::None,
              bitmap(BitmapStep::PlusOneByte)},
             {"BitmapScreenPrevious1", "Bitmap Screen Previous $0400 Bytes", key(Qt::SHIFT | Qt::Key_F11),
              Mark::None, [this](bool) { StepBitmapScreen(false); }},
             {"BitmapScreenNext1", "Bitmap Screen Next $0400 Bytes", key(Qt::SHIFT | Qt::Key_F12), Mark::None,
              [this](bool) { StepBitmapScreen(true); }},
             separator,
             {"N8x8CharSetView1", "8 x 8 CharSet View Enabled", {}, Mark::On, view(CharSetViewKind::cv8x8)},
             {"N8x16CharSetViewEnabled1",
              "8 x 16 CharSet View Enabled",

              {},
              Mark::Off,
              view(CharSetViewKind::cv8x16)},
             {"N16x16CharSetViewEnabled1",
              "16 x 16 CharSet View Enabled",

              {},
              Mark::Off,
              view(CharSetViewKind::cv16x16)},
             separator,
             // The marks show the document's modes; choosing one flips that mode.
             {"MulticolourMode1", "Sprite &Multicolour Mode Enable", key(Qt::CTRL | Qt::Key_M), Mark::Off,
              [this](bool) { m_document.setSpriteMulticolour(!m_document.sprite().multicolour); }},
             {"CharSetMulticolourModeEnable1", "CharSet Multicolour Mode Enable", key(Qt::CTRL | Qt::Key_E),
              Mark::Off,
              [this](bool) { m_document.setCharSetMulticolour(!m_document.charSet().multicolour); }},
             {"BitmapMulticolourMode1", "Bitmap Multicolour Mode Enable",
              key(Qt::CTRL | Qt::SHIFT | Qt::Key_M), Mark::Off,
              [this](bool) { m_document.setBitmapMulticolour(!m_document.bitmap().multicolour); }},
             {"AlwaysOnTop1",
              "&Always On Top",

              {},
              Mark::On,
              [this](bool checked) { ApplyStayOnTop(checked); }},
             separator,
             {"RefreshCharSetDisplay1", "Re&fresh CharSet Display", key(Qt::CTRL | Qt::Key_R), Mark::None,
              plain(&MainWindow::RefreshCharSets)},
             separator,
             {"SnapshotState1", "S&napshot State", key(Qt::CTRL | Qt::Key_G), Mark::None,
              plain(&MainWindow::ShowSnapshotWindow)},
             {"MemoryOverview1", "Memory &Overview", key(Qt::CTRL | Qt::Key_L), Mark::None,
              plain(&MainWindow::ShowMemoryOverview)},
             {"Screen1", "S&creen", key(Qt::CTRL | Qt::Key_D), Mark::None,
              plain(&MainWindow::ShowScreenWindow)},
         }},
        {"Help1",
         "&Help",
         {
             {"HelpFile1", "H&elp File", {}, Mark::None, plain(&MainWindow::ShowHelp)},
             separator,
             {"TessalumaOnTheWeb1",
              "&Tessaluma Homepage (Requires Net Access)",

              {},
              Mark::None,
              plain(&MainWindow::OpenHomePage)},
             {"ReportABug1",
              "Report A Bug (Requires Net Access)",

              {},
              Mark::None,
              plain(&MainWindow::OpenBugBoard)},
             {"MakeASuggestion1",
              "Make A Suggestion (Requires Net Access)",

              {},
              Mark::None,
              plain(&MainWindow::OpenSuggestionBoard)},
             separator,
             {"About1", "&About", {}, Mark::None, plain(&MainWindow::ShowAbout)},
         }},
    };

    m_mainMenu1 = new QMenu(this);
    m_mainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuColumn& column : menus) {
        auto* menu = new QMenu(QString::fromLatin1(column.caption), m_mainMenu1);
        menu->setObjectName(QString::fromLatin1(column.name) + QStringLiteral("Menu"));
        QAction* title = m_mainMenu1->addMenu(menu);
        title->setObjectName(QString::fromLatin1(column.name));
        for (const CommandRow& row : column.rows) {
            if (row.name == nullptr) {
                menu->addSeparator();
                continue;
            }
            auto* command = new QAction(menu);
            command->setObjectName(QString::fromLatin1(row.name));
            if (row.mark != Mark::None) {
                command->setCheckable(true);
                command->setChecked(row.mark == Mark::On);
            }
            if (!row.key.isEmpty()) {
                command->setShortcut(row.key);
                command->setShortcutContext(Qt::WindowShortcut);
                // On the window too, so the key works whichever page is in front and with no menu open.
                addAction(command);
            }
            command->setText(main_window::MenuItemText(row.caption, row.key));
            menu->addAction(command);
            const std::function<void(bool)> run = row.run;
            // Qt has already set the mark the user asked for when it reports the click or key.
            connect(command, &QAction::triggered, this,
                    [this, run](bool checked) { RunGuarded(m_platform, this, [&] { run(checked); }); });
        }
    }

    m_useC64Palette1 = MenuItem("UseC64Palette1");
    m_useVicPalette1 = MenuItem("UseVicPalette1");
    m_useWindowsStandard16bitPalette1 = MenuItem("UseWindowsStandard16bitPalette1");
    m_skipFirst1148BytesOfFile1 = MenuItem("SkipFirst1148BytesOfFile1");
    m_detectFileFormat1 = MenuItem("DetectFileFormat1");
    m_n8x8CharSetView1 = MenuItem("N8x8CharSetView1");
    m_n8x16CharSetViewEnabled1 = MenuItem("N8x16CharSetViewEnabled1");
    m_n16x16CharSetViewEnabled1 = MenuItem("N16x16CharSetViewEnabled1");
    m_multicolourMode1 = MenuItem("MulticolourMode1");
    m_charSetMulticolourModeEnable1 = MenuItem("CharSetMulticolourModeEnable1");
    m_bitmapMulticolourMode1 = MenuItem("BitmapMulticolourMode1");
    m_alwaysOnTop1 = MenuItem("AlwaysOnTop1");
    m_transparentBackgroundInPng1 = MenuItem("TransparentBackgroundInPng1");
    m_captureAgain1 = MenuItem("CaptureAgain1");
    m_captureAgain1->setEnabled(false); // until an address is known
}

void MainWindow::BuildMenuBar() {
    m_menuBar = new STMenuBar(m_controlBar1);
    if (m_menuBar->objectName().isEmpty())
        m_menuBar->setObjectName(QStringLiteral("STMenuBar1"));
    m_menuBar->setGeometry(0, 0, width(), 26);
    m_menuBar->SetErrorReport([this](const QString& text) {
        m_platform.ShowError(this, QString::fromLatin1(kApplicationTitle), text);
    });
    m_menuBar->SetMenu(m_mainMenu1);
}
