// The charset page: stepping and its bounds, the refresh routine, the view switches and the
// multicolour switch, each kept in step with its menu item.
#include "helpers/form1_driver.h"
#include "ui/widgets/colour_swatch.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

using mosaiqua::TColor;

namespace {

std::vector<std::string> Inverted(std::vector<std::string> rows) {
    for (std::string& row : rows)
        for (char& c : row)
            c = c == '#' ? '.' : '#';
    return rows;
}

QStringList Texts(const QSignalSpy& spy) {
    QStringList texts;
    for (const QList<QVariant>& call : spy)
        texts << call.at(0).toString();
    return texts;
}

const TColor kInk = 0x6C6C6C; // the start-up main colour
const TColor kPaper = 0x000000;

} // namespace

class TestTForm1CharSets final : public QObject {
    Q_OBJECT

private slots:
    void steppingBounds_data();
    void steppingBounds();
    void byteStepMovesLabelsNotPictures();
    void noViewEnabledBlocksStepping();
    void enablingOneViewDrawsItAlone();
    void menuItemsSwitchViews();
    void multicolourButtonAndMenuMarkDisagree();
    void fullRefreshCountsEveryByteRow();
    void charSetKeysWorkFromSpritePage();
};

void TestTForm1CharSets::steppingBounds_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("expected"); // -1: does nothing
    QTest::addColumn<bool>("redraws");
    QTest::newRow("> at $F7FF") << 0xF7FF << "CSR1" << 0xFFFF << true;
    QTest::newRow("> at $F800") << 0xF800 << "CSR1" << -1 << false;
    QTest::newRow("< at $0800") << 0x0800 << "CSL1" << 0x0000 << true;
    QTest::newRow("< at $07FF") << 0x07FF << "CSL1" << -1 << false;
    QTest::newRow("+ at $FFFE") << 0xFFFE << "CSPlus" << 0xFFFF << false;
    QTest::newRow("+ at $FFFF") << 0xFFFF << "CSPlus" << -1 << false;
    QTest::newRow("- at $0001") << 0x0001 << "CSMinus" << 0x0000 << false;
    QTest::newRow("- at $0000") << 0x0000 << "CSMinus" << -1 << false;
}

void TestTForm1CharSets::steppingBounds() {
    QFETCH(int, start);
    QFETCH(QString, button);
    QFETCH(int, expected);
    QFETCH(bool, redraws);
    Form1Fixture f;
    QVERIFY(f.Show());
    Trigger(f.form, "CharSetRipper1");
    WalkCharSetTo(f.form, start);
    const QString label = LabelText(f.form, "CS8x8Label");
    Child<ColourSwatch>(f.form, "CBack")->SetColour(0x123456);
    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);
    ClickOn(f.form, button);

    if (expected < 0) {
        QCOMPARE(f.form.CharSetAddress(), start);
        QCOMPARE(LabelText(f.form, "CS8x8Label"), label);
        QCOMPARE(status.count(), 0);
        QVERIFY(AllPixels(f.form.CharSetViews().CharSetImage, 0x000000));
        return;
    }
    QCOMPARE(f.form.CharSetAddress(), expected);
    QCOMPARE(LabelText(f.form, "CS8x8Label"), QString("$%1").arg(expected, 4, 16, QChar('0')).toUpper());
    QVERIFY(AllPixels(f.form.CharSetViews().CharSetImage, redraws ? 0x123456 : 0x000000));
    const QStringList expectedTexts = redraws ? QStringList{"Working....", "OK.."} : QStringList{"OK.."};
    QCOMPARE(Texts(status), expectedTexts);
    // Disabled views keep the label of the last refresh they took part in.
    QCOMPARE(LabelText(f.form, "CS8x16Label"), QString("$0000"));
    QCOMPARE(LabelText(f.form, "CS16x16Label"), QString("$0000"));
}

void TestTForm1CharSets::byteStepMovesLabelsNotPictures() {
    Form1Fixture f;
    QVERIFY(f.Show());
    LoadFile(f, TestDataPath("chargen_openroms.rom"));
    const auto& view = f.form.CharSetViews().CharSetImage;
    QCOMPARE(Rows(view, 8, 0, 8, 8, kInk, kPaper), kLetterA);

    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);
    QTest::keyClick(&f.form, Qt::Key_F12);
    QCOMPARE(f.form.CharSetAddress(), 1);
    QCOMPARE(LabelText(f.form, "CS8x8Label"), QString("$0001"));
    QCOMPARE(Texts(status), QStringList{"OK.."});
    QCOMPARE(Rows(view, 8, 0, 8, 8, kInk, kPaper), kLetterA);

    // The next full refresh draws one byte on: the letter moves up a row.
    status.clear();
    Trigger(f.form, "CharSetRipper1");
    ClickOn(f.form, "CharRefresh");
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));
    const std::vector<std::string> shifted(kLetterA.begin() + 1, kLetterA.end());
    QCOMPARE(Rows(view, 8, 0, 8, 7, kInk, kPaper), shifted);
}

void TestTForm1CharSets::noViewEnabledBlocksStepping() {
    Form1Fixture f;
    QVERIFY(f.Show());
    Trigger(f.form, "CharSetRipper1");
    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);
    ClickOn(f.form, "Check8x8");
    QVERIFY(!Child<QAbstractButton>(f.form, "Check8x8")->isChecked());
    QVERIFY(!Action(f.form, "N8x8CharSetView1")->isChecked());
    QCOMPARE(status.count(), 0);

    for (Qt::Key key : {Qt::Key_F4, Qt::Key_F3, Qt::Key_F11, Qt::Key_F12})
        QTest::keyClick(&f.form, key);
    for (const char* button : {"CSR1", "CSL1", "CSPlus", "CSMinus"})
        ClickOn(f.form, button);
    QCOMPARE(f.form.CharSetAddress(), 0);
    QCOMPARE(status.count(), 0);

    // Nothing to draw: no "Working....", no label change, but "OK..".
    Child<ColourSwatch>(f.form, "CBack")->SetColour(0x123456);
    QTest::keyClick(&f.form, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(Texts(status), QStringList{"OK.."});
    QCOMPARE(Child<QProgressBar>(f.form, "ProgressBar1")->maximum(), 0);
    QCOMPARE(LabelText(f.form, "CS8x8Label"), QString("$0000"));
    QVERIFY(AllPixels(f.form.CharSetViews().CharSetImage, 0x000000));
}

void TestTForm1CharSets::enablingOneViewDrawsItAlone() {
    Form1Fixture f;
    QVERIFY(f.Show());
    LoadFile(f, TestDataPath("chargen_openroms.rom"));
    Trigger(f.form, "CharSetRipper1");
    for (int i = 0; i < 8; ++i)
        ClickOn(f.form, "CSPlus");
    QCOMPARE(LabelText(f.form, "CS8x8Label"), QString("$0008"));
    const mosaiqua::Raster before8x8 = f.form.CharSetViews().CharSetImage;

    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);
    ClickOn(f.form, "Check16x16");
    QVERIFY(Action(f.form, "N16x16CharSetViewEnabled1")->isChecked());
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));
    QCOMPARE(Child<QProgressBar>(f.form, "ProgressBar1")->maximum(), 30 * 3 * 4 * 8);

    // Cell 0 at $0008: character 1 top-left, character 1 + 128 (its reverse) bottom-left.
    const auto& view16 = f.form.CharSetViews().CharSetImage16x16;
    QCOMPARE(Rows(view16, 0, 0, 8, 8, kInk, kPaper), kLetterA);
    QCOMPARE(Rows(view16, 0, 8, 8, 8, kInk, kPaper), Inverted(kLetterA));
    // Cell 1 starts 8 bytes on: character 2 at $0010, the same as cell 2 of the 8 x 8 view at $0000.
    QCOMPARE(Rows(view16, 16, 0, 8, 8, kInk, kPaper), Rows(before8x8, 16, 0, 8, 8, kInk, kPaper));

    QVERIFY(f.form.CharSetViews().CharSetImage == before8x8);
    QVERIFY(AllPixels(f.form.CharSetViews().CharSetImage8x16, 0x000000));
    QCOMPARE(LabelText(f.form, "CS8x8Label"), QString("$0008"));
    QCOMPARE(LabelText(f.form, "CS16x16Label"), QString("$0008"));
    QCOMPARE(LabelText(f.form, "CS8x16Label"), QString("$0000"));
}

void TestTForm1CharSets::menuItemsSwitchViews() {
    Form1Fixture f;
    QVERIFY(f.Show());
    LoadFile(f, TestDataPath("chargen_openroms.rom"));
    auto* box = Child<QAbstractButton>(f.form, "Check8x16");
    QAction* item = Action(f.form, "N8x16CharSetViewEnabled1");
    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);

    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(box->isChecked());
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));
    const auto& view = f.form.CharSetViews().CharSetImage8x16;
    // Cell 1: character 1 on top, character 1 + 64 below it.
    QCOMPARE(Rows(view, 8, 0, 8, 8, kInk, kPaper), kLetterA);
    const mosaiqua::Raster drawn = view;

    // Off from the menu: the box follows, the picture and label stay.
    Trigger(f.form, "CharSetRipper1");
    ClickOn(f.form, "CSR1");
    QCOMPARE(LabelText(f.form, "CS8x16Label"), QString("$0800"));
    status.clear();
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!box->isChecked());
    QCOMPARE(status.count(), 0);
    ClickOn(f.form, "CSL1");
    QCOMPARE(LabelText(f.form, "CS8x16Label"), QString("$0800"));
    QCOMPARE(LabelText(f.form, "CS8x8Label"), QString("$0000"));

    // On again from the box: the menu item follows and the view is drawn at the current address.
    ClickOn(f.form, "Check8x16");
    QVERIFY(item->isChecked());
    QVERIFY(f.form.CharSetViews().CharSetImage8x16 == drawn);
    QCOMPARE(LabelText(f.form, "CS8x16Label"), QString("$0000"));

    // The 8 x 8 pair works the same way.
    Trigger(f.form, "N8x8CharSetView1");
    QVERIFY(!Child<QAbstractButton>(f.form, "Check8x8")->isChecked());
    Trigger(f.form, "N8x8CharSetView1");
    QVERIFY(Child<QAbstractButton>(f.form, "Check8x8")->isChecked());
    QVERIFY(Action(f.form, "N8x8CharSetView1")->isChecked());
}

void TestTForm1CharSets::multicolourButtonAndMenuMarkDisagree() {
    Form1Fixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(1, char(0x1B))); // bit pairs 00 01 10 11
    Trigger(f.form, "CharSetRipper1");
    const std::vector<TColor> hires{0, 0, 0, kInk, kInk, 0, kInk, kInk};
    const std::vector<TColor> multi{0, 0, 0x444444, 0x444444, kInk, kInk, 0xFFFFFF, 0xFFFFFF};
    const auto& view = f.form.CharSetViews().CharSetImage;
    QAction* mark = Action(f.form, "CharSetMulticolourModeEnable1");
    QCOMPARE(Pixels(view, 0, 0, 8), hires);

    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);
    ClickOn(f.form, "CMCM");
    QVERIFY(f.form.CharSetMulticolour());
    QVERIFY(!mark->isChecked());
    QCOMPARE(Pixels(view, 0, 0, 8), multi);
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));

    QTest::keyClick(&f.form, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(mark->isChecked());
    QVERIFY(f.form.CharSetMulticolour());
    QCOMPARE(Pixels(view, 0, 0, 8), multi);

    QTest::keyClick(&f.form, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!mark->isChecked());
    QVERIFY(!f.form.CharSetMulticolour());
    QCOMPARE(Pixels(view, 0, 0, 8), hires);

    // The sprite mode is a separate switch.
    QVERIFY(!f.form.SpriteMulticolour());
}

void TestTForm1CharSets::fullRefreshCountsEveryByteRow() {
    Form1Fixture f;
    QVERIFY(f.Show());
    Trigger(f.form, "CharSetRipper1");
    ClickOn(f.form, "Check16x16");
    ClickOn(f.form, "Check8x16");
    auto* progress = Child<QProgressBar>(f.form, "ProgressBar1");
    QSignalSpy positions(progress, &QProgressBar::valueChanged);
    QSignalSpy status(&f.form, &TForm1::StatusTextChanged);
    QTest::keyClick(&f.form, Qt::Key_R, Qt::ControlModifier);

    const int total = 2160 + 2880 + 4320;
    QCOMPARE(progress->maximum(), total);
    QCOMPARE(progress->value(), 0);
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));
    QCOMPARE(positions.count(), total + 1);
    for (int i = 0; i < total; ++i)
        QCOMPARE(positions.at(i).at(0).toInt(), i + 1);
    QCOMPARE(positions.at(total).at(0).toInt(), 0);
}

void TestTForm1CharSets::charSetKeysWorkFromSpritePage() {
    Form1Fixture f;
    QVERIFY(f.Show());
    Child<ColourSwatch>(f.form, "CBack")->SetColour(0x123456);
    QTest::keyClick(&f.form, Qt::Key_F4);
    QCOMPARE(f.form.CharSetAddress(), 0x800);
    QVERIFY(AllPixels(f.form.CharSetViews().CharSetImage, 0x123456));
    QCOMPARE(LabelText(f.form, "CS8x8Label"), QString("$0800"));
    QCOMPARE(f.form.StatusText(), QString("OK.."));
    QCOMPARE(Child<QWidget>(f.form, "SpriteSheet")->isVisible(), true);
}

QTEST_MAIN(TestTForm1CharSets)
#include "tst_tform1_charset.moc"
