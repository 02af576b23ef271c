// The main window as a whole: start-up state, layout, menu, toolbar, shortcuts, window commands.
#include "helpers/form1_driver.h"
#include "ui/assets/fonts.h"
#include "ui/components/stmenubar.h"
#include "ui/desktop/command_guard.h"
#include "ui/desktop/raster_image.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <map>
#include <memory>

using mosaiqua::ColourSlots;

namespace {

struct MenuRow {
    const char* name; // nullptr: a separator
    const char* text;
    bool checkable;
    bool checked;
};

const MenuRow kSeparator{nullptr, nullptr, false, false};

struct TopMenuRows {
    const char* caption;
    std::vector<MenuRow> rows;
};

std::vector<TopMenuRows> ExpectedMenu() {
    return {
        {"&File",
         {
             {"OpenFreezeFile1", "&Open CCS64 Freeze File", false, false},
             kSeparator,
             {"SaveSprite1", "&Save Current Sprite", false, false},
             {"SaveNext7Sprites1", "Save &Next 7 Sprites", false, false},
             {"SaveSpriteAnimation1", "Save Sprite &Animation", false, false},
             {"SaveSpritesInMemoryAB1", "Save Sprites In &Memory Range", false, false},
             {"SaveSpriteInMemoryRangeToSingleBitmap1", "Save Sprites In Memory Range To Single &Bitmap",
              false, false},
             kSeparator,
             {"Save8x8CharSet1", "Save &8 x 8 CharSet", false, false},
             {"Save8x16CharSet1", "Save 8 x 16 &CharSet", false, false},
             {"Save16x16CharSet1", "Save 16 x 16 C&harSet", false, false},
             {"SaveRawData1", "Save &Raw Data", false, false},
             kSeparator,
             {"ExitProgram1", "E&xit Program", false, false},
         }},
        {"&Edit",
         {
             {"CopySpriteToClipboard1", "&Copy Sprite / CharSet To Clipboard", false, false},
             kSeparator,
             {"SpriteOffset1Byte1", "&Sprite Offset -1 Byte", false, false},
             {"SpriteOffset1Byte2", "Sprite &Offset +1 Byte", false, false},
             kSeparator,
             {"EditBackgroundColour1", "Edit Sprite Background Colour", false, false},
             {"EditColour11", "Edit Sprite Multi Colour 1 (Col 1)", false, false},
             {"EditColour21", "Edit Sprite Colour (Col 2)", false, false},
             {"EditColour31", "Edit Sprite Multi Colour 2 (Col 3)", false, false},
             {"ResetColoursToDefaults1", "&Reset Sprite Colours To Default", false, false},
             kSeparator,
             {"CharSetOffset1Byte1", "CharSet Offset -1 Byte", false, false},
             {"CharSetOffset1Byte2", "CharSet Offset +1 Byte", false, false},
             kSeparator,
             {"EditCharSetBackgroundColour1", "Edit CharSet Background Colour", false, false},
             {"EditCharSetMultiColour1Col11", "Edit CharSet Multi Colour 1 (Col 1)", false, false},
             {"EditCharSetColourCol21", "Edit CharSet Colour (Col 2)", false, false},
             {"EditCharSetMultiColour3Col31", "Edit CharSet Multi Colour 2 (Col 3)", false, false},
             {"ResetCharSetColoursToDefault1", "Rese&t CharSet Colours To Default", false, false},
         }},
        {"&Options",
         {
             {"UseC64Palette1", "Use &CCS64 Colour Palette", true, false},
             {"UseVicPalette1", "Use &True VIC-II Colour Palette", true, true},
             {"UseWindowsStandard16bitPalette1", "Use &Windows Standard Colour Palette", true, false},
             kSeparator,
             {"SpriteSizeWhenSaving1", "Set S&ave Sprite Settings", false, false},
             {"TransparentBackgroundInPng1", "Transparent Back&ground In PNG", true, false},
             kSeparator,
             {"SetDefaultFreezeDirectory1", "Set &Default File Directories", false, false},
             kSeparator,
             {"SkipFirst1148BytesOfFile1", "&Skip First 1148 Bytes Of File", true, true},
             {"DetectFileFormat1", "Detect File &Format", true, true},
         }},
        {"&View",
         {
             {"SpriteRipper1", "Sprite Ripper", false, false},
             {"CharSetRipper1", "CharSet Ripper", false, false},
             kSeparator,
             {"CharSetPrevious0800Bytes1", "CharSet Prev&ious $0800 Bytes", false, false},
             {"CharSetNext0800Bytes1", "C&harSet Next $0800 Bytes", false, false},
             kSeparator,
             {"Back1000memory1", "Sprite &Previous $1000 Bytes", false, false},
             {"PreviousSprite1", "P&revious Sprite", false, false},
             {"NextSprite1", "N&ext Sprite", false, false},
             {"Next1000Bytes1", "Sprite Nex&t $1000 Bytes", false, false},
             kSeparator,
             {"N8x8CharSetView1", "8 x 8 CharSet View Enabled", true, true},
             {"N8x16CharSetViewEnabled1", "8 x 16 CharSet View Enabled", true, false},
             {"N16x16CharSetViewEnabled1", "16 x 16 CharSet View Enabled", true, false},
             kSeparator,
             {"MulticolourMode1", "Sprite &Multicolour Mode Enable", true, false},
             {"CharSetMulticolourModeEnable1", "CharSet Multicolour Mode Enable", true, false},
             {"AlwaysOnTop1", "&Always On Top", true, true},
             kSeparator,
             {"RefreshCharSetDisplay1", "Re&fresh CharSet Display", false, false},
             kSeparator,
             {"SnapshotState1", "S&napshot State", false, false},
             {"MemoryOverview1", "Memory &Overview", false, false},
         }},
        {"&Help",
         {
             {"HelpFile1", "H&elp File", false, false},
             kSeparator,
             {"TessalumaOnTheWeb1", "&Tessaluma Homepage (Requires Net Access)", false, false},
             {"ReportABug1", "Report A Bug (Requires Net Access)", false, false},
             {"MakeASuggestion1", "Make A Suggestion (Requires Net Access)", false, false},
             kSeparator,
             {"About1", "&About", false, false},
         }},
    };
}

// Each key once: the action of ActionList1 that owns it and the menu item that shows it after a tab.
struct ShortcutRow {
    const char* action;
    QKeySequence keys;
    const char* menuItem;
};

const ShortcutRow kShortcuts[] = {
    {"NextSprite", QKeySequence(Qt::Key_F7), "NextSprite1"},
    {"PreviousSprite", QKeySequence(Qt::Key_F6), "PreviousSprite1"},
    {"OpenFile", QKeySequence(Qt::CTRL | Qt::Key_O), "OpenFreezeFile1"},
    {"CopySprite", QKeySequence(Qt::CTRL | Qt::Key_C), "CopySpriteToClipboard1"},
    {"SpriteOffsetMinus", QKeySequence(Qt::Key_F9), "SpriteOffset1Byte1"},
    {"SpriteOffsetPlus", QKeySequence(Qt::Key_F10), "SpriteOffset1Byte2"},
    {"CharOffsetMinus", QKeySequence(Qt::Key_F11), "CharSetOffset1Byte1"},
    {"CharOffsetPlus", QKeySequence(Qt::Key_F12), "CharSetOffset1Byte2"},
    {"CharSetPrevious8000", QKeySequence(Qt::Key_F3), "CharSetPrevious0800Bytes1"},
    {"CharSetNext8000", QKeySequence(Qt::Key_F4), "CharSetNext0800Bytes1"},
    {"SpritePrevious1000", QKeySequence(Qt::Key_F5), "Back1000memory1"},
    {"SpriteNext1000", QKeySequence(Qt::Key_F8), "Next1000Bytes1"},
    {"SpriteMulticolourModeEnable", QKeySequence(Qt::CTRL | Qt::Key_M), "MulticolourMode1"},
    {"CharSetMultiColourModeEnable", QKeySequence(Qt::CTRL | Qt::Key_E), "CharSetMulticolourModeEnable1"},
    {"RefreshCharsetDisplay", QKeySequence(Qt::CTRL | Qt::Key_R), "RefreshCharSetDisplay1"},
    {"ShowSnapshotState", QKeySequence(Qt::CTRL | Qt::Key_G), "SnapshotState1"},
    {"ShowMemoryOverview", QKeySequence(Qt::CTRL | Qt::Key_L), "MemoryOverview1"},
};

// The text a menu item shows: its caption, then the key it answers to, if any, as the user reads it.
QString ExpectedItemText(const char* name, const char* caption) {
    for (const ShortcutRow& row : kShortcuts)
        if (qstrcmp(row.menuItem, name) == 0)
            return QString::fromLatin1(caption) + QLatin1Char('\t') +
                   row.keys.toString(QKeySequence::NativeText);
    return QString::fromLatin1(caption);
}

// name, parent, left, top, width, height, caption, hint
struct PlaceRow {
    const char* name;
    const char* parent;
    QRect place;
    const char* caption;
    const char* hint;
};

constexpr const char* kMulticolourHint = "Click on / off to set sprite multicolour mode on / off";
constexpr const char* kBackgroundHint = "Click to set sprite background colour";
constexpr const char* kColour1Hint = "Click to set sprite multicolour 1 colour";
constexpr const char* kColour2Hint = "Click to choose sprite colour";
constexpr const char* kColour3Hint = "Click to set sprite multicolour 2 colour";

const PlaceRow kPlaces[] = {
    {"ControlBar1", "Form1", {0, 0, 624, 26}, nullptr, nullptr},
    {"Panel10", "Form1", {2, 27, 621, 500}, nullptr, nullptr},
    {"PageControl", "Form1", {4, 28, 617, 497}, nullptr, nullptr},
    {"StaticText1", "Form1", {556, 32, 63, 13}, "Version 1.05", nullptr},
    {"StatusBar1", "Form1", {0, 528, 624, 21}, nullptr, nullptr},
    {"ProgressBar1", "Form1", {393, 534, 226, 10}, nullptr, nullptr},
    {"GroupBox4", "SpriteSheet", {8, 8, 593, 57}, " Controls ", nullptr},
    {"GroupBox2", "SpriteSheet", {8, 80, 241, 89}, " Current Sprite ", nullptr},
    {"GroupBox3", "SpriteSheet", {264, 80, 337, 89}, " Next 7 sprites (actual size) ", nullptr},
    {"GroupBox1", "SpriteSheet", {8, 184, 593, 273}, " Current Sprite Preview (enlarged x10) ", nullptr},
    {"MCM", "GroupBox4", {8, 16, 33, 17}, "MCM", kMulticolourHint},
    {"Back", "GroupBox4", {40, 16, 17, 17}, nullptr, kBackgroundHint},
    {"Button5", "GroupBox4", {8, 32, 33, 17}, "Col 1", kColour1Hint},
    {"Col1", "GroupBox4", {40, 32, 17, 17}, nullptr, nullptr},
    {"Button6", "GroupBox4", {72, 16, 33, 17}, "Col 2", kColour2Hint},
    {"Col2", "GroupBox4", {104, 16, 17, 17}, nullptr, nullptr},
    {"Button7", "GroupBox4", {72, 32, 33, 17}, "Col 3", kColour3Hint},
    {"Col3", "GroupBox4", {104, 32, 17, 17}, nullptr, nullptr},
    {"Button10", "GroupBox4", {144, 16, 25, 33}, "|<", "Back To Beginning Of Memory"},
    {"Button4", "GroupBox4", {184, 16, 25, 33}, "<<", "Back $1000 bytes"},
    {"Button2", "GroupBox4", {224, 16, 33, 33}, "<", "Previous Sprite"},
    {"Button8", "GroupBox4", {272, 16, 17, 17}, "-", "Offset sprite memory by -1 byte"},
    {"Button9", "GroupBox4", {288, 32, 17, 17}, "+", "Offset sprite memory by +1 byte"},
    {"Button1", "GroupBox4", {320, 16, 33, 33}, ">", "Next Sprite"},
    {"Button3", "GroupBox4", {368, 16, 25, 33}, ">>", "Forward $1000 bytes"},
    {"Button11", "GroupBox4", {408, 16, 25, 33}, ">|", "Forward To End Of Memory"},
    {"Image1", "GroupBox4", {272, 32, 17, 17}, nullptr, nullptr},
    {"Image2", "GroupBox4", {288, 16, 17, 17}, nullptr, nullptr},
    {"Label1", "GroupBox2", {96, 24, 49, 17}, "$0000", nullptr},
    {"Label2", "GroupBox3", {110, 24, 49, 17}, "$0040", nullptr},
    {"Label3", "GroupBox3", {177, 24, 49, 17}, "$01C0", nullptr},
    {"SpriteActual", "SpriteActualPanel", {2, 2, 24, 21}, nullptr, nullptr},
    {"ScanImage", "ScanImagePanel", {2, 2, 168, 21}, nullptr, nullptr},
    {"SpriteBig", "SpriteBigPanel", {2, 2, 240, 210}, nullptr, nullptr},
    {"SpriteActualPanel", "GroupBox2", {104, 48, 28, 25}, nullptr, nullptr},
    {"ScanImagePanel", "GroupBox3", {80, 48, 172, 25}, nullptr, nullptr},
    {"SpriteBigPanel", "GroupBox1", {171, 32, 244, 214}, nullptr, nullptr},
    {"GroupBox5", "CharSheet", {8, 8, 593, 57}, " Controls ", nullptr},
    {"GroupBox6", "CharSheet", {8, 80, 593, 377}, " Current CharSet (Various Views) ", nullptr},
    {"CMCM", "GroupBox5", {8, 16, 33, 17}, "MCM", kMulticolourHint},
    {"CBack", "GroupBox5", {40, 16, 17, 17}, nullptr, kBackgroundHint},
    {"ButCol1", "GroupBox5", {8, 32, 33, 17}, "Col 1", kColour1Hint},
    {"CCol1", "GroupBox5", {40, 32, 17, 17}, nullptr, nullptr},
    {"ButCol2", "GroupBox5", {72, 16, 33, 17}, "Col 2", kColour2Hint},
    {"CCol2", "GroupBox5", {104, 16, 17, 17}, nullptr, nullptr},
    {"ButCol3", "GroupBox5", {72, 32, 33, 17}, "Col 3", kColour3Hint},
    {"CCol3", "GroupBox5", {104, 32, 17, 17}, nullptr, nullptr},
    {"CSL1", "GroupBox5", {152, 16, 33, 33}, "<", "Back $0800 Bytes"},
    {"CSMinus", "GroupBox5", {200, 16, 17, 17}, "-", "Offset sprite memory by -1 byte"},
    {"CSPlus", "GroupBox5", {216, 32, 17, 17}, "+", "Offset sprite memory by +1 byte"},
    {"CSR1", "GroupBox5", {248, 16, 33, 33}, ">", "Forward $0800 Bytes"},
    {"CharRefresh", "GroupBox5", {296, 16, 65, 33}, "&Refresh", ""},
    {"Image3", "GroupBox5", {216, 16, 17, 17}, nullptr, nullptr},
    {"Image4", "GroupBox5", {200, 32, 17, 17}, nullptr, nullptr},
    {"Panel9", "GroupBox6", {8, 24, 305, 225}, nullptr, nullptr},
    {"Check8x8", "Panel9", {8, 8, 129, 17}, "8 x 8 View Enabled", nullptr},
    {"CS8x8Label", "Panel9", {248, 8, 49, 17}, "$0000", nullptr},
    {"Panel4", "Panel9", {24, 80, 249, 81}, nullptr, nullptr},
    {"CharSetImage", "Panel4", {2, 2, 240, 72}, nullptr, nullptr},
    {"Panel8", "GroupBox6", {320, 24, 265, 225}, nullptr, nullptr},
    {"Check8x16", "Panel8", {8, 8, 129, 17}, "8 x 16 View Enabled", nullptr},
    {"CS8x16Label", "Panel8", {208, 8, 49, 17}, "$0000", nullptr},
    {"Panel7", "Panel8", {8, 48, 249, 153}, nullptr, nullptr},
    {"CharSetImage8x16", "Panel7", {2, 2, 240, 144}, nullptr, nullptr},
    {"Panel12", "GroupBox6", {8, 256, 577, 105}, nullptr, nullptr},
    {"Check16x16", "Panel12", {8, 8, 129, 17}, "16 x 16 View Enabled", nullptr},
    {"CS16x16Label", "Panel12", {520, 8, 49, 17}, "$0000", nullptr},
    {"Panel6", "Panel12", {44, 32, 489, 56}, nullptr, nullptr},
    {"CharSetImage16x16", "Panel6", {2, 2, 480, 48}, nullptr, nullptr},
};

QString CaptionOf(const QWidget* widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    return QString();
}

// The spies on every menu item: a shortcut must reach its command through ActionList1 only.
int MenuItemTriggers(const std::vector<std::unique_ptr<QSignalSpy>>& spies) {
    int total = 0;
    for (const auto& spy : spies)
        total += int(spy->count());
    return total;
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Lets the window paint what is pending, then forgets the paints counted so far.
void SettlePaints(std::initializer_list<PaintCounter*> counters) {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    for (PaintCounter* counter : counters)
        counter->count = 0;
}

} // namespace

class TestTForm1 final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startUpState();
    void windowIsFixedAndOnTop();
    void controlsArePlacedAndLabelled();
    void menuHasEveryItem();
    void toolbarShowsTheMenu();
    void menuItemRunsFromToolbarPopup();
    void actionListCarriesTheShortcuts();
    void eachShortcutFiresOnce_data();
    void eachShortcutFiresOnce();
    void shortcutsWorkWithToolbarHidden();
    void pageCommandsSwitchPages();
    void imagesRepaintWhenTheirPicturesChange();
    void alwaysOnTopMovesBothWindows();
    void exitClosesTheWindow();
    void cancelledDialogsChangeNothing();
    void rasterToImageKeepsRedAndBlue();
    void errorFunnelShowsEveryFailure();
};

void TestTForm1::initTestCase() {
    InstallApplicationFonts();
    QCOMPARE(QApplication::font().pixelSize(), 11);
    const QFont labelFont = AddressLabelFont();
    QVERIFY(labelFont.bold());
    QCOMPARE(labelFont.pixelSize(), 13);
    QCOMPARE(labelFont.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
}

void TestTForm1::startUpState() {
    Form1Fixture f;
    QVERIFY(f.Show());
    const TForm1& w = f.form;

    QCOMPARE(SpriteLabels(w), (QStringList{"$0000", "$0040", "$01C0"}));
    for (const char* name : {"CS8x8Label", "CS8x16Label", "CS16x16Label"})
        QCOMPARE(Child<QLabel>(w, name)->text(), QString("$0000"));
    QCOMPARE(w.SpriteAddress(), 0);
    QCOMPARE(w.CharSetAddress(), 0);
    QCOMPARE(w.FreezeDirectory(), QString("C:\\My Emulators\\CCS64"));
    QCOMPARE(w.BitmapDirectory(), QString("C:\\My Documents"));

    // The sprite reset ran once while the window was built, and it also set two charset slots.
    const ColourSlots startup{0x000000, 0x444444, 0x6C6C6C, 0xFFFFFF};
    QCOMPARE(w.SpriteColours(), startup);
    QCOMPARE(w.CharSetColours(), startup);
    QCOMPARE(w.CurrentPaletteKind(), mosaiqua::PaletteKind::pkTrueVic);
    QVERIFY(!w.SpriteMulticolour());
    QVERIFY(!w.CharSetMulticolour());

    // Nothing loaded: every drawn view is background, the two never-enabled views are black.
    QVERIFY(AllPixels(w.SpriteViews().SpriteActual, startup.background));
    QVERIFY(AllPixels(w.SpriteViews().SpriteBig, startup.background));
    QVERIFY(AllPixels(w.SpriteViews().ScanImage, startup.background));
    QVERIFY(AllPixels(w.CharSetViews().CharSetImage, startup.background));
    QVERIFY(AllPixels(w.CharSetViews().CharSetImage8x16, 0x000000));
    QVERIFY(AllPixels(w.CharSetViews().CharSetImage16x16, 0x000000));

    QVERIFY(Child<QAbstractButton>(w, "Check8x8")->isChecked());
    QVERIFY(!Child<QAbstractButton>(w, "Check8x16")->isChecked());
    QVERIFY(!Child<QAbstractButton>(w, "Check16x16")->isChecked());
    QCOMPARE(Child<QTabWidget>(w, "PageControl")->currentWidget(), Child<QWidget>(w, "SpriteSheet"));

    // The start-up refresh drew the 8 x 8 view without any status text.
    QCOMPARE(w.StatusText(), QString());
    QCOMPARE(Child<QLabel>(w, "StatusPanel1")->text(), QString());
    auto* progress = Child<QProgressBar>(w, "ProgressBar1");
    QCOMPARE(progress->value(), 0);
    QCOMPARE(progress->maximum(), 30 * 9 * 8);
    QVERIFY(f.platform.errors.empty());
}

void TestTForm1::windowIsFixedAndOnTop() {
    Form1Fixture f;
    QVERIFY(f.Show());
    QCOMPARE(f.form.windowTitle(), QString("Mosaiqua"));
    QCOMPARE(f.form.size(), QSize(624, 549));
    QCOMPARE(f.form.minimumSize(), QSize(624, 549));
    QCOMPARE(f.form.maximumSize(), QSize(624, 549));
    QVERIFY(f.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!f.form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(Action(f.form, "AlwaysOnTop1")->isChecked());
}

void TestTForm1::controlsArePlacedAndLabelled() {
    Form1Fixture f;
    QVERIFY(f.Show());
    for (const PlaceRow& row : kPlaces) {
        const QString name = QString::fromLatin1(row.name);
        auto* widget = Child<QWidget>(f.form, name);
        QVERIFY2(widget->parentWidget() != nullptr, row.name);
        QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        QCOMPARE(widget->geometry(), row.place);
        if (row.caption != nullptr)
            QCOMPARE(CaptionOf(widget), QString::fromLatin1(row.caption));
        if (row.hint != nullptr)
            QCOMPARE(widget->toolTip(), QString::fromLatin1(row.hint));
    }

    for (const char* name : {"Label1", "Label2", "Label3", "CS8x8Label", "CS8x16Label", "CS16x16Label"}) {
        const QFont font = Child<QLabel>(f.form, name)->font();
        QVERIFY2(font.bold() && font.pixelSize() == 13, name);
    }
    for (const char* name : {"Button10", "Button4", "Button3", "Button11"})
        QVERIFY2(Child<QWidget>(f.form, name)->font().bold(), name);
    auto* pages = Child<QTabWidget>(f.form, "PageControl");
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->tabText(0), QString("Sprite Ripper"));
    QCOMPARE(pages->tabText(1), QString("CharSet Ripper"));
    QCOMPARE(pages->widget(0)->objectName(), QString("SpriteSheet"));
    QCOMPARE(pages->widget(1)->objectName(), QString("CharSheet"));
    QCOMPARE(Child<QLabel>(f.form, "StatusPanel0")->width(), 386);
    QCOMPARE(Child<QLabel>(f.form, "StatusPanel1")->width(), 50);
    QVERIFY(Child<QToolButton>(f.form, "MCM")->isCheckable());
    QVERIFY(Child<QToolButton>(f.form, "CMCM")->isCheckable());
}

void TestTForm1::menuHasEveryItem() {
    Form1Fixture f;
    QMenu* mainMenu = f.form.MainMenu();
    QCOMPARE(mainMenu->objectName(), QString("MainMenu1"));
    const std::vector<TopMenuRows> expected = ExpectedMenu();
    const QList<QAction*> tops = mainMenu->actions();
    QCOMPARE(tops.size(), qsizetype(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        QCOMPARE(tops[int(m)]->text(), QString::fromLatin1(expected[m].caption));
        QMenu* sub = tops[int(m)]->menu();
        QVERIFY(sub != nullptr);
        const QList<QAction*> actual = sub->actions();
        QCOMPARE(actual.size(), qsizetype(expected[m].rows.size()));
        for (int i = 0; i < actual.size(); ++i) {
            const MenuRow& row = expected[m].rows[std::size_t(i)];
            QAction* action = actual[i];
            if (row.name == nullptr) {
                QVERIFY2(action->isSeparator(), qPrintable(QString("separator %1 of %2").arg(i).arg(m)));
                continue;
            }
            QCOMPARE(action->objectName(), QString::fromLatin1(row.name));
            QCOMPARE(action->text(), ExpectedItemText(row.name, row.text));
            QCOMPARE(action->isCheckable(), row.checkable);
            QCOMPARE(action->isChecked(), row.checked);
            // The shortcut text is shown, but the key belongs to ActionList1.
            QVERIFY2(action->shortcut().isEmpty(), row.name);
            QVERIFY(action->isEnabled() && action->isVisible());
        }
    }
}

void TestTForm1::toolbarShowsTheMenu() {
    Form1Fixture f;
    QVERIFY(f.Show());
    auto* bar = Child<STMenuBar>(f.form, "STMenuBar1");
    QCOMPARE(bar->parentWidget()->objectName(), QString("ControlBar1"));
    QCOMPARE(bar->Menu(), f.form.MainMenu());
    QCOMPARE(bar->width(), 624);
    QVERIFY(bar->isVisible());
    const QStringList captions{"&File", "&Edit", "&Options", "&View", "&Help"};
    QCOMPARE(bar->ButtonCount(), int(captions.size()));
    const QList<QAction*> tops = f.form.MainMenu()->actions();
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        QToolButton* button = bar->Button(i);
        QCOMPARE(button->text(), captions[i]);
        QCOMPARE(button->menu(), tops[i]->menu());
        QVERIFY(button->isVisible());
    }
    // The menu is never a native menu bar of the window.
    QVERIFY(f.form.findChildren<QMenuBar*>().isEmpty());
}

void TestTForm1::menuItemRunsFromToolbarPopup() {
    Form1Fixture f;
    QVERIFY(f.Show());
    auto* bar = Child<STMenuBar>(f.form, "STMenuBar1");
    QMenu* view = bar->Button(3)->menu();
    QVERIFY(view != nullptr);
    view->popup(bar->Button(3)->mapToGlobal(QPoint(0, bar->Button(3)->height())));
    QVERIFY(QTest::qWaitForWindowExposed(view));
    // "N&ext Sprite": its letter chooses it.
    QTest::keyClick(view, Qt::Key_E);
    QCOMPARE(f.form.SpriteAddress(), 0x40);
    QVERIFY(!view->isVisible());

    QMenu* options = bar->Button(2)->menu();
    options->popup(bar->Button(2)->mapToGlobal(QPoint(0, bar->Button(2)->height())));
    QVERIFY(QTest::qWaitForWindowExposed(options));
    QTest::keyClick(options, Qt::Key_C); // "Use &CCS64 Colour Palette"
    QCOMPARE(f.form.CurrentPaletteKind(), mosaiqua::PaletteKind::pkCcs64);
}

void TestTForm1::actionListCarriesTheShortcuts() {
    Form1Fixture f;
    auto* list = Child<QObject>(f.form, "ActionList1");
    const QList<QAction*> actions = list->findChildren<QAction*>();
    QCOMPARE(actions.size(), qsizetype(std::size(kShortcuts)));
    for (const ShortcutRow& row : kShortcuts) {
        QAction* action = Child<QAction>(*list, row.action);
        QCOMPARE(action->text(), QString::fromLatin1(row.action));
        QCOMPARE(action->shortcut(), row.keys);
        QVERIFY2(f.form.actions().contains(action), row.action);
    }
}

void TestTForm1::eachShortcutFiresOnce_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("page");
    for (const char* page : {"SpriteSheet", "CharSheet"})
        for (const ShortcutRow& row : kShortcuts)
            QTest::addRow("%s on %s", row.action, page)
                << QString::fromLatin1(row.action) << row.keys << QString::fromLatin1(page);
}

void TestTForm1::eachShortcutFiresOnce() {
    QFETCH(QString, action);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, page);
    Form1Fixture f;
    QVERIFY(f.Show());
    ShowPage(f.form, page);
    // Start away from the bounds so that every step can move.
    WalkSpriteTo(f.form, 0x2000);
    WalkCharSetTo(f.form, 0x1000);

    std::vector<std::unique_ptr<QSignalSpy>> menuSpies;
    for (QAction* item : f.form.MainMenu()->findChildren<QAction*>())
        if (!item->isSeparator() && item->menu() == nullptr)
            menuSpies.push_back(std::make_unique<QSignalSpy>(item, &QAction::triggered));
    QCOMPARE(menuSpies.size(), std::size_t(56));
    QSignalSpy fired(Action(f.form, action), &QAction::triggered);
    QTest::keySequence(&f.form, keys);
    QCOMPARE(fired.count(), 1);
    QCOMPARE(MenuItemTriggers(menuSpies), 0);

    // The command ran exactly once.
    const std::map<QString, std::pair<int, int>> moves{
        {"NextSprite", {0x2040, 0x1000}},          {"PreviousSprite", {0x1FC0, 0x1000}},
        {"SpriteOffsetMinus", {0x1FFF, 0x1000}},   {"SpriteOffsetPlus", {0x2001, 0x1000}},
        {"CharOffsetMinus", {0x2000, 0x0FFF}},     {"CharOffsetPlus", {0x2000, 0x1001}},
        {"CharSetPrevious8000", {0x2000, 0x0800}}, {"CharSetNext8000", {0x2000, 0x1800}},
        {"SpritePrevious1000", {0x1000, 0x1000}},  {"SpriteNext1000", {0x3000, 0x1000}},
    };
    if (auto move = moves.find(action); move != moves.end()) {
        QCOMPARE(f.form.SpriteAddress(), move->second.first);
        QCOMPARE(f.form.CharSetAddress(), move->second.second);
    } else if (action == "OpenFile") {
        QCOMPARE(f.platform.openStartFolders.size(), 1);
    } else if (action == "SpriteMulticolourModeEnable") {
        QVERIFY(f.form.SpriteMulticolour());
    } else if (action == "CharSetMultiColourModeEnable") {
        QVERIFY(f.form.CharSetMulticolour());
    } else if (action == "RefreshCharsetDisplay") {
        QCOMPARE(f.form.StatusText(), QString("OK.."));
    } else if (action == "ShowSnapshotState") {
        QVERIFY(Child<QWidget>(f.form, "SnapshotWindow")->isVisible());
    } else if (action == "ShowMemoryOverview") {
        QVERIFY(Child<QWidget>(f.form, "MemoryOverview")->isVisible());
    }
    QCOMPARE(Child<QTabWidget>(f.form, "PageControl")->currentWidget()->objectName(), page);
    QVERIFY(f.platform.errors.empty());
}

void TestTForm1::shortcutsWorkWithToolbarHidden() {
    Form1Fixture f;
    QVERIFY(f.Show());
    Child<STMenuBar>(f.form, "STMenuBar1")->hide();
    QTest::keyClick(&f.form, Qt::Key_F7);
    QCOMPARE(f.form.SpriteAddress(), 0x40);
    QTest::keyClick(&f.form, Qt::Key_F4);
    QCOMPARE(f.form.CharSetAddress(), 0x800);
}

void TestTForm1::pageCommandsSwitchPages() {
    Form1Fixture f;
    QVERIFY(f.Show());
    auto* pages = Child<QTabWidget>(f.form, "PageControl");
    const mosaiqua::Raster sprite = f.form.SpriteViews().SpriteActual;
    const mosaiqua::Raster chars = f.form.CharSetViews().CharSetImage;
    const QString status = f.form.StatusText();
    Trigger(f.form, "CharSetRipper1");
    QCOMPARE(pages->currentWidget()->objectName(), QString("CharSheet"));
    Trigger(f.form, "CharSetRipper1");
    QCOMPARE(pages->currentWidget()->objectName(), QString("CharSheet"));
    Trigger(f.form, "SpriteRipper1");
    QCOMPARE(pages->currentWidget()->objectName(), QString("SpriteSheet"));
    QCOMPARE(f.form.SpriteViews().SpriteActual, sprite);
    QCOMPARE(f.form.CharSetViews().CharSetImage, chars);
    QCOMPARE(f.form.StatusText(), status);
}

void TestTForm1::imagesRepaintWhenTheirPicturesChange() {
    Form1Fixture f;
    QVERIFY(f.Show());
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    PaintCounter actual(Child<QWidget>(f.form, "SpriteActual"));
    PaintCounter big(Child<QWidget>(f.form, "SpriteBig"));
    PaintCounter strip(Child<QWidget>(f.form, "ScanImage"));
    SettlePaints({&actual, &big, &strip});
    QTest::keyClick(&f.form, Qt::Key_F7);
    QCoreApplication::processEvents();
    QVERIFY(actual.count > 0);
    QVERIFY(big.count > 0);
    QVERIFY(strip.count > 0);

    Trigger(f.form, "CharSetRipper1");
    PaintCounter view8x8(Child<QWidget>(f.form, "CharSetImage"));
    PaintCounter view8x16(Child<QWidget>(f.form, "CharSetImage8x16"));
    PaintCounter view16x16(Child<QWidget>(f.form, "CharSetImage16x16"));
    SettlePaints({&view8x8, &view8x16, &view16x16});
    ClickOn(f.form, "Check16x16");
    QCoreApplication::processEvents();
    QVERIFY(view16x16.count > 0);

    SettlePaints({&view8x8, &view8x16, &view16x16});
    Trigger(f.form, "N8x16CharSetViewEnabled1");
    QCoreApplication::processEvents();
    QVERIFY(view8x16.count > 0);

    SettlePaints({&view8x8, &view8x16, &view16x16});
    ClickOn(f.form, "CSR1");
    QCoreApplication::processEvents();
    QVERIFY(view8x8.count > 0);
    QVERIFY(view8x16.count > 0);
    QVERIFY(view16x16.count > 0);
}

void TestTForm1::alwaysOnTopMovesBothWindows() {
    Form1Fixture f;
    QVERIFY(f.Show());
    QWidget picker(nullptr, Qt::Dialog);
    f.form.AddStayOnTopFollower(&picker);
    QVERIFY(picker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    QAction* item = Action(f.form, "AlwaysOnTop1");
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!f.form.StaysOnTop());
    QVERIFY(!f.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!picker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f.form.isVisible());
    QVERIFY(!picker.isVisible());

    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(f.form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(picker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f.form.isVisible());
}

void TestTForm1::exitClosesTheWindow() {
    Form1Fixture f;
    QVERIFY(f.Show());
    QSignalSpy closed(&f.form, &TForm1::Closed);
    Trigger(f.form, "ExitProgram1");
    QVERIFY(!f.form.isVisible());
    QCOMPARE(closed.count(), 1);
}

void TestTForm1::cancelledDialogsChangeNothing() {
    Form1Fixture f;
    QVERIFY(f.Show());
    const mosaiqua::SpriteRasters sprites = f.form.SpriteViews();
    const mosaiqua::CharSetRasters chars = f.form.CharSetViews();
    const char* dialogCommands[] = {"SaveSprite1",
                                    "SaveNext7Sprites1",
                                    "SaveSpritesInMemoryAB1",
                                    "SaveSpriteInMemoryRangeToSingleBitmap1",
                                    "Save8x8CharSet1",
                                    "Save8x16CharSet1",
                                    "Save16x16CharSet1",
                                    "SaveSpriteAnimation1",
                                    "SaveRawData1",
                                    "CopySpriteToClipboard1",
                                    "EditBackgroundColour1",
                                    "EditColour11",
                                    "EditColour21",
                                    "EditColour31",
                                    "EditCharSetBackgroundColour1",
                                    "EditCharSetMultiColour1Col11",
                                    "EditCharSetColourCol21",
                                    "EditCharSetMultiColour3Col31",
                                    "SpriteSizeWhenSaving1",
                                    "SetDefaultFreezeDirectory1",
                                    "HelpFile1",
                                    "TessalumaOnTheWeb1",
                                    "ReportABug1",
                                    "MakeASuggestion1",
                                    "About1"};
    for (const char* name : dialogCommands)
        Trigger(f.form, name);
    for (const char* name : {"Button5", "Button6", "Button7", "Back"})
        ClickOn(f.form, name);
    QVERIFY(f.form.isVisible());
    QCOMPARE(f.form.SpriteAddress(), 0);
    QCOMPARE(f.form.CharSetAddress(), 0);
    QCOMPARE(f.form.SpriteColours(), (ColourSlots{0x000000, 0x444444, 0x6C6C6C, 0xFFFFFF}));
    QVERIFY(f.form.SpriteViews().SpriteActual == sprites.SpriteActual);
    QVERIFY(f.form.CharSetViews().CharSetImage == chars.CharSetImage);
    QVERIFY(f.platform.errors.empty());
}

void TestTForm1::rasterToImageKeepsRedAndBlue() {
    mosaiqua::Raster raster(3, 2);
    raster.setPixel(0, 0, 0x0000FF); // red: the low byte
    raster.setPixel(1, 0, 0xFF0000); // blue
    raster.setPixel(2, 0, 0x00FF00);
    raster.setPixel(0, 1, 0x123456); // R 0x56, G 0x34, B 0x12
    const QImage image = RasterToImage(raster);
    QCOMPARE(image.size(), QSize(3, 2));
    QCOMPARE(image.pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(1, 0), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(2, 0), QColor(0, 255, 0));
    QCOMPARE(image.pixelColor(0, 1), QColor(0x56, 0x34, 0x12));
    QCOMPARE(image.pixelColor(1, 1), QColor(0, 0, 0));
}

void TestTForm1::errorFunnelShowsEveryFailure() {
    FakePlatform platform;
    bool after = false;
    RunGuarded(platform, nullptr, [] {
        throw mosaiqua::UserError(mosaiqua::UserError::Kind::StreamWrite, "Stream write error");
    });
    RunGuarded(platform, nullptr, [] { throw std::runtime_error("disk on fire"); });
    RunGuarded(platform, nullptr, [] { throw 42; });
    RunGuarded(platform, nullptr, [&] { after = true; });
    QVERIFY(after);
    QCOMPARE(platform.errors.size(), std::size_t(3));
    QCOMPARE(platform.errors[0].title, QString("Mosaiqua"));
    QCOMPARE(platform.errors[0].text, QString("Stream write error"));
    QCOMPARE(platform.errors[1].text, QString("disk on fire"));
    QCOMPARE(platform.errors[2].text, QString("Unknown error"));
}

QTEST_MAIN(TestTForm1)
#include "tst_tform1.moc"
