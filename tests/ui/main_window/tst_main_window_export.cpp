// The save commands of the File menu and the clipboard copy, checked through the files they write
// (read back with QImage and byte by byte) and what the desktop was asked for.
#include "helpers/main_window_driver.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/dialogs/save_settings_dialog.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <cstdint>

using mosaiqua::TColor;

namespace {

const QStringList kSizeEdits{"CSSpriteWidth",  "CSSpriteHeight", "CSBitmapWidth",
                             "CSBitmapHeight", "CSFBitmapWidth", "CSFBitmapHeight"};

const QColor kBlack(0, 0, 0);

// The fields of a BMP file's two headers.
struct BmpHeader {
    QByteArray magic;
    quint32 fileSize = 0;
    quint32 pixelOffset = 0;
    quint32 infoSize = 0;
    qint32 width = 0;
    qint32 height = 0;
    quint16 planes = 0;
    quint16 bitsPerPixel = 0;
};

quint32 Le(const QByteArray& bytes, int at, int count) {
    quint32 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

BmpHeader HeaderOf(const QByteArray& bytes) {
    BmpHeader header;
    if (bytes.size() < 54)
        return header;
    header.magic = bytes.left(2);
    header.fileSize = Le(bytes, 2, 4);
    header.pixelOffset = Le(bytes, 10, 4);
    header.infoSize = Le(bytes, 14, 4);
    header.width = qint32(Le(bytes, 18, 4));
    header.height = qint32(Le(bytes, 22, 4));
    header.planes = quint16(Le(bytes, 26, 2));
    header.bitsPerPixel = quint16(Le(bytes, 28, 2));
    return header;
}

// The balloon stretched into sw x sh at the top left of a bw x bh black cell: each file pixel takes
// the sprite pixel it falls on.
std::vector<std::string> BalloonCell(int sw, int sh, int bw, int bh) {
    std::vector<std::string> rows;
    for (int y = 0; y < bh; ++y) {
        std::string row;
        for (int x = 0; x < bw; ++x)
            row += x < sw && y < sh ? kBalloon[std::size_t(y * 21 / sh)][std::size_t(x * 24 / sw)] : '.';
        rows.push_back(row);
    }
    return rows;
}

// Opens the settings dialog from the Options menu and plays the user: types the given texts
// (an empty entry leaves its box alone), picks the colour depth and presses OK.
void TypeSaveSettings(MainWindowFixture& f, const QStringList& texts, bool use24Bit = true) {
    f.platform.modalScripts.push_back([texts, use24Bit](QDialog* dialog) {
        dialog->show();
        for (int i = 0; i < texts.size(); ++i) {
            if (texts[i].isEmpty())
                continue;
            auto* edit = Child<QLineEdit>(*dialog, kSizeEdits[i]);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, texts[i]);
        }
        Child<QRadioButton>(*dialog, use24Bit ? "Radio24bit" : "Radio16bit")->click();
        Child<QPushButton>(*dialog, "Button1")->click();
        return dialog->result();
    });
    Trigger(f.main, "SpriteSizeWhenSaving1");
}

// An empty folder for the files a test writes, apart from the memory images it loads.
QString OutFolder(MainWindowFixture& f) {
    QDir(f.files.path()).mkdir("out");
    return f.files.filePath("out");
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

// Saves with `command`, answering the save dialog with `name`.
void SaveAs(MainWindowFixture& f, const char* command, const QString& name) {
    f.platform.saveAnswers.push_back(name);
    Trigger(f.main, command);
}

// Picks true VIC-II white for the sprite's main colour through the picker, so colours survive a
// 16-bit file exactly.
void MainColourWhite(MainWindowFixture& f) {
    f.platform.modalScripts.push_back([](QDialog* dialog) {
        auto* picker = qobject_cast<PalettePicker*>(dialog);
        picker->ShowChoices();
        picker->PickSwatch(2);
        picker->AcceptPick();
        return int(QDialog::Accepted);
    });
    Trigger(f.main, "EditColour21");
}

} // namespace

class TestMainWindowExport final : public QObject {
    Q_OBJECT

private slots:
    void settingsDialogOpensCentredWithDefaults();
    void lettersInASizeStopTheNextSave();
    void everySaveAsksWithItsPresetName();
    void currentSpriteAtTheSettingsSizes_data();
    void currentSpriteAtTheSettingsSizes();
    void nextSevenSpritesLaidOutInCells();
    void cancelOrEmptyNameWritesNothing();
    void charSetFilesKeepTheViewsPicture();
    void neverEnabledViewsSaveBlack();
    void colourDepthOfSpriteFiles();
    void charSetFilesUseTheDisplayDepth();
    void fileThatCannotBeCreated();
    void clipboardTakesThePictureInFront();
    void clipboardFailure();
};

void TestMainWindowExport::settingsDialogOpensCentredWithDefaults() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    f.main.move(41, 13);
    QCoreApplication::processEvents();
    QStringList texts;
    bool radio24 = false;
    bool radioDisplay = true;
    QRect frame;
    f.platform.modalScripts.push_back([&](QDialog* dialog) {
        frame = dialog->frameGeometry();
        for (const QString& name : kSizeEdits)
            texts << Child<QLineEdit>(*dialog, name)->text();
        radio24 = Child<QRadioButton>(*dialog, "Radio24bit")->isChecked();
        radioDisplay = Child<QRadioButton>(*dialog, "Radio16bit")->isChecked();
        return int(QDialog::Rejected);
    });
    Trigger(f.main, "SpriteSizeWhenSaving1");
    QCOMPARE(f.platform.modalDialogs.size(), std::size_t(1));
    QCOMPARE(f.platform.modalDialogs[0], static_cast<QDialog*>(f.windows.Windows().saveSettingsDialog));
    QCOMPARE(texts, (QStringList{"24", "21", "24", "21", "640", "480"}));
    QVERIFY(radio24);
    QVERIFY(!radioDisplay);
    const QRect main = f.main.frameGeometry();
    QVERIFY(frame.width() >= 464 && frame.height() >= 379);
    QCOMPARE(frame.topLeft(), QPoint(main.left() + (main.width() - frame.width()) / 2,
                                     main.top() + (main.height() - frame.height()) / 2));
}

void TestMainWindowExport::lettersInASizeStopTheNextSave() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    const QString out = OutFolder(f);
    TypeSaveSettings(f, {"", "", "", "abc"});
    QVERIFY(f.platform.errors.empty()); // no complaint on OK
    const QString status = f.main.StatusText();
    QSignalSpy statusSpy(&f.main, &MainWindow::StatusTextChanged);

    SaveAs(f, "SaveSprite1", out + "/one.BMP");
    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].title, QString("Mosaiqua"));
    QCOMPARE(f.platform.errors[0].text, QString("'abc' is not a valid integer value"));

    SaveAs(f, "SaveNext7Sprites1", out + "/seven.BMP");
    QCOMPARE(f.platform.errors.size(), std::size_t(2));
    QCOMPARE(f.platform.errors[1].text, QString("'abc' is not a valid integer value"));

    QVERIFY(FilesIn(out).isEmpty());
    QCOMPARE(f.main.StatusText(), status);
    QCOMPARE(statusSpy.count(), 0);
    QCOMPARE(f.main.SpriteAddress(), 0x0049);
}

void TestMainWindowExport::everySaveAsksWithItsPresetName() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    WalkSpriteTo(f.main, 0x0800);
    WalkCharSetTo(f.main, 0xD000);
    for (const char* command :
         {"SaveSprite1", "SaveNext7Sprites1", "Save8x8CharSet1", "Save8x16CharSet1", "Save16x16CharSet1"})
        Trigger(f.main, command); // every dialog is cancelled
    const QStringList expected{"spr0800.BMP", "084009C0.BMP", "chrD000.BMP", "chrD000.BMP", "chrD000.BMP"};
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(5));
    for (std::size_t i = 0; i < 5; ++i) {
        const SaveFileRequest& request = f.platform.saveRequests[i];
        QCOMPARE(request.presetName, expected[int(i)]);
        QCOMPARE(request.startFolder, QString("C:\\My Documents"));
        QCOMPARE(request.filters, (QStringList{"Windows Bitmap (*.BMP)", "PNG Image (*.png)"}));
        QCOMPARE(request.defaultSuffix, QString("BMP"));
        QVERIFY(request.confirmOverwrite);
    }

    // Near the top the next-seven name takes five digits.
    WalkSpriteTo(f.main, 0xFFC0);
    Trigger(f.main, "SaveSprite1");
    Trigger(f.main, "SaveNext7Sprites1");
    QCOMPARE(f.platform.saveRequests[5].presetName, QString("sprFFC0.BMP"));
    QCOMPARE(f.platform.saveRequests[6].presetName, QString("1000010180.BMP"));

    // The start folder is the bitmap directory as it is now.
    f.platform.folderAnswers.push_back(f.files.path());
    f.platform.modalScripts.push_back([](QDialog* dialog) {
        qobject_cast<FoldersDialog*>(dialog)->BrowseBitmapFolder();
        return int(QDialog::Accepted);
    });
    Trigger(f.main, "SetDefaultFreezeDirectory1");
    QCOMPARE(f.main.BitmapDirectory(), f.files.path());
    Trigger(f.main, "Save8x8CharSet1");
    Trigger(f.main, "SaveSprite1");
    QCOMPARE(f.platform.saveRequests[7].startFolder, f.files.path());
    QCOMPARE(f.platform.saveRequests[8].startFolder, f.files.path());
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowExport::currentSpriteAtTheSettingsSizes_data() {
    QTest::addColumn<QStringList>("sizes"); // sw, sh, bw, bh
    QTest::addColumn<int>("fileSize");
    QTest::newRow("defaults") << QStringList{} << 54 + 21 * 72;
    QTest::newRow("48 x 42 in 48 x 42") << QStringList{"48", "42", "48", "42"} << 54 + 42 * 144;
    QTest::newRow("24 x 21 in 32 x 32") << QStringList{"24", "21", "32", "32"} << 54 + 32 * 96;
    QTest::newRow("48 x 42 in 24 x 21") << QStringList{"48", "42", "24", "21"} << 54 + 21 * 72;
    // 25 pixels of 3 bytes make 75, padded to 76.
    QTest::newRow("24 x 21 in 25 x 21") << QStringList{"24", "21", "25", "21"} << 54 + 21 * 76;
}

void TestMainWindowExport::currentSpriteAtTheSettingsSizes() {
    QFETCH(QStringList, sizes);
    QFETCH(int, fileSize);
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    if (!sizes.isEmpty())
        TypeSaveSettings(f, sizes);
    const int sw = sizes.isEmpty() ? 24 : sizes[0].toInt();
    const int sh = sizes.isEmpty() ? 21 : sizes[1].toInt();
    const int bw = sizes.isEmpty() ? 24 : sizes[2].toInt();
    const int bh = sizes.isEmpty() ? 21 : sizes[3].toInt();
    const QString path = OutFolder(f) + "/balloon.BMP";
    SaveAs(f, "SaveSprite1", path);
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.main.StatusText(), QString("1 sprite saved ok."));

    const QByteArray bytes = ReadFile(path);
    QCOMPARE(bytes.size(), fileSize);
    const BmpHeader header = HeaderOf(bytes);
    QCOMPARE(header.magic, QByteArray("BM"));
    QCOMPARE(header.fileSize, quint32(fileSize));
    QCOMPARE(header.pixelOffset, 54u);
    QCOMPARE(header.infoSize, 40u);
    QCOMPARE(header.width, bw);
    QCOMPARE(header.height, bh); // positive: bottom-up
    QCOMPARE(header.planes, quint16(1));
    QCOMPARE(header.bitsPerPixel, quint16(24));

    const QImage image(path);
    QCOMPARE(image.size(), QSize(bw, bh));
    QCOMPARE(ImageRows(image, 0, 0, bw, bh), BalloonCell(sw, sh, bw, bh));

    // The last row of the picture comes first in the file, blue, green, red per pixel.
    const std::string bottom = BalloonCell(sw, sh, bw, bh).back();
    for (int x = 0; x < bw; ++x) {
        const char expected = bottom[std::size_t(x)] == '#' ? char(0x6C) : char(0);
        for (int b = 0; b < 3; ++b)
            QCOMPARE(bytes.at(54 + 3 * x + b), expected);
    }
    // Nothing but the file and the status changed.
    QCOMPARE(f.main.SpriteAddress(), 0x0049);
    QCOMPARE(Rows(f.main.SpriteViews().SpriteActual, 0, 0, 24, 21, 0x6C6C6C, 0), kBalloon);
}

void TestMainWindowExport::nextSevenSpritesLaidOutInCells() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    // Sprite k after the current one: k + 1 pixels at the left of every row and its last pixel.
    QByteArray memory(64 * 8, char(0));
    for (int k = 0; k < 7; ++k)
        for (int row = 0; row < 21; ++row) {
            memory[64 * (k + 1) + 3 * row] = char((0xFF << (7 - k)) & 0xFF);
            memory[64 * (k + 1) + 3 * row + 2] = char(0x01);
        }
    LoadBytes(f, memory);
    TypeSaveSettings(f, {"", "", "30", ""});
    const QString path = OutFolder(f) + "/seven.BMP";
    SaveAs(f, "SaveNext7Sprites1", path);
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.main.StatusText(), QString("7 sprites saved ok."));

    // 210 pixels of 3 bytes make 630, padded to 632.
    const QByteArray bytes = ReadFile(path);
    QCOMPARE(bytes.size(), 54 + 21 * 632);
    const BmpHeader header = HeaderOf(bytes);
    QCOMPARE(header.width, 7 * 30);
    QCOMPARE(header.height, 21);
    QCOMPARE(header.bitsPerPixel, quint16(24));

    std::string row;
    for (int k = 0; k < 7; ++k)
        row += std::string(std::size_t(k + 1), '#') + std::string(std::size_t(22 - k), '.') + "#" + "......";
    const QImage image(path);
    QCOMPARE(image.size(), QSize(210, 21));
    QCOMPARE(ImageRows(image, 0, 0, 210, 21), std::vector<std::string>(21, row));
}

void TestMainWindowExport::cancelOrEmptyNameWritesNothing() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    const QString out = OutFolder(f);
    QCOMPARE(f.main.StatusText(), QString("OK.."));
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    const char* commands[] = {"SaveSprite1", "SaveNext7Sprites1", "Save8x8CharSet1", "Save8x16CharSet1",
                              "Save16x16CharSet1"};
    for (const char* command : commands) {
        Trigger(f.main, command); // cancelled
        SaveAs(f, command, QString());
    }
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(10));
    QCOMPARE(status.count(), 0);
    QCOMPARE(f.main.StatusText(), QString("OK.."));
    QVERIFY(FilesIn(out).isEmpty());
    QVERIFY(f.platform.errors.empty());

    // Each success shows its own text.
    const QStringList texts{"1 sprite saved ok.", "7 sprites saved ok.", "8 x 8 CharSet saved ok.",
                            "8 x 16 CharSet saved ok.", "16 x 16 CharSet saved ok."};
    for (int i = 0; i < 5; ++i) {
        SaveAs(f, commands[i], out + QStringLiteral("/file%1.BMP").arg(i));
        QCOMPARE(f.main.StatusText(), texts[i]);
    }
    QCOMPARE(FilesIn(out).size(), 5);
}

void TestMainWindowExport::charSetFilesKeepTheViewsPicture() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(1, char(0xFF))); // character 0, row 0 in the main colour
    // Sizes and depth of the sprite saves must not reach the charset files.
    TypeSaveSettings(f, {"48", "42", "100", "100"}, true);
    ShowPage(f.main, "CharSheet");
    ClickOn(f.main, "CSPlus"); // the address moves, the picture stays
    QCOMPARE(f.main.CharSetAddress(), 1);
    f.platform.colourDepth = 32;

    const QString path = OutFolder(f) + "/stale.BMP";
    SaveAs(f, "Save8x8CharSet1", path);
    QCOMPARE(f.platform.saveRequests.back().presetName, QString("chr0001.BMP"));
    QCOMPARE(f.main.StatusText(), QString("8 x 8 CharSet saved ok."));
    const QByteArray bytes = ReadFile(path);
    QCOMPARE(bytes.size(), 54 + 72 * 240 * 4);
    const BmpHeader header = HeaderOf(bytes);
    QCOMPARE(header.width, 240);
    QCOMPARE(header.height, 72);
    QCOMPARE(header.bitsPerPixel, quint16(32));

    const QImage image(path);
    QCOMPARE(image.size(), QSize(240, 72));
    std::vector<std::string> expected(72, std::string(240, '.'));
    expected[0].replace(0, 8, "########");
    QCOMPARE(ImageRows(image, 0, 0, 240, 72), expected);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowExport::neverEnabledViewsSaveBlack() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBytes(f, QByteArray(4096, char(0xFF)));
    const QString out = OutFolder(f);
    SaveAs(f, "Save8x16CharSet1", out + "/a.BMP");
    SaveAs(f, "Save16x16CharSet1", out + "/b.BMP");
    QVERIFY(f.platform.errors.empty());

    const QByteArray tall = ReadFile(out + "/a.BMP");
    QCOMPARE(tall.size(), 54 + 144 * 720);
    QCOMPARE(HeaderOf(tall).width, 240);
    QCOMPARE(HeaderOf(tall).height, 144);
    QVERIFY(tall.mid(54).count(char(0)) == 144 * 720);
    const QImage tallImage(out + "/a.BMP");
    QCOMPARE(tallImage.size(), QSize(240, 144));

    const QByteArray wide = ReadFile(out + "/b.BMP");
    QCOMPARE(wide.size(), 54 + 48 * 1440);
    QCOMPARE(HeaderOf(wide).width, 480);
    QCOMPARE(HeaderOf(wide).height, 48);
    QVERIFY(wide.mid(54).count(char(0)) == 48 * 1440);
    QCOMPARE(QImage(out + "/b.BMP").pixelColor(479, 47), kBlack);
}

void TestMainWindowExport::colourDepthOfSpriteFiles() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    MainColourWhite(f);
    const QString out = OutFolder(f);

    TypeSaveSettings(f, {}, false);
    f.platform.colourDepth = 16;
    SaveAs(f, "SaveSprite1", out + "/d16.BMP");
    const QByteArray bytes16 = ReadFile(out + "/d16.BMP");
    const BmpHeader h16 = HeaderOf(bytes16);
    QCOMPARE(h16.bitsPerPixel, quint16(16));
    // 24 pixels of 2 bytes make 48 a row: no padding.
    QCOMPARE(quint32(bytes16.size()), h16.pixelOffset + 21 * 48);
    QCOMPARE(h16.fileSize, quint32(bytes16.size()));
    // Readers widen 5 or 6 bits in their own ways: white only has to stay near white.
    const QImage image16(out + "/d16.BMP");
    QCOMPARE(image16.size(), QSize(24, 21));
    std::vector<std::string> rows16;
    for (int y = 0; y < 21; ++y) {
        std::string row;
        for (int x = 0; x < 24; ++x) {
            const QColor c = image16.pixelColor(x, y);
            const bool nearWhite = c.red() >= 240 && c.green() >= 240 && c.blue() >= 240;
            row += nearWhite ? '#' : c == kBlack ? '.' : '?';
        }
        rows16.push_back(row);
    }
    QCOMPARE(rows16, kBalloon);

    f.platform.colourDepth = 32;
    SaveAs(f, "SaveNext7Sprites1", out + "/d32.BMP");
    const QByteArray bytes32 = ReadFile(out + "/d32.BMP");
    QCOMPARE(HeaderOf(bytes32).bitsPerPixel, quint16(32));
    QCOMPARE(bytes32.size(), 54 + 21 * 168 * 4);

    SaveAs(f, "SaveSprite1", out + "/d32b.BMP");
    QCOMPARE(ReadFile(out + "/d32b.BMP").size(), 54 + 21 * 24 * 4);
    QCOMPARE(ImageRows(QImage(out + "/d32b.BMP"), 0, 0, 24, 21, 0xFFFFFF), kBalloon);

    // Back to 24 bits: the display no longer matters.
    TypeSaveSettings(f, {}, true);
    f.platform.colourDepth = 16;
    SaveAs(f, "SaveSprite1", out + "/d24.BMP");
    const QByteArray bytes24 = ReadFile(out + "/d24.BMP");
    QCOMPARE(HeaderOf(bytes24).bitsPerPixel, quint16(24));
    QCOMPARE(bytes24.size(), 54 + 21 * 72);
    QCOMPARE(ImageRows(QImage(out + "/d24.BMP"), 0, 0, 24, 21, 0xFFFFFF), kBalloon);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowExport::charSetFilesUseTheDisplayDepth() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const QString out = OutFolder(f);
    QVERIFY(f.windows.Windows().saveSettingsDialog->Use24Bit());
    f.platform.colourDepth = 16;
    SaveAs(f, "Save8x8CharSet1", out + "/c16.BMP");
    const QByteArray bytes16 = ReadFile(out + "/c16.BMP");
    QCOMPARE(HeaderOf(bytes16).bitsPerPixel, quint16(16));
    QCOMPARE(quint32(bytes16.size()), HeaderOf(bytes16).pixelOffset + 72 * 480);

    f.platform.colourDepth = 24;
    SaveAs(f, "Save16x16CharSet1", out + "/c24.BMP");
    QCOMPARE(HeaderOf(ReadFile(out + "/c24.BMP")).bitsPerPixel, quint16(24));

    f.platform.colourDepth = 32;
    SaveAs(f, "Save8x16CharSet1", out + "/c32.BMP");
    const QByteArray bytes32 = ReadFile(out + "/c32.BMP");
    QCOMPARE(HeaderOf(bytes32).bitsPerPixel, quint16(32));
    QCOMPARE(bytes32.size(), 54 + 144 * 960);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowExport::fileThatCannotBeCreated() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    const QString missing = f.files.filePath("no-such-folder");
    const QString spriteName = missing + "/spr0049.BMP";
    SaveAs(f, "SaveSprite1", spriteName);
    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].title, QString("Mosaiqua"));
    QCOMPARE(f.platform.errors[0].text, "Cannot create file " + spriteName + ": No such file or directory");

    const QString charName = missing + "/chr0000.BMP";
    SaveAs(f, "Save8x8CharSet1", charName);
    QCOMPARE(f.platform.errors.size(), std::size_t(2));
    QCOMPARE(f.platform.errors[1].text, "Cannot create file " + charName + ": No such file or directory");

    // A folder in the way of the name.
    const QString folder = OutFolder(f);
    SaveAs(f, "SaveNext7Sprites1", folder);
    QCOMPARE(f.platform.errors.size(), std::size_t(3));
    QCOMPARE(f.platform.errors[2].text, "Cannot create file " + folder + ": Is a directory");

    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(FilesIn(folder).isEmpty());
    QCOMPARE(status.count(), 0);
    QCOMPARE(f.main.StatusText(), QString("OK.."));
}

void TestMainWindowExport::clipboardTakesThePictureInFront() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    QTest::keyClick(&f.main, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(f.platform.clipboardImages.size(), std::size_t(1));
    const QImage sprite = f.platform.clipboardImages[0];
    QCOMPARE(sprite.size(), QSize(24, 21));
    QCOMPARE(ImageRows(sprite, 0, 0, 24, 21), kBalloon);

    // The charset page with only the 8 x 16 view on: the 8 x 8 view's last picture. Loading
    // writes only the bytes read, so the balloon file is overwritten whole.
    LoadBytes(f, char(0xFF) + QByteArray(4095, char(0)));
    ShowPage(f.main, "CharSheet");
    ClickOn(f.main, "Check8x16");
    ClickOn(f.main, "Check8x8");
    QVERIFY(!Child<QAbstractButton>(f.main, "Check8x8")->isChecked());
    ClickOn(f.main, "CSR1"); // redraws the 8 x 16 view only
    Trigger(f.main, "CopySpriteToClipboard1");
    QCOMPARE(f.platform.clipboardImages.size(), std::size_t(2));
    const QImage chars = f.platform.clipboardImages[1];
    QCOMPARE(chars.size(), QSize(240, 72));
    std::vector<std::string> expected(72, std::string(240, '.'));
    expected[0].replace(0, 8, "########");
    QCOMPARE(ImageRows(chars, 0, 0, 240, 72), expected);

    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.main.StatusText(), QString("OK.."));
}

void TestMainWindowExport::clipboardFailure() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    f.platform.clipboardWorks = false;
    QSignalSpy status(&f.main, &MainWindow::StatusTextChanged);
    Trigger(f.main, "CopySpriteToClipboard1");
    ShowPage(f.main, "CharSheet");
    Trigger(f.main, "CopySpriteToClipboard1");
    QCOMPARE(f.platform.errors.size(), std::size_t(2));
    for (const FakePlatform::Error& error : f.platform.errors) {
        QCOMPARE(error.title, QString("Mosaiqua"));
        QCOMPARE(error.text, QString("Cannot open clipboard"));
    }
    QVERIFY(f.platform.clipboardImages.empty());
    QCOMPARE(status.count(), 0);
}

QTEST_MAIN(TestMainWindowExport)
#include "tst_main_window_export.moc"
