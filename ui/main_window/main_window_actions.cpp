// MainMenu1, ActionList1 and the toolbar that shows the menu.
#include "ui/main_window/tform1.h"

#include "ui/desktop/command_guard.h"
#include "ui/components/stmenubar.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace {

enum class Mark { None, Off, On };

} // namespace

void TForm1::Run(Handler handler) {
    RunGuarded(m_platform, this, [this, handler] { (this->*handler)(); });
}

void TForm1::Bind(QAction* action, Handler handler) {
    connect(action, &QAction::triggered, this, [this, action, handler] {
        // Qt flips a checkable item before it reports the trigger; the handlers decide the mark
        // themselves from the state the user saw, so the flip is undone first.
        if (action->isCheckable())
            action->setChecked(!action->isChecked());
        Run(handler);
    });
}

QAction* TForm1::MenuItem(const char* name) const {
    return m_mainMenu1->findChild<QAction*>(QString::fromLatin1(name));
}

void TForm1::BuildMainMenu() {
    struct Item {
        const char* name;
        const char* caption; // nullptr: a separator
        const char* shortcutText;
        Mark mark;
        Handler handler;
    };
    struct TopMenu {
        const char* name;
        const char* caption;
        std::initializer_list<Item> items;
    };
    const Item separator{nullptr, nullptr, nullptr, Mark::None, nullptr};

    const TopMenu menus[] = {
        {"File1",
         "&File",
         {
             {"OpenFreezeFile1", "&Open CCS64 Freeze File", "Ctrl+O", Mark::None,
              &TForm1::OpenFreezeFile1Click},
             separator,
             {"SaveSprite1", "&Save Current Sprite", nullptr, Mark::None, &TForm1::SaveSprite1Click},
             {"SaveNext7Sprites1", "Save &Next 7 Sprites", nullptr, Mark::None,
              &TForm1::SaveNext7Sprites1Click},
             {"SaveSpritesInMemoryAB1", "Save Sprites In &Memory Range", nullptr, Mark::None,
              &TForm1::SaveSpritesInMemoryAB1Click},
             {"SaveSpriteInMemoryRangeToSingleBitmap1", "Save Sprites In Memory Range To Single &Bitmap",
              nullptr, Mark::None, &TForm1::SaveSpriteInMemoryRangeToSingleBitmap1Click},
             separator,
             {"Save8x8CharSet1", "Save &8 x 8 CharSet", nullptr, Mark::None, &TForm1::Save8x8CharSet1Click},
             {"Save8x16CharSet1", "Save 8 x 16 &CharSet", nullptr, Mark::None,
              &TForm1::Save8x16CharSet1Click},
             {"Save16x16CharSet1", "Save 16 x 16 C&harSet", nullptr, Mark::None,
              &TForm1::Save16x16CharSet1Click},
             separator,
             {"ExitProgram1", "E&xit Program", nullptr, Mark::None, &TForm1::ExitProgram1Click},
         }},
        {"Edit1",
         "&Edit",
         {
             {"CopySpriteToClipboard1", "&Copy Sprite / CharSet To Clipboard", "Ctrl+C", Mark::None,
              &TForm1::CopySpriteToClipboard1Click},
             separator,
             {"SpriteOffset1Byte1", "&Sprite Offset -1 Byte", "F9", Mark::None,
              &TForm1::SpriteOffset1Byte1Click},
             {"SpriteOffset1Byte2", "Sprite &Offset +1 Byte", "F10", Mark::None,
              &TForm1::SpriteOffset1Byte2Click},
             separator,
             {"EditBackgroundColour1", "Edit Sprite Background Colour", nullptr, Mark::None,
              &TForm1::EditBackgroundColour1Click},
             {"EditColour11", "Edit Sprite Multi Colour 1 (Col 1)", nullptr, Mark::None,
              &TForm1::EditColour11Click},
             {"EditColour21", "Edit Sprite Colour (Col 2)", nullptr, Mark::None, &TForm1::EditColour21Click},
             {"EditColour31", "Edit Sprite Multi Colour 2 (Col 3)", nullptr, Mark::None,
              &TForm1::EditColour31Click},
             {"ResetColoursToDefaults1", "&Reset Sprite Colours To Default", nullptr, Mark::None,
              &TForm1::ResetColoursToDefaults1Click},
             separator,
             {"CharSetOffset1Byte1", "CharSet Offset -1 Byte", "F11", Mark::None,
              &TForm1::CharSetOffset1Byte1Click},
             {"CharSetOffset1Byte2", "CharSet Offset +1 Byte", "F12", Mark::None,
              &TForm1::CharSetOffset1Byte2Click},
             separator,
             {"EditCharSetBackgroundColour1", "Edit CharSet Background Colour", nullptr, Mark::None,
              &TForm1::EditCharSetBackgroundColour1Click},
             {"EditCharSetMultiColour1Col11", "Edit CharSet Multi Colour 1 (Col 1)", nullptr, Mark::None,
              &TForm1::EditCharSetMultiColour1Col11Click},
             {"EditCharSetColourCol21", "Edit CharSet Colour (Col 2)", nullptr, Mark::None,
              &TForm1::EditCharSetColourCol21Click},
             {"EditCharSetMultiColour3Col31", "Edit CharSet Multi Colour 2 (Col 3)", nullptr, Mark::None,
              &TForm1::EditCharSetMultiColour3Col31Click},
             {"ResetCharSetColoursToDefault1", "Rese&t CharSet Colours To Default", nullptr, Mark::None,
              &TForm1::ResetCharSetColoursToDefault1Click},
         }},
        {"Options1",
         "&Options",
         {
             {"UseC64Palette1", "Use &CCS64 Colour Palette", nullptr, Mark::Off,
              &TForm1::UseC64Palette1Click},
             {"UseVicPalette1", "Use &True VIC-II Colour Palette", nullptr, Mark::On,
              &TForm1::UseVicPalette1Click},
             {"UseWindowsStandard16bitPalette1", "Use &Windows Standard Colour Palette", nullptr, Mark::Off,
              &TForm1::UseWindowsStandard16bitPalette1Click},
             separator,
             {"SpriteSizeWhenSaving1", "Set S&ave Sprite Settings", nullptr, Mark::None,
              &TForm1::SpriteSizeWhenSaving1Click},
             separator,
             {"SetDefaultFreezeDirectory1", "Set &Default File Directories", nullptr, Mark::None,
              &TForm1::SetDefaultFreezeDirectory1Click},
             separator,
             {"SkipFirst1148BytesOfFile1", "&Skip First 1148 Bytes Of File", nullptr, Mark::On,
              &TForm1::SkipFirst1148BytesOfFile1Click},
         }},
        {"View1",
         "&View",
         {
             {"SpriteRipper1", "Sprite Ripper", nullptr, Mark::None, &TForm1::SpriteRipper1Click},
             {"CharSetRipper1", "CharSet Ripper", nullptr, Mark::None, &TForm1::CharSetRipper1Click},
             separator,
             {"CharSetPrevious0800Bytes1", "CharSet Prev&ious $0800 Bytes", "F3", Mark::None,
              &TForm1::CharSetPrevious0800Bytes1Click},
             {"CharSetNext0800Bytes1", "C&harSet Next $0800 Bytes", "F4", Mark::None,
              &TForm1::CharSetNext0800Bytes1Click},
             separator,
             {"Back1000memory1", "Sprite &Previous $1000 Bytes", "F5", Mark::None,
              &TForm1::Back1000memory1Click},
             {"PreviousSprite1", "P&revious Sprite", "F6", Mark::None, &TForm1::PreviousSprite1Click},
             {"NextSprite1", "N&ext Sprite", "F7", Mark::None, &TForm1::NextSprite1Click},
             {"Next1000Bytes1", "Sprite Nex&t $1000 Bytes", "F8", Mark::None, &TForm1::Next1000Bytes1Click},
             separator,
             {"N8x8CharSetView1", "8 x 8 CharSet View Enabled", nullptr, Mark::On,
              &TForm1::N8x8CharSetView1Click},
             {"N8x16CharSetViewEnabled1", "8 x 16 CharSet View Enabled", nullptr, Mark::Off,
              &TForm1::N8x16CharSetViewEnabled1Click},
             {"N16x16CharSetViewEnabled1", "16 x 16 CharSet View Enabled", nullptr, Mark::Off,
              &TForm1::N16x16CharSetViewEnabled1Click},
             separator,
             {"MulticolourMode1", "Sprite &Multicolour Mode Enable", "Ctrl+M", Mark::Off,
              &TForm1::MulticolourMode1Click},
             {"CharSetMulticolourModeEnable1", "CharSet Multicolour Mode Enable", "Ctrl+E", Mark::Off,
              &TForm1::CharSetMulticolourModeEnable1Click},
             {"AlwaysOnTop1", "&Always On Top", nullptr, Mark::On, &TForm1::AlwaysOnTop1Click},
             separator,
             {"RefreshCharSetDisplay1", "Re&fresh CharSet Display", "Ctrl+R", Mark::None,
              &TForm1::RefreshCharSetDisplay1Click},
         }},
        {"Help1",
         "&Help",
         {
             {"HelpFile1", "H&elp File", nullptr, Mark::None, &TForm1::HelpFile1Click},
             separator,
             {"TessalumaOnTheWeb1", "&Tessaluma Homepage (Requires Net Access)", nullptr, Mark::None,
              &TForm1::TessalumaOnTheWeb1Click},
             {"ReportABug1", "Report A Bug (Requires Net Access)", nullptr, Mark::None,
              &TForm1::ReportABug1Click},
             {"MakeASuggestion1", "Make A Suggestion (Requires Net Access)", nullptr, Mark::None,
              &TForm1::MakeASuggestion1Click},
             separator,
             {"About1", "&About", nullptr, Mark::None, &TForm1::About1Click},
         }},
    };

    m_mainMenu1 = new QMenu(this);
    m_mainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    for (const TopMenu& top : menus) {
        auto* menu = new QMenu(QString::fromLatin1(top.caption), m_mainMenu1);
        menu->setObjectName(QString::fromLatin1(top.name) + QStringLiteral("Menu"));
        QAction* title = m_mainMenu1->addMenu(menu);
        title->setObjectName(QString::fromLatin1(top.name));
        for (const Item& item : top.items) {
            if (item.caption == nullptr) {
                menu->addSeparator();
                continue;
            }
            // The item shows its shortcut after a tab but does not own it: the same key on an
            // action of ActionList1 would make Qt fire neither.
            QString text = QString::fromLatin1(item.caption);
            if (item.shortcutText != nullptr)
                text += QLatin1Char('\t') + QString::fromLatin1(item.shortcutText);
            auto* action = new QAction(text, menu);
            action->setObjectName(QString::fromLatin1(item.name));
            if (item.mark != Mark::None) {
                action->setCheckable(true);
                action->setChecked(item.mark == Mark::On);
            }
            menu->addAction(action);
            Bind(action, item.handler);
        }
    }

    m_useC64Palette1 = MenuItem("UseC64Palette1");
    m_useVicPalette1 = MenuItem("UseVicPalette1");
    m_useWindowsStandard16bitPalette1 = MenuItem("UseWindowsStandard16bitPalette1");
    m_skipFirst1148BytesOfFile1 = MenuItem("SkipFirst1148BytesOfFile1");
    m_n8x8CharSetView1 = MenuItem("N8x8CharSetView1");
    m_n8x16CharSetViewEnabled1 = MenuItem("N8x16CharSetViewEnabled1");
    m_n16x16CharSetViewEnabled1 = MenuItem("N16x16CharSetViewEnabled1");
    m_multicolourMode1 = MenuItem("MulticolourMode1");
    m_charSetMulticolourModeEnable1 = MenuItem("CharSetMulticolourModeEnable1");
    m_alwaysOnTop1 = MenuItem("AlwaysOnTop1");
}

void TForm1::BuildActionList() {
    struct Entry {
        const char* name;
        QKeySequence shortcut;
        Handler handler;
    };
    const Entry entries[] = {
        {"NextSprite", QKeySequence(Qt::Key_F7), &TForm1::NextSprite1Click},
        {"PreviousSprite", QKeySequence(Qt::Key_F6), &TForm1::PreviousSprite1Click},
        {"OpenFile", QKeySequence(Qt::CTRL | Qt::Key_O), &TForm1::OpenFreezeFile1Click},
        {"CopySprite", QKeySequence(Qt::CTRL | Qt::Key_C), &TForm1::CopySpriteToClipboard1Click},
        {"SpriteOffsetMinus", QKeySequence(Qt::Key_F9), &TForm1::SpriteOffset1Byte1Click},
        {"SpriteOffsetPlus", QKeySequence(Qt::Key_F10), &TForm1::SpriteOffset1Byte2Click},
        {"CharOffsetMinus", QKeySequence(Qt::Key_F11), &TForm1::CharSetOffset1Byte1Click},
        {"CharOffsetPlus", QKeySequence(Qt::Key_F12), &TForm1::CharSetOffset1Byte2Click},
        {"CharSetPrevious8000", QKeySequence(Qt::Key_F3), &TForm1::CharSetPrevious0800Bytes1Click},
        {"CharSetNext8000", QKeySequence(Qt::Key_F4), &TForm1::CharSetNext0800Bytes1Click},
        {"SpritePrevious1000", QKeySequence(Qt::Key_F5), &TForm1::Back1000memory1Click},
        {"SpriteNext1000", QKeySequence(Qt::Key_F8), &TForm1::Next1000Bytes1Click},
        {"SpriteMulticolourModeEnable", QKeySequence(Qt::CTRL | Qt::Key_M), &TForm1::MulticolourMode1Click},
        {"CharSetMultiColourModeEnable", QKeySequence(Qt::CTRL | Qt::Key_E),
         &TForm1::CharSetMulticolourModeEnable1Click},
        {"RefreshCharsetDisplay", QKeySequence(Qt::CTRL | Qt::Key_R), &TForm1::RefreshCharSetDisplay1Click},
    };

    auto* list = new QObject(this);
    list->setObjectName(QStringLiteral("ActionList1"));
    for (const Entry& entry : entries) {
        auto* action = new QAction(QString::fromLatin1(entry.name), list);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setShortcut(entry.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        Bind(action, entry.handler);
        // On the window itself, so the keys work whichever page is in front and with no menu open.
        addAction(action);
    }
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
