#include "helpers/child.h"
#include "ui/dialogs/snapshot_window.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <vector>

using namespace mosaiqua;

namespace {

const PaletteTable& kPal = Ccs64Table;

// Bank 2 ($8000): sprite 0 in the ROM shadow at $9000, sprite 1 multicolour at $A000 drawn solid.
struct Fixture {
    MachineState state;
    MemoryImage image;
    SnapshotWindow window;
    std::vector<SpriteSettings> sprites;
    std::vector<CharSetSettings> charSets;

    Fixture() {
        state.cia2PortA = 0x01;
        state.vic[0x15] = 0x03;
        state.vic[0x18] = 0x10; // screen $8400, charset $8000
        state.vic[0x1C] = 0x02;
        state.vic[0x21] = 6, state.vic[0x22] = 2, state.vic[0x23] = 3;
        state.vic[0x25] = 4, state.vic[0x26] = 5, state.vic[0x28] = 7;
        state.colourRam.assign(1024, 9);
        const std::uint8_t pointers[2] = {0x40, 0x80};
        image.write(0x87F8, pointers, 2);
        const std::vector<std::uint8_t> solid(63, 0xAA); // bit pairs 10: the sprite's own colour
        image.write(0xA000, solid.data(), solid.size());
        QObject::connect(&window, &SnapshotWindow::spriteChosen,
                         [this](const SpriteSettings& s) { sprites.push_back(s); });
        QObject::connect(&window, &SnapshotWindow::charSetChosen,
                         [this](const CharSetSettings& c) { charSets.push_back(c); });
        window.showState(state, image, kPal, 0x123456);
    }
    QTreeWidget* list() { return Child<QTreeWidget>(window, QStringLiteral("spriteList")); }
    QString text(const char* name) { return Child<QLabel>(window, QLatin1String(name))->text(); }
};

} // namespace

class TestSnapshotWindow : public QObject {
    Q_OBJECT

private slots:
    void showsTheScreenAndTheSprites() {
        Fixture f;
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Snapshot"));
        QCOMPARE(f.text("bankValue"), QStringLiteral("$8000"));
        QCOMPARE(f.text("screenValue"), QStringLiteral("$8400"));
        QCOMPARE(f.text("charSetValue"), QStringLiteral("$8000"));
        QCOMPARE(f.text("modeValue"), QStringLiteral("text, hi-res"));
        QCOMPARE(f.text("backgroundValue"), QStringLiteral("6 (blue)"));
        QCOMPARE(f.list()->topLevelItemCount(), 8);
        const QTreeWidgetItem* one = f.list()->topLevelItem(1);
        QCOMPARE(one->text(1), QStringLiteral("yes"));
        QCOMPARE(one->text(3), QStringLiteral("$A000"));
        QCOMPARE(one->text(4), QStringLiteral("multicolour"));
        QCOMPARE(f.list()->topLevelItem(0)->text(3), QStringLiteral("$9000 (ROM)"));
        const QImage thumb = one->icon(0).pixmap(f.list()->iconSize()).toImage();
        QCOMPARE(QColor(thumb.pixel(0, 0)), QColor(RedOf(kPal[7]), GreenOf(kPal[7]), BlueOf(kPal[7])));
    }

    void rowsAndTheButtonHandOnTheirSettings() {
        Fixture f;
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.list()->setFocus();
        f.list()->setCurrentItem(f.list()->topLevelItem(1));
        QTest::keyClick(f.list(), Qt::Key_Return);
        QCOMPARE(f.sprites.size(), std::size_t(1));
        QCOMPARE(f.sprites[0],
                 (SpriteSettings{1, 0xA000, true, {kPal[6], kPal[4], kPal[7], kPal[5]}, false}));

        f.list()->setCurrentItem(f.list()->topLevelItem(0));
        QTest::keyClick(f.list(), Qt::Key_Return);
        QCOMPARE(f.sprites.size(), std::size_t(1)); // the ROM shadow is not shown in RAM
        QVERIFY(f.window.note().contains(QStringLiteral("character ROM")));

        Child<QPushButton>(f.window, QStringLiteral("showCharSetButton"))->click();
        QCOMPARE(f.charSets.size(), std::size_t(1));
        QCOMPARE(f.charSets[0],
                 (CharSetSettings{0x8000, false, {kPal[6], kPal[2], kPal[9], kPal[3]}, false}));
        QVERIFY(f.window.note().isEmpty());

        f.window.showState(std::nullopt, f.image, kPal, 0);
        QVERIFY(!Child<QLabel>(f.window, QStringLiteral("noStateLabel"))->isHidden());
        QVERIFY(Child<QWidget>(f.window, QStringLiteral("details"))->isHidden());
    }
};

QTEST_MAIN(TestSnapshotWindow)
#include "tst_snapshot_window.moc"
