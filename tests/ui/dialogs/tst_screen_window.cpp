// The Screen window on the demo snapshot: opened from the View menu, hovered, clicked, saved.
#include "helpers/main_window_driver.h"
#include "ui/desktop/raster_image.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/screen_window.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using mosaiqua::TrueVicTable;

namespace {

const QString kDemo = QStringLiteral(MOSAIQUA_DEMO_SNAPSHOT);

QColor Vic(int code) {
    return ToQColor(TrueVicTable[std::size_t(code)]);
}

// The middle of a picture pixel on the window's canvas.
QPoint OnCanvas(const ScreenWindow& window, QPoint picture) {
    return picture * window.scale() + QPoint(window.scale() / 2, window.scale() / 2);
}

} // namespace

class TestScreenWindow : public QObject {
    Q_OBJECT

private slots:
    void theDemoScreenIsShownClickedAndSaved() {
        SKIP_UNLESS_PRESENT(kDemo);
        MainWindowFixture f;
        QVERIFY(f.Show());
        f.platform.openAnswers.push_back(kDemo);
        Trigger(f.main, QStringLiteral("OpenFreezeFile1"));
        // The viewers land on sprite 0 (the smiley at $2000) and the screen's characters at $3000.
        QCOMPARE(f.main.SpriteAddress(), 0x2000);
        QCOMPARE(f.main.CharSetAddress(), 0x3000);
        QVERIFY(f.main.StatusText().endsWith(
            QStringLiteral("Showing what was on screen: sprite 0 at $2000, character set at $3000.")));

        QCOMPARE(Action(f.main, QStringLiteral("Screen1"))->text(), QStringLiteral("S&creen\tCtrl+D"));
        Trigger(f.main, QStringLiteral("Screen1"));
        auto* window = f.main.Windows().screenWindow;
        QVERIFY(window->isVisible());
        QCOMPARE(window->picture().width(), 384);
        QCOMPARE(window->picture().height(), 272);
        QVERIFY(window->scale() >= 1);
        auto* canvas = Child<QWidget>(*window, QStringLiteral("screenCanvas"));
        QCOMPARE(canvas->size(), QSize(384, 272) * window->scale());
        QCOMPARE(ToQColor(window->picture().pixel(0, 0)), Vic(14)); // the border, $D020

        // Hover over the "R" of READY. at column 2, row 22 (screen code 18, glyph $3000 + 18 * 8).
        const QPoint ready(32 + 2 * 8 + 3, 35 + 22 * 8 + 3);
        QTest::mouseMove(canvas, OnCanvas(*window, ready));
        QCOMPARE(window->statusText(),
                 QStringLiteral("Column 2, row 22: screen code $12 at $0772, glyph $3090, colour 14"));

        // Sprite 1, the rocket, white and expanded at frame (296, 145): a click shows it.
        f.main.Model().setSpriteAddress(0);
        f.main.Model().setCharSetAddress(0);
        QPoint rocket(-1, -1);
        for (int y = 145; y < 145 + 42 && rocket.x() < 0; ++y)
            for (int x = 296; x < 296 + 48 && rocket.x() < 0; ++x)
                if (ToQColor(window->picture().pixel(x, y)) == Vic(1))
                    rocket = QPoint(x, y);
        QVERIFY(rocket.x() >= 0);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(*window, rocket));
        QCOMPARE(f.main.SpriteAddress(), 0x2040);
        QCOMPARE(f.main.SpriteColours().main, TrueVicTable[1]);
        QCOMPARE(window->statusText(), QStringLiteral("Sprite 1 at $2040."));
        auto* pages = Child<QTabWidget>(f.main, QStringLiteral("PageControl"));
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("SpriteSheet"));

        // A character: the character-set viewer moves to the screen's set, the status names it.
        QTest::mouseClick(canvas, Qt::LeftButton, {}, OnCanvas(*window, ready));
        QCOMPARE(f.main.CharSetAddress(), 0x3000);
        QCOMPARE(f.main.StatusText(), QStringLiteral("Character $12 at $3090 (column 2, row 22)."));
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("CharSheet"));

        // Without the border only the display area is shown and saved.
        const QString saved = f.files.filePath(QStringLiteral("screen.png"));
        f.platform.saveAnswers.push_back(saved);
        Child<QCheckBox>(*window, QStringLiteral("borderBox"))->click();
        QCOMPARE(window->picture().width(), 320);
        Child<QPushButton>(*window, QStringLiteral("saveScreenPictureButton"))->click();
        QVERIFY(f.platform.errors.empty());
        const QImage image(saved);
        QCOMPARE(image.size(), QSize(320, 200));
        QCOMPARE(QColor(image.pixel(0, 0)), Vic(2)); // the rainbow bar's first block
        QCOMPARE(window->statusText(), QStringLiteral("Screen picture saved ok."));
    }

    void windowsBesideTheMainOneStayOnTheScreen() {
        const QRect screen(0, 0, 1280, 1024);
        const QRect main(100, 50, 600, 500); // right edge at x = 699
        QCOMPARE(BesidePosition(main, QSize(500, 400), screen), QPoint(700, 50));
        QCOMPARE(BesidePosition(QRect(700, 50, 500, 500), QSize(500, 400), screen), QPoint(200, 50));
        // No side has room: against the edge of the roomier side, never off the screen.
        QCOMPARE(BesidePosition(QRect(300, 900, 600, 100), QSize(800, 300), screen), QPoint(480, 724));
        // A 624-wide main window in the middle of 1280 pixels and a 520-wide window: the main window
        // moves left so both fit; when they cannot both fit, it stays.
        const SideBySide both = SideBySidePositions(QRect(328, 200, 624, 549), QSize(520, 400), screen);
        QCOMPARE(both.main, QPoint(1280 - 520 - 624, 200));
        QCOMPARE(both.window, QPoint(1280 - 520, 200));
        QCOMPARE(SideBySidePositions(QRect(328, 200, 624, 549), QSize(700, 400), screen).main,
                 QPoint(328, 200));
    }

    void optionsAndFilesWithoutMachineState() {
        MainWindowFixture f;
        QVERIFY(f.Show());
        // A character ROM of the wrong size is refused and nothing changes.
        const QString shortRom = f.files.filePath(QStringLiteral("short.rom"));
        QFile file(shortRom);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(100, '\0')) == 100);
        file.close();
        f.platform.openAnswers.push_back(shortRom);
        Trigger(f.main, QStringLiteral("CharacterRomFile1"));
        QCOMPARE(int(f.platform.errors.size()), 1);
        QVERIFY(f.platform.errors[0].text.contains(QStringLiteral("holds 100 bytes")));
        QCOMPARE(f.main.Model().characterRomFile(), std::string());

        QVERIFY(Action(f.main, QStringLiteral("FollowSnapshotOnOpen1"))->isChecked());
        Trigger(f.main, QStringLiteral("FollowSnapshotOnOpen1"));
        QVERIFY(!f.main.Model().followSnapshotOnOpen());

        LoadBalloon(f);
        Trigger(f.main, QStringLiteral("Screen1"));
        auto* window = f.main.Windows().screenWindow;
        QVERIFY(Child<QLabel>(*window, QStringLiteral("screenMessage"))
                    ->text()
                    .contains(QStringLiteral("no machine state")));
        QVERIFY(!Child<QPushButton>(*window, QStringLiteral("saveScreenPictureButton"))->isEnabled());
    }
};

QTEST_MAIN(TestScreenWindow)
#include "tst_screen_window.moc"
