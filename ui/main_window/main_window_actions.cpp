// MainMenu1 and ActionList1 from the one command table, and the toolbar that shows the menu.
#include "ui/main_window/main_window_actions.h"

#include "ui/main_window/tform1.h"

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

QString main_window::MenuItemText(const char* caption, const QAction* keyOwner) {
    QString text = QString::fromLatin1(caption);
    if (keyOwner != nullptr)
        text += QLatin1Char('\t') + keyOwner->shortcut().toString();
    return text;
}

void TForm1::Run(Handler handler) {
    RunGuarded(m_platform, this, [this, handler] { (this->*handler)(); });
}

QAction* TForm1::MenuItem(const char* name) const {
    return m_mainMenu1->findChild<QAction*>(QString::fromLatin1(name));
}

void TForm1::BuildCommands() {
    using mosaiqua::CharSetStep;
    using mosaiqua::CharSetViewKind;
    using mosaiqua::SpriteStep;
    // Commands that ignore the mark.
    const auto plain = [this](Handler handler) { return [this, handler](bool) { (this->*handler)(); }; };
    const auto sprite = [this](SpriteStep step) { return [this, step](bool) { StepSprite(step); }; };
    const auto charSet = [this](CharSetStep step) { return [this, step](bool) { StepCharSet(step); }; };
    const auto palette = [this](const char* name) {
        return [this, name](bool checked) { ChoosePalette(MenuItem(name), checked); };
    };
    const auto viewBox = [](QCheckBox* box) { return [box](bool checked) { box->setChecked(checked); }; };
    const CommandRow separator;
    const auto key = [](QKeyCombination code) { return QKeySequence(code); };

    const MenuColumn menus[] = {
        {"File1",
         "&File",
         {
             {"OpenFreezeFile1", "&Open CCS64 Freeze File", "OpenFile", key(Qt::CTRL | Qt::Key_O), Mark::None,
              plain(&TForm1::OpenFreezeFile1Click)},
             separator,
             {"SaveSprite1",
              "&Save Current Sprite",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::SaveSprite1Click)},
             {"SaveNext7Sprites1",
              "Save &Next 7 Sprites",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::SaveNext7Sprites1Click)},
             {"SaveSpriteAnimation1",
              "Save Sprite &Animation",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::SaveSpriteAnimation1Click)},
             {"SaveSpritesInMemoryAB1",
              "Save Sprites In &Memory Range",
              nullptr,
              {},
              Mark::None,
              [this](bool) { SaveSpriteRange(RangeDialogMode::ToFiles); }},
             {"SaveSpriteInMemoryRangeToSingleBitmap1",
              "Save Sprites In Memory Range To Single &Bitmap",
              nullptr,
              {},
              Mark::None,
              [this](bool) { SaveSpriteRange(RangeDialogMode::ToSingleBitmap); }},
             separator,
             {"Save8x8CharSet1",
              "Save &8 x 8 CharSet",
              nullptr,
              {},
              Mark::None,
              [this](bool) { SaveCharSetView(CharSetViewKind::cv8x8); }},
             {"Save8x16CharSet1",
              "Save 8 x 16 &CharSet",
              nullptr,
              {},
              Mark::None,
              [this](bool) { SaveCharSetView(CharSetViewKind::cv8x16); }},
             {"Save16x16CharSet1",
              "Save 16 x 16 C&harSet",
              nullptr,
              {},
              Mark::None,
              [this](bool) { SaveCharSetView(CharSetViewKind::cv16x16); }},
             {"SaveRawData1", "Save &Raw Data", nullptr, {}, Mark::None, plain(&TForm1::SaveRawData1Click)},
             separator,
             {"ExitProgram1", "E&xit Program", nullptr, {}, Mark::None, [this](bool) { close(); }},
         }},
        {"Edit1",
         "&Edit",
         {
             {"CopySpriteToClipboard1", "&Copy Sprite / CharSet To Clipboard", "CopySprite",
              key(Qt::CTRL | Qt::Key_C), Mark::None, plain(&TForm1::CopySpriteToClipboard1Click)},
             separator,
             {"SpriteOffset1Byte1", "&Sprite Offset -1 Byte", "SpriteOffsetMinus", key(Qt::Key_F9),
              Mark::None, sprite(SpriteStep::MinusOneByte)},
             {"SpriteOffset1Byte2", "Sprite &Offset +1 Byte", "SpriteOffsetPlus", key(Qt::Key_F10),
              Mark::None, sprite(SpriteStep::PlusOneByte)},
             separator,
             {"EditBackgroundColour1",
              "Edit Sprite Background Colour",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::BackClick)},
             {"EditColour11",
              "Edit Sprite Multi Colour 1 (Col 1)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::Button5Click)},
             {"EditColour21",
              "Edit Sprite Colour (Col 2)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::Button6Click)},
             {"EditColour31",
              "Edit Sprite Multi Colour 2 (Col 3)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::Button7Click)},
             {"ResetColoursToDefaults1",
              "&Reset Sprite Colours To Default",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::ResetColoursToDefaults1Click)},
             separator,
             {"CharSetOffset1Byte1", "CharSet Offset -1 Byte", "CharOffsetMinus", key(Qt::Key_F11),
              Mark::None, charSet(CharSetStep::MinusOneByte)},
             {"CharSetOffset1Byte2", "CharSet Offset +1 Byte", "CharOffsetPlus", key(Qt::Key_F12), Mark::None,
              charSet(CharSetStep::PlusOneByte)},
             separator,
             {"EditCharSetBackgroundColour1",
              "Edit CharSet Background Colour",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::CBackClick)},
             {"EditCharSetMultiColour1Col11",
              "Edit CharSet Multi Colour 1 (Col 1)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::ButCol1Click)},
             {"EditCharSetColourCol21",
              "Edit CharSet Colour (Col 2)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::ButCol2Click)},
             {"EditCharSetMultiColour3Col31",
              "Edit CharSet Multi Colour 2 (Col 3)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::ButCol3Click)},
             {"ResetCharSetColoursToDefault1",
              "Rese&t CharSet Colours To Default",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::ResetCharSetColoursToDefault1Click)},
         }},
        {"Options1",
         "&Options",
         {
             {"UseC64Palette1",
              "Use &CCS64 Colour Palette",
              nullptr,
              {},
              Mark::Off,
              palette("UseC64Palette1")},
             {"UseVicPalette1",
              "Use &True VIC-II Colour Palette",
              nullptr,
              {},
              Mark::On,
              palette("UseVicPalette1")},
             {"UseWindowsStandard16bitPalette1",
              "Use &Windows Standard Colour Palette",
              nullptr,
              {},
              Mark::Off,
              palette("UseWindowsStandard16bitPalette1")},
             separator,
             {"SpriteSizeWhenSaving1",
              "Set S&ave Sprite Settings",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::SpriteSizeWhenSaving1Click)},
             // Read by every picture save when it writes a PNG.
             {"TransparentBackgroundInPng1",
              "Transparent Back&ground In PNG",
              nullptr,
              {},
              Mark::Off,
              [](bool) {}},
             separator,
             {"SetDefaultFreezeDirectory1",
              "Set &Default File Directories",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::SetDefaultFreezeDirectory1Click)},
             separator,
             {"SkipFirst1148BytesOfFile1",
              "&Skip First 1148 Bytes Of File",
              nullptr,
              {},
              Mark::On,
              [this](bool) {
                  DrawCurrentSprite();
                  DrawNextSevenSprites();
              }},
             // Takes effect at the next load; off, every file loads as a plain freeze file.
             {"DetectFileFormat1", "Detect File &Format", nullptr, {}, Mark::On, [](bool) {}},
         }},
        {"View1",
         "&View",
         {
             {"SpriteRipper1",
              "Sprite Ripper",
              nullptr,
              {},
              Mark::None,
              [this](bool) { m_pageControl->setCurrentWidget(m_spriteSheet); }},
             {"CharSetRipper1",
              "CharSet Ripper",
              nullptr,
              {},
              Mark::None,
              [this](bool) { m_pageControl->setCurrentWidget(m_charSheet); }},
             separator,
             {"CharSetPrevious0800Bytes1", "CharSet Prev&ious $0800 Bytes", "CharSetPrevious8000",
              key(Qt::Key_F3), Mark::None, charSet(CharSetStep::Previous0800)},
             {"CharSetNext0800Bytes1", "C&harSet Next $0800 Bytes", "CharSetNext8000", key(Qt::Key_F4),
              Mark::None, charSet(CharSetStep::Next0800)},
             separator,
             {"Back1000memory1", "Sprite &Previous $1000 Bytes", "SpritePrevious1000", key(Qt::Key_F5),
              Mark::None, sprite(SpriteStep::Previous1000)},
             {"PreviousSprite1", "P&revious Sprite", "PreviousSprite", key(Qt::Key_F6), Mark::None,
              sprite(SpriteStep::PreviousSprite)},
             {"NextSprite1", "N&ext Sprite", "NextSprite", key(Qt::Key_F7), Mark::None,
              sprite(SpriteStep::NextSprite)},
             {"Next1000Bytes1", "Sprite Nex&t $1000 Bytes", "SpriteNext1000", key(Qt::Key_F8), Mark::None,
              sprite(SpriteStep::Next1000)},
             separator,
             // The box's own handler runs when its state changes, as if the user had clicked it.
             {"N8x8CharSetView1", "8 x 8 CharSet View Enabled", nullptr, {}, Mark::On, viewBox(m_check8x8)},
             {"N8x16CharSetViewEnabled1",
              "8 x 16 CharSet View Enabled",
              nullptr,
              {},
              Mark::Off,
              viewBox(m_check8x16)},
             {"N16x16CharSetViewEnabled1",
              "16 x 16 CharSet View Enabled",
              nullptr,
              {},
              Mark::Off,
              viewBox(m_check16x16)},
             separator,
             // The mark and the button can disagree after a click on MCM; the mark decides here.
             {"MulticolourMode1", "Sprite &Multicolour Mode Enable", "SpriteMulticolourModeEnable",
              key(Qt::CTRL | Qt::Key_M), Mark::Off,
              [this](bool checked) {
                  m_mcm->setChecked(checked);
                  DrawCurrentSprite();
                  DrawNextSevenSprites();
              }},
             // Setting CMCM from here is not a click on it: CMCMClick does not run.
             {"CharSetMulticolourModeEnable1", "CharSet Multicolour Mode Enable",
              "CharSetMultiColourModeEnable", key(Qt::CTRL | Qt::Key_E), Mark::Off,
              [this](bool checked) {
                  m_cmcm->setChecked(checked);
                  CharRefreshClick();
              }},
             {"AlwaysOnTop1",
              "&Always On Top",
              nullptr,
              {},
              Mark::On,
              [this](bool checked) { ApplyStayOnTop(checked); }},
             separator,
             {"RefreshCharSetDisplay1", "Re&fresh CharSet Display", "RefreshCharsetDisplay",
              key(Qt::CTRL | Qt::Key_R), Mark::None, plain(&TForm1::CharRefreshClick)},
             separator,
             {"SnapshotState1", "S&napshot State", "ShowSnapshotState", key(Qt::CTRL | Qt::Key_G), Mark::None,
              plain(&TForm1::SnapshotState1Click)},
             {"MemoryOverview1", "Memory &Overview", "ShowMemoryOverview", key(Qt::CTRL | Qt::Key_L),
              Mark::None, plain(&TForm1::MemoryOverview1Click)},
         }},
        {"Help1",
         "&Help",
         {
             {"HelpFile1", "H&elp File", nullptr, {}, Mark::None, plain(&TForm1::HelpFile1Click)},
             separator,
             {"TessalumaOnTheWeb1",
              "&Tessaluma Homepage (Requires Net Access)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::TessalumaOnTheWeb1Click)},
             {"ReportABug1",
              "Report A Bug (Requires Net Access)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::ReportABug1Click)},
             {"MakeASuggestion1",
              "Make A Suggestion (Requires Net Access)",
              nullptr,
              {},
              Mark::None,
              plain(&TForm1::MakeASuggestion1Click)},
             separator,
             {"About1", "&About", nullptr, {}, Mark::None, plain(&TForm1::About1Click)},
         }},
    };

    m_mainMenu1 = new QMenu(this);
    m_mainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto* keyList = new QObject(this);
    keyList->setObjectName(QStringLiteral("ActionList1"));
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
            auto* item = new QAction(menu);
            item->setObjectName(QString::fromLatin1(row.name));
            if (row.mark != Mark::None) {
                item->setCheckable(true);
                item->setChecked(row.mark == Mark::On);
            }
            menu->addAction(item);
            const std::function<void(bool)> run = row.run;
            // Qt has already set the mark the user asked for when it reports the click.
            connect(item, &QAction::triggered, this,
                    [this, run](bool checked) { RunGuarded(m_platform, this, [&] { run(checked); }); });

            QAction* keyOwner = nullptr;
            if (row.keyName != nullptr) {
                // The key lives on an action of its own: the same key on the menu item as well would
                // make Qt fire neither. The key flips the mark as a click would.
                keyOwner = new QAction(QString::fromLatin1(row.keyName), keyList);
                keyOwner->setObjectName(QString::fromLatin1(row.keyName));
                keyOwner->setShortcut(row.key);
                keyOwner->setShortcutContext(Qt::WindowShortcut);
                connect(keyOwner, &QAction::triggered, this, [this, item, run] {
                    if (item->isCheckable())
                        item->setChecked(!item->isChecked());
                    RunGuarded(m_platform, this, [&] { run(item->isChecked()); });
                });
                // On the window itself, so the keys work whichever page is in front and with no menu open.
                addAction(keyOwner);
            }
            item->setText(main_window::MenuItemText(row.caption, keyOwner));
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
    m_alwaysOnTop1 = MenuItem("AlwaysOnTop1");
    m_transparentBackgroundInPng1 = MenuItem("TransparentBackgroundInPng1");
}

void TForm1::BuildMenuBar() {
    m_menuBar = new STMenuBar(m_controlBar1);
    if (m_menuBar->objectName().isEmpty())
        m_menuBar->setObjectName(QStringLiteral("STMenuBar1"));
    m_menuBar->setGeometry(0, 0, width(), 26);
    m_menuBar->SetErrorReport([this](const QString& text) {
        m_platform.ShowError(this, QString::fromLatin1(kApplicationTitle), text);
    });
    m_menuBar->SetMenu(m_mainMenu1);
}
