#include "ui/dialogs/sprite_range_dialog.h"

#include "core/errors.h"
#include "helpers/child.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <cstdlib>
#include <tuple>
#include <vector>

Q_DECLARE_METATYPE(mosaiqua::SaveSizeTexts)

// Readable failure messages for range comparisons.
char* toString(const SpriteRangeValue& range) {
    return qstrdup(QStringLiteral("{start $%1, end $%2, count %3}")
                       .arg(range.start, 4, 16, QLatin1Char('0'))
                       .arg(range.end, 4, 16, QLatin1Char('0'))
                       .arg(range.count)
                       .toUtf8()
                       .constData());
}

namespace {

enum class Address { Start, End };

// One button per hex digit, thousands first.
const char* const kStartPlus[] = {"Button1", "Button3", "Button5", "Button7"};
const char* const kStartMinus[] = {"Button2", "Button4", "Button6", "Button8"};
const char* const kEndPlus[] = {"Button9", "Button10", "Button11", "Button12"};
const char* const kEndMinus[] = {"Button13", "Button14", "Button15", "Button16"};

// Outer sizes as a framed window reports them: the picker's 143 x 172 client plus its frame.
const QSize kPickerOuter(151, 198);
const QRect kMainOuter(100, 50, 632, 576);

QString Text(const QWidget& dialog, const char* name) {
    return Child<QLabel>(dialog, name)->text();
}

void Press(const QWidget& dialog, const char* name, int times = 1) {
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(Child<QPushButton>(dialog, name), Qt::LeftButton);
}

// Turns each digit up or down to the target without ever carrying, so every press stays in range.
void Dial(SpriteRangeDialog& dialog, Address which, int target) {
    const int current = which == Address::Start ? dialog.start() : dialog.end();
    for (int digit = 0; digit < 4; ++digit) {
        const int shift = 12 - 4 * digit;
        const int delta = ((target >> shift) & 0xF) - ((current >> shift) & 0xF);
        const char* plus = which == Address::Start ? kStartPlus[digit] : kEndPlus[digit];
        const char* minus = which == Address::Start ? kStartMinus[digit] : kEndMinus[digit];
        Press(dialog, delta > 0 ? plus : minus, std::abs(delta));
    }
}

mosaiqua::SaveSizeTexts Sizes(const char* bw, const char* bh, const char* fw, const char* fh) {
    mosaiqua::SaveSizeTexts sizes;
    sizes.bitmapWidth = bw;
    sizes.bitmapHeight = bh;
    sizes.finalWidth = fw;
    sizes.finalHeight = fh;
    return sizes;
}

// The message a failed preparation carries, or an empty string when it went through.
QString PrepareError(SpriteRangeDialog& dialog, RangeDialogMode mode, const mosaiqua::SaveSizeTexts& sizes,
                     mosaiqua::UserError::Kind* kind = nullptr) {
    try {
        dialog.PrepareForMode(mode, kMainOuter, kPickerOuter, sizes);
    } catch (const mosaiqua::UserError& error) {
        if (kind)
            *kind = error.kind();
        return QString::fromStdString(error.what());
    }
    return {};
}

const char* const kDetails[] = {"lbSavingToBitmap", "Label9",  "SSMBitmapWidth", "Label8",
                                "SSMBitmapHeight",  "Label10", "SSMMaxX",        "Label11",
                                "SSMMaxY",          "Label7",  "SSMTotal"};

int VisibleDetails(const QWidget& dialog) {
    int visible = 0;
    for (const char* name : kDetails)
        visible += Child<QLabel>(dialog, name)->isHidden() ? 0 : 1;
    return visible;
}

QStringList Figures(const QWidget& dialog) {
    return {Text(dialog, "SSMBitmapWidth"), Text(dialog, "SSMBitmapHeight"), Text(dialog, "SSMMaxX"),
            Text(dialog, "SSMMaxY"), Text(dialog, "SSMTotal")};
}

bool WarningShown(const QWidget& dialog) {
    return !Child<QLabel>(dialog, "lbWarning")->isHidden();
}

} // namespace

class TestSpriteRangeDialog final : public QObject {
    Q_OBJECT

private slots:
    void firstOpeningShowsOneSprite();
    void controlsAreLaidOutOverTheirDigits();
    void tabOrderRunsPlusThenMinusThenCancelAndOk();
    void okAndCancelCloseWithTheirResults();

    void countsWholeSprites_data();
    void countsWholeSprites();
    void raisingTheEndOutOfAnErrorShowsZero();
    void thousandsStopAtF000();
    void endCannotGoBelowZero();
    void stepsThatLeaveTheRangeAreRefusedNotClamped();

    void preparesForFiles_data();
    void preparesForFiles();
    void preparesForSingleBitmap_data();
    void preparesForSingleBitmap();
    void fitFigures_data();
    void fitFigures();
    void badSizesStopBeforeShowing_data();
    void badSizesStopBeforeShowing();
    void filesModeReadsNoSizes();
    void warningShowsWhileTheRangeOverflowsTheBitmap();
    void addressesAndFiguresSurviveAnotherPreparation();
};

void TestSpriteRangeDialog::firstOpeningShowsOneSprite() {
    SpriteRangeDialog dialog;

    QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$0000"));
    QCOMPARE(Text(dialog, "Label2"), QStringLiteral("$0040"));
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("1"));
    QVERIFY(Child<QLabel>(dialog, "Label1")->isEnabled());
    QCOMPARE(dialog.Range(), (SpriteRangeValue{0x0000, 0x0040, 1}));
    QCOMPARE(dialog.start(), 0x0000);
    QCOMPARE(dialog.end(), 0x0040);
    QCOMPARE(dialog.count(), 1);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Sprites Between Memory Locations"));
    QCOMPARE(VisibleDetails(dialog), 0);
    QVERIFY(!WarningShown(dialog));
}

void TestSpriteRangeDialog::controlsAreLaidOutOverTheirDigits() {
    SpriteRangeDialog dialog;
    QCOMPARE(dialog.size(), QSize(384, 264));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(Child<QGroupBox>(dialog, "GroupBox1")->title(),
             QStringLiteral(" Please choose start and end addresses "));

    const QStringList texts = {Text(dialog, "Label4"),           Text(dialog, "Label5"),
                               Text(dialog, "Label3"),           Text(dialog, "Label9"),
                               Text(dialog, "Label8"),           Text(dialog, "Label10"),
                               Text(dialog, "Label11"),          Text(dialog, "Label7"),
                               Text(dialog, "lbSavingToBitmap"), Text(dialog, "lbWarning")};
    const QStringList expected = {
        "Start Location :",
        "End Location :",
        "Total Number Of Sprites :",
        "Bitmap Width = ",
        "Bitmap Height = ",
        "Max X Sprites = ",
        "Max Y Sprites = ",
        "Max Total Sprites = ",
        "Saving To Bitmap Details:",
        "WARNING - Number of sprites will not fit fully onto the current bitmap size!"};
    QCOMPARE(texts, expected);
    QVERIFY(Child<QLabel>(dialog, "lbWarning")->wordWrap());
    QVERIFY(Child<QLabel>(dialog, "lbWarning")->font().bold());

    for (const char* name : {"Label1", "Label2"}) {
        const QLabel* address = Child<QLabel>(dialog, name);
        QCOMPARE(address->font().family(), QStringLiteral("Liberation Mono"));
        QVERIFY(address->font().bold());
        QCOMPARE(address->font().pixelSize(), 27);
        QCOMPARE(address->alignment(), Qt::Alignment(Qt::AlignCenter));
    }

    const QLabel* label1 = Child<QLabel>(dialog, "Label1");
    const QLabel* label2 = Child<QLabel>(dialog, "Label2");
    QVERIFY(label1->geometry().right() < label2->geometry().left());
    for (int digit = 0; digit < 4; ++digit) {
        for (const auto& [plusName, minusName, label] :
             {std::tuple{kStartPlus[digit], kStartMinus[digit], label1},
              std::tuple{kEndPlus[digit], kEndMinus[digit], label2}}) {
            const QPushButton* plus = Child<QPushButton>(dialog, plusName);
            const QPushButton* minus = Child<QPushButton>(dialog, minusName);
            QCOMPARE(plus->text(), QStringLiteral("+"));
            QCOMPARE(minus->text(), QStringLiteral("-"));
            QCOMPARE(plus->size(), QSize(17, 17));
            QCOMPARE(minus->size(), QSize(17, 17));
            QCOMPARE(plus->x(), minus->x());
            QVERIFY(plus->geometry().bottom() < label->y());
            QVERIFY(minus->y() > label->geometry().bottom());
            // The pair sits within the address, one column further right per digit.
            QVERIFY(plus->x() > label->x() && plus->geometry().right() < label->geometry().right());
            if (digit > 0) {
                const char* leftName = label == label1 ? kStartPlus[digit - 1] : kEndPlus[digit - 1];
                QCOMPARE(plus->x(), Child<QPushButton>(dialog, leftName)->x() + 17);
            }
        }
    }

    const QPushButton* ok = Child<QPushButton>(dialog, "Button18");
    const QPushButton* cancel = Child<QPushButton>(dialog, "Button17");
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QVERIFY(ok->geometry().right() < cancel->x());
    QCOMPARE(ok->y(), cancel->y());
    QVERIFY(cancel->geometry().right() < 384 && cancel->geometry().bottom() < 264);
    QVERIFY(cancel->x() > 384 / 2 && cancel->y() > 264 * 3 / 4);
}

void TestSpriteRangeDialog::tabOrderRunsPlusThenMinusThenCancelAndOk() {
    SpriteRangeDialog dialog;
    const QStringList expected = {"Button1",  "Button3",  "Button5",  "Button7",  "Button2",  "Button4",
                                  "Button6",  "Button8",  "Button9",  "Button10", "Button11", "Button12",
                                  "Button13", "Button14", "Button15", "Button16", "Button17", "Button18"};
    QStringList chain;
    QWidget* first = Child<QPushButton>(dialog, "Button1");
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && chain.size() <= expected.size());
    QCOMPARE(chain, expected);
}

void TestSpriteRangeDialog::okAndCancelCloseWithTheirResults() {
    SpriteRangeDialog dialog;
    QSignalSpy finished(&dialog, &QDialog::finished);

    Press(dialog, "Button18");
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));

    Press(dialog, "Button17");
    QCOMPARE(finished.size(), 2);
    QCOMPARE(finished.at(1).at(0).toInt(), int(QDialog::Rejected));
}

void TestSpriteRangeDialog::countsWholeSprites_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("startText");
    QTest::addColumn<QString>("endText");
    QTest::addColumn<QString>("total");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("startGreyed");

    QTest::newRow("less than one sprite") << 0x0000 << 0x0010 << "$0000"
                                          << "$0010"
                                          << "0" << 0 << false;
    QTest::newRow("one sprite") << 0x0000 << 0x0040 << "$0000"
                                << "$0040"
                                << "1" << 1 << false;
    QTest::newRow("four from $1000") << 0x1000 << 0x1100 << "$1000"
                                     << "$1100"
                                     << "4" << 0x100 / 64 << false;
    // An end of $FFFF also takes the sprite at $FFC0.
    QTest::newRow("all memory") << 0x0000 << 0xFFFF << "$0000"
                                << "$FFFF"
                                << "1024" << 0xFFFF / 64 + 1 << false;
    QTest::newRow("up to the last sprite") << 0x0000 << 0xFFC0 << "$0000"
                                           << "$FFC0"
                                           << "1023" << 0xFFC0 / 64 << false;
    QTest::newRow("last two") << 0xFF80 << 0xFFFF << "$FF80"
                              << "$FFFF"
                              << "2" << 0x7F / 64 + 1 << false;
    QTest::newRow("mixed digits") << 0x0A5C << 0x3B7E << "$0A5C"
                                  << "$3B7E"
                                  << "196" << (0x3B7E - 0x0A5C) / 64 << false;
    QTest::newRow("equal") << 0x0800 << 0x0800 << "$0800"
                           << "$0800"
                           << "Error!" << 0 << true;
    QTest::newRow("reversed") << 0x1000 << 0x0800 << "$1000"
                              << "$0800"
                              << "Error!" << -(0x800 / 64) << true;
    QTest::newRow("reversed by less than a sprite") << 0x0810 << 0x0800 << "$0810"
                                                    << "$0800"
                                                    << "Error!" << 0 << true;
}

void TestSpriteRangeDialog::countsWholeSprites() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, startText);
    QFETCH(QString, endText);
    QFETCH(QString, total);
    QFETCH(int, count);
    QFETCH(bool, startGreyed);

    SpriteRangeDialog dialog;
    Dial(dialog, Address::Start, start);
    Dial(dialog, Address::End, end);

    QCOMPARE(Text(dialog, "Label1"), startText);
    QCOMPARE(Text(dialog, "Label2"), endText);
    QCOMPARE(Text(dialog, "Label6"), total);
    QCOMPARE(Child<QLabel>(dialog, "Label1")->isEnabled(), !startGreyed);
    QVERIFY(Child<QLabel>(dialog, "Label2")->isEnabled());
    QCOMPARE(dialog.Range(), (SpriteRangeValue{start, end, count}));
    QCOMPARE(dialog.start(), start);
    QCOMPARE(dialog.end(), end);
    QCOMPARE(dialog.count(), count);
}

void TestSpriteRangeDialog::raisingTheEndOutOfAnErrorShowsZero() {
    SpriteRangeDialog dialog;
    Dial(dialog, Address::Start, 0x0800);
    Dial(dialog, Address::End, 0x0800);
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("Error!"));
    QVERIFY(!Child<QLabel>(dialog, "Label1")->isEnabled());

    Press(dialog, "Button12");
    QCOMPARE(Text(dialog, "Label2"), QStringLiteral("$0801"));
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("0"));
    QVERIFY(Child<QLabel>(dialog, "Label1")->isEnabled());
    QCOMPARE(dialog.Range(), (SpriteRangeValue{0x0800, 0x0801, 0}));

    // Lowering the start back into line also clears it.
    Press(dialog, "Button12", 0x3F);
    Press(dialog, "Button8");
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("1"));
    QCOMPARE(dialog.Range(), (SpriteRangeValue{0x07FF, 0x0840, (0x0840 - 0x07FF) / 64}));
}

void TestSpriteRangeDialog::thousandsStopAtF000() {
    SpriteRangeDialog dialog;
    for (int press = 1; press <= 15; ++press) {
        Press(dialog, "Button1");
        QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$") + QString::number(press, 16).toUpper() + "000");
    }
    const SpriteRangeValue atTop{0xF000, 0x0040, (0x0040 - 0xF000) / 64};
    QCOMPARE(dialog.Range(), atTop);

    // One more is refused: nothing changes.
    Press(dialog, "Button1");
    QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$F000"));
    QCOMPARE(dialog.Range(), atTop);
}

void TestSpriteRangeDialog::endCannotGoBelowZero() {
    SpriteRangeDialog dialog;
    Press(dialog, "Button15", 4);
    QCOMPARE(Text(dialog, "Label2"), QStringLiteral("$0000"));
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("Error!"));
    const SpriteRangeValue atBottom{0x0000, 0x0000, 0};
    QCOMPARE(dialog.Range(), atBottom);

    for (const char* minus : kEndMinus) {
        Press(dialog, minus);
        QCOMPARE(Text(dialog, "Label2"), QStringLiteral("$0000"));
    }
    for (const char* minus : kStartMinus) {
        Press(dialog, minus);
        QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$0000"));
    }
    QCOMPARE(dialog.Range(), atBottom);
}

void TestSpriteRangeDialog::stepsThatLeaveTheRangeAreRefusedNotClamped() {
    SpriteRangeDialog dialog;
    Dial(dialog, Address::Start, 0xFFF5);
    for (const char* plus : {"Button5", "Button3", "Button1"}) {
        Press(dialog, plus);
        QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$FFF5"));
    }
    QCOMPARE(dialog.Range().start, 0xFFF5);
    Press(dialog, "Button7");
    QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$FFF6"));

    Dial(dialog, Address::End, 0xFFF5);
    Press(dialog, "Button11");
    QCOMPARE(Text(dialog, "Label2"), QStringLiteral("$FFF5"));
    QCOMPARE(dialog.Range().end, 0xFFF5);

    Dial(dialog, Address::Start, 0x0005);
    Press(dialog, "Button6");
    QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$0005"));
    Press(dialog, "Button8", 5);
    QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$0000"));
    QCOMPARE(dialog.Range(), (SpriteRangeValue{0x0000, 0xFFF5, 0xFFF5 / 64}));
}

void TestSpriteRangeDialog::preparesForFiles_data() {
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QPoint>("position");
    // left = 100 + (632 - 151) / 2 - 50, top = 50 + (576 - 198) / 2 - 50
    QTest::newRow("main window larger") << kMainOuter << QPoint(100 + 240 - 50, 50 + 189 - 50);
    // (100 - 151) / 2 = -51 / 2 truncates to -25; (101 - 198) / 2 = -97 / 2 to -48
    QTest::newRow("main window smaller") << QRect(0, 0, 100, 101) << QPoint(-25 - 50, -48 - 50);
}

void TestSpriteRangeDialog::preparesForFiles() {
    QFETCH(QRect, main);
    QFETCH(QPoint, position);
    SpriteRangeDialog dialog;
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter, {});
    dialog.PrepareForMode(RangeDialogMode::ToFiles, main, kPickerOuter, {});

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Sprites Between Memory Locations"));
    QCOMPARE(dialog.pos(), position);
    QCOMPARE(VisibleDetails(dialog), 0);
    QVERIFY(!WarningShown(dialog));
    QCOMPARE(dialog.mode(), RangeDialogMode::ToFiles);
}

void TestSpriteRangeDialog::preparesForSingleBitmap_data() {
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("main window larger") << kMainOuter << QPoint(100 + 240 - 115, 50 + 189 - 80);
    QTest::newRow("main window smaller") << QRect(0, 0, 100, 101) << QPoint(-25 - 115, -48 - 80);
}

void TestSpriteRangeDialog::preparesForSingleBitmap() {
    QFETCH(QRect, main);
    QFETCH(QPoint, position);
    SpriteRangeDialog dialog;
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, main, kPickerOuter, {});

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Sprites Between Memory Locations To Single Bitmap"));
    QCOMPARE(dialog.pos(), position);
    QCOMPARE(VisibleDetails(dialog), int(std::size(kDetails)));
    QCOMPARE(dialog.mode(), RangeDialogMode::ToSingleBitmap);
}

void TestSpriteRangeDialog::fitFigures_data() {
    QTest::addColumn<mosaiqua::SaveSizeTexts>("sizes");
    QTest::addColumn<QStringList>("figures");
    QTest::newRow("defaults") << mosaiqua::SaveSizeTexts{} << QStringList{"24", "21", "26", "22", "572"};
    QTest::newRow("exact fit") << Sizes("32", "16", "320", "64") << QStringList{"32", "16", "10", "4", "40"};
    QTest::newRow("signs and remainders")
        << Sizes("+30", "20", "100", "-50") << QStringList{"30", "20", "3", "-2", "-6"};
    QTest::newRow("cell wider than the bitmap")
        << Sizes("700", "21", "640", "480") << QStringList{"700", "21", "0", "22", "0"};
}

void TestSpriteRangeDialog::fitFigures() {
    QFETCH(mosaiqua::SaveSizeTexts, sizes);
    QFETCH(QStringList, figures);
    SpriteRangeDialog dialog;
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter, sizes);
    QCOMPARE(Figures(dialog), figures);
}

void TestSpriteRangeDialog::badSizesStopBeforeShowing_data() {
    using Kind = mosaiqua::UserError::Kind;
    QTest::addColumn<mosaiqua::SaveSizeTexts>("sizes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("kind");
    QTest::newRow("zero width") << Sizes("0", "21", "640", "480") << "Division by zero"
                                << int(Kind::DivisionByZero);
    QTest::newRow("zero height") << Sizes("24", "0", "640", "480") << "Division by zero"
                                 << int(Kind::DivisionByZero);
    QTest::newRow("letters") << Sizes("abc", "21", "640", "480") << "'abc' is not a valid integer value"
                             << int(Kind::NotAnInteger);
    QTest::newRow("trailing letter") << Sizes("24", "21", "640", "12x")
                                     << "'12x' is not a valid integer value" << int(Kind::NotAnInteger);
    QTest::newRow("empty") << Sizes("24", "21", "", "480") << "'' is not a valid integer value"
                           << int(Kind::NotAnInteger);
    QTest::newRow("first bad text named")
        << Sizes("x", "0", "y", "480") << "'x' is not a valid integer value" << int(Kind::NotAnInteger);
    QTest::newRow("texts read before dividing")
        << Sizes("0", "21", "y", "480") << "'y' is not a valid integer value" << int(Kind::NotAnInteger);
}

void TestSpriteRangeDialog::badSizesStopBeforeShowing() {
    QFETCH(mosaiqua::SaveSizeTexts, sizes);
    QFETCH(QString, message);
    QFETCH(int, kind);
    SpriteRangeDialog dialog;
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter,
                          Sizes("32", "16", "320", "64"));
    const QRect elsewhere(0, 0, 800, 600);
    dialog.PrepareForMode(RangeDialogMode::ToFiles, elsewhere, kPickerOuter, {});
    const QPoint before = dialog.pos();

    mosaiqua::UserError::Kind thrown{};
    QCOMPARE(PrepareError(dialog, RangeDialogMode::ToSingleBitmap, sizes, &thrown), message);
    QCOMPARE(int(thrown), kind);

    // Nothing of the failed preparation sticks.
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Sprites Between Memory Locations"));
    QCOMPARE(dialog.pos(), before);
    QCOMPARE(VisibleDetails(dialog), 0);
    QCOMPARE(dialog.mode(), RangeDialogMode::ToFiles);
    QCOMPARE(Figures(dialog), (QStringList{"32", "16", "10", "4", "40"}));
    QCOMPARE(dialog.Range(), (SpriteRangeValue{0x0000, 0x0040, 1}));
}

void TestSpriteRangeDialog::filesModeReadsNoSizes() {
    SpriteRangeDialog dialog;
    QCOMPARE(PrepareError(dialog, RangeDialogMode::ToFiles, Sizes("0", "abc", "", "-")), QString());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Sprites Between Memory Locations"));
}

void TestSpriteRangeDialog::warningShowsWhileTheRangeOverflowsTheBitmap() {
    SpriteRangeDialog dialog;
    // 640 / 24 = 26 cells across, 480 / 21 = 22 down: 572 cells, the sprites of 572 * 64 = $8F00 bytes.
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter, {});
    QVERIFY(!WarningShown(dialog));

    Dial(dialog, Address::End, 0x8F00);
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("572"));
    QVERIFY(!WarningShown(dialog));
    Press(dialog, "Button12", 0x3F);
    QVERIFY(!WarningShown(dialog));
    Press(dialog, "Button12");
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("573"));
    QVERIFY(WarningShown(dialog));
    Press(dialog, "Button16");
    QVERIFY(!WarningShown(dialog));
    Press(dialog, "Button12");
    QVERIFY(WarningShown(dialog));

    // An error range holds nothing to overflow.
    Dial(dialog, Address::Start, 0x9000);
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("Error!"));
    QVERIFY(!WarningShown(dialog));
    Dial(dialog, Address::Start, 0x0000);
    QVERIFY(WarningShown(dialog));

    // Never in the to-files mode, whatever the dialog.Range().
    dialog.PrepareForMode(RangeDialogMode::ToFiles, kMainOuter, kPickerOuter, {});
    QVERIFY(!WarningShown(dialog));
    Press(dialog, "Button9");
    QVERIFY(!WarningShown(dialog));

    // A new preparation judges the range it finds at once.
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter, {});
    QVERIFY(WarningShown(dialog));
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter,
                          Sizes("24", "21", "6400", "480"));
    QVERIFY(!WarningShown(dialog));

    // A bitmap with no whole cell holds not even one sprite.
    Dial(dialog, Address::End, 0x0040);
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter,
                          Sizes("24", "21", "-640", "480"));
    QCOMPARE(Text(dialog, "SSMTotal"), QStringLiteral("-572"));
    QVERIFY(WarningShown(dialog));
    Press(dialog, "Button15");
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("0"));
    QVERIFY(!WarningShown(dialog));
}

void TestSpriteRangeDialog::addressesAndFiguresSurviveAnotherPreparation() {
    SpriteRangeDialog dialog;
    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter,
                          Sizes("32", "16", "320", "64"));
    Dial(dialog, Address::Start, 0x1000);
    Dial(dialog, Address::End, 0x1100);

    dialog.PrepareForMode(RangeDialogMode::ToFiles, kMainOuter, kPickerOuter, {});
    QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$1000"));
    QCOMPARE(Text(dialog, "Label2"), QStringLiteral("$1100"));
    QCOMPARE(Text(dialog, "Label6"), QStringLiteral("4"));
    QCOMPARE(dialog.Range(), (SpriteRangeValue{0x1000, 0x1100, 4}));
    QCOMPARE(VisibleDetails(dialog), 0);
    QCOMPARE(Figures(dialog), (QStringList{"32", "16", "10", "4", "40"}));

    dialog.PrepareForMode(RangeDialogMode::ToSingleBitmap, kMainOuter, kPickerOuter, {});
    QCOMPARE(Text(dialog, "Label1"), QStringLiteral("$1000"));
    QCOMPARE(Text(dialog, "Label2"), QStringLiteral("$1100"));
    QCOMPARE(dialog.Range(), (SpriteRangeValue{0x1000, 0x1100, 4}));
    QCOMPARE(Figures(dialog), (QStringList{"24", "21", "26", "22", "572"}));
}

QTEST_MAIN(TestSpriteRangeDialog)
#include "tst_sprite_range_dialog.moc"
