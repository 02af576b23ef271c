#include "ui/dialogs/palette_picker.h"

#include <QPushButton>
#include <QtTest>

using mosaiqua::TColor;

namespace {

constexpr auto kCcs64 = mosaiqua::PaletteKind::pkCcs64;
constexpr auto kTrueVic = mosaiqua::PaletteKind::pkTrueVic;

PaletteSwatch* SwatchOf(const PalettePicker& picker, int number) {
    return picker.findChild<PaletteSwatch*>(QStringLiteral("c64p%1").arg(number));
}

// The numbers of the swatches that carry an "X".
QList<int> Marked(const PalettePicker& picker) {
    QList<int> marked;
    for (int n = 1; n <= 16; ++n) {
        const PaletteSwatch* swatch = SwatchOf(picker, n);
        if (swatch != nullptr && swatch->Caption() == QStringLiteral("X")) {
            marked.append(n);
        }
    }
    return marked;
}

void Open(PalettePicker& picker, TColor slot, mosaiqua::PaletteKind table) {
    picker.Prepare(slot, table);
    picker.show();
}

void Press(PalettePicker& picker, const char* name) {
    QWidget* control = picker.findChild<QWidget*>(QString::fromLatin1(name));
    QVERIFY2(control != nullptr, name);
    QTest::mouseClick(control, Qt::LeftButton);
}

} // namespace

class TestPalettePicker final : public QObject {
    Q_OBJECT

private slots:
    void windowHasItsCaptionSizeAndControls();
    void trueVicShowsItsTableAndMarksGrey();
    void ccs64ShowsItsTableAndMarksGrey();
    void blackIsMarkedUnderBothTables();
    void colourInNeitherTableMarksNothingAndOkKeepsIt();
    void reopeningRecoloursFromTheTableAsked();
    void lastOfSeveralClicksCountsOnOk();
    void cancelKeepsTag();
    void closeBoxKeepsTag();
    void okWithoutAClickHandsBackTheSlotColour();
    void darkSwatchesHaveWhiteCaptions();
    void runsItsActivationWhenExecuted();
    void stayOnTopCanBeSwitched();
};

void TestPalettePicker::windowHasItsCaptionSizeAndControls() {
    PalettePicker picker;
    QCOMPARE(picker.windowTitle(), QStringLiteral("C64 Palette"));
    QCOMPARE(picker.size(), QSize(143, 172));
    QCOMPARE(picker.minimumSize(), picker.maximumSize());
    QFrame* panel = picker.findChild<QFrame*>(QStringLiteral("Panel2"));
    QVERIFY(panel != nullptr);
    QCOMPARE(panel->geometry(), QRect(3, 2, 137, 167));

    // Sixteen swatches on the panel, four to a row, and no others.
    QCOMPARE(panel->findChildren<PaletteSwatch*>().size(), 16);
    for (int n = 1; n <= 16; ++n) {
        PaletteSwatch* swatch = SwatchOf(picker, n);
        QVERIFY(swatch != nullptr);
        QCOMPARE(picker.Swatch(n), swatch);
        QCOMPARE(swatch->parentWidget(), panel);
        const int column = (n - 1) % 4;
        const int row = (n - 1) / 4;
        QCOMPARE(swatch->geometry(), QRect(8 + 32 * column, 8 + 32 * row, 25, 25));
    }

    auto* ok = picker.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* cancel = picker.findChild<QPushButton*>(QStringLiteral("Button2"));
    QVERIFY(ok != nullptr && cancel != nullptr);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(8, 136, 57, 25));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(cancel->geometry(), QRect(72, 136, 57, 25));
}

void TestPalettePicker::trueVicShowsItsTableAndMarksGrey() {
    PalettePicker picker;
    Open(picker, 0x6C6C6C, kTrueVic);

    QCOMPARE(picker.Table(), kTrueVic);
    QCOMPARE(SwatchOf(picker, 1)->Colour(), TColor(0x000000));
    QCOMPARE(SwatchOf(picker, 3)->Colour(), TColor(0x2B3768));  // red: 104, 55, 43
    QCOMPARE(SwatchOf(picker, 8)->Colour(), TColor(0x6FC7B8));  // yellow: 184, 199, 111
    QCOMPARE(SwatchOf(picker, 13)->Colour(), TColor(0x6C6C6C)); // grey
    QCOMPARE(SwatchOf(picker, 16)->Colour(), TColor(0x959595)); // light grey
    QCOMPARE(Marked(picker), QList<int>{13});
    QCOMPARE(picker.ChosenColour(), TColor(0x6C6C6C));
}

void TestPalettePicker::ccs64ShowsItsTableAndMarksGrey() {
    PalettePicker picker;
    Open(picker, 0x848484, kCcs64);

    QCOMPARE(SwatchOf(picker, 3)->Colour(), TColor(0x27397A));  // red: 122, 57, 39
    QCOMPARE(SwatchOf(picker, 8)->Colour(), TColor(0x6DFFFF));  // yellow: 255, 255, 109
    QCOMPARE(SwatchOf(picker, 13)->Colour(), TColor(0x848484)); // grey
    QCOMPARE(Marked(picker), QList<int>{13});

    // The true VIC-II grey is no entry of this table.
    picker.hide();
    Open(picker, 0x6C6C6C, kCcs64);
    QCOMPARE(Marked(picker), QList<int>{});
}

void TestPalettePicker::blackIsMarkedUnderBothTables() {
    PalettePicker picker;
    for (mosaiqua::PaletteKind table : {kCcs64, kTrueVic}) {
        Open(picker, 0x000000, table);
        QCOMPARE(Marked(picker), QList<int>{1});
        picker.hide();
        Open(picker, 0xFFFFFF, table);
        QCOMPARE(Marked(picker), QList<int>{2});
        picker.hide();
    }
}

void TestPalettePicker::colourInNeitherTableMarksNothingAndOkKeepsIt() {
    PalettePicker picker;
    Open(picker, 0x808080, kTrueVic);
    QCOMPARE(Marked(picker), QList<int>{});

    Press(picker, "Button1");

    QCOMPARE(picker.result(), int(QDialog::Accepted));
    QCOMPARE(picker.PickedColour(), TColor(0x808080));
}

void TestPalettePicker::reopeningRecoloursFromTheTableAsked() {
    PalettePicker picker;
    Open(picker, 0x000000, kTrueVic);
    Press(picker, "c64p5");
    picker.hide();

    Open(picker, 0x000000, kCcs64);

    QCOMPARE(SwatchOf(picker, 5)->Colour(), TColor(0xA74289)); // purple: 137, 66, 167
    QCOMPARE(Marked(picker), QList<int>{1});
    QCOMPARE(picker.ChosenColour(), TColor(0x000000));
}

void TestPalettePicker::lastOfSeveralClicksCountsOnOk() {
    PalettePicker picker;
    Open(picker, 0x6C6C6C, kTrueVic);

    Press(picker, "c64p3");
    QCOMPARE(Marked(picker), QList<int>{3});
    QCOMPARE(picker.ChosenColour(), TColor(0x2B3768));
    Press(picker, "c64p7");
    QCOMPARE(Marked(picker), QList<int>{7});
    QVERIFY(picker.isVisible()); // a click does not close the picker
    QCOMPARE(picker.PickedColour(), TColor(0x6C6C6C));

    Press(picker, "Button1");

    QCOMPARE(picker.result(), int(QDialog::Accepted));
    QVERIFY(!picker.isVisible());
    QCOMPARE(picker.PickedColour(), TColor(0x792835)); // entry 6, blue: 53, 40, 121
}

void TestPalettePicker::cancelKeepsTag() {
    PalettePicker picker;
    Open(picker, 0x6C6C6C, kTrueVic);
    Press(picker, "c64p3");

    Press(picker, "Button2");

    QCOMPARE(picker.result(), int(QDialog::Rejected));
    QVERIFY(!picker.isVisible());
    QCOMPARE(picker.PickedColour(), TColor(0x6C6C6C));
}

void TestPalettePicker::closeBoxKeepsTag() {
    PalettePicker picker;
    Open(picker, 0x444444, kTrueVic);
    QCOMPARE(Marked(picker), QList<int>{12});
    Press(picker, "c64p2");

    QVERIFY(picker.close());

    QCOMPARE(picker.result(), int(QDialog::Rejected));
    QCOMPARE(picker.PickedColour(), TColor(0x444444));
}

void TestPalettePicker::okWithoutAClickHandsBackTheSlotColour() {
    PalettePicker picker;
    Open(picker, 0x6C6C6C, kTrueVic);
    Press(picker, "Button1");
    QCOMPARE(picker.result(), int(QDialog::Accepted));
    QCOMPARE(picker.PickedColour(), TColor(0x6C6C6C));
}

void TestPalettePicker::darkSwatchesHaveWhiteCaptions() {
    PalettePicker picker;
    Open(picker, 0x000000, kTrueVic);
    const QList<int> dark = {1, 3, 5, 7, 9, 10, 12};
    const QColor windowText = picker.palette().color(QPalette::WindowText);
    QVERIFY(windowText != QColor(Qt::white));
    QList<int> white;
    for (int n = 1; n <= 16; ++n) {
        const QColor caption = SwatchOf(picker, n)->CaptionColour();
        if (caption == QColor(Qt::white)) {
            white.append(n);
        } else {
            QCOMPARE(caption, windowText);
        }
    }
    QCOMPARE(white, dark);
}

void TestPalettePicker::runsItsActivationWhenExecuted() {
    PalettePicker picker;
    picker.Prepare(0x000000, kCcs64);
    QList<int> markedOnOpening;
    // Runs inside the dialog's own loop, once it is showing.
    QMetaObject::invokeMethod(
        &picker,
        [&] {
            markedOnOpening = Marked(picker);
            Press(picker, "c64p2");
            Press(picker, "Button1");
            if (picker.isVisible()) {
                picker.reject();
            }
        },
        Qt::QueuedConnection);

    const int result = picker.exec();

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(markedOnOpening, QList<int>{1});
    QCOMPARE(picker.PickedColour(), TColor(0xFFFFFF));
}

void TestPalettePicker::stayOnTopCanBeSwitched() {
    PalettePicker picker;
    QVERIFY(picker.isStayOnTop());
    picker.show();

    picker.setStayOnTop(false);
    QVERIFY(!picker.isStayOnTop());
    QVERIFY(!picker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(picker.isVisible());

    picker.setStayOnTop(true);
    QVERIFY(picker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(picker.isVisible());
}

QTEST_MAIN(TestPalettePicker)
#include "tst_palette_picker.moc"
