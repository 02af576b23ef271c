// The sprite page: navigation and its bounds, labels, the sprite mode, palettes, colour resets and
// opening snapshots.
#include "helpers/main_window_driver.h"
#include "ui/widgets/colour_swatch.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using mosaiqua::ColourSlots;
using mosaiqua::TColor;

class TestMainWindowSprites final : public QObject {
    Q_OBJECT

private slots:
    void navigationBounds_data();
    void navigationBounds();
    void stripLabelsStayFromFE40();
    void toEndSetsTheStripLabels();
    void spriteKeysWorkFromCharSetPage();
    void multicolourMarkShowsTheButton();
    void paletteCommands();
    void spriteColourReset();
    void charSetColourReset();
    void openLoadsAndRedrawsAtTheSameAddresses();
    void unopenableFileChangesNothing();
    void cancelledOpenChangesNothing();
    void skipHeaderOption();
};

void TestMainWindowSprites::navigationBounds_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("expected"); // -1: does nothing
    QTest::newRow("> at $FFBF") << 0xFFBF << "Button1" << 0xFFFF;
    QTest::newRow("> at $FFC0") << 0xFFC0 << "Button1" << -1;
    QTest::newRow("> at $0001") << 0x0001 << "Button1" << 0x0041;
    QTest::newRow("< at $0040") << 0x0040 << "Button2" << 0x0000;
    QTest::newRow("< at $003F") << 0x003F << "Button2" << -1;
    QTest::newRow("< at $0000") << 0x0000 << "Button2" << -1;
    QTest::newRow("< at $0001") << 0x0001 << "Button2" << -1;
    QTest::newRow(">> at $EFFF") << 0xEFFF << "Button3" << 0xFFFF;
    QTest::newRow(">> at $F000") << 0xF000 << "Button3" << -1;
    QTest::newRow("<< at $1001") << 0x1001 << "Button4" << 0x0001;
    QTest::newRow("<< at $1000") << 0x1000 << "Button4" << -1;
    QTest::newRow("+ at $FFFE") << 0xFFFE << "Button9" << 0xFFFF;
    QTest::newRow("+ at $FFFF") << 0xFFFF << "Button9" << -1;
    QTest::newRow("- at $0001") << 0x0001 << "Button8" << 0x0000;
    QTest::newRow("- at $0000") << 0x0000 << "Button8" << -1;
    QTest::newRow("|< at $1234") << 0x1234 << "Button10" << 0x0000;
    QTest::newRow("|< at $0000") << 0x0000 << "Button10" << 0x0000;
    QTest::newRow(">| at $0000") << 0x0000 << "Button11" << 0xFE40;
    QTest::newRow(">| at $FFFF") << 0xFFFF << "Button11" << 0xFE40;
}

void TestMainWindowSprites::navigationBounds() {
    QFETCH(int, start);
    QFETCH(QString, button);
    QFETCH(int, expected);
    MainWindowFixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.main, start);
    const QString label1 = LabelText(f.main, "Label1");
    SetSwatch(f.main, "Back", 0x123456);
    const ChangeCounter changes(f.main.Model());
    ClickOn(f.main, button);
    // A step at its bound changes nothing, not even a redraw.
    QCOMPARE(changes.Count(mosaiqua::DocumentChange::SpriteView), expected < 0 ? 0 : 1);
    if (expected < 0) {
        QCOMPARE(f.main.SpriteAddress(), start);
        QCOMPARE(LabelText(f.main, "Label1"), label1);
    } else {
        QCOMPARE(f.main.SpriteAddress(), expected);
        QCOMPARE(LabelText(f.main, "Label1"), QString("$%1").arg(expected, 4, 16, QChar('0')).toUpper());
        QVERIFY(AllPixels(f.main.SpriteViews().SpriteActual, 0x123456));
        QVERIFY(AllPixels(f.main.SpriteViews().SpriteBig, 0x123456));
        QVERIFY(AllPixels(f.main.SpriteViews().ScanImage, 0x123456));
    }
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowSprites::stripLabelsStayFromFE40() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.main, 0xFE3F);
    QCOMPARE(LabelText(f.main, "Label2"), QString("$FE7F"));
    QCOMPARE(LabelText(f.main, "Label3"), QString("$FFFF"));
    ClickOn(f.main, "Button9");
    QCOMPARE(SpriteLabels(f.main), (QStringList{"$FE40", "$FE7F", "$FFFF"}));
    ClickOn(f.main, "Button1");
    QCOMPARE(SpriteLabels(f.main), (QStringList{"$FE80", "$FE7F", "$FFFF"}));
    // Back below $FE40 the labels follow the address again.
    ClickOn(f.main, "Button2");
    ClickOn(f.main, "Button2");
    QCOMPARE(SpriteLabels(f.main), (QStringList{"$FE00", "$FE40", "$FFC0"}));
}

void TestMainWindowSprites::toEndSetsTheStripLabels() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.main, 0xFE3F); // strip labels $FE7F and $FFFF
    ClickOn(f.main, "Button9");
    ClickOn(f.main, "Button11");
    QCOMPARE(f.main.SpriteAddress(), 0xFE40);
    QCOMPARE(SpriteLabels(f.main), (QStringList{"$FE40", "$FE40", "$FFC0"}));
    ClickOn(f.main, "Button2");
    QCOMPARE(f.main.SpriteAddress(), 0xFE00);
    QCOMPARE(SpriteLabels(f.main), (QStringList{"$FE00", "$FE40", "$FFC0"}));
}

void TestMainWindowSprites::spriteKeysWorkFromCharSetPage() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    Trigger(f.main, "CharSetRipper1");
    QTest::keyClick(&f.main, Qt::Key_F7);
    QTest::keyClick(&f.main, Qt::Key_F8);
    QTest::keyClick(&f.main, Qt::Key_F10);
    QCOMPARE(f.main.SpriteAddress(), 0x40 + 0x1000 + 1);
    Trigger(f.main, "SpriteRipper1");
    QCOMPARE(SpriteLabels(f.main), (QStringList{"$1041", "$1081", "$1201"}));
}

void TestMainWindowSprites::multicolourMarkShowsTheButton() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(1, char(0x1B))); // bit pairs 00 01 10 11
    const std::vector<TColor> hires{0, 0, 0, 0x6C6C6C, 0x6C6C6C, 0, 0x6C6C6C, 0x6C6C6C};
    const std::vector<TColor> multi{0, 0, 0x444444, 0x444444, 0x6C6C6C, 0x6C6C6C, 0xFFFFFF, 0xFFFFFF};
    const auto& sprite = f.main.SpriteViews().SpriteActual;
    QAction* mark = Action(f.main, "MulticolourMode1");
    QCOMPARE(Pixels(sprite, 0, 0, 8), hires);

    ClickOn(f.main, "MCM");
    QVERIFY(f.main.SpriteMulticolour());
    QVERIFY(mark->isChecked());
    QCOMPARE(Pixels(sprite, 0, 0, 8), multi);
    QCOMPARE(f.main.SpriteViews().SpriteBig.pixel(25, 5), 0x444444u);

    // The key flips the mode the button shows, and the button with it.
    QTest::keyClick(&f.main, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(!mark->isChecked());
    QVERIFY(!f.main.SpriteMulticolour());
    QVERIFY(!Child<QAbstractButton>(f.main, "MCM")->isChecked());
    QCOMPARE(Pixels(sprite, 0, 0, 8), hires);

    QTest::keyClick(&f.main, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(mark->isChecked());
    QVERIFY(f.main.SpriteMulticolour());
    QCOMPARE(Pixels(sprite, 0, 0, 8), multi);
    ClickOn(f.main, "MCM");
    QVERIFY(!mark->isChecked());

    // From the menu item too, and the strip follows the mode.
    LoadBytes(f, QByteArray(64, char(0)) + QByteArray(1, char(0x1B)));
    Trigger(f.main, "MulticolourMode1");
    QVERIFY(mark->isChecked());
    QVERIFY(f.main.SpriteMulticolour());
    QCOMPARE(Pixels(f.main.SpriteViews().ScanImage, 0, 0, 8), multi);
}

void TestMainWindowSprites::paletteCommands() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QAction* c64 = Action(f.main, "UseC64Palette1");
    QAction* vic = Action(f.main, "UseVicPalette1");
    QAction* windows = Action(f.main, "UseWindowsStandard16bitPalette1");
    auto checkedCount = [&] {
        return int(c64->isChecked()) + int(vic->isChecked()) + int(windows->isChecked());
    };
    const auto& sprite = f.main.SpriteViews().SpriteActual;

    // Choosing the palette in force does nothing, not even a redraw.
    SetSwatch(f.main, "Back", 0x010203);
    {
        const ChangeCounter changes(f.main.Model());
        vic->trigger();
        QCOMPARE(changes.Count(mosaiqua::DocumentChange(~0u)), 0);
    }
    QVERIFY(vic->isChecked());
    QCOMPARE(checkedCount(), 1);

    c64->trigger();
    QVERIFY(c64->isChecked());
    QCOMPARE(checkedCount(), 1);
    QCOMPARE(f.main.CurrentPaletteKind(), mosaiqua::PaletteKind::pkCcs64);
    QVERIFY(AllPixels(sprite, 0x010203));
    QVERIFY(AllPixels(f.main.SpriteViews().ScanImage, 0x010203));
    // Slots keep colours that are not in the new table.
    QCOMPARE(f.main.SpriteColours(), (ColourSlots{0x010203, 0x444444, 0x6C6C6C, 0xFFFFFF}));
    QCOMPARE(f.main.CharSetColours(), kStartup);

    SetSwatch(f.main, "Back", 0x040506);
    {
        const ChangeCounter changes(f.main.Model());
        c64->trigger();
        QCOMPARE(changes.Count(mosaiqua::DocumentChange(~0u)), 0);
    }
    QVERIFY(c64->isChecked());
    QCOMPARE(checkedCount(), 1);

    windows->trigger();
    QCOMPARE(checkedCount(), 1);
    QCOMPARE(f.main.CurrentPaletteKind(), mosaiqua::PaletteKind::pkWindows);
    QVERIFY(AllPixels(sprite, 0x040506));
    // The charset views do not depend on the palette.
    QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage, 0x000000));

    vic->trigger();
    QCOMPARE(checkedCount(), 1);
    QCOMPARE(f.main.CurrentPaletteKind(), mosaiqua::PaletteKind::pkTrueVic);
}

void TestMainWindowSprites::spriteColourReset() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(3, char(0xFF))); // one row of main colour in hi-res
    const ColourSlots customSprite{0x010203, 0x040506, 0x070809, 0x0A0B0C};
    const ColourSlots customChars{0x111111, 0x222222, 0x333333, 0x454545};
    SetSwatch(f.main, "Back", customSprite.background);
    SetSwatch(f.main, "Col1", customSprite.multicolour1);
    SetSwatch(f.main, "Col2", customSprite.main);
    SetSwatch(f.main, "Col3", customSprite.multicolour2);
    SetSwatch(f.main, "CBack", customChars.background);
    SetSwatch(f.main, "CCol1", customChars.multicolour1);
    SetSwatch(f.main, "CCol2", customChars.main);
    SetSwatch(f.main, "CCol3", customChars.multicolour2);
    QTest::keyClick(&f.main, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&f.main, Qt::Key_F7);
    QTest::keyClick(&f.main, Qt::Key_F6);
    QCOMPARE(f.main.SpriteViews().SpriteActual.pixel(0, 0), customSprite.main);
    QCOMPARE(f.main.CharSetViews().CharSetImage.pixel(0, 0), customChars.main);
    const mosaiqua::Raster charsBefore = f.main.CharSetViews().CharSetImage;

    Trigger(f.main, "ResetColoursToDefaults1");
    QCOMPARE(f.main.SpriteColours(), kStartup);
    QCOMPARE(f.main.CharSetColours(), (ColourSlots{0x111111, 0x444444, 0x6C6C6C, 0x454545}));
    QCOMPARE(f.main.SpriteViews().SpriteActual.pixel(0, 0), 0x6C6C6Cu);
    QCOMPARE(f.main.SpriteViews().SpriteActual.pixel(0, 1), 0x000000u);
    QCOMPARE(f.main.SpriteViews().SpriteBig.pixel(9, 9), 0x6C6C6Cu);
    QCOMPARE(f.main.SpriteViews().ScanImage.pixel(0, 0), 0x000000u);
    // The charset views show the new colours only from their next refresh.
    QVERIFY(f.main.CharSetViews().CharSetImage == charsBefore);
}

void TestMainWindowSprites::charSetColourReset() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(1, char(0x0F)));
    const ColourSlots customSprite{0x010203, 0x040506, 0x070809, 0x0A0B0C};
    SetSwatch(f.main, "Back", customSprite.background);
    SetSwatch(f.main, "Col1", customSprite.multicolour1);
    SetSwatch(f.main, "Col2", customSprite.main);
    SetSwatch(f.main, "Col3", customSprite.multicolour2);
    const mosaiqua::Raster spriteBefore = f.main.SpriteViews().SpriteActual;
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);

    Trigger(f.main, "ResetCharSetColoursToDefault1");
    QCOMPARE(f.main.CharSetColours(), (ColourSlots{0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF}));
    QCOMPARE(f.main.SpriteColours(), customSprite);
    const std::vector<TColor> row0{0, 0, 0, 0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0};
    QCOMPARE(Pixels(f.main.CharSetViews().CharSetImage, 0, 0, 8), row0);
    QVERIFY(f.main.SpriteViews().SpriteActual == spriteBefore);
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(0).at(0).toString(), QString("Working...."));
    QCOMPARE(status.at(1).at(0).toString(), QString("OK.."));
}

void TestMainWindowSprites::openLoadsAndRedrawsAtTheSameAddresses() {
    SKIP_UNLESS_PRESENT(TestDataPath("ballon_demo.prg"));
    MainWindowFixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.main, 0x0049);
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    LoadFile(f, TestDataPath("ballon_demo.prg"));

    QCOMPARE(f.platform.openStartFolders, QStringList{"C:\\My Emulators\\CCS64"});
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.main.SpriteAddress(), 0x0049);
    QCOMPARE(f.main.CharSetAddress(), 0);
    QCOMPARE(LabelText(f.main, "Label1"), QString("$0049"));
    const auto& views = f.main.SpriteViews();
    QCOMPARE(Rows(views.SpriteActual, 0, 0, 24, 21, 0x6C6C6C, 0x000000), kBalloon);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 24; ++x)
            QCOMPARE(views.SpriteBig.pixel(10 * x + 9, 10 * y + 9), views.SpriteActual.pixel(x, y));
    // The strip starts at $0089, past the file's last byte ($87): never loaded, so background.
    QVERIFY(AllPixels(views.ScanImage, 0x000000));

    // The charset view was refreshed with status: the file starts 00 08 (load address $0800).
    QCOMPARE(Rows(f.main.CharSetViews().CharSetImage, 0, 0, 8, 2, 0x6C6C6C, 0x000000),
             (std::vector<std::string>{"........", "....#..."}));
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(1).at(0).toString(), QString("OK.."));
    QCOMPARE(f.main.StatusText(), QString("OK.."));
}

void TestMainWindowSprites::unopenableFileChangesNothing() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    const mosaiqua::SpriteRasters sprites = f.main.SpriteViews();
    const mosaiqua::CharSetRasters chars = f.main.CharSetViews();
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);

    const QString missing = f.files.filePath("no-such-snapshot.c64");
    LoadFile(f, missing);
    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].title, QString("Mosaiqua"));
    QVERIFY2(f.platform.errors[0].text.contains(missing), qPrintable(f.platform.errors[0].text));

    LoadFile(f, f.files.path()); // a folder
    QCOMPARE(f.platform.errors.size(), std::size_t(2));
    QVERIFY(f.platform.errors[1].text.contains(QDir::toNativeSeparators(f.files.path())));

    QCOMPARE(f.main.SpriteAddress(), 0x0049);
    QCOMPARE(f.main.CharSetAddress(), 0);
    QVERIFY(f.main.SpriteViews().SpriteActual == sprites.SpriteActual);
    QVERIFY(f.main.SpriteViews().ScanImage == sprites.ScanImage);
    QVERIFY(f.main.CharSetViews().CharSetImage == chars.CharSetImage);
    QCOMPARE(status.count(), 0);
    // The image itself kept the balloon: a redraw still shows it.
    Trigger(f.main, "RefreshCharSetDisplay1");
    ClickOn(f.main, "Button9");
    ClickOn(f.main, "Button8");
    QCOMPARE(Rows(f.main.SpriteViews().SpriteActual, 0, 0, 24, 21, 0x6C6C6C, 0x000000), kBalloon);
}

void TestMainWindowSprites::cancelledOpenChangesNothing() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    const ChangeCounter changes(f.main.Model());
    QTest::keyClick(&f.main, Qt::Key_O, Qt::ControlModifier); // the fake dialog answers "cancel"
    QCOMPARE(f.platform.openStartFolders.size(), 1);
    QCOMPARE(status.count(), 0);
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(changes.Count(mosaiqua::DocumentChange(~0u)), 0);
}

void TestMainWindowSprites::skipHeaderOption() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    // 1148 header bytes of $FF, then memory whose first byte is $80.
    QByteArray file(1148, char(0xFF));
    file += char(0x80);
    file += QByteArray(62, char(0));
    const QString path = f.files.filePath("snapshot.c64");
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(file), qint64(file.size()));
    }
    QAction* skip = Action(f.main, "SkipFirst1148BytesOfFile1");
    QVERIFY(skip->isChecked());
    f.platform.openAnswers.push_back(path);
    Trigger(f.main, "OpenFreezeFile1");
    const auto& sprite = f.main.SpriteViews().SpriteActual;
    QCOMPARE(Rows(sprite, 0, 0, 24, 2, 0x6C6C6C, 0x000000),
             (std::vector<std::string>{"#.......................", "........................"}));
    // Indices 63..1147 keep the header bytes: the strip's first sprite is solid.
    QCOMPARE(f.main.SpriteViews().ScanImage.pixel(0, 0), 0x6C6C6Cu);

    // Toggling keeps the bytes; it takes effect at the next load.
    SetSwatch(f.main, "Col2", 0x010101);
    skip->trigger();
    QVERIFY(!skip->isChecked());
    QCOMPARE(Rows(sprite, 0, 0, 24, 2, 0x010101, 0x000000),
             (std::vector<std::string>{"#.......................", "........................"}));

    f.platform.openAnswers.push_back(path);
    Trigger(f.main, "OpenFreezeFile1");
    QCOMPARE(Rows(sprite, 0, 0, 24, 1, 0x010101, 0x000000), (std::vector<std::string>{std::string(24, '#')}));
    skip->trigger();
    QVERIFY(skip->isChecked());
}

QTEST_MAIN(TestMainWindowSprites)
#include "tst_main_window_nav.moc"
