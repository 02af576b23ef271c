#include "ui/dialogs/memory_overview.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using mosaiqua::OverviewPage;

namespace {

// A few shapes: rows of a filled diamond-ish blob, so the cell scores as a sprite.
mosaiqua::MemoryImage ImageWithSpriteAt(std::int32_t address) {
    mosaiqua::MemoryImage image;
    std::uint8_t sprite[64] = {};
    for (int r = 2; r < 19; ++r) {
        const int half = 9 - std::abs(r - 10);
        const std::uint32_t row = ((1u << (2 * half + 2)) - 1) << (11 - half);
        sprite[3 * r] = std::uint8_t(row >> 16);
        sprite[3 * r + 1] = std::uint8_t(row >> 8);
        sprite[3 * r + 2] = std::uint8_t(row);
    }
    image.write(std::size_t(address), sprite, sizeof sprite);
    return image;
}

} // namespace

class TestMemoryOverview final : public QObject {
    Q_OBJECT
private slots:
    void clicksHandBackTheCellsAddress();
    void settersRedraw();
    void findStepsThroughCandidates();
};

// Cell (column 3, row 2) is the sprite at (2 * 32 + 3) * $40; block (2, 1) is 10 * $800, its
// character (column 5, row 3) another (3 * 16 + 5) * 8 on.
void TestMemoryOverview::clicksHandBackTheCellsAddress() {
    MemoryOverview window;
    window.setMemory(mosaiqua::MemoryImage());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Memory Overview"));
    auto* canvas = window.findChild<QWidget*>(QStringLiteral("overviewCanvas"));
    QVERIFY(canvas != nullptr);
    const int s = window.scale();
    QVERIFY(s >= 1 && s <= 3);
    QSignalSpy chosen(&window, &MemoryOverview::addressChosen);

    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint((3 * 24 + 23) * s, (2 * 21 + 20) * s));
    QTest::mouseMove(canvas, QPoint((3 * 24 + 1) * s, (2 * 21 + 1) * s));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("addressLabel"))->text(),
             QStringLiteral("Address: $10C0"));

    window.setPage(OverviewPage::CharSets);
    const QPoint inCharacter((2 * 128 + 5 * 8 + 7) * window.scale(), (128 + 3 * 8) * window.scale());
    QTest::mouseClick(canvas, Qt::LeftButton, {}, inCharacter);
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::ShiftModifier, inCharacter);

    QCOMPARE(chosen.count(), 3);
    QCOMPARE(chosen[0][0].value<OverviewPage>(), OverviewPage::Sprites);
    QCOMPARE(chosen[0][1].value<std::int32_t>(), (2 * 32 + 3) * 64);
    QCOMPARE(chosen[1][0].value<OverviewPage>(), OverviewPage::CharSets);
    QCOMPARE(chosen[1][1].value<std::int32_t>(), 10 * 0x800);
    QCOMPARE(chosen[2][1].value<std::int32_t>(), 10 * 0x800 + (3 * 16 + 5) * 8);
}

// The first row of the shape at $0040 sits in cell (1, 0), pixels 24.. 47, row 2.
void TestMemoryOverview::settersRedraw() {
    MemoryOverview window;
    const mosaiqua::ColourSlots colours{0x000001, 0x000002, 0x0000FF, 0x000004};
    window.setColours(colours);
    QCOMPARE(window.picture().pixel(24 + 11, 2), 0x000001u);
    window.setMemory(ImageWithSpriteAt(0x40));
    QCOMPARE(window.picture().pixel(24 + 11, 2), 0x0000FFu);
    window.setMode(true);
    QCOMPARE(window.picture().pixel(24 + 11, 2), 0x000004u); // pair 11 is multicolour 2
    window.setPage(OverviewPage::CharSets);
    QCOMPARE(window.picture().width(), 1024);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* canvas = window.findChild<QWidget*>(QStringLiteral("overviewCanvas"));
    const QImage before = canvas->grab().toImage();
    window.setViewerRange(0, 2160);
    QTRY_VERIFY(canvas->grab().toImage() != before);
}

void TestMemoryOverview::findStepsThroughCandidates() {
    MemoryOverview window;
    window.setMemory(ImageWithSpriteAt(0x1000));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy chosen(&window, &MemoryOverview::addressChosen);
    auto* find = window.findChild<QCheckBox*>(QStringLiteral("findGraphics"));
    QVERIFY(find != nullptr);
    const QImage plain = window.findChild<QWidget*>(QStringLiteral("overviewCanvas"))->grab().toImage();
    find->setChecked(true);
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("legend"))->isVisibleTo(&window));
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("overviewCanvas"))->grab().toImage() != plain);

    window.findChild<QPushButton*>(QStringLiteral("nextFind"))->click();
    window.findChild<QPushButton*>(QStringLiteral("previousFind"))->click();
    QCOMPARE(chosen.count(), 2);
    QCOMPARE(chosen[0][1].value<std::int32_t>(), 0x1000);
    QCOMPARE(chosen[1][1].value<std::int32_t>(), 0x1000); // the only candidate, either way
}

QTEST_MAIN(TestMemoryOverview)
#include "tst_memory_overview.moc"
