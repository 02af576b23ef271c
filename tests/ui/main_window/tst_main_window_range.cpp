// Saving every sprite of a memory range through the main window: one file per sprite or all of
// them on one bitmap, with the range dialog played through its digit buttons.
#include "helpers/main_window_driver.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/dialogs/save_settings_dialog.h"
#include "ui/dialogs/sprite_range_dialog.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

#include <array>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

constexpr mosaiqua::TColor kInk = 0x6C6C6C; // main colour at start-up
constexpr mosaiqua::TColor kPaper = 0x000000;
const QString kToFiles = QStringLiteral("SaveSpritesInMemoryAB1");
const QString kToBitmap = QStringLiteral("SaveSpriteInMemoryRangeToSingleBitmap1");

int ShownAddress(const QDialog& dialog, const char* label) {
    bool ok = false;
    const int value = LabelText(dialog, label).mid(1).toInt(&ok, 16);
    if (!ok)
        throw std::runtime_error(std::string(label) + " does not show an address");
    return value;
}

void Press(const QDialog& dialog, const char* name, int times) {
    auto* button = Child<QAbstractButton>(dialog, QString::fromLatin1(name));
    for (int i = 0; i < times; ++i)
        button->click();
}

// One hex digit at a time, most significant first, as a user of the "+" and "-" rows would.
void DialAddress(const QDialog& dialog, const char* label, int target, const char* const plus[4],
                 const char* const minus[4]) {
    for (int digit = 0; digit < 4; ++digit) {
        const int shift = 12 - 4 * digit;
        const int delta = ((target >> shift) & 0xF) - ((ShownAddress(dialog, label) >> shift) & 0xF);
        Press(dialog, delta > 0 ? plus[digit] : minus[digit], std::abs(delta));
    }
    if (ShownAddress(dialog, label) != target)
        throw std::runtime_error("the range dialog did not reach its address");
}

void DialRange(const QDialog& dialog, int start, int end) {
    static const char* const startPlus[4] = {"Button1", "Button3", "Button5", "Button7"};
    static const char* const startMinus[4] = {"Button2", "Button4", "Button6", "Button8"};
    static const char* const endPlus[4] = {"Button9", "Button10", "Button11", "Button12"};
    static const char* const endMinus[4] = {"Button13", "Button14", "Button15", "Button16"};
    DialAddress(dialog, "Label1", start, startPlus, startMinus);
    DialAddress(dialog, "Label2", end, endPlus, endMinus);
}

// What the range dialog showed when the user met it.
struct DialogSeen {
    bool ran = false;
    QString title;
    QString start;
    QString end;
    QString total;
    bool detailsShown = false;  // every bitmap detail
    bool detailsHidden = false; // none of them
    QStringList figures;        // SSMBitmapWidth, SSMBitmapHeight, SSMMaxX, SSMMaxY, SSMTotal
    QPoint position;
};

// Sets the range with the buttons, then presses OK (`accept`) or Cancel.
std::function<int(QDialog*)> RangeScript(int start, int end, bool accept = true,
                                         std::shared_ptr<DialogSeen> seen = nullptr) {
    return [=](QDialog* dialog) {
        if (seen) {
            seen->ran = true;
            seen->title = dialog->windowTitle();
            seen->start = LabelText(*dialog, "Label1");
            seen->end = LabelText(*dialog, "Label2");
            seen->total = LabelText(*dialog, "Label6");
            int shown = 0;
            for (const char* name : {"lbSavingToBitmap", "Label7", "Label8", "Label9", "Label10", "Label11"})
                shown += Child<QLabel>(*dialog, QString::fromLatin1(name))->isHidden() ? 0 : 1;
            for (const char* name : {"SSMBitmapWidth", "SSMBitmapHeight", "SSMMaxX", "SSMMaxY", "SSMTotal"}) {
                seen->figures << LabelText(*dialog, name);
                shown += Child<QLabel>(*dialog, QString::fromLatin1(name))->isHidden() ? 0 : 1;
            }
            seen->detailsShown = shown == 11;
            seen->detailsHidden = shown == 0;
            seen->position = dialog->pos();
        }
        DialRange(*dialog, start, end);
        Child<QAbstractButton>(*dialog, accept ? QStringLiteral("Button18") : QStringLiteral("Button17"))
            ->click();
        return dialog->result();
    };
}

// A 63-byte sprite from 21 rows of three bytes; rows not given are empty.
void PutSprite(QByteArray& memory, int address, const std::vector<std::array<int, 3>>& rows) {
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (int i = 0; i < 3; ++i)
            memory[qsizetype(address + int(row) * 3 + i)] = char(rows[row][std::size_t(i)]);
}

std::vector<std::string> Blank(int width, int height) {
    return std::vector<std::string>(std::size_t(height), std::string(std::size_t(width), '.'));
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QLineEdit* SizeEdit(MainWindowFixture& f, const char* name) {
    return Child<QLineEdit>(*f.windows.Windows().saveSettingsDialog, QString::fromLatin1(name));
}

QProgressBar* Progress(const MainWindow& form) {
    return Child<QProgressBar>(form, QStringLiteral("ProgressBar1"));
}

// A status text as the window showed it, with where the viewer and the progress bar stood then.
struct StatusStep {
    QString text;
    std::int32_t spriteAddress;
    int progress;
    int progressMaximum;
};

std::shared_ptr<std::vector<StatusStep>> RecordStatus(MainWindow& form) {
    auto steps = std::make_shared<std::vector<StatusStep>>();
    QObject::connect(&form, &MainWindow::StatusTextChanged, &form, [steps, &form](const QString& text) {
        steps->push_back({text, form.SpriteAddress(), Progress(form)->value(), Progress(form)->maximum()});
    });
    return steps;
}

// Sprite k of a range: one pixel at (k, 0) and a fixed mark in its last row.
std::vector<std::array<int, 3>> MarkedSprite(int k) {
    std::vector<std::array<int, 3>> rows(21, {0, 0, 0});
    rows[0] = {0x80 >> k, 0, 0};
    rows[20] = {0xF0, 0x00, 0x01};
    return rows;
}

std::vector<std::string> MarkedSpriteRows(int k) {
    std::vector<std::string> rows = Blank(24, 21);
    rows[0][std::size_t(k)] = '#';
    rows[20] = "####...................#";
    return rows;
}

// What the main window shows of the sprite views, to compare before and after a command.
struct ViewerState {
    std::int32_t address;
    QString label1, label2, label3;
    mosaiqua::SpriteRasters views;

    static ViewerState Of(const MainWindow& form) {
        return {form.SpriteAddress(), LabelText(form, "Label1"), LabelText(form, "Label2"),
                LabelText(form, "Label3"), form.SpriteViews()};
    }
    bool operator==(const ViewerState& other) const {
        return address == other.address && label1 == other.label1 && label2 == other.label2 &&
               label3 == other.label3 && views.SpriteActual == other.views.SpriteActual &&
               views.SpriteBig == other.views.SpriteBig && views.ScanImage == other.views.ScanImage;
    }
};

// A memory image whose sprite at $0100 (where the viewer waits) differs from everything else.
QByteArray MemoryWithViewerSprite() {
    QByteArray memory(0x10000, char(0));
    PutSprite(memory, 0x0100, std::vector<std::array<int, 3>>(21, {0xAA, 0x55, 0xAA}));
    return memory;
}

// Loads the memory and parks the viewer on $0100; what it then shows, to compare with later.
ViewerState LoadAndPark(MainWindowFixture& f, const QByteArray& memory) {
    LoadBytes(f, memory);
    WalkSpriteTo(f.main, 0x0100);
    return ViewerState::Of(f.main);
}

} // namespace

class TestMainWindowRange final : public QObject {
    Q_OBJECT

private slots:
    void toFilesWritesOneFilePerSprite();
    void singleBitmapFillsRowsLeftToRight();
    void singleBitmapIsWrittenBeforeSuccessIsShown();
    void rangeEndingAtFFFF();
    void cancelPutsTheViewerBack_data();
    void cancelPutsTheViewerBack();
    void unwritableFileMidwayKeepsEarlierFiles();
    void sizeThatIsNotANumber_data();
    void sizeThatIsNotANumber();
    void zeroCellSizeStopsBeforeTheDialog_data();
    void zeroCellSizeStopsBeforeTheDialog();
    void rangeWithoutWholeSprites_data();
    void rangeWithoutWholeSprites();
    void dialogPlacedFromThePickersOuterSize_data();
    void dialogPlacedFromThePickersOuterSize();
    void addressesSurviveBetweenUses();
};

void TestMainWindowRange::toFilesWritesOneFilePerSprite() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QByteArray memory = MemoryWithViewerSprite();
    for (int k = 0; k < 5; ++k) // the fifth, at $1100, lies outside the range
        PutSprite(memory, 0x1000 + 0x40 * k, MarkedSprite(k));
    const ViewerState before = LoadAndPark(f, memory);
    QVERIFY(QDir(f.files.path()).mkdir("out"));
    const QString out = f.files.filePath("out");

    auto seen = std::make_shared<DialogSeen>();
    f.platform.modalScripts.push_back(RangeScript(0x1000, 0x1100, true, seen));
    f.platform.saveAnswers.push_back(out + "/a.BMP");
    const auto status = RecordStatus(f.main);
    Trigger(f.main, kToFiles);

    QVERIFY(f.platform.errors.empty());
    QVERIFY(seen->ran);
    QCOMPARE(f.platform.modalDialogs, std::vector<QDialog*>{f.windows.Windows().spriteRangeDialog});
    QCOMPARE(seen->title, QString("Save Sprites Between Memory Locations"));
    QVERIFY(seen->detailsHidden);
    QCOMPARE(LabelText(*f.windows.Windows().spriteRangeDialog, "Label6"), QString("4"));

    QCOMPARE(f.platform.saveRequests.size(), std::size_t(1));
    QCOMPARE(f.platform.saveRequests[0].presetName, QString("spr.BMP"));
    QCOMPARE(f.platform.saveRequests[0].startFolder, QString("C:\\My Documents"));

    QCOMPARE(FilesIn(out), (QStringList{"a1000.bmp", "a1040.bmp", "a1080.bmp", "a10C0.bmp"}));
    const char* names[] = {"a1000.bmp", "a1040.bmp", "a1080.bmp", "a10C0.bmp"};
    for (int k = 0; k < 4; ++k) {
        const QImage image(out + "/" + names[k]);
        QCOMPARE(image.size(), QSize(24, 21));
        QCOMPARE(ImageRows(image, 0, 0, 24, 21), MarkedSpriteRows(k));
    }

    // One status and one progress step per sprite, the viewer on the next sprite each time.
    QCOMPARE(status->size(), std::size_t(5));
    for (int k = 0; k < 4; ++k) {
        QCOMPARE((*status)[std::size_t(k)].text, QString("Saving sprites please wait.."));
        QCOMPARE((*status)[std::size_t(k)].spriteAddress, 0x1000 + 0x40 * (k + 1));
        QCOMPARE((*status)[std::size_t(k)].progress, k + 1);
        QCOMPARE((*status)[std::size_t(k)].progressMaximum, 4);
    }
    QCOMPARE(status->back().text, QString("4 sprites saved ok."));
    QCOMPARE(f.main.StatusText(), QString("4 sprites saved ok."));

    QCOMPARE(Progress(f.main)->value(), 0);
    QVERIFY(ViewerState::Of(f.main) == before);
}

void TestMainWindowRange::singleBitmapFillsRowsLeftToRight() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    // 27 sprites from $2000: each has pixels at (0, 0) and (23, 20) and its number in row 1.
    QByteArray memory = MemoryWithViewerSprite();
    const int count = 27;
    for (int k = 0; k < count; ++k) {
        std::vector<std::array<int, 3>> rows(21, {0, 0, 0});
        rows[0] = {0x80, 0, 0};
        rows[1] = {k, 0, 0};
        rows[20] = {0, 0, 0x01};
        PutSprite(memory, 0x2000 + 0x40 * k, rows);
    }
    const ViewerState before = LoadAndPark(f, memory);
    const QString chosen = f.files.filePath("sheet.BMP");

    auto seen = std::make_shared<DialogSeen>();
    f.platform.modalScripts.push_back(RangeScript(0x2000, 0x2000 + 0x40 * count, true, seen));
    f.platform.saveAnswers.push_back(chosen);
    const auto status = RecordStatus(f.main);
    Trigger(f.main, kToBitmap);

    QVERIFY(f.platform.errors.empty());
    QCOMPARE(seen->title, QString("Save Sprites Between Memory Locations To Single Bitmap"));
    QVERIFY(seen->detailsShown);
    QCOMPARE(seen->figures, (QStringList{"24", "21", "26", "22", "572"}));
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(1));
    QCOMPARE(f.platform.saveRequests[0].presetName, QString("bitmap.BMP"));
    QCOMPARE(f.platform.saveRequests[0].startFolder, QString("C:\\My Documents"));

    const QImage sheet(chosen);
    QCOMPARE(sheet.size(), QSize(640, 480));
    // 640 div 24 = 26 cells to a row: sprite 26 opens row 1 at y = 21.
    for (int k = 0; k < count; ++k) {
        const int left = 24 * (k % 26);
        const int top = 21 * (k / 26);
        std::vector<std::string> cell = Blank(24, 21);
        cell[0][0] = '#';
        for (int bit = 0; bit < 8; ++bit)
            if (k & (0x80 >> bit))
                cell[1][std::size_t(bit)] = '#';
        cell[20][23] = '#';
        QCOMPARE(ImageRows(sheet, left, top, 24, 21), cell);
    }
    // The rest of row 1, everything below it and the 16 columns right of the cells stay black.
    QCOMPARE(ImageRows(sheet, 24, 21, 640 - 24, 21), Blank(640 - 24, 21));
    QCOMPARE(ImageRows(sheet, 0, 42, 640, 480 - 42), Blank(640, 480 - 42));
    QCOMPARE(ImageRows(sheet, 26 * 24, 0, 640 - 26 * 24, 21), Blank(16, 21));

    QCOMPARE(status->size(), std::size_t(count + 1));
    QCOMPARE((*status)[0].text, QString("Saving sprites please wait.."));
    QCOMPARE((*status)[count - 1].progress, count);
    QCOMPARE((*status)[count - 1].progressMaximum, count);
    QCOMPARE(status->back().text, QString("27 sprites saved ok to a single bitmap."));
    QCOMPARE(Progress(f.main)->value(), 0);
    QVERIFY(ViewerState::Of(f.main) == before);
}

void TestMainWindowRange::singleBitmapIsWrittenBeforeSuccessIsShown() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const ViewerState before = LoadAndPark(f, MemoryWithViewerSprite());
    const QString chosen = f.files.filePath("sheet.BMP");
    bool fileThereAtSuccess = false;
    connect(&f.main, &MainWindow::StatusTextChanged, this, [&](const QString& text) {
        if (text.endsWith("saved ok to a single bitmap."))
            fileThereAtSuccess = QFileInfo(chosen).isFile();
    });
    f.platform.modalScripts.push_back(RangeScript(0x0000, 0x0080));
    f.platform.saveAnswers.push_back(chosen);
    Trigger(f.main, kToBitmap);
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.main.StatusText(), QString("2 sprites saved ok to a single bitmap."));
    QVERIFY(fileThereAtSuccess);

    // A name that cannot be written: the error box, never the success text.
    QVERIFY(QDir(f.files.path()).mkdir("taken.BMP"));
    f.platform.modalResults.push_back(QDialog::Accepted);
    f.platform.saveAnswers.push_back(f.files.filePath("taken.BMP"));
    Trigger(f.main, kToBitmap);
    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].title, QString("Mosaiqua"));
    QVERIFY(!f.main.StatusText().contains("saved ok"));
    QVERIFY(QFileInfo(f.files.filePath("taken.BMP")).isDir());
    QCOMPARE(Progress(f.main)->value(), 0);
    QVERIFY(ViewerState::Of(f.main) == before);
}

void TestMainWindowRange::rangeEndingAtFFFF() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    // $FFBF to $FFFF holds the sprites at $FFBF and $FFFF; the second reads the file bytes that
    // follow the 64 KB.
    QByteArray memory(0x10000 + 0x100, char(0));
    std::vector<std::array<int, 3>> first(21, {0, 0, 0});
    first[0] = {0xFF, 0x00, 0x00};
    PutSprite(memory, 0xFFBF, first);
    std::vector<std::array<int, 3>> last(21, {0, 0, 0});
    last[1] = {0x00, 0x81, 0x00};
    last[20] = {0x80, 0x00, 0x01};
    PutSprite(memory, 0xFFFF, last);
    const ViewerState before = LoadAndPark(f, memory);
    QVERIFY(QDir(f.files.path()).mkdir("out"));
    const QString out = f.files.filePath("out");

    auto seen = std::make_shared<DialogSeen>();
    f.platform.modalScripts.push_back(RangeScript(0xFFBF, 0xFFFF, true, seen));
    f.platform.saveAnswers.push_back(out + "/x.BMP");
    const auto status = RecordStatus(f.main);
    Trigger(f.main, kToFiles);

    QVERIFY(f.platform.errors.empty());
    QCOMPARE(LabelText(*f.windows.Windows().spriteRangeDialog, "Label6"), QString("2"));
    QCOMPARE(FilesIn(out), (QStringList{"xFFBF.bmp", "xFFFF.bmp"}));
    std::vector<std::string> firstRows = Blank(24, 21);
    firstRows[0] = "########................";
    QCOMPARE(ImageRows(QImage(out + "/xFFBF.bmp"), 0, 0, 24, 21), firstRows);
    std::vector<std::string> lastRows = Blank(24, 21);
    lastRows[1] = "........#......#........";
    lastRows[20] = "#......................#";
    QCOMPARE(ImageRows(QImage(out + "/xFFFF.bmp"), 0, 0, 24, 21), lastRows);

    // The viewer walks along, never past the end of the 64 KB, before it is put back.
    QCOMPARE(status->size(), std::size_t(3));
    QCOMPARE((*status)[0].spriteAddress, 0xFFFF);
    QCOMPARE((*status)[1].spriteAddress, 0xFFFF);
    QCOMPARE(f.main.StatusText(), QString("2 sprites saved ok."));
    QVERIFY(ViewerState::Of(f.main) == before);
}

void TestMainWindowRange::cancelPutsTheViewerBack_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("rangeAccepted");
    QTest::addColumn<bool>("nameGiven"); // the save dialog answers "" rather than cancelling
    for (const QString& command : {kToFiles, kToBitmap}) {
        const QByteArray mode = command == kToFiles ? "to files" : "single bitmap";
        QTest::newRow(mode + ": range dialog cancelled") << command << false << false;
        QTest::newRow(mode + ": save dialog cancelled") << command << true << false;
        QTest::newRow(mode + ": empty file name") << command << true << true;
    }
}

void TestMainWindowRange::cancelPutsTheViewerBack() {
    QFETCH(QString, command);
    QFETCH(bool, rangeAccepted);
    QFETCH(bool, nameGiven);
    MainWindowFixture f;
    QVERIFY(f.Show());
    QByteArray memory = MemoryWithViewerSprite();
    PutSprite(memory, 0x3000, std::vector<std::array<int, 3>>(21, {0xFF, 0xFF, 0xFF}));
    const ViewerState before = LoadAndPark(f, memory);
    const QString statusBefore = f.main.StatusText();
    QCOMPARE(statusBefore, QString("OK.."));

    f.platform.modalScripts.push_back(RangeScript(0x3000, 0x3100, rangeAccepted));
    if (nameGiven)
        f.platform.saveAnswers.push_back(QString());
    const auto status = RecordStatus(f.main);
    Trigger(f.main, command);

    QCOMPARE(f.platform.modalRuns, 1);
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(rangeAccepted ? 1 : 0));
    QVERIFY(f.platform.errors.empty());
    QVERIFY(status->empty());
    QCOMPARE(f.main.StatusText(), statusBefore);
    QCOMPARE(Progress(f.main)->value(), 0);
    QVERIFY(ViewerState::Of(f.main) == before);
    QCOMPARE(FilesIn(f.files.path()).filter(".bmp", Qt::CaseInsensitive), QStringList());
}

void TestMainWindowRange::unwritableFileMidwayKeepsEarlierFiles() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QByteArray memory = MemoryWithViewerSprite();
    for (int k = 0; k < 4; ++k)
        PutSprite(memory, 0x1000 + 0x40 * k, MarkedSprite(k));
    const ViewerState before = LoadAndPark(f, memory);
    QVERIFY(QDir(f.files.path()).mkpath("out/a1080.bmp")); // the third name is taken by a folder
    const QString out = f.files.filePath("out");

    f.platform.modalScripts.push_back(RangeScript(0x1000, 0x1100));
    f.platform.saveAnswers.push_back(out + "/a.BMP");
    Trigger(f.main, kToFiles);

    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].title, QString("Mosaiqua"));
    QVERIFY(!f.platform.errors[0].text.isEmpty());
    QCOMPARE(FilesIn(out), (QStringList{"a1000.bmp", "a1040.bmp", "a1080.bmp"}));
    QVERIFY(QFileInfo(out + "/a1080.bmp").isDir());
    QCOMPARE(ImageRows(QImage(out + "/a1000.bmp"), 0, 0, 24, 21), MarkedSpriteRows(0));
    QCOMPARE(ImageRows(QImage(out + "/a1040.bmp"), 0, 0, 24, 21), MarkedSpriteRows(1));
    QVERIFY(f.main.StatusText() != QString("4 sprites saved ok."));
    QCOMPARE(Progress(f.main)->value(), 0);
    QVERIFY(ViewerState::Of(f.main) == before);
}

void TestMainWindowRange::sizeThatIsNotANumber_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("dialogsShown");
    const struct {
        const char* name;
        QString command;
        const char* edit;
        const char* text;
        bool dialogsShown;
    } rows[] = {
        // To files: every size is read on the first sprite, after both dialogs.
        {"to files, sprite width", kToFiles, "CSSpriteWidth", "2x", true},
        {"to files, sprite height", kToFiles, "CSSpriteHeight", "2l", true},
        {"to files, bitmap width", kToFiles, "CSBitmapWidth", "abc", true},
        {"to files, bitmap height", kToFiles, "CSBitmapHeight", "", true},
        // Single bitmap: the cell and final sizes are read while preparing, before the dialog.
        {"bitmap, bitmap width", kToBitmap, "CSBitmapWidth", "abc", false},
        {"bitmap, bitmap height", kToBitmap, "CSBitmapHeight", "1e3", false},
        {"bitmap, final width", kToBitmap, "CSFBitmapWidth", "six", false},
        {"bitmap, final height", kToBitmap, "CSFBitmapHeight", "4.8", false},
        {"bitmap, sprite width", kToBitmap, "CSSpriteWidth", "x", true},
        {"bitmap, sprite height", kToBitmap, "CSSpriteHeight", "21px", true},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << row.command << QString(row.edit) << QString(row.text) << row.dialogsShown;
}

void TestMainWindowRange::sizeThatIsNotANumber() {
    QFETCH(QString, command);
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(bool, dialogsShown);
    MainWindowFixture f;
    QVERIFY(f.Show());
    const ViewerState before = LoadAndPark(f, MemoryWithViewerSprite());
    SizeEdit(f, edit.toLatin1().constData())->setText(text);

    f.platform.modalScripts.push_back(RangeScript(0x1000, 0x1100));
    f.platform.saveAnswers.push_back(f.files.filePath("a.BMP"));
    Trigger(f.main, command);

    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].title, QString("Mosaiqua"));
    QCOMPARE(f.platform.errors[0].text, QString("'%1' is not a valid integer value").arg(text));
    QCOMPARE(f.platform.modalRuns, dialogsShown ? 1 : 0);
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(dialogsShown ? 1 : 0));
    QCOMPARE(FilesIn(f.files.path()).filter(".bmp", Qt::CaseInsensitive), QStringList());
    QCOMPARE(f.main.StatusText(), QString("OK.."));
    QCOMPARE(Progress(f.main)->value(), 0);
    QVERIFY(ViewerState::Of(f.main) == before);
}

void TestMainWindowRange::zeroCellSizeStopsBeforeTheDialog_data() {
    QTest::addColumn<QString>("edit");
    QTest::newRow("bitmap width 0") << "CSBitmapWidth";
    QTest::newRow("bitmap height 0") << "CSBitmapHeight";
}

void TestMainWindowRange::zeroCellSizeStopsBeforeTheDialog() {
    QFETCH(QString, edit);
    MainWindowFixture f;
    QVERIFY(f.Show());
    const ViewerState before = LoadAndPark(f, MemoryWithViewerSprite());
    auto* dialog = f.windows.Windows().spriteRangeDialog;
    const QString titleBefore = dialog->windowTitle();
    SizeEdit(f, edit.toLatin1().constData())->setText("0");

    f.platform.modalResults.push_back(QDialog::Accepted);
    f.platform.saveAnswers.push_back(f.files.filePath("sheet.BMP"));
    Trigger(f.main, kToBitmap);

    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].text, QString("Division by zero"));
    QCOMPARE(f.platform.modalRuns, 0);
    QVERIFY(f.platform.saveRequests.empty());
    QVERIFY(!QFileInfo::exists(f.files.filePath("sheet.BMP")));
    // The dialog was not half prepared.
    QCOMPARE(dialog->windowTitle(), titleBefore);
    QVERIFY(Child<QLabel>(*dialog, "SSMTotal")->isHidden());
    QCOMPARE(f.main.StatusText(), QString("OK.."));
    QVERIFY(ViewerState::Of(f.main) == before);
}

void TestMainWindowRange::rangeWithoutWholeSprites_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("total");
    for (const QString& command : {kToFiles, kToBitmap}) {
        const QByteArray mode = command == kToFiles ? "to files" : "single bitmap";
        QTest::newRow(mode + ": $0000-$0010") << command << 0x0000 << 0x0010 << "0";
        QTest::newRow(mode + ": $1000-$103F") << command << 0x1000 << 0x103F << "0";
        QTest::newRow(mode + ": $0800-$0800") << command << 0x0800 << 0x0800 << "Error!";
        QTest::newRow(mode + ": $2000-$1000") << command << 0x2000 << 0x1000 << "Error!";
    }
}

void TestMainWindowRange::rangeWithoutWholeSprites() {
    QFETCH(QString, command);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, total);
    MainWindowFixture f;
    QVERIFY(f.Show());
    const ViewerState before = LoadAndPark(f, MemoryWithViewerSprite());

    f.platform.modalScripts.push_back(RangeScript(start, end));
    f.platform.saveAnswers.push_back(f.files.filePath("a.BMP"));
    const auto status = RecordStatus(f.main);
    Trigger(f.main, command);

    QCOMPARE(LabelText(*f.windows.Windows().spriteRangeDialog, "Label6"), total);
    QCOMPARE(f.platform.errors.size(), std::size_t(1));
    QCOMPARE(f.platform.errors[0].title, QString("Mosaiqua"));
    QVERIFY(!f.platform.errors[0].text.isEmpty());
    QCOMPARE(FilesIn(f.files.path()).filter(".bmp", Qt::CaseInsensitive), QStringList());
    QVERIFY(status->empty());
    QCOMPARE(Progress(f.main)->value(), 0);
    QVERIFY(ViewerState::Of(f.main) == before);
}

void TestMainWindowRange::dialogPlacedFromThePickersOuterSize_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("up");
    QTest::addColumn<int>("leftwards");
    QTest::newRow("to files") << kToFiles << 50 << 50;
    QTest::newRow("single bitmap") << kToBitmap << 80 << 115;
}

void TestMainWindowRange::dialogPlacedFromThePickersOuterSize() {
    QFETCH(QString, command);
    QFETCH(int, up);
    QFETCH(int, leftwards);
    MainWindowFixture f;
    QVERIFY(f.Show());
    PalettePicker& picker = *f.windows.Windows().palettePicker;
    picker.winId();
    const QSize pickerOuter = picker.frameGeometry().size();
    QVERIFY(pickerOuter.width() >= 143 && pickerOuter.height() >= 172);

    for (const QPoint corner : {QPoint(101, 77), QPoint(250, 33)}) {
        f.main.move(corner);
        const QRect main = f.main.frameGeometry();
        auto seen = std::make_shared<DialogSeen>();
        f.platform.modalScripts.push_back(RangeScript(0x0000, 0x0040, false, seen));
        Trigger(f.main, command);
        QVERIFY(seen->ran);
        // Halves truncate toward zero.
        const QPoint expected(main.left() + (main.width() - pickerOuter.width()) / 2 - leftwards,
                              main.top() + (main.height() - pickerOuter.height()) / 2 - up);
        QCOMPARE(seen->position, expected);
    }
}

void TestMainWindowRange::addressesSurviveBetweenUses() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QByteArray memory = MemoryWithViewerSprite();
    for (int k = 0; k < 4; ++k)
        PutSprite(memory, 0x1000 + 0x40 * k, MarkedSprite(k));
    LoadBytes(f, memory);
    WalkSpriteTo(f.main, 0x0100);
    QCOMPARE(f.windows.Windows().spriteRangeDialog->Range(), (SpriteRangeValue{0x0000, 0x0040, 1}));

    // First use: the start-up range, then the user dials another and cancels.
    auto first = std::make_shared<DialogSeen>();
    f.platform.modalScripts.push_back(RangeScript(0x1000, 0x1100, false, first));
    Trigger(f.main, kToFiles);
    QCOMPARE(first->start, QString("$0000"));
    QCOMPARE(first->end, QString("$0040"));
    QCOMPARE(first->total, QString("1"));
    QCOMPARE(f.windows.Windows().spriteRangeDialog->Range(), (SpriteRangeValue{0x1000, 0x1100, 4}));

    // Second use, the other command: the dialled range is still there; the save is cancelled.
    auto second = std::make_shared<DialogSeen>();
    f.platform.modalScripts.push_back(RangeScript(0x1000, 0x1100, true, second));
    Trigger(f.main, kToBitmap);
    QCOMPARE(second->start, QString("$1000"));
    QCOMPARE(second->end, QString("$1100"));
    QCOMPARE(second->total, QString("4"));
    QVERIFY(second->detailsShown);

    // Third use: the details go again, the range stays, and OK alone saves it.
    auto third = std::make_shared<DialogSeen>();
    f.platform.modalScripts.push_back(RangeScript(0x1000, 0x1100, true, third));
    f.platform.saveAnswers.push_back(f.files.filePath("b.BMP"));
    Trigger(f.main, kToFiles);
    QCOMPARE(third->start, QString("$1000"));
    QCOMPARE(third->end, QString("$1100"));
    QVERIFY(third->detailsHidden);
    QCOMPARE(third->figures, (QStringList{"24", "21", "26", "22", "572"}));
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(FilesIn(f.files.path()).filter(".bmp"),
             (QStringList{"b1000.bmp", "b1040.bmp", "b1080.bmp", "b10C0.bmp"}));
    QCOMPARE(ImageRows(QImage(f.files.filePath("b10C0.bmp")), 0, 0, 24, 21), MarkedSpriteRows(3));
    QCOMPARE(f.main.StatusText(), QString("4 sprites saved ok."));
}

QTEST_MAIN(TestMainWindowRange)
#include "tst_main_window_range.moc"
