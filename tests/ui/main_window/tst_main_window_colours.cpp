// The main window's eight colour commands: the picker as the user meets it, the system colour
// dialog, and which views each slot redraws.
#include "helpers/main_window_driver.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/widgets/colour_swatch.h"

#include <QDialog>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <functional>

using mosaiqua::ColourSlots;
using mosaiqua::TColor;

namespace {

// Entries 0..15 written out, so a wrong table in the program cannot hide behind a shared constant.
const std::array<TColor, 16> kTrueVic{0x000000, 0xFFFFFF, 0x2B3768, 0xB2A470, 0x863D6F, 0x438D58,
                                      0x792835, 0x6FC7B8, 0x254F6F, 0x003943, 0x59679A, 0x444444,
                                      0x6C6C6C, 0x84D29A, 0xB55E6C, 0x959595};
const std::array<TColor, 16> kCcs64{0x000000, 0xFFFFFF, 0x27397A, 0xECD791, 0xA74289, 0x4FB56C,
                                    0x912132, 0x6DFFFF, 0x205C89, 0x12414C, 0x6D81C6, 0x4A4A4A,
                                    0x848484, 0xB0FFCF, 0xE77184, 0xC4C4C4};

// Markers written straight into a swatch: no redraw follows, so only a later redraw shows them.
constexpr TColor kSpriteMarker = 0x010203;
constexpr TColor kCharMarker = 0x040506;

// What the user saw in the picker.
struct PickerSight {
    mosaiqua::PaletteKind table = mosaiqua::PaletteKind::pkWindows; // the picker offers no Windows table
    TColor pickedColour = 0;
    std::array<TColor, 16> colours{};
    QList<int> markedOnOpen;
    QList<int> markedAtEnd;
    QRect frame;
    bool opened = false;
};

QList<int> Marked(const PalettePicker& picker) {
    QList<int> marked;
    for (int n = 1; n <= 16; ++n)
        if (Child<PaletteSwatch>(picker, QStringLiteral("c64p%1").arg(n))->Caption() == QStringLiteral("X"))
            marked << n;
    return marked;
}

// Plays the user in the picker: it comes up (and activates), the user clicks the swatches in
// order, then presses OK or Cancel.
void QueuePicker(FakePlatform& platform, QList<int> clicks, bool ok, PickerSight* sight = nullptr) {
    platform.modalScripts.push_back([clicks, ok, sight](QDialog* dialog) {
        auto* picker = qobject_cast<PalettePicker*>(dialog);
        if (picker == nullptr)
            return int(QDialog::Rejected);
        if (sight != nullptr) {
            sight->opened = true;
            sight->frame = picker->frameGeometry();
            sight->table = picker->Table();
            sight->pickedColour = picker->PickedColour();
        }
        picker->ShowChoices();
        if (sight != nullptr) {
            for (int n = 1; n <= 16; ++n)
                sight->colours[std::size_t(n - 1)] = picker->Swatch(n)->Colour();
            sight->markedOnOpen = Marked(*picker);
        }
        for (int n : clicks)
            picker->PickSwatch(n);
        if (sight != nullptr)
            sight->markedAtEnd = Marked(*picker);
        if (!ok)
            return int(QDialog::Rejected);
        picker->AcceptPick();
        return int(QDialog::Accepted);
    });
}

TColor SwatchColour(const MainWindow& form, const QString& name) {
    return Child<ColourSwatch>(form, name)->Colour();
}

bool SpriteViewsAre(const MainWindow& form, TColor colour) {
    const mosaiqua::SpriteRasters& views = form.SpriteViews();
    return AllPixels(views.SpriteActual, colour) && AllPixels(views.SpriteBig, colour) &&
           AllPixels(views.ScanImage, colour);
}

bool IsCharSetSlot(const QString& swatch) {
    return swatch == "CBack" || swatch.startsWith("CCol");
}

bool SameCharSetViews(const mosaiqua::CharSetRasters& a, const mosaiqua::CharSetRasters& b) {
    return a.CharSetImage == b.CharSetImage && a.CharSetImage8x16 == b.CharSetImage8x16 &&
           a.CharSetImage16x16 == b.CharSetImage16x16;
}

bool SameSpriteViews(const mosaiqua::SpriteRasters& a, const mosaiqua::SpriteRasters& b) {
    return a.SpriteActual == b.SpriteActual && a.SpriteBig == b.SpriteBig && a.ScanImage == b.ScanImage;
}

} // namespace

class TestMainWindowColours final : public QObject {
    Q_OBJECT

private slots:
    void pickerShowsTheTableInForceAndMarksTheSlot();
    void colourInNeitherTableIsUnmarkedAndKept();
    void lastOfSeveralClicksIsTaken();
    void cancelAndCloseBoxChangeNothing();
    void eachSlotRedrawsItsViews_data();
    void eachSlotRedrawsItsViews();
    void editMenuItemsRunTheSameCommands_data();
    void editMenuItemsRunTheSameCommands();
    void pickerIsCentredOverTheMainWindow();
    void windowsPaletteUsesTheColourDialog();
    void alwaysOnTopSwitchesThePickerToo();
    void paletteItemsAndPaletteFilesReachTheSwatches();
};

void TestMainWindowColours::pickerShowsTheTableInForceAndMarksTheSlot() {
    MainWindowFixture f;
    QVERIFY(f.Show());

    PickerSight vic;
    QueuePicker(f.platform, {}, true, &vic);
    ClickOn(f.main, "Button6");
    QVERIFY(vic.opened);
    QCOMPARE(vic.table, mosaiqua::PaletteKind::pkTrueVic);
    QCOMPARE(vic.pickedColour, 0x6C6C6Cu);
    QCOMPARE(vic.colours, kTrueVic);
    QCOMPARE(vic.markedOnOpen, QList<int>{13});
    QCOMPARE(f.main.SpriteColours(), kStartup);

    // Under CCS64 the swatches take that table, whatever the picker showed last.
    Trigger(f.main, "UseC64Palette1");
    PickerSight background;
    QueuePicker(f.platform, {}, true, &background);
    ClickOn(f.main, "Back");
    QCOMPARE(background.table, mosaiqua::PaletteKind::pkCcs64);
    QCOMPARE(background.colours, kCcs64);
    // Black is the same in both tables.
    QCOMPARE(background.markedOnOpen, QList<int>{1});

    // Grey of the true VIC-II table is not a CCS64 colour: nothing marked, OK keeps it.
    PickerSight grey;
    QueuePicker(f.platform, {}, true, &grey);
    ClickOn(f.main, "Button6");
    QCOMPARE(grey.colours, kCcs64);
    QVERIFY(grey.markedOnOpen.isEmpty());
    QCOMPARE(f.main.SpriteColours(), kStartup);

    // White in multicolour 2 is marked under CCS64 too.
    PickerSight white;
    QueuePicker(f.platform, {}, false, &white);
    ClickOn(f.main, "Button7");
    QCOMPARE(white.markedOnOpen, QList<int>{2});
    QCOMPARE(f.platform.modalRuns, 4);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowColours::colourInNeitherTableIsUnmarkedAndKept() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    Trigger(f.main, "ResetCharSetColoursToDefault1");
    ShowPage(f.main, "CharSheet");

    PickerSight sight;
    QueuePicker(f.platform, {}, true, &sight);
    ClickOn(f.main, "ButCol1");
    QCOMPARE(sight.pickedColour, 0x808080u);
    QCOMPARE(sight.colours, kTrueVic);
    QVERIFY(sight.markedOnOpen.isEmpty());
    QCOMPARE(f.main.CharSetColours(), (ColourSlots{0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF}));

    Trigger(f.main, "UseC64Palette1");
    PickerSight main;
    QueuePicker(f.platform, {}, true, &main);
    ClickOn(f.main, "ButCol2");
    QCOMPARE(main.pickedColour, 0xC0C0C0u);
    QVERIFY(main.markedOnOpen.isEmpty());
    QCOMPARE(SwatchColour(f.main, "CCol2"), 0xC0C0C0u);
}

void TestMainWindowColours::lastOfSeveralClicksIsTaken() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    PickerSight sight;
    QueuePicker(f.platform, {3, 7}, true, &sight);
    ClickOn(f.main, "Button5");
    QCOMPARE(sight.markedAtEnd, QList<int>{7});
    QCOMPARE(SwatchColour(f.main, "Col1"), 0x792835u); // true VIC-II blue, entry 6

    Trigger(f.main, "UseC64Palette1");
    QueuePicker(f.platform, {16, 3, 7}, true, &sight);
    ClickOn(f.main, "Button7");
    QCOMPARE(sight.markedAtEnd, QList<int>{7});
    QCOMPARE(SwatchColour(f.main, "Col3"), 0x912132u); // CCS64 blue, entry 6
    QCOMPARE(f.main.SpriteColours(), (ColourSlots{0x000000, 0x792835, 0x6C6C6C, 0x912132}));
}

void TestMainWindowColours::cancelAndCloseBoxChangeNothing() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    SetSwatch(f.main, "Back", kSpriteMarker);
    SetSwatch(f.main, "CBack", kCharMarker);
    const mosaiqua::SpriteRasters sprites = f.main.SpriteViews();
    const mosaiqua::CharSetRasters chars = f.main.CharSetViews();
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);

    QueuePicker(f.platform, {5}, false);
    ClickOn(f.main, "Button6");

    // The close box: the picker is up, a swatch is clicked, then the window is closed.
    QList<int> markedWhenShown;
    f.platform.modalScripts.push_back([&markedWhenShown](QDialog* dialog) {
        auto* picker = qobject_cast<PalettePicker*>(dialog);
        picker->show();
        markedWhenShown = Marked(*picker);
        picker->PickSwatch(9);
        picker->close();
        return picker->result();
    });
    Trigger(f.main, "EditColour21");
    QCOMPARE(markedWhenShown, QList<int>{13});
    QVERIFY(!f.windows.Windows().palettePicker->isVisible());

    ShowPage(f.main, "CharSheet");
    QueuePicker(f.platform, {2}, false);
    ClickOn(f.main, "ButCol2");
    QueuePicker(f.platform, {2}, false);
    ClickOn(f.main, "CBack");

    QCOMPARE(f.platform.modalRuns, 4);
    QCOMPARE(f.main.SpriteColours(), (ColourSlots{kSpriteMarker, 0x444444, 0x6C6C6C, 0xFFFFFF}));
    QCOMPARE(f.main.CharSetColours(), (ColourSlots{kCharMarker, 0x444444, 0x6C6C6C, 0xFFFFFF}));
    QVERIFY(SameSpriteViews(f.main.SpriteViews(), sprites));
    QVERIFY(SameCharSetViews(f.main.CharSetViews(), chars));
    QCOMPARE(status.count(), 0);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowColours::eachSlotRedrawsItsViews_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("swatch");
    QTest::addColumn<bool>("charSetMulticolour");
    QTest::addColumn<QString>("redraws"); // "sprites", "charsets" or "nothing"
    QTest::newRow("sprite background") << QString("Back") << "Back" << false << "sprites";
    QTest::newRow("sprite multicolour 1, hi-res") << QString("Button5") << "Col1" << false << "sprites";
    QTest::newRow("sprite main colour") << QString("Button6") << "Col2" << false << "sprites";
    QTest::newRow("sprite multicolour 2, hi-res") << QString("Button7") << "Col3" << false << "sprites";
    QTest::newRow("charset background") << QString("CBack") << "CBack" << false << "charsets";
    QTest::newRow("charset main colour") << QString("ButCol2") << "CCol2" << false << "charsets";
    QTest::newRow("charset multicolour 1, CMCM up") << QString("ButCol1") << "CCol1" << false << "nothing";
    QTest::newRow("charset multicolour 2, CMCM up") << QString("ButCol3") << "CCol3" << false << "nothing";
    QTest::newRow("charset multicolour 1, CMCM down") << QString("ButCol1") << "CCol1" << true << "charsets";
    QTest::newRow("charset multicolour 2, CMCM down") << QString("ButCol3") << "CCol3" << true << "charsets";
    QTest::newRow("charset background, CMCM down") << QString("CBack") << "CBack" << true << "charsets";
}

void TestMainWindowColours::eachSlotRedrawsItsViews() {
    QFETCH(QString, control);
    QFETCH(QString, swatch);
    QFETCH(bool, charSetMulticolour);
    QFETCH(QString, redraws);
    MainWindowFixture f;
    QVERIFY(f.Show());
    if (charSetMulticolour) {
        ShowPage(f.main, "CharSheet");
        ClickOn(f.main, "CMCM");
        QVERIFY(f.main.CharSetMulticolour());
    }
    ShowPage(f.main, IsCharSetSlot(swatch) ? "CharSheet" : "SpriteSheet");
    // All memory is zero, so every view shows its background: a marker background shows a redraw.
    SetSwatch(f.main, "Back", kSpriteMarker);
    SetSwatch(f.main, "CBack", kCharMarker);
    const mosaiqua::SpriteRasters sprites = f.main.SpriteViews();
    const mosaiqua::CharSetRasters chars = f.main.CharSetViews();
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);

    QueuePicker(f.platform, {3}, true);
    ClickOn(f.main, control);
    const TColor red = 0x2B3768; // true VIC-II entry 2
    QCOMPARE(SwatchColour(f.main, swatch), red);

    if (redraws == "sprites") {
        QVERIFY(SpriteViewsAre(f.main, swatch == "Back" ? red : kSpriteMarker));
        QVERIFY(SameCharSetViews(f.main.CharSetViews(), chars));
        QCOMPARE(status.count(), 0);
    } else if (redraws == "charsets") {
        QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage, swatch == "CBack" ? red : kCharMarker));
        // Never enabled, so never drawn.
        QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage8x16, 0x000000));
        QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage16x16, 0x000000));
        QVERIFY(SameSpriteViews(f.main.SpriteViews(), sprites));
        QCOMPARE(status.count(), 2);
        QCOMPARE(status.at(0).at(0).toString(), QString("Working...."));
        QCOMPARE(status.at(1).at(0).toString(), QString("OK.."));
    } else {
        QVERIFY(SameCharSetViews(f.main.CharSetViews(), chars));
        QVERIFY(SameSpriteViews(f.main.SpriteViews(), sprites));
        QCOMPARE(status.count(), 0);
    }
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowColours::editMenuItemsRunTheSameCommands_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("swatch");
    QTest::addColumn<uint>("before"); // the slot's colour when the picker opens
    QTest::newRow("EditBackgroundColour1")
        << QString("EditBackgroundColour1") << "Back" << uint(kSpriteMarker);
    QTest::newRow("EditColour11") << QString("EditColour11") << "Col1" << 0x444444u;
    QTest::newRow("EditColour21") << QString("EditColour21") << "Col2" << 0x6C6C6Cu;
    QTest::newRow("EditColour31") << QString("EditColour31") << "Col3" << 0xFFFFFFu;
    QTest::newRow("EditCharSetBackgroundColour1")
        << QString("EditCharSetBackgroundColour1") << "CBack" << uint(kCharMarker);
    QTest::newRow("EditCharSetMultiColour1Col11")
        << QString("EditCharSetMultiColour1Col11") << "CCol1" << 0x444444u;
    QTest::newRow("EditCharSetColourCol21") << QString("EditCharSetColourCol21") << "CCol2" << 0x6C6C6Cu;
    QTest::newRow("EditCharSetMultiColour3Col31")
        << QString("EditCharSetMultiColour3Col31") << "CCol3" << 0xFFFFFFu;
}

void TestMainWindowColours::editMenuItemsRunTheSameCommands() {
    QFETCH(QString, item);
    QFETCH(QString, swatch);
    QFETCH(uint, before);
    MainWindowFixture f;
    QVERIFY(f.Show());
    SetSwatch(f.main, "Back", kSpriteMarker);
    SetSwatch(f.main, "CBack", kCharMarker);
    const bool charSet = IsCharSetSlot(swatch);

    // Works from the other page too.
    ShowPage(f.main, charSet ? "SpriteSheet" : "CharSheet");
    PickerSight sight;
    QueuePicker(f.platform, {14}, true, &sight);
    const ChangeCounter changes(f.main.Model());
    Trigger(f.main, item);
    QCOMPARE(sight.pickedColour, TColor(before));
    QCOMPARE(sight.table, mosaiqua::PaletteKind::pkTrueVic);
    QCOMPARE(SwatchColour(f.main, swatch), 0x84D29Au); // light green
    QCOMPARE(f.platform.modalDialogs.size(), std::size_t(1));
    QCOMPARE(f.platform.modalDialogs[0], static_cast<QDialog*>(f.windows.Windows().palettePicker));

    // Every other slot kept its colour.
    const QStringList names{"Back", "Col1", "Col2", "Col3", "CBack", "CCol1", "CCol2", "CCol3"};
    const std::array<TColor, 8> start{kSpriteMarker, 0x444444, 0x6C6C6C, 0xFFFFFF,
                                      kCharMarker,   0x444444, 0x6C6C6C, 0xFFFFFF};
    for (int i = 0; i < names.size(); ++i)
        if (names[i] != swatch)
            QCOMPARE(SwatchColour(f.main, names[i]), start[std::size_t(i)]);

    // The redraw is that of the button: sprite slots redraw the sprites, the charset ones (CMCM up)
    // the charsets only for the background and main colour.
    if (!charSet)
        QVERIFY(SpriteViewsAre(f.main, swatch == "Back" ? 0x84D29A : kSpriteMarker));
    else if (swatch == "CBack")
        QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage, 0x84D29A));
    else if (swatch == "CCol2")
        QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage, kCharMarker));
    else
        QCOMPARE(changes.Count(mosaiqua::DocumentChange::CharSetView), 0);
}

void TestMainWindowColours::pickerIsCentredOverTheMainWindow() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    f.main.move(37, 51);
    QCoreApplication::processEvents();
    PickerSight first;
    QueuePicker(f.platform, {}, false, &first);
    ClickOn(f.main, "Back");
    const QRect main = f.main.frameGeometry();
    const QSize outer = first.frame.size();
    QVERIFY(outer.width() >= 143 && outer.height() >= 172);
    QCOMPARE(first.frame.topLeft(), QPoint(main.left() + (main.width() - outer.width()) / 2,
                                           main.top() + (main.height() - outer.height()) / 2));

    // Placed again at every opening.
    f.main.move(200, 9);
    QCoreApplication::processEvents();
    PickerSight second;
    QueuePicker(f.platform, {}, false, &second);
    Trigger(f.main, "EditCharSetColourCol21");
    const QRect moved = f.main.frameGeometry();
    QCOMPARE(second.frame.topLeft(), QPoint(moved.left() + (moved.width() - outer.width()) / 2,
                                            moved.top() + (moved.height() - outer.height()) / 2));
}

void TestMainWindowColours::windowsPaletteUsesTheColourDialog() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    Trigger(f.main, "UseWindowsStandard16bitPalette1");
    SetSwatch(f.main, "Back", kSpriteMarker);
    SetSwatch(f.main, "CBack", kCharMarker);
    const mosaiqua::SpriteRasters sprites = f.main.SpriteViews();
    const mosaiqua::CharSetRasters chars = f.main.CharSetViews();
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);

    // Cancelled: the dialog was preset to the slot, nothing changes.
    ClickOn(f.main, "Button6");
    QCOMPARE(f.platform.colourRequests, (std::vector<TColor>{0x6C6C6C}));
    QCOMPARE(SwatchColour(f.main, "Col2"), 0x6C6C6Cu);
    QVERIFY(SameSpriteViews(f.main.SpriteViews(), sprites));

    // Any colour at all, in neither table.
    f.platform.colourAnswers.push_back(TColor(0x123456));
    ClickOn(f.main, "Button6");
    QCOMPARE(f.platform.colourRequests.back(), 0x6C6C6Cu);
    QCOMPARE(SwatchColour(f.main, "Col2"), 0x123456u);
    QVERIFY(SpriteViewsAre(f.main, kSpriteMarker));
    QVERIFY(SameCharSetViews(f.main.CharSetViews(), chars));

    ShowPage(f.main, "CharSheet");
    ClickOn(f.main, "CBack");
    QCOMPARE(f.platform.colourRequests.back(), kCharMarker);
    QCOMPARE(status.count(), 0);
    f.platform.colourAnswers.push_back(TColor(0xABCDEF));
    Trigger(f.main, "EditCharSetBackgroundColour1");
    QCOMPARE(SwatchColour(f.main, "CBack"), 0xABCDEFu);
    QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage, 0xABCDEF));
    QCOMPARE(status.count(), 2);

    QCOMPARE(f.platform.colourRequests.size(), std::size_t(4));
    QCOMPARE(f.platform.modalRuns, 0);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowColours::alwaysOnTopSwitchesThePickerToo() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    PalettePicker* picker = f.windows.Windows().palettePicker;
    QVERIFY(f.main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(picker->isStayOnTop());

    Trigger(f.main, "AlwaysOnTop1");
    QVERIFY(!f.main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!picker->isStayOnTop());
    QVERIFY(f.main.isVisible());
    QVERIFY(!picker->isVisible());

    // The picker still does its job with the new style.
    QueuePicker(f.platform, {2}, true);
    ClickOn(f.main, "Button7");
    QVERIFY(!picker->isStayOnTop());

    Trigger(f.main, "AlwaysOnTop1");
    QVERIFY(f.main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(picker->isStayOnTop());
    QVERIFY(f.main.isVisible());
}

void TestMainWindowColours::paletteItemsAndPaletteFilesReachTheSwatches() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const auto swatchesUnder = [&] {
        PickerSight sight;
        QueuePicker(f.platform, {}, false, &sight);
        ClickOn(f.main, "Button6");
        return sight.colours;
    };
    const auto marked = [&] {
        QStringList names;
        for (const char* name :
             {"UseC64Palette1", "UseVicPalette1", "UseWindowsStandard16bitPalette1", "UseColodorePalette1",
              "UseCommunityColorsPalette1", "UsePalette6569R5Palette1"})
            if (Action(f.main, QString::fromLatin1(name))->isChecked())
                names << QString::fromLatin1(name);
        return names;
    };
    // Red (code 2) of each published table.
    Trigger(f.main, "UseColodorePalette1");
    QCOMPARE(swatchesUnder()[2], mosaiqua::MakeColor(0x81, 0x33, 0x38));
    QCOMPARE(marked(), QStringList{"UseColodorePalette1"});
    Trigger(f.main, "UseCommunityColorsPalette1");
    QCOMPARE(swatchesUnder()[2], mosaiqua::MakeColor(0xAF, 0x2A, 0x29));
    Trigger(f.main, "UsePalette6569R5Palette1");
    QCOMPARE(swatchesUnder()[2], mosaiqua::MakeColor(0x8D, 0x30, 0x43));
    // The true VIC-II item still brings its own table back.
    Trigger(f.main, "UseVicPalette1");
    QCOMPARE(swatchesUnder(), kTrueVic);
    QCOMPARE(marked(), QStringList{"UseVicPalette1"});

    QTemporaryDir dir;
    QString vpl = QStringLiteral("# test palette\n");
    for (int i = 0; i < 16; ++i)
        vpl += QStringLiteral("%1 0 0\n").arg(i, 0, 16);
    const auto write = [&](const QString& name, const QString& text) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toLatin1());
    };
    write("ramp.vpl", vpl);
    f.platform.openAnswers.push_back(dir.filePath("ramp.vpl"));
    Trigger(f.main, "LoadPaletteFile1");
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(swatchesUnder()[15], mosaiqua::MakeColor(15, 0, 0));
    QVERIFY(marked().isEmpty());

    // A bad digit on line 4: refused with the line named, the file's palette stays.
    write("bad.vpl", vpl.replace(QStringLiteral("\n2 0 0"), QStringLiteral("\n2 0 zz")));
    f.platform.openAnswers.push_back(dir.filePath("bad.vpl"));
    Trigger(f.main, "LoadPaletteFile1");
    QCOMPARE(f.platform.errors.size(), 1u);
    QVERIFY2(f.platform.errors[0].text.contains(QStringLiteral("line 4")),
             qPrintable(f.platform.errors[0].text));
    QCOMPARE(swatchesUnder()[15], mosaiqua::MakeColor(15, 0, 0));
}

QTEST_MAIN(TestMainWindowColours)
#include "tst_main_window_colours.moc"
