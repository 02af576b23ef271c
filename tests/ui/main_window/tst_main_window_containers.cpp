// Opening a disk image: the Pick a File dialog lists its directory, keys choose the entry, and the
// viewers show the memory the chosen file loads.
#include "helpers/main_window_driver.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <memory>

namespace {

constexpr int kTrack17 = 16 * 21 * 256; // tracks 1-16 hold 21 sectors each
constexpr int kTrack18 = 17 * 21 * 256;

void Name(QByteArray& disk, int at, const QByteArray& name) {
    for (int i = 0; i < 16; ++i)
        disk[at + i] = i < name.size() ? name[i] : char(0xA0);
}

// A 35-track D64 by the 1541's layout: "TEST DISK" 01 2A, its files in the directory at 18/1,
// each one block of track 17 (sector = its slot) holding the load address and `data`.
QByteArray Disk(const QList<std::pair<QByteArray, int>>& files, const QByteArray& data) {
    QByteArray disk(683 * 256, '\0');
    disk[kTrack18] = 18;
    disk[kTrack18 + 1] = 1;
    disk[kTrack18 + 2] = 'A';
    for (int i = 0x90; i < 0xAB; ++i)
        disk[kTrack18 + i] = char(0xA0);
    Name(disk, kTrack18 + 0x90, "TEST DISK");
    disk.replace(kTrack18 + 0xA2, 5,
                 QByteArray("01\xA0"
                            "2A"));
    disk[kTrack18 + 256 + 1] = char(0xFF);
    for (int slot = 0; slot < files.size(); ++slot) {
        const int entry = kTrack18 + 256 + slot * 32;
        disk[entry + 2] = char(0x82); // a closed PRG
        disk[entry + 3] = 17;
        disk[entry + 4] = char(slot);
        Name(disk, entry + 5, files[slot].first);
        disk[entry + 0x1E] = 1;
        const int block = kTrack17 + slot * 256;
        disk[block + 1] = char(1 + 2 + data.size()); // the last byte used
        disk[block + 2] = char(files[slot].second & 0xFF);
        disk[block + 3] = char(files[slot].second >> 8);
        disk.replace(block + 4, int(data.size()), data);
    }
    return disk;
}

QString Write(MainWindowFixture& f, const QString& name, const QByteArray& bytes) {
    const QString path = f.files.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void Open(MainWindowFixture& f, const QString& path) {
    f.platform.openAnswers.push_back(path);
    Trigger(f.main, QStringLiteral("OpenFreezeFile1"));
}

const QByteArray kSprite = BalloonMemory().mid(0x49);

struct Seen {
    QString objectName, title, header, footer;
    QStringList rows;
};

// Plays the user: reads the dialog, then presses `keys` in its list.
std::function<int(QDialog*)> PressKeys(std::shared_ptr<Seen> seen, QList<Qt::Key> keys) {
    return [seen, keys](QDialog* dialog) {
        seen->objectName = dialog->objectName();
        seen->title = dialog->windowTitle();
        seen->header = Child<QLabel>(*dialog, "PickHeader")->text();
        seen->footer = Child<QLabel>(*dialog, "PickFooter")->text();
        auto* list = Child<QListWidget>(*dialog, "PickEntries");
        for (int row = 0; row < list->count(); ++row)
            seen->rows << list->item(row)->text();
        for (Qt::Key key : keys)
            QTest::keyClick(list, key);
        return dialog->result();
    };
}

} // namespace

class TestMainWindowContainers final : public QObject {
    Q_OBJECT

private slots:
    void pickingAFileByKeysLoadsIt();
    void cancellingChangesNothingAndASingleFileLoadsAtOnce();
    void aSeqFileLoadsWhereTheUserSays();
    void realDiskImageListsItsDirectory();
};

void TestMainWindowContainers::pickingAFileByKeysLoadsIt() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const QString path = Write(f, "game.d64", Disk({{"INTRO", 0x3000}, {"BALLOON", 0x2000}}, kSprite));
    auto seen = std::make_shared<Seen>();
    f.platform.modalScripts.push_back(PressKeys(seen, {Qt::Key_Down, Qt::Key_Return}));
    Open(f, path);

    QVERIFY(f.platform.errors.empty());
    QCOMPARE(seen->objectName, QString("PickFileDialog"));
    QCOMPARE(seen->title, QString("Pick a File"));
    QCOMPARE(seen->header, QString("0 \"TEST DISK       \" 01 2A"));
    // 664 blocks on a 35-track disk, none marked used in this BAM.
    QVERIFY(seen->footer.endsWith("BLOCKS FREE."));
    QCOMPARE(seen->rows,
             (QStringList{"1    \"INTRO\"            PRG   $3000", "1    \"BALLOON\"          PRG   $2000"}));
    QVERIFY2(f.main.StatusText().contains("game.d64") && f.main.StatusText().contains("BALLOON"),
             qPrintable(f.main.StatusText()));
    f.main.Model().setSpriteAddress(0x2000);
    QCOMPARE(Rows(f.main.SpriteViews().SpriteActual, 0, 0, 24, 21, 0x6C6C6C, 0x000000), kBalloon);
    // Only the file's bytes: the other file's address stays 0.
    QCOMPARE(int(f.main.Memory().byteAt(0x3000)), 0);
}

void TestMainWindowContainers::cancellingChangesNothingAndASingleFileLoadsAtOnce() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    Trigger(f.main, "DetectFileFormat1"); // LoadBalloon switched recognition off
    const QString status = f.main.StatusText();
    const auto identity = f.main.Model().loadedIdentity();
    const QString twoFiles =
        Write(f, "two.d64", Disk({{"A", 0x0049}, {"B", 0x0049}}, QByteArray(63, '\xFF')));
    auto seen = std::make_shared<Seen>();
    f.platform.modalScripts.push_back(PressKeys(seen, {Qt::Key_Escape}));
    Open(f, twoFiles);
    QCOMPARE(seen->rows.size(), 2);
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.main.StatusText(), status);
    QVERIFY(f.main.Model().loadedIdentity() == identity);
    QCOMPARE(Rows(f.main.SpriteViews().SpriteActual, 0, 0, 24, 21, 0x6C6C6C, 0x000000), kBalloon);

    const QString oneFile = Write(f, "one.d64", Disk({{"FULL", 0x0049}}, QByteArray(63, '\xFF')));
    Open(f, oneFile);
    QCOMPARE(f.platform.modalRuns, 1);
    QVERIFY(f.platform.errors.empty());
    QVERIFY(AllPixels(f.main.SpriteViews().SpriteActual, 0x6C6C6C));
}

void TestMainWindowContainers::aSeqFileLoadsWhereTheUserSays() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QByteArray disk = Disk({{"INTRO", 0x3000}, {"NOTES", 0x2000}}, kSprite);
    disk[kTrack18 + 256 + 32 + 2] = char(0x81); // the second file is a closed SEQ
    const QString path = Write(f, "notes.d64", disk);
    f.platform.modalScripts.push_back([](QDialog* dialog) {
        auto* list = Child<QListWidget>(*dialog, "PickEntries");
        auto* loadAt = Child<QLineEdit>(*dialog, "PickLoadAt");
        if (loadAt->isEnabled()) // a PRG says where it goes
            return -1;
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClicks(loadAt, "$4000");
        QTest::keyClick(list, Qt::Key_Return);
        return dialog->result();
    });
    Open(f, path);
    QVERIFY(f.platform.errors.empty());
    // The whole file, its first two bytes included, from $4000 on.
    QCOMPARE(int(f.main.Memory().byteAt(0x4001)), 0x20);
    f.main.Model().setSpriteAddress(0x4002);
    QCOMPARE(Rows(f.main.SpriteViews().SpriteActual, 0, 0, 24, 21, 0x6C6C6C, 0x000000), kBalloon);
}

void TestMainWindowContainers::realDiskImageListsItsDirectory() {
    const QString path = TestDataPath("testdisk.d64");
    SKIP_UNLESS_PRESENT(path);
    MainWindowFixture f;
    QVERIFY(f.Show());
    auto seen = std::make_shared<Seen>();
    f.platform.modalScripts.push_back(PressKeys(seen, {Qt::Key_Return}));
    Open(f, path);
    QVERIFY(f.platform.errors.empty());
    QVERIFY(!seen->rows.isEmpty());
    QVERIFY(seen->footer.endsWith("BLOCKS FREE."));
    QVERIFY2(f.main.StatusText().contains("testdisk.d64"), qPrintable(f.main.StatusText()));
}

QTEST_MAIN(TestMainWindowContainers)
#include "tst_main_window_containers.moc"
