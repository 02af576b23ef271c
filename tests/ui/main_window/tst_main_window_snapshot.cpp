// The main window with the files users have: recognised formats, refused files, the loaded file
// kept safe, names that are not UTF-8, the Snapshot window and the memory overview.
#include "../../core/snapshot_fixture.h"
#include "helpers/main_window_driver.h"
#include "ui/dialogs/memory_overview.h"
#include "ui/dialogs/snapshot_window.h"

#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <cstring>
#include <fstream>

using mosaiqua::TrueVicTable;
using mosaiqua::test::Bytes;
using mosaiqua::test::Snapshot;

namespace {

// x64sc registers: bank 0 (pins %11), screen $0400, charset $3000, sprite 0 on and multicolour
// with its pointer $80 at $07F8, so its data is at $2000 (all bit pairs 10: its own colour).
Bytes SnapshotFile(const std::string& machine = "C64SC") {
    Bytes ram{0x37, 0x2F, 1, 1};
    ram.resize(4 + 0x10000, 0);
    ram[4 + 0x07F8] = 0x80;
    std::fill(ram.begin() + 4 + 0x2000, ram.begin() + 4 + 0x2000 + 63, std::uint8_t(0xAA));
    Bytes vic(1 + 64 + 1200, 0);
    vic[1 + 0x15] = 0x01, vic[1 + 0x18] = 0x1C, vic[1 + 0x1C] = 0x01;
    vic[1 + 0x21] = 6, vic[1 + 0x25] = 4, vic[1 + 0x26] = 5, vic[1 + 0x27] = 7;
    Snapshot s(machine, true, 2);
    s.module(machine == "C64SC" ? "C64MEM" : "C128MEM", ram)
        .module("VIC-II", vic)
        .module("CIA2", {0x03, 0, 0x3F});
    return s.bytes;
}

QString Write(MainWindowFixture& f, const char* name, const Bytes& bytes) {
    const QString path = f.files.filePath(QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

void Open(MainWindowFixture& f, const QString& path) {
    f.platform.openAnswers.push_back(path);
    Trigger(f.main, QStringLiteral("OpenFreezeFile1"));
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool IsOutline(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y)) == QColor(255, 255, 0);
}

} // namespace

class TestMainWindowSnapshot : public QObject {
    Q_OBJECT

private slots:
    void recognisedFilesLoadWhereTheyBelong() {
        MainWindowFixture f;
        QAction* detect = Action(f.main, "DetectFileFormat1");
        QVERIFY(detect->isChecked());
        const Bytes snapshot = SnapshotFile();
        const QString vsf = Write(f, "game.vsf", snapshot);
        Open(f, vsf);
        QVERIFY(f.platform.errors.empty());
        QCOMPARE(f.main.StatusText(), QStringLiteral("VICE snapshot (x64sc, VICE 3.10): RAM $0000-$FFFF "
                                                     "Showing what was on screen: sprite 0 at $2000, "
                                                     "character set at $3000."));
        QCOMPARE(f.main.Memory().byteAt(0x07F8), 0x80);
        QCOMPARE(f.main.Memory().byteAt(0x2000), 0xAA);

        const QString prg = TestDataPath("ballon_demo.prg");
        SKIP_UNLESS_PRESENT(prg);
        const QByteArray program = Read(prg);
        QVERIFY(program.size() > 2);
        Open(f, prg);
        const int end = 0x0800 + int(program.size()) - 2 - 1;
        QCOMPARE(f.main.StatusText(),
                 QStringLiteral("PRG: $0800-$%1").arg(end, 4, 16, QLatin1Char('0')).toUpper());
        QCOMPARE(f.main.Memory().byteAt(0x0800), std::uint8_t(program[2]));
        QCOMPARE(f.main.Memory().byteAt(0x2000), 0); // nothing of the snapshot shows through

        // Recognition off: the header skip applies again, and the bytes land as they lie.
        detect->trigger();
        QVERIFY(!detect->isChecked());
        Trigger(f.main, "SkipFirst1148BytesOfFile1");
        Open(f, vsf);
        QCOMPARE(f.main.StatusText(), QStringLiteral("OK.."));
        for (int i : {0, 100, 20000})
            QCOMPARE(f.main.Memory().byteAt(i), snapshot[std::size_t(i)]);
        Open(f, prg);
        QCOMPARE(f.main.Memory().byteAt(0), std::uint8_t(program[0]));
        QVERIFY(f.platform.errors.empty());
    }

    void refusedFileChangesNothingAndTheOpenFileIsNeverWritten() {
        MainWindowFixture f;
        const QString vsf = Write(f, "game.vsf", SnapshotFile());
        Open(f, vsf);
        Trigger(f.main, "NextSprite1");
        const std::vector<std::uint8_t> store(f.main.Memory().data(),
                                              f.main.Memory().data() + mosaiqua::MemoryImage::kStoreSize);
        const mosaiqua::Raster sprite = f.main.SpriteViews().SpriteActual;
        const QString status = f.main.StatusText();

        Open(f, Write(f, "c128.vsf", SnapshotFile("C128")));
        QCOMPARE(f.platform.errors.size(), std::size_t(1));
        QVERIFY2(f.platform.errors[0].text.startsWith(QStringLiteral("Cannot open file \"")) &&
                     f.platform.errors[0].text.contains(QStringLiteral("C128")),
                 qPrintable(f.platform.errors[0].text));
        QVERIFY(std::memcmp(f.main.Memory().data(), store.data(), store.size()) == 0);
        QCOMPARE(f.main.SpriteAddress(), 0x2040); // opened on sprite 0 at $2000, then the next
        QVERIFY(f.main.SpriteViews().SpriteActual == sprite);
        QCOMPARE(f.main.StatusText(), status);

        // The snapshot still open may not be replaced by a save.
        const QByteArray before = Read(vsf);
        f.platform.saveAnswers.push_back(vsf);
        Trigger(f.main, "SaveSprite1");
        QCOMPARE(f.platform.errors.size(), std::size_t(2));
        QVERIFY2(f.platform.errors[1].text.contains(QStringLiteral("it is the file that was loaded")),
                 qPrintable(f.platform.errors[1].text));
        QCOMPARE(Read(vsf), before);
    }

    void aNameThatIsNotUtf8OpensFromTheCommandLine() {
        MainWindowFixture f;
        Trigger(f.main, "SkipFirst1148BytesOfFile1");
        const std::string systemPath = QFile::encodeName(f.files.path()).toStdString() + "/snap\xFF.c64";
        std::ofstream(systemPath, std::ios::binary) << "AB";
        f.main.OpenFreezeFileNamed(QFile::decodeName(QByteArray::fromStdString(systemPath)), systemPath);
        std::remove(systemPath.c_str()); // QTemporaryDir cannot name it
        QVERIFY(f.platform.errors.empty());
        QCOMPARE(f.main.Memory().byteAt(0), 'A');
        QCOMPARE(f.main.Memory().byteAt(1), 'B');
    }

    void aSnapshotSpriteTakesOverTheSpriteViewer() {
        MainWindowFixture f;
        QVERIFY(f.Show());
        Trigger(f.main, "FollowSnapshotOnOpen1"); // the viewers stay at $0000 until a sprite is chosen
        Open(f, Write(f, "game.vsf", SnapshotFile()));
        ShowPage(f.main, "CharSheet");
        QTest::keyClick(&f.main, Qt::Key_G, Qt::ControlModifier);
        auto* window = f.windows.Windows().snapshotWindow;
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto* list = Child<QTreeWidget>(*window, "spriteList");
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Return);

        QCOMPARE(f.main.SpriteAddress(), 0x2000);
        QVERIFY(f.main.SpriteMulticolour());
        QCOMPARE(f.main.SpriteColours(),
                 (mosaiqua::ColourSlots{TrueVicTable[6], TrueVicTable[4], TrueVicTable[7], TrueVicTable[5]}));
        QCOMPARE(Child<QTabWidget>(f.main, "PageControl")->currentWidget()->objectName(),
                 QString("SpriteSheet"));
        QCOMPARE(f.main.SpriteViews().SpriteActual.pixel(0, 0), TrueVicTable[7]);
        QVERIFY(f.platform.errors.empty());
    }

    void anOverviewClickMovesTheViewerAndTheOutlineFollows() {
        MainWindowFixture f;
        QVERIFY(f.Show());
        QTest::keyClick(&f.main, Qt::Key_L, Qt::ControlModifier);
        MemoryOverview* overview = f.windows.Windows().memoryOverview;
        QVERIFY(QTest::qWaitForWindowExposed(overview));
        auto* canvas = Child<QWidget>(*overview, "overviewCanvas");
        const int s = overview->scale();
        // Cell 5 of row 3: the 64 bytes from (3 * 32 + 5) * 64.
        QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier,
                          QPoint((5 * 24 + 12) * s, (3 * 21 + 10) * s));
        QCOMPARE(f.main.SpriteAddress(), (3 * 32 + 5) * 64);
        QVERIFY(IsOutline(canvas->grab().toImage(), 5 * 24 * s, 3 * 21 * s));

        // The keys belong to the main window: the user goes back to it first.
        f.main.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&f.main));
        QTest::keyClick(&f.main, Qt::Key_F7);
        QCOMPARE(f.main.SpriteAddress(), (3 * 32 + 6) * 64);
        const QImage after = canvas->grab().toImage();
        QVERIFY(!IsOutline(after, 5 * 24 * s, 3 * 21 * s));
        QVERIFY(IsOutline(after, 6 * 24 * s, 3 * 21 * s));
        QVERIFY(f.platform.errors.empty());
    }
};

QTEST_MAIN(TestMainWindowSnapshot)
#include "tst_main_window_snapshot.moc"
