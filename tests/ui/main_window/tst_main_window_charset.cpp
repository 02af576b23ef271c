// The charset page: stepping and its bounds, the refresh routine, the view switches and the
// multicolour switch, each kept in step with its menu item.
#include "helpers/main_window_driver.h"
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

class TestMainWindowCharSets final : public QObject {
    Q_OBJECT

private slots:
    void steppingBounds_data();
    void steppingBounds();
    void byteStepMovesLabelsNotPictures();
    void noViewEnabledBlocksStepping();
    void enablingOneViewDrawsItAlone();
    void menuItemsSwitchViews();
    void multicolourMarkShowsTheButton();
    void fullRefreshCountsEveryByteRow();
    void charSetKeysWorkFromSpritePage();
};

void TestMainWindowCharSets::steppingBounds_data() {
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

void TestMainWindowCharSets::steppingBounds() {
    QFETCH(int, start);
    QFETCH(QString, button);
    QFETCH(int, expected);
    QFETCH(bool, redraws);
    MainWindowFixture f;
    QVERIFY(f.Show());
    Trigger(f.main, "CharSetRipper1");
    WalkCharSetTo(f.main, start);
    const QString label = LabelText(f.main, "CS8x8Label");
    SetSwatch(f.main, "CBack", 0x123456);
    const ChangeCounter changes(f.main.Model());
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    ClickOn(f.main, button);

    if (expected < 0) {
        QCOMPARE(f.main.CharSetAddress(), start);
        QCOMPARE(LabelText(f.main, "CS8x8Label"), label);
        QCOMPARE(status.count(), 0);
        QCOMPARE(changes.Count(mosaiqua::DocumentChange::CharSetView), 0);
        return;
    }
    QCOMPARE(f.main.CharSetAddress(), expected);
    QCOMPARE(LabelText(f.main, "CS8x8Label"), QString("$%1").arg(expected, 4, 16, QChar('0')).toUpper());
    QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage, 0x123456));
    QCOMPARE(changes.Count(mosaiqua::DocumentChange::CharSetView), 1);
    const QStringList expectedTexts = redraws ? QStringList{"Working....", "OK.."} : QStringList{"OK.."};
    QCOMPARE(Texts(status), expectedTexts);
    // Disabled views keep the label of the last refresh they took part in.
    QCOMPARE(LabelText(f.main, "CS8x16Label"), QString("$0000"));
    QCOMPARE(LabelText(f.main, "CS16x16Label"), QString("$0000"));
}

void TestMainWindowCharSets::byteStepMovesLabelsNotPictures() {
    SKIP_UNLESS_PRESENT(TestDataPath("chargen_openroms.rom"));
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadFile(f, TestDataPath("chargen_openroms.rom"));
    const auto& view = f.main.CharSetViews().CharSetImage;
    QCOMPARE(Rows(view, 8, 0, 8, 8, kInk, kPaper), kLetterA);

    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    QTest::keyClick(&f.main, Qt::Key_F12);
    QCOMPARE(f.main.CharSetAddress(), 1);
    QCOMPARE(LabelText(f.main, "CS8x8Label"), QString("$0001"));
    QCOMPARE(Texts(status), QStringList{"OK.."});
    QCOMPARE(Rows(view, 8, 0, 8, 8, kInk, kPaper), kLetterA);

    // The next full refresh draws one byte on: the letter moves up a row.
    status.clear();
    Trigger(f.main, "CharSetRipper1");
    ClickOn(f.main, "CharRefresh");
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));
    const std::vector<std::string> shifted(kLetterA.begin() + 1, kLetterA.end());
    QCOMPARE(Rows(view, 8, 0, 8, 7, kInk, kPaper), shifted);
}

void TestMainWindowCharSets::noViewEnabledBlocksStepping() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    Trigger(f.main, "CharSetRipper1");
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    ClickOn(f.main, "Check8x8");
    QVERIFY(!Child<QAbstractButton>(f.main, "Check8x8")->isChecked());
    QVERIFY(!Action(f.main, "N8x8CharSetView1")->isChecked());
    QCOMPARE(status.count(), 0);

    for (Qt::Key key : {Qt::Key_F4, Qt::Key_F3, Qt::Key_F11, Qt::Key_F12})
        QTest::keyClick(&f.main, key);
    for (const char* button : {"CSR1", "CSL1", "CSPlus", "CSMinus"})
        ClickOn(f.main, button);
    QCOMPARE(f.main.CharSetAddress(), 0);
    QCOMPARE(status.count(), 0);

    // Nothing to draw: no "Working....", no label change, but "OK..".
    SetSwatch(f.main, "CBack", 0x123456);
    status.clear();
    QTest::keyClick(&f.main, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(Texts(status), QStringList{"OK.."});
    QCOMPARE(Child<QProgressBar>(f.main, "ProgressBar1")->maximum(), 0);
    QCOMPARE(LabelText(f.main, "CS8x8Label"), QString("$0000"));
    QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage, 0x000000));
}

void TestMainWindowCharSets::enablingOneViewDrawsItAlone() {
    SKIP_UNLESS_PRESENT(TestDataPath("chargen_openroms.rom"));
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadFile(f, TestDataPath("chargen_openroms.rom"));
    Trigger(f.main, "CharSetRipper1");
    for (int i = 0; i < 8; ++i)
        ClickOn(f.main, "CSPlus");
    QCOMPARE(LabelText(f.main, "CS8x8Label"), QString("$0008"));
    const mosaiqua::Raster before8x8 = f.main.CharSetViews().CharSetImage;

    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    ClickOn(f.main, "Check16x16");
    QVERIFY(Action(f.main, "N16x16CharSetViewEnabled1")->isChecked());
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));
    QCOMPARE(Child<QProgressBar>(f.main, "ProgressBar1")->maximum(), 30 * 3 * 4 * 8);

    // Cell 0 at $0008: character 1 top-left, character 1 + 128 (its reverse) bottom-left.
    const auto& view16 = f.main.CharSetViews().CharSetImage16x16;
    QCOMPARE(Rows(view16, 0, 0, 8, 8, kInk, kPaper), kLetterA);
    QCOMPARE(Rows(view16, 0, 8, 8, 8, kInk, kPaper), Inverted(kLetterA));
    // Cell 1 starts 8 bytes on: character 2 at $0010, the same as cell 2 of the 8 x 8 view at $0000.
    QCOMPARE(Rows(view16, 16, 0, 8, 8, kInk, kPaper), Rows(before8x8, 16, 0, 8, 8, kInk, kPaper));

    QVERIFY(f.main.CharSetViews().CharSetImage == before8x8);
    QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage8x16, 0x000000));
    QCOMPARE(LabelText(f.main, "CS8x8Label"), QString("$0008"));
    QCOMPARE(LabelText(f.main, "CS16x16Label"), QString("$0008"));
    QCOMPARE(LabelText(f.main, "CS8x16Label"), QString("$0000"));
}

void TestMainWindowCharSets::menuItemsSwitchViews() {
    SKIP_UNLESS_PRESENT(TestDataPath("chargen_openroms.rom"));
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadFile(f, TestDataPath("chargen_openroms.rom"));
    auto* box = Child<QAbstractButton>(f.main, "Check8x16");
    QAction* item = Action(f.main, "N8x16CharSetViewEnabled1");
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);

    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(box->isChecked());
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));
    const auto& view = f.main.CharSetViews().CharSetImage8x16;
    // Cell 1: character 1 on top, character 1 + 64 below it.
    QCOMPARE(Rows(view, 8, 0, 8, 8, kInk, kPaper), kLetterA);
    const mosaiqua::Raster drawn = view;

    // Off from the menu: the box follows, the picture and label stay.
    Trigger(f.main, "CharSetRipper1");
    ClickOn(f.main, "CSR1");
    QCOMPARE(LabelText(f.main, "CS8x16Label"), QString("$0800"));
    status.clear();
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!box->isChecked());
    QCOMPARE(status.count(), 0);
    ClickOn(f.main, "CSL1");
    QCOMPARE(LabelText(f.main, "CS8x16Label"), QString("$0800"));
    QCOMPARE(LabelText(f.main, "CS8x8Label"), QString("$0000"));

    // On again from the box: the menu item follows and the view is drawn at the current address.
    ClickOn(f.main, "Check8x16");
    QVERIFY(item->isChecked());
    QVERIFY(f.main.CharSetViews().CharSetImage8x16 == drawn);
    QCOMPARE(LabelText(f.main, "CS8x16Label"), QString("$0000"));

    // The 8 x 8 pair works the same way.
    Trigger(f.main, "N8x8CharSetView1");
    QVERIFY(!Child<QAbstractButton>(f.main, "Check8x8")->isChecked());
    Trigger(f.main, "N8x8CharSetView1");
    QVERIFY(Child<QAbstractButton>(f.main, "Check8x8")->isChecked());
    QVERIFY(Action(f.main, "N8x8CharSetView1")->isChecked());
}

void TestMainWindowCharSets::multicolourMarkShowsTheButton() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(1, char(0x1B))); // bit pairs 00 01 10 11
    Trigger(f.main, "CharSetRipper1");
    const std::vector<TColor> hires{0, 0, 0, kInk, kInk, 0, kInk, kInk};
    const std::vector<TColor> multi{0, 0, 0x444444, 0x444444, kInk, kInk, 0xFFFFFF, 0xFFFFFF};
    const auto& view = f.main.CharSetViews().CharSetImage;
    QAction* mark = Action(f.main, "CharSetMulticolourModeEnable1");
    QCOMPARE(Pixels(view, 0, 0, 8), hires);

    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    ClickOn(f.main, "CMCM");
    QVERIFY(f.main.CharSetMulticolour());
    QVERIFY(mark->isChecked());
    QCOMPARE(Pixels(view, 0, 0, 8), multi);
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));

    QTest::keyClick(&f.main, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!mark->isChecked());
    QVERIFY(!f.main.CharSetMulticolour());
    QVERIFY(!Child<QAbstractButton>(f.main, "CMCM")->isChecked());
    QCOMPARE(Pixels(view, 0, 0, 8), hires);

    QTest::keyClick(&f.main, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(mark->isChecked());
    QVERIFY(f.main.CharSetMulticolour());
    QCOMPARE(Pixels(view, 0, 0, 8), multi);

    // The sprite mode is a separate switch.
    QVERIFY(!f.main.SpriteMulticolour());
}

void TestMainWindowCharSets::fullRefreshCountsEveryByteRow() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    Trigger(f.main, "CharSetRipper1");
    ClickOn(f.main, "Check16x16");
    ClickOn(f.main, "Check8x16");
    auto* progress = Child<QProgressBar>(f.main, "ProgressBar1");
    QSignalSpy positions(progress, &QProgressBar::valueChanged);
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    QTest::keyClick(&f.main, Qt::Key_R, Qt::ControlModifier);

    const int total = 2160 + 2880 + 4320;
    QCOMPARE(progress->maximum(), total);
    QCOMPARE(progress->value(), 0);
    QCOMPARE(Texts(status), (QStringList{"Working....", "OK.."}));
    QCOMPARE(positions.count(), total + 1);
    for (int i = 0; i < total; ++i)
        QCOMPARE(positions.at(i).at(0).toInt(), i + 1);
    QCOMPARE(positions.at(total).at(0).toInt(), 0);
}

void TestMainWindowCharSets::charSetKeysWorkFromSpritePage() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    SetSwatch(f.main, "CBack", 0x123456);
    QTest::keyClick(&f.main, Qt::Key_F4);
    QCOMPARE(f.main.CharSetAddress(), 0x800);
    QVERIFY(AllPixels(f.main.CharSetViews().CharSetImage, 0x123456));
    QCOMPARE(LabelText(f.main, "CS8x8Label"), QString("$0800"));
    QCOMPARE(f.main.StatusText(), QString("OK.."));
    QCOMPARE(Child<QWidget>(f.main, "SpriteSheet")->isVisible(), true);
}

QTEST_MAIN(TestMainWindowCharSets)
#include "tst_main_window_charset.moc"
