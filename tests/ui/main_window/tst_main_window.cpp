// The main window as a whole: start-up state, layout, menu, toolbar, shortcuts, window commands.
#include "helpers/main_window_driver.h"
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
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <map>
#include <memory>

using mosaiqua::ColourSlots;

namespace {

// Every command of the menu: the actions that are neither separators nor submenus.
QList<QAction*> Commands(const MainWindow& window) {
    QList<QAction*> commands;
    for (QAction* action : window.MainMenu()->findChildren<QAction*>())
        if (!action->isSeparator() && action->menu() == nullptr)
            commands.push_back(action);
    return commands;
}

// Every action anywhere in the program's windows that answers to a key.
QList<QAction*> KeyedActions(const MainWindow& window) {
    QList<QAction*> keyed;
    for (QAction* action : window.findChildren<QAction*>())
        if (!action->shortcuts().isEmpty())
            keyed.push_back(action);
    return keyed;
}

QString CaptionOf(const QWidget* widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    return QString();
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

class TestMainWindow final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startUpState();
    void windowIsFixedAndOnTop();
    void controlsArePlacedAndLabelled();
    void eachCommandIsOneNamedAction();
    void captionsKeysAndMarksUsersSee_data();
    void captionsKeysAndMarksUsersSee();
    void toolbarShowsTheMenu();
    void menuItemRunsFromToolbarPopup();
    void eachKeyRunsItsCommandOnceOnEitherPage();
    void shortcutsWorkWithToolbarHidden();
    void pageCommandsSwitchPages();
    void imagesRepaintWhenTheirPicturesChange();
    void alwaysOnTopMovesBothWindows();
    void exitClosesTheWindow();
    void cancelledDialogsChangeNothing();
    void rasterToImageKeepsRedAndBlue();
    void errorFunnelShowsEveryFailure();
};

void TestMainWindow::initTestCase() {
    InstallApplicationFonts();
    QCOMPARE(QApplication::font().pixelSize(), 11);
    const QFont labelFont = AddressLabelFont();
    QVERIFY(labelFont.bold());
    QCOMPARE(labelFont.pixelSize(), 13);
    QCOMPARE(labelFont.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
}

void TestMainWindow::startUpState() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const MainWindow& w = f.main;

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

void TestMainWindow::windowIsFixedAndOnTop() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QCOMPARE(f.main.windowTitle(), QString("Mosaiqua"));
    QCOMPARE(f.main.size(), QSize(624, 549));
    QCOMPARE(f.main.minimumSize(), QSize(624, 549));
    QCOMPARE(f.main.maximumSize(), QSize(624, 549));
    QVERIFY(f.main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!f.main.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.main.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(Action(f.main, "AlwaysOnTop1")->isChecked());
}

void TestMainWindow::controlsArePlacedAndLabelled() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    // Spot checks of where users find things; the window is drawn at fixed coordinates.
    const struct {
        const char* name;
        const char* parent;
        QRect place;
        const char* caption;
        const char* hint;
    } places[] = {
        {"PageControl", "Form1", {4, 28, 617, 497}, nullptr, nullptr},
        {"StaticText1", "Form1", {556, 32, 63, 13}, "Version 1.05", nullptr},
        {"ProgressBar1", "Form1", {393, 534, 226, 10}, nullptr, nullptr},
        {"MCM",
         "GroupBox4",
         {8, 16, 33, 17},
         "MCM",
         "Click on / off to set sprite multicolour mode on / off"},
        {"Button6", "GroupBox4", {72, 16, 33, 17}, "Col 2", "Click to choose sprite colour"},
        {"Button11", "GroupBox4", {408, 16, 25, 33}, ">|", "Forward To End Of Memory"},
        {"SpriteBig", "SpriteBigPanel", {2, 2, 240, 210}, nullptr, nullptr},
        {"CSR1", "GroupBox5", {248, 16, 33, 33}, ">", "Forward $0800 Bytes"},
        {"CharRefresh", "GroupBox5", {296, 16, 65, 33}, "&Refresh", ""},
        {"Check16x16", "Panel12", {8, 8, 129, 17}, "16 x 16 View Enabled", nullptr},
        {"CharSetImage8x16", "Panel7", {2, 2, 240, 144}, nullptr, nullptr},
    };
    for (const auto& row : places) {
        auto* widget = Child<QWidget>(f.main, QString::fromLatin1(row.name));
        QVERIFY2(widget->parentWidget() != nullptr, row.name);
        QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        QCOMPARE(widget->geometry(), row.place);
        if (row.caption != nullptr)
            QCOMPARE(CaptionOf(widget), QString::fromLatin1(row.caption));
        if (row.hint != nullptr)
            QCOMPARE(widget->toolTip(), QString::fromLatin1(row.hint));
    }
    // Nothing on the two pages sticks out of what holds it, so nothing is cut off.
    for (const char* page : {"SpriteSheet", "CharSheet"})
        for (QWidget* widget : Child<QWidget>(f.main, page)->findChildren<QWidget*>())
            if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_")))
                QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()),
                         qPrintable(widget->objectName()));

    for (const char* name : {"Label1", "Label2", "Label3", "CS8x8Label", "CS8x16Label", "CS16x16Label"}) {
        const QFont font = Child<QLabel>(f.main, name)->font();
        QVERIFY2(font.bold() && font.pixelSize() == 13, name);
    }
    for (const char* name : {"Button10", "Button4", "Button3", "Button11"})
        QVERIFY2(Child<QWidget>(f.main, name)->font().bold(), name);
    auto* pages = Child<QTabWidget>(f.main, "PageControl");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(0), QString("Sprite Ripper"));
    QCOMPARE(pages->tabText(1), QString("CharSet Ripper"));
    QCOMPARE(pages->tabText(2), QString("Bitmap Ripper"));
    QCOMPARE(pages->widget(0)->objectName(), QString("SpriteSheet"));
    QCOMPARE(pages->widget(1)->objectName(), QString("CharSheet"));
    QCOMPARE(Child<QLabel>(f.main, "StatusPanel0")->width(), 386);
    QCOMPARE(Child<QLabel>(f.main, "StatusPanel1")->width(), 50);
    QVERIFY(Child<QToolButton>(f.main, "MCM")->isCheckable());
    QVERIFY(Child<QToolButton>(f.main, "CMCM")->isCheckable());
}

void TestMainWindow::eachCommandIsOneNamedAction() {
    MainWindowFixture f;
    QCOMPARE(f.main.MainMenu()->objectName(), QString("MainMenu1"));
    const QList<QAction*> commands = Commands(f.main);
    QVERIFY(commands.size() > 50);
    QSet<QString> names;
    for (QAction* command : commands) {
        QVERIFY(!command->objectName().isEmpty());
        QVERIFY2(!names.contains(command->objectName()), qPrintable(command->objectName()));
        names.insert(command->objectName());
        // Capture Again waits for an address to capture from.
        QVERIFY(command->isEnabled() == (command->objectName() != "CaptureAgain1") && command->isVisible());
        // The menu shows the key the action itself answers to, and nothing else after a tab.
        const QStringList parts = command->text().split(QLatin1Char('\t'));
        if (command->shortcut().isEmpty()) {
            QCOMPARE(parts.size(), 1);
        } else {
            QCOMPARE(parts.size(), 2);
            QCOMPARE(parts[1], command->shortcut().toString(QKeySequence::NativeText));
            // On the window as well, so the key works with no menu open.
            QVERIFY2(f.main.actions().contains(command), qPrintable(command->objectName()));
            QCOMPARE(command->shortcutContext(), Qt::WindowShortcut);
        }
    }

    // A key belongs to one command only, and every keyed action is a menu command.
    QSet<QKeySequence> keys;
    for (QAction* action : KeyedActions(f.main)) {
        QVERIFY2(commands.contains(action), qPrintable(action->objectName()));
        for (const QKeySequence& key : action->shortcuts()) {
            QVERIFY2(!keys.contains(key), qPrintable(key.toString()));
            keys.insert(key);
        }
    }
    QVERIFY(keys.size() > 10);
}

void TestMainWindow::captionsKeysAndMarksUsersSee_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("mark"); // -1: none, 0: off, 1: on
    QTest::newRow("open") << "OpenFreezeFile1"
                          << "&Open CCS64 Freeze File\tCtrl+O"
                          << "&File" << -1;
    QTest::newRow("range sheet") << "SaveSpriteInMemoryRangeToSingleBitmap1"
                                 << "Save Sprites In Memory Range To Single &Bitmap"
                                 << "&File" << -1;
    QTest::newRow("copy") << "CopySpriteToClipboard1"
                          << "&Copy Sprite / CharSet To Clipboard\tCtrl+C"
                          << "&Edit" << -1;
    QTest::newRow("charset -1") << "CharSetOffset1Byte1"
                                << "CharSet Offset -1 Byte\tF11"
                                << "&Edit" << -1;
    QTest::newRow("vic palette") << "UseVicPalette1"
                                 << "Use &True VIC-II Colour Palette"
                                 << "&Options" << 1;
    QTest::newRow("transparent") << "TransparentBackgroundInPng1"
                                 << "Transparent Back&ground In PNG"
                                 << "&Options" << 0;
    QTest::newRow("skip header") << "SkipFirst1148BytesOfFile1"
                                 << "&Skip First 1148 Bytes Of File"
                                 << "&Options" << 1;
    QTest::newRow("next sprite") << "NextSprite1"
                                 << "N&ext Sprite\tF7"
                                 << "&View" << -1;
    QTest::newRow("charset back") << "CharSetPrevious0800Bytes1"
                                  << "CharSet Prev&ious $0800 Bytes\tF3"
                                  << "&View" << -1;
    QTest::newRow("sprite mode") << "MulticolourMode1"
                                 << "Sprite &Multicolour Mode Enable\tCtrl+M"
                                 << "&View" << 0;
    QTest::newRow("8x16 view") << "N8x16CharSetViewEnabled1"
                               << "8 x 16 CharSet View Enabled"
                               << "&View" << 0;
    QTest::newRow("overview") << "MemoryOverview1"
                              << "Memory &Overview\tCtrl+L"
                              << "&View" << -1;
    QTest::newRow("bug") << "ReportABug1"
                         << "Report A Bug (Requires Net Access)"
                         << "&Help" << -1;
}

void TestMainWindow::captionsKeysAndMarksUsersSee() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, menu);
    QFETCH(int, mark);
    MainWindowFixture f;
    QAction* command = Action(f.main, name);
    QCOMPARE(command->text(), text);
    QVERIFY(command->parent() != nullptr);
    QCOMPARE(qobject_cast<QMenu*>(command->parent())->title(), menu);
    QCOMPARE(command->isCheckable(), mark >= 0);
    QCOMPARE(command->isChecked(), mark == 1);
}

void TestMainWindow::toolbarShowsTheMenu() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    auto* bar = Child<STMenuBar>(f.main, "STMenuBar1");
    QCOMPARE(bar->parentWidget()->objectName(), QString("ControlBar1"));
    QCOMPARE(bar->Menu(), f.main.MainMenu());
    QCOMPARE(bar->width(), 624);
    QVERIFY(bar->isVisible());
    const QStringList captions{"&File", "&Edit", "&Options", "&View", "&Help"};
    QCOMPARE(bar->ButtonCount(), int(captions.size()));
    const QList<QAction*> tops = f.main.MainMenu()->actions();
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        QToolButton* button = bar->Button(i);
        QCOMPARE(button->text(), captions[i]);
        QCOMPARE(button->menu(), tops[i]->menu());
        QVERIFY(button->isVisible());
    }
    // The menu is never a native menu bar of the window.
    QVERIFY(f.main.findChildren<QMenuBar*>().isEmpty());
}

void TestMainWindow::menuItemRunsFromToolbarPopup() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    auto* bar = Child<STMenuBar>(f.main, "STMenuBar1");
    QMenu* view = bar->Button(3)->menu();
    QVERIFY(view != nullptr);
    view->popup(bar->Button(3)->mapToGlobal(QPoint(0, bar->Button(3)->height())));
    QVERIFY(QTest::qWaitForWindowExposed(view));
    // "N&ext Sprite": its letter chooses it.
    QTest::keyClick(view, Qt::Key_E);
    QCOMPARE(f.main.SpriteAddress(), 0x40);
    QVERIFY(!view->isVisible());

    QMenu* options = bar->Button(2)->menu();
    options->popup(bar->Button(2)->mapToGlobal(QPoint(0, bar->Button(2)->height())));
    QVERIFY(QTest::qWaitForWindowExposed(options));
    QTest::keyClick(options, Qt::Key_C); // "Use &CCS64 Colour Palette"
    QCOMPARE(f.main.CurrentPaletteKind(), mosaiqua::PaletteKind::pkCcs64);
}

void TestMainWindow::eachKeyRunsItsCommandOnceOnEitherPage() {
    QStringList keyedNames;
    {
        MainWindowFixture f;
        for (QAction* action : KeyedActions(f.main))
            keyedNames << action->objectName();
    }
    // What the step keys do, from the step sizes: the sprite viewer starts at $2000, the
    // character-set viewer at $1000.
    const std::map<QString, std::pair<int, int>> moves{
        {"NextSprite1", {0x2040, 0x1000}},
        {"PreviousSprite1", {0x1FC0, 0x1000}},
        {"SpriteOffset1Byte1", {0x1FFF, 0x1000}},
        {"SpriteOffset1Byte2", {0x2001, 0x1000}},
        {"CharSetOffset1Byte1", {0x2000, 0x0FFF}},
        {"CharSetOffset1Byte2", {0x2000, 0x1001}},
        {"CharSetPrevious0800Bytes1", {0x2000, 0x0800}},
        {"CharSetNext0800Bytes1", {0x2000, 0x1800}},
        {"Back1000memory1", {0x1000, 0x1000}},
        {"Next1000Bytes1", {0x3000, 0x1000}},
    };
    int stepKeys = 0;
    for (const char* page : {"SpriteSheet", "CharSheet"}) {
        for (const QString& name : keyedNames) {
            MainWindowFixture f;
            QVERIFY(f.Show());
            ShowPage(f.main, QString::fromLatin1(page));
            WalkSpriteTo(f.main, 0x2000);
            WalkCharSetTo(f.main, 0x1000);
            std::vector<std::unique_ptr<QSignalSpy>> spies;
            for (QAction* command : Commands(f.main))
                spies.push_back(std::make_unique<QSignalSpy>(command, &QAction::triggered));
            QAction* command = Action(f.main, name);
            QTest::keySequence(&f.main, command->shortcut());
            int fired = 0;
            for (const auto& spy : spies)
                fired += int(spy->count());
            // A disabled command's key does nothing.
            QVERIFY2(fired == (command->isEnabled() ? 1 : 0), qPrintable(name));
            if (!command->isEnabled())
                continue;
            QCOMPARE(spies[std::size_t(Commands(f.main).indexOf(command))]->count(), 1);

            if (auto move = moves.find(name); move != moves.end()) {
                ++stepKeys;
                QCOMPARE(f.main.SpriteAddress(), move->second.first);
                QCOMPARE(f.main.CharSetAddress(), move->second.second);
            } else if (name == "OpenFreezeFile1") {
                QCOMPARE(f.platform.openStartFolders.size(), 1);
            } else if (name == "MulticolourMode1") {
                QVERIFY(f.main.SpriteMulticolour());
            } else if (name == "CharSetMulticolourModeEnable1") {
                QVERIFY(f.main.CharSetMulticolour());
            } else if (name == "RefreshCharSetDisplay1") {
                QCOMPARE(f.main.StatusText(), QString("OK.."));
            } else if (name == "SnapshotState1") {
                QVERIFY(Child<QWidget>(f.main, "SnapshotWindow")->isVisible());
            } else if (name == "MemoryOverview1") {
                QVERIFY(Child<QWidget>(f.main, "MemoryOverview")->isVisible());
            }
            QCOMPARE(Child<QTabWidget>(f.main, "PageControl")->currentWidget()->objectName(),
                     QString::fromLatin1(page));
            QVERIFY(f.platform.errors.empty());
        }
    }
    QCOMPARE(stepKeys, 2 * int(moves.size()));
}

void TestMainWindow::shortcutsWorkWithToolbarHidden() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    Child<STMenuBar>(f.main, "STMenuBar1")->hide();
    QTest::keyClick(&f.main, Qt::Key_F7);
    QCOMPARE(f.main.SpriteAddress(), 0x40);
    QTest::keyClick(&f.main, Qt::Key_F4);
    QCOMPARE(f.main.CharSetAddress(), 0x800);
}

void TestMainWindow::pageCommandsSwitchPages() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    auto* pages = Child<QTabWidget>(f.main, "PageControl");
    const mosaiqua::Raster sprite = f.main.SpriteViews().SpriteActual;
    const mosaiqua::Raster chars = f.main.CharSetViews().CharSetImage;
    const QString status = f.main.StatusText();
    Trigger(f.main, "CharSetRipper1");
    QCOMPARE(pages->currentWidget()->objectName(), QString("CharSheet"));
    Trigger(f.main, "CharSetRipper1");
    QCOMPARE(pages->currentWidget()->objectName(), QString("CharSheet"));
    Trigger(f.main, "SpriteRipper1");
    QCOMPARE(pages->currentWidget()->objectName(), QString("SpriteSheet"));
    QCOMPARE(f.main.SpriteViews().SpriteActual, sprite);
    QCOMPARE(f.main.CharSetViews().CharSetImage, chars);
    QCOMPARE(f.main.StatusText(), status);
}

void TestMainWindow::imagesRepaintWhenTheirPicturesChange() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QVERIFY(QTest::qWaitForWindowExposed(&f.main));
    PaintCounter actual(Child<QWidget>(f.main, "SpriteActual"));
    PaintCounter big(Child<QWidget>(f.main, "SpriteBig"));
    PaintCounter strip(Child<QWidget>(f.main, "ScanImage"));
    SettlePaints({&actual, &big, &strip});
    QTest::keyClick(&f.main, Qt::Key_F7);
    QCoreApplication::processEvents();
    QVERIFY(actual.count > 0);
    QVERIFY(big.count > 0);
    QVERIFY(strip.count > 0);

    Trigger(f.main, "CharSetRipper1");
    PaintCounter view8x8(Child<QWidget>(f.main, "CharSetImage"));
    PaintCounter view8x16(Child<QWidget>(f.main, "CharSetImage8x16"));
    PaintCounter view16x16(Child<QWidget>(f.main, "CharSetImage16x16"));
    SettlePaints({&view8x8, &view8x16, &view16x16});
    ClickOn(f.main, "Check16x16");
    QCoreApplication::processEvents();
    QVERIFY(view16x16.count > 0);

    SettlePaints({&view8x8, &view8x16, &view16x16});
    Trigger(f.main, "N8x16CharSetViewEnabled1");
    QCoreApplication::processEvents();
    QVERIFY(view8x16.count > 0);

    SettlePaints({&view8x8, &view8x16, &view16x16});
    ClickOn(f.main, "CSR1");
    QCoreApplication::processEvents();
    QVERIFY(view8x8.count > 0);
    QVERIFY(view8x16.count > 0);
    QVERIFY(view16x16.count > 0);
}

void TestMainWindow::alwaysOnTopMovesBothWindows() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QWidget picker(nullptr, Qt::Dialog);
    f.main.AddStayOnTopFollower(&picker);
    QVERIFY(picker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    QAction* item = Action(f.main, "AlwaysOnTop1");
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!f.main.StaysOnTop());
    QVERIFY(!f.main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!picker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f.main.isVisible());
    QVERIFY(!picker.isVisible());

    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(f.main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(picker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f.main.isVisible());
}

void TestMainWindow::exitClosesTheWindow() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QSignalSpy closed(&f.main, &MainWindow::Closed);
    Trigger(f.main, "ExitProgram1");
    QVERIFY(!f.main.isVisible());
    QCOMPARE(closed.count(), 1);
}

void TestMainWindow::cancelledDialogsChangeNothing() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const mosaiqua::SpriteRasters sprites = f.main.SpriteViews();
    const mosaiqua::CharSetRasters chars = f.main.CharSetViews();
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
        Trigger(f.main, name);
    for (const char* name : {"Button5", "Button6", "Button7", "Back"})
        ClickOn(f.main, name);
    QVERIFY(f.main.isVisible());
    QCOMPARE(f.main.SpriteAddress(), 0);
    QCOMPARE(f.main.CharSetAddress(), 0);
    QCOMPARE(f.main.SpriteColours(), (ColourSlots{0x000000, 0x444444, 0x6C6C6C, 0xFFFFFF}));
    QVERIFY(f.main.SpriteViews().SpriteActual == sprites.SpriteActual);
    QVERIFY(f.main.CharSetViews().CharSetImage == chars.CharSetImage);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindow::rasterToImageKeepsRedAndBlue() {
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

void TestMainWindow::errorFunnelShowsEveryFailure() {
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

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
