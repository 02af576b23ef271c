// The sprite page: navigation and its bounds, labels, the sprite mode, palettes, colour resets and
// opening snapshots.
#include "helpers/form1_driver.h"
#include "ui/widgets/colour_swatch.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using mosaiqua::ColourSlots;
using mosaiqua::TColor;

class TestTForm1Sprites final : public QObject {
    Q_OBJECT

private slots:
    void navigationBounds_data();
    void navigationBounds();
    void stripLabelsStayFromFE40();
    void toEndSetsTheStripLabels();
    void spriteKeysWorkFromCharSetPage();
    void multicolourButtonAndMenuMarkDisagree();
    void paletteCommands();
    void spriteColourReset();
    void charSetColourReset();
    void openLoadsAndRedrawsAtTheSameAddresses();
    void unopenableFileChangesNothing();
    void cancelledOpenChangesNothing();
    void skipHeaderOption();
};

void TestTForm1Sprites::navigationBounds_data() {
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

void TestTForm1Sprites::navigationBounds() {
    QFETCH(int, start);
    QFETCH(QString, button);
    QFETCH(int, expected);
    Form1Fixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.form, start);
    const QString label1 = LabelText(f.form, "Label1");
    // A new background shows only if the command redraws.
    SetSwatch(f.form, "Back", 0x123456);
    ClickOn(f.form, button);
    if (expected < 0) {
        QCOMPARE(f.form.SpriteAddress(), start);
        QCOMPARE(LabelText(f.form, "Label1"), label1);
        QVERIFY(AllPixels(f.form.SpriteViews().SpriteActual, 0x000000));
        QVERIFY(AllPixels(f.form.SpriteViews().ScanImage, 0x000000));
    } else {
        QCOMPARE(f.form.SpriteAddress(), expected);
        QCOMPARE(LabelText(f.form, "Label1"), QString("$%1").arg(expected, 4, 16, QChar('0')).toUpper());
        QVERIFY(AllPixels(f.form.SpriteViews().SpriteActual, 0x123456));
        QVERIFY(AllPixels(f.form.SpriteViews().SpriteBig, 0x123456));
        QVERIFY(AllPixels(f.form.SpriteViews().ScanImage, 0x123456));
    }
    QVERIFY(f.platform.errors.empty());
}

void TestTForm1Sprites::stripLabelsStayFromFE40() {
    Form1Fixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.form, 0xFE3F);
    QCOMPARE(LabelText(f.form, "Label2"), QString("$FE7F"));
    QCOMPARE(LabelText(f.form, "Label3"), QString("$FFFF"));
    ClickOn(f.form, "Button9");
    QCOMPARE(SpriteLabels(f.form), (QStringList{"$FE40", "$FE7F", "$FFFF"}));
    ClickOn(f.form, "Button1");
    QCOMPARE(SpriteLabels(f.form), (QStringList{"$FE80", "$FE7F", "$FFFF"}));
    // Back below $FE40 the labels follow the address again.
    ClickOn(f.form, "Button2");
    ClickOn(f.form, "Button2");
    QCOMPARE(SpriteLabels(f.form), (QStringList{"$FE00", "$FE40", "$FFC0"}));
}

void TestTForm1Sprites::toEndSetsTheStripLabels() {
    Form1Fixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.form, 0xFE3F); // strip labels $FE7F and $FFFF
    ClickOn(f.form, "Button9");
    ClickOn(f.form, "Button11");
    QCOMPARE(f.form.SpriteAddress(), 0xFE40);
    QCOMPARE(SpriteLabels(f.form), (QStringList{"$FE40", "$FE40", "$FFC0"}));
    ClickOn(f.form, "Button2");
    QCOMPARE(f.form.SpriteAddress(), 0xFE00);
    QCOMPARE(SpriteLabels(f.form), (QStringList{"$FE00", "$FE40", "$FFC0"}));
}

void TestTForm1Sprites::spriteKeysWorkFromCharSetPage() {
    Form1Fixture f;
    QVERIFY(f.Show());
    Trigger(f.form, "CharSetRipper1");
    QTest::keyClick(&f.form, Qt::Key_F7);
    QTest::keyClick(&f.form, Qt::Key_F8);
    QTest::keyClick(&f.form, Qt::Key_F10);
    QCOMPARE(f.form.SpriteAddress(), 0x40 + 0x1000 + 1);
    Trigger(f.form, "SpriteRipper1");
    QCOMPARE(SpriteLabels(f.form), (QStringList{"$1041", "$1081", "$1201"}));
}

void TestTForm1Sprites::multicolourButtonAndMenuMarkDisagree() {
    Form1Fixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(1, char(0x1B))); // bit pairs 00 01 10 11
    const std::vector<TColor> hires{0, 0, 0, 0x6C6C6C, 0x6C6C6C, 0, 0x6C6C6C, 0x6C6C6C};
    const std::vector<TColor> multi{0, 0, 0x444444, 0x444444, 0x6C6C6C, 0x6C6C6C, 0xFFFFFF, 0xFFFFFF};
    const auto& sprite = f.form.SpriteViews().SpriteActual;
    QAction* mark = Action(f.form, "MulticolourMode1");
    QCOMPARE(Pixels(sprite, 0, 0, 8), hires);

    ClickOn(f.form, "MCM");
    QVERIFY(f.form.SpriteMulticolour());
    QVERIFY(!mark->isChecked());
    QCOMPARE(Pixels(sprite, 0, 0, 8), multi);
    QCOMPARE(f.form.SpriteViews().SpriteBig.pixel(25, 5), 0x444444u);

    // The mark decides: on, and the button that is already down stays down.
    QTest::keyClick(&f.form, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(mark->isChecked());
    QVERIFY(f.form.SpriteMulticolour());
    QCOMPARE(Pixels(sprite, 0, 0, 8), multi);

    QTest::keyClick(&f.form, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(!mark->isChecked());
    QVERIFY(!f.form.SpriteMulticolour());
    QCOMPARE(Pixels(sprite, 0, 0, 8), hires);

    // From the menu item too, and the strip follows the mode.
    LoadBytes(f, QByteArray(64, char(0)) + QByteArray(1, char(0x1B)));
    Trigger(f.form, "MulticolourMode1");
    QVERIFY(mark->isChecked());
    QVERIFY(f.form.SpriteMulticolour());
    QCOMPARE(Pixels(f.form.SpriteViews().ScanImage, 0, 0, 8), multi);
}

void TestTForm1Sprites::paletteCommands() {
    Form1Fixture f;
    QVERIFY(f.Show());
    QAction* c64 = Action(f.form, "UseC64Palette1");
    QAction* vic = Action(f.form, "UseVicPalette1");
    QAction* windows = Action(f.form, "UseWindowsStandard16bitPalette1");
    auto checkedCount = [&] {
        return int(c64->isChecked()) + int(vic->isChecked()) + int(windows->isChecked());
    };
    const auto& sprite = f.form.SpriteViews().SpriteActual;

    // Choosing the palette in force does nothing, not even a redraw.
    SetSwatch(f.form, "Back", 0x010203);
    vic->trigger();
    QVERIFY(vic->isChecked());
    QCOMPARE(checkedCount(), 1);
    QVERIFY(AllPixels(sprite, 0x000000));

    c64->trigger();
    QVERIFY(c64->isChecked());
    QCOMPARE(checkedCount(), 1);
    QCOMPARE(f.form.CurrentPaletteKind(), mosaiqua::PaletteKind::pkCcs64);
    QVERIFY(AllPixels(sprite, 0x010203));
    QVERIFY(AllPixels(f.form.SpriteViews().ScanImage, 0x010203));
    // Slots keep colours that are not in the new table.
    QCOMPARE(f.form.SpriteColours(), (ColourSlots{0x010203, 0x444444, 0x6C6C6C, 0xFFFFFF}));
    QCOMPARE(f.form.CharSetColours(), kStartup);

    SetSwatch(f.form, "Back", 0x040506);
    c64->trigger();
    QVERIFY(c64->isChecked());
    QCOMPARE(checkedCount(), 1);
    QVERIFY(AllPixels(sprite, 0x010203));

    windows->trigger();
    QCOMPARE(checkedCount(), 1);
    QCOMPARE(f.form.CurrentPaletteKind(), mosaiqua::PaletteKind::pkWindows);
    QVERIFY(AllPixels(sprite, 0x040506));
    // The charset views do not depend on the palette.
    QVERIFY(AllPixels(f.form.CharSetViews().CharSetImage, 0x000000));

    vic->trigger();
    QCOMPARE(checkedCount(), 1);
    QCOMPARE(f.form.CurrentPaletteKind(), mosaiqua::PaletteKind::pkTrueVic);
}

void TestTForm1Sprites::spriteColourReset() {
    Form1Fixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(3, char(0xFF))); // one row of main colour in hi-res
    const ColourSlots customSprite{0x010203, 0x040506, 0x070809, 0x0A0B0C};
    const ColourSlots customChars{0x111111, 0x222222, 0x333333, 0x454545};
    SetSwatch(f.form, "Back", customSprite.background);
    SetSwatch(f.form, "Col1", customSprite.multicolour1);
    SetSwatch(f.form, "Col2", customSprite.main);
    SetSwatch(f.form, "Col3", customSprite.multicolour2);
    SetSwatch(f.form, "CBack", customChars.background);
    SetSwatch(f.form, "CCol1", customChars.multicolour1);
    SetSwatch(f.form, "CCol2", customChars.main);
    SetSwatch(f.form, "CCol3", customChars.multicolour2);
    QTest::keyClick(&f.form, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&f.form, Qt::Key_F7);
    QTest::keyClick(&f.form, Qt::Key_F6);
    QCOMPARE(f.form.SpriteViews().SpriteActual.pixel(0, 0), customSprite.main);
    QCOMPARE(f.form.CharSetViews().CharSetImage.pixel(0, 0), customChars.main);
    const mosaiqua::Raster charsBefore = f.form.CharSetViews().CharSetImage;

    Trigger(f.form, "ResetColoursToDefaults1");
    QCOMPARE(f.form.SpriteColours(), kStartup);
    QCOMPARE(f.form.CharSetColours(), (ColourSlots{0x111111, 0x444444, 0x6C6C6C, 0x454545}));
    QCOMPARE(f.form.SpriteViews().SpriteActual.pixel(0, 0), 0x6C6C6Cu);
    QCOMPARE(f.form.SpriteViews().SpriteActual.pixel(0, 1), 0x000000u);
    QCOMPARE(f.form.SpriteViews().SpriteBig.pixel(9, 9), 0x6C6C6Cu);
    QCOMPARE(f.form.SpriteViews().ScanImage.pixel(0, 0), 0x000000u);
    // The charset views show the new colours only from their next refresh.
    QVERIFY(f.form.CharSetViews().CharSetImage == charsBefore);
}

void TestTForm1Sprites::charSetColourReset() {
    Form1Fixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(1, char(0x0F)));
    const ColourSlots customSprite{0x010203, 0x040506, 0x070809, 0x0A0B0C};
    SetSwatch(f.form, "Back", customSprite.background);
    SetSwatch(f.form, "Col1", customSprite.multicolour1);
    SetSwatch(f.form, "Col2", customSprite.main);
    SetSwatch(f.form, "Col3", customSprite.multicolour2);
    const mosaiqua::Raster spriteBefore = f.form.SpriteViews().SpriteActual;
    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);

    Trigger(f.form, "ResetCharSetColoursToDefault1");
    QCOMPARE(f.form.CharSetColours(), (ColourSlots{0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF}));
    QCOMPARE(f.form.SpriteColours(), customSprite);
    const std::vector<TColor> row0{0, 0, 0, 0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0};
    QCOMPARE(Pixels(f.form.CharSetViews().CharSetImage, 0, 0, 8), row0);
    QVERIFY(f.form.SpriteViews().SpriteActual == spriteBefore);
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(0).at(0).toString(), QString("Working...."));
    QCOMPARE(status.at(1).at(0).toString(), QString("OK.."));
}

void TestTForm1Sprites::openLoadsAndRedrawsAtTheSameAddresses() {
    Form1Fixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.form, 0x0049);
    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);
    LoadFile(f, TestDataPath("ballon_demo.prg"));

    QCOMPARE(f.platform.openStartFolders, QStringList{"C:\\My Emulators\\CCS64"});
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.form.SpriteAddress(), 0x0049);
    QCOMPARE(f.form.CharSetAddress(), 0);
    QCOMPARE(LabelText(f.form, "Label1"), QString("$0049"));
    const auto& views = f.form.SpriteViews();
    QCOMPARE(Rows(views.SpriteActual, 0, 0, 24, 21, 0x6C6C6C, 0x000000), kBalloon);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 24; ++x)
            QCOMPARE(views.SpriteBig.pixel(10 * x + 9, 10 * y + 9), views.SpriteActual.pixel(x, y));
    // The strip starts at $0089, past the file's last byte ($87): never loaded, so background.
    QVERIFY(AllPixels(views.ScanImage, 0x000000));

    // The charset view was refreshed with status: the file starts 00 08 (load address $0800).
    QCOMPARE(Rows(f.form.CharSetViews().CharSetImage, 0, 0, 8, 2, 0x6C6C6C, 0x000000),
             (std::vector<std::string>{"........", "....#..."}));
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(1).at(0).toString(), QString("OK.."));
    QCOMPARE(f.form.StatusText(), QString("OK.."));
}

void TestTForm1Sprites::unopenableFileChangesNothing() {
    Form1Fixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.form, 0x0049);
    LoadFile(f, TestDataPath("ballon_demo.prg"));
    const mosaiqua::SpriteRasters sprites = f.form.SpriteViews();
    const mosaiqua::CharSetRasters chars = f.form.CharSetViews();
    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);

    const QString missing = f.files.filePath("no-such-snapshot.c64");
    LoadFile(f, missing);
    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].title, QString("Mosaiqua"));
    QVERIFY2(f.platform.errors[0].text.contains(missing), qPrintable(f.platform.errors[0].text));

    LoadFile(f, f.files.path()); // a folder
    QCOMPARE(f.platform.errors.size(), std::size_t(2));
    QVERIFY(f.platform.errors[1].text.contains(QDir::toNativeSeparators(f.files.path())));

    QCOMPARE(f.form.SpriteAddress(), 0x0049);
    QCOMPARE(f.form.CharSetAddress(), 0);
    QVERIFY(f.form.SpriteViews().SpriteActual == sprites.SpriteActual);
    QVERIFY(f.form.SpriteViews().ScanImage == sprites.ScanImage);
    QVERIFY(f.form.CharSetViews().CharSetImage == chars.CharSetImage);
    QCOMPARE(status.count(), 0);
    // The image itself kept the balloon: a redraw still shows it.
    Trigger(f.form, "RefreshCharSetDisplay1");
    ClickOn(f.form, "Button9");
    ClickOn(f.form, "Button8");
    QCOMPARE(Rows(f.form.SpriteViews().SpriteActual, 0, 0, 24, 21, 0x6C6C6C, 0x000000), kBalloon);
}

void TestTForm1Sprites::cancelledOpenChangesNothing() {
    Form1Fixture f;
    QVERIFY(f.Show());
    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);
    SetSwatch(f.form, "Back", 0x010203);
    QTest::keyClick(&f.form, Qt::Key_O, Qt::ControlModifier); // the fake dialog answers "cancel"
    QCOMPARE(f.platform.openStartFolders.size(), 1);
    QCOMPARE(status.count(), 0);
    QVERIFY(f.platform.errors.empty());
    QVERIFY(AllPixels(f.form.SpriteViews().SpriteActual, 0x000000));
}

void TestTForm1Sprites::skipHeaderOption() {
    Form1Fixture f;
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
    QAction* skip = Action(f.form, "SkipFirst1148BytesOfFile1");
    QVERIFY(skip->isChecked());
    f.platform.openAnswers.push_back(path);
    Trigger(f.form, "OpenFreezeFile1");
    const auto& sprite = f.form.SpriteViews().SpriteActual;
    QCOMPARE(Rows(sprite, 0, 0, 24, 2, 0x6C6C6C, 0x000000),
             (std::vector<std::string>{"#.......................", "........................"}));
    // Indices 63..1147 keep the header bytes: the strip's first sprite is solid.
    QCOMPARE(f.form.SpriteViews().ScanImage.pixel(0, 0), 0x6C6C6Cu);

    // Toggling redraws (a colour set without a redraw now shows) but the bytes stay.
    SetSwatch(f.form, "Col2", 0x010101);
    skip->trigger();
    QVERIFY(!skip->isChecked());
    QCOMPARE(Rows(sprite, 0, 0, 24, 2, 0x010101, 0x000000),
             (std::vector<std::string>{"#.......................", "........................"}));

    f.platform.openAnswers.push_back(path);
    Trigger(f.form, "OpenFreezeFile1");
    QCOMPARE(Rows(sprite, 0, 0, 24, 1, 0x010101, 0x000000), (std::vector<std::string>{std::string(24, '#')}));
    skip->trigger();
    QVERIFY(skip->isChecked());
}

QTEST_MAIN(TestTForm1Sprites)
#include "tst_tform1_nav.moc"
