// The main window's shell commands: the default directories, help, About, the web links and the
// secondary windows it creates at start.
#include "helpers/main_window_driver.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/help_window.h"
#include "ui/dialogs/memory_overview.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/dialogs/save_settings_dialog.h"
#include "ui/dialogs/snapshot_window.h"
#include "ui/dialogs/sprite_range_dialog.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString kFreezeStart = QStringLiteral("C:\\My Emulators\\CCS64");
const QString kBitmapStart = QStringLiteral("C:\\My Documents");
const QString kBrowseTitle = QStringLiteral(" | Browse For Folders");

// Replaces the box's text by typing, as the user would.
void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void Click(const QDialog& dialog, const char* name) {
    Child<QAbstractButton>(dialog, QString::fromLatin1(name))->click();
}

QLineEdit* Edit(const QDialog& dialog, const char* name) {
    return Child<QLineEdit>(dialog, QString::fromLatin1(name));
}

// Plays the directories dialog, then presses its OK.
std::function<int(QDialog*)> DirectoriesScript(std::function<void(QDialog&)> play) {
    return [play](QDialog* dialog) {
        play(*dialog);
        Click(*dialog, "Button1");
        return dialog->result();
    };
}

void OpenDirectories(MainWindowFixture& f) {
    Trigger(f.main, QStringLiteral("SetDefaultFreezeDirectory1"));
}

// Asks for the open dialog with Ctrl+O and for the current sprite's save dialog; both cancelled.
void AskForOpenAndSave(MainWindowFixture& f) {
    QTest::keyClick(&f.main, Qt::Key_O, Qt::ControlModifier);
    Trigger(f.main, QStringLiteral("SaveSprite1"));
}

QPoint PositionWhenRun(MainWindowFixture& f, const QString& command) {
    auto position = std::make_shared<QPoint>(-9999, -9999);
    f.platform.modalScripts.push_back([position](QDialog* dialog) {
        *position = dialog->pos();
        return int(QDialog::Rejected);
    });
    Trigger(f.main, command);
    return *position;
}

QSize PickerOuterSize(MainWindowFixture& f) {
    PalettePicker& picker = *f.windows.Windows().palettePicker;
    picker.winId();
    return picker.frameGeometry().size();
}

} // namespace

class TestMainWindowShell final : public QObject {
    Q_OBJECT

private slots:
    void directoriesOkWithoutBrowsingChangesNothing();
    void typedFolderOnlyPreselects();
    void pickedFoldersTakeEffectAtOnce_data();
    void pickedFoldersTakeEffectAtOnce();
    void typedBlanksAreTrimmed();
    void browsingSeveralTimesInARow();

    void helpWindowKeepsItsOffsetFromTheMainWindow();
    void helpTextIsReadOnly();
    void webLinks();
    void image5OpensTheHomePageOnDoubleClickOnly();
    void aboutShowsTheAboutBox();
    void secondaryWindowsCreatedOnceInOrder();
};

void TestMainWindowShell::directoriesOkWithoutBrowsingChangesNothing() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    FoldersDialog& dialog = *f.windows.Windows().foldersDialog;
    f.main.move(123, 45);
    const QRect main = f.main.frameGeometry();
    QPoint placedAt;
    f.platform.modalScripts.push_back(DirectoriesScript([&](QDialog& d) { placedAt = d.pos(); }));
    OpenDirectories(f);

    QCOMPARE(f.platform.modalDialogs, std::vector<QDialog*>{&dialog});
    // Centred over the main window from both outer sizes, halves truncated toward zero.
    const QSize outer = dialog.frameGeometry().size();
    QCOMPARE(placedAt, QPoint(main.left() + (main.width() - outer.width()) / 2,
                              main.top() + (main.height() - outer.height()) / 2));
    QVERIFY(f.platform.folderRequests.isEmpty());
    QCOMPARE(Edit(dialog, "FreezeEdit")->text(), kFreezeStart);
    QCOMPARE(Edit(dialog, "BitmapEdit")->text(), kBitmapStart);
    QCOMPARE(f.main.FreezeDirectory(), kFreezeStart);
    QCOMPARE(f.main.BitmapDirectory(), kBitmapStart);

    AskForOpenAndSave(f);
    QCOMPARE(f.platform.openStartFolders, QStringList{kFreezeStart});
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(1));
    QCOMPARE(f.platform.saveRequests[0].startFolder, kBitmapStart);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowShell::typedFolderOnlyPreselects() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const QString typedFreeze = f.files.filePath("snapshots");
    const QString typedBitmap = f.files.filePath("pictures");
    f.platform.modalScripts.push_back(DirectoriesScript([&](QDialog& d) {
        TypeInto(Edit(d, "FreezeEdit"), typedFreeze);
        TypeInto(Edit(d, "BitmapEdit"), typedBitmap);
    }));
    OpenDirectories(f);
    FoldersDialog& dialog = *f.windows.Windows().foldersDialog;
    QCOMPARE(Edit(dialog, "FreezeEdit")->text(), typedFreeze);
    QCOMPARE(f.main.FreezeDirectory(), kFreezeStart);
    QCOMPARE(f.main.BitmapDirectory(), kBitmapStart);
    AskForOpenAndSave(f);
    QCOMPARE(f.platform.openStartFolders, QStringList{kFreezeStart});
    QCOMPARE(f.platform.saveRequests.back().startFolder, kBitmapStart);

    // Next time the boxes still hold the typed text; a browse starts there and, cancelled, keeps it.
    QString freezeWhenReopened;
    f.platform.modalScripts.push_back(DirectoriesScript([&](QDialog& d) {
        freezeWhenReopened = Edit(d, "FreezeEdit")->text();
        Click(d, "FreezeEditBut");
        Click(d, "BitmapEditBut");
    }));
    OpenDirectories(f);
    QCOMPARE(freezeWhenReopened, typedFreeze);
    QCOMPARE(f.platform.folderRequests,
             (QStringList{typedFreeze + kBrowseTitle, typedBitmap + kBrowseTitle}));
    QCOMPARE(Edit(dialog, "FreezeEdit")->text(), typedFreeze);
    QCOMPARE(Edit(dialog, "BitmapEdit")->text(), typedBitmap);
    QCOMPARE(f.main.FreezeDirectory(), kFreezeStart);
    QCOMPARE(f.main.BitmapDirectory(), kBitmapStart);
    AskForOpenAndSave(f);
    QCOMPARE(f.platform.openStartFolders.back(), kFreezeStart);
    QCOMPARE(f.platform.saveRequests.back().startFolder, kBitmapStart);
}

void TestMainWindowShell::pickedFoldersTakeEffectAtOnce_data() {
    QTest::addColumn<bool>("closedByOk");
    QTest::newRow("closed with OK") << true;
    QTest::newRow("closed by the title bar") << false;
}

void TestMainWindowShell::pickedFoldersTakeEffectAtOnce() {
    QFETCH(bool, closedByOk);
    MainWindowFixture f;
    QVERIFY(f.Show());
    QVERIFY(QDir(f.files.path()).mkpath("freeze"));
    QVERIFY(QDir(f.files.path()).mkpath("bitmaps"));
    const QString freeze = f.files.filePath("freeze");
    const QString bitmaps = f.files.filePath("bitmaps");
    f.platform.folderAnswers = {freeze, bitmaps};

    // What the main window held while the dialog was still open.
    QString freezeAfterPick, bitmapBeforeItsPick, bitmapAfterPick, freezeBoxAfterPick;
    f.platform.modalScripts.push_back([&](QDialog* d) {
        Click(*d, "FreezeEditBut");
        freezeAfterPick = f.main.FreezeDirectory();
        freezeBoxAfterPick = Edit(*d, "FreezeEdit")->text();
        bitmapBeforeItsPick = f.main.BitmapDirectory();
        Click(*d, "BitmapEditBut");
        bitmapAfterPick = f.main.BitmapDirectory();
        if (closedByOk)
            Click(*d, "Button1");
        return closedByOk ? d->result() : int(QDialog::Rejected);
    });
    OpenDirectories(f);

    QCOMPARE(f.platform.folderRequests,
             (QStringList{kFreezeStart + kBrowseTitle, kBitmapStart + kBrowseTitle}));
    QCOMPARE(freezeAfterPick, freeze);
    QCOMPARE(freezeBoxAfterPick, freeze);
    QCOMPARE(bitmapBeforeItsPick, kBitmapStart);
    QCOMPARE(bitmapAfterPick, bitmaps);
    QCOMPARE(Edit(*f.windows.Windows().foldersDialog, "BitmapEdit")->text(), bitmaps);
    QCOMPARE(f.main.FreezeDirectory(), freeze);
    QCOMPARE(f.main.BitmapDirectory(), bitmaps);

    // Every dialog that asks for a file starts in the chosen folders.
    AskForOpenAndSave(f);
    Trigger(f.main, QStringLiteral("Save8x8CharSet1"));
    f.platform.modalResults.push_back(QDialog::Accepted);
    Trigger(f.main, QStringLiteral("SaveSpritesInMemoryAB1"));
    QCOMPARE(f.platform.openStartFolders, QStringList{freeze});
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(3));
    for (const SaveFileRequest& request : f.platform.saveRequests)
        QCOMPARE(request.startFolder, bitmaps);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowShell::typedBlanksAreTrimmed() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    f.platform.modalScripts.push_back(DirectoriesScript([&](QDialog& d) {
        TypeInto(Edit(d, "FreezeEdit"), QStringLiteral("   /data/snapshots  "));
        Click(d, "FreezeEditBut");
        Edit(d, "BitmapEdit")->setText(QStringLiteral("\t /data/pictures \r\n"));
        Click(d, "BitmapEditBut");
    }));
    OpenDirectories(f);
    QCOMPARE(f.platform.folderRequests,
             (QStringList{"/data/snapshots" + kBrowseTitle, "/data/pictures" + kBrowseTitle}));
    // A cancelled browse leaves the box as typed.
    QCOMPARE(Edit(*f.windows.Windows().foldersDialog, "FreezeEdit")->text(), QString("   /data/snapshots  "));
    QCOMPARE(f.main.FreezeDirectory(), kFreezeStart);
}

void TestMainWindowShell::browsingSeveralTimesInARow() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const QStringList picks{f.files.filePath("one"), f.files.filePath("two"), f.files.filePath("three")};
    for (const QString& pick : picks)
        f.platform.folderAnswers.push_back(pick);
    f.platform.folderAnswers.push_back(std::nullopt); // the fourth browse is cancelled
    QStringList seen;
    f.platform.modalScripts.push_back(DirectoriesScript([&](QDialog& d) {
        for (int i = 0; i < 4; ++i) {
            Click(d, "BitmapEditBut");
            seen << f.main.BitmapDirectory();
        }
    }));
    OpenDirectories(f);
    QCOMPARE(seen, (QStringList{picks[0], picks[1], picks[2], picks[2]}));
    // Each browse starts from the folder picked before it.
    QCOMPARE(f.platform.folderRequests, (QStringList{kBitmapStart + kBrowseTitle, picks[0] + kBrowseTitle,
                                                     picks[1] + kBrowseTitle, picks[2] + kBrowseTitle}));
    QCOMPARE(f.main.FreezeDirectory(), kFreezeStart);
}

void TestMainWindowShell::helpWindowKeepsItsOffsetFromTheMainWindow() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const QSize picker = PickerOuterSize(f);
    QVERIFY(picker.width() >= 143 && picker.height() >= 172);
    QPoint offset;
    for (const QPoint corner : {QPoint(137, 91), QPoint(300, 40)}) {
        f.main.move(corner);
        const QRect main = f.main.frameGeometry();
        const QPoint at = PositionWhenRun(f, QStringLiteral("HelpFile1"));
        // From the picker's size, not the help window's: halves truncated toward zero, then 100 up and left.
        QCOMPARE(at, QPoint(main.left() + (main.width() - picker.width()) / 2 - 100,
                            main.top() + (main.height() - picker.height()) / 2 - 100));
        if (!offset.isNull())
            QCOMPARE(at - main.topLeft(), offset);
        offset = at - main.topLeft();
    }
    QCOMPARE(f.platform.modalDialogs.size(), std::size_t(2));
    QCOMPARE(f.platform.modalDialogs[0], static_cast<QDialog*>(f.windows.Windows().helpWindow));
    QCOMPARE(f.platform.modalDialogs[1], static_cast<QDialog*>(f.windows.Windows().helpWindow));
}

void TestMainWindowShell::helpTextIsReadOnly() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QString before, after;
    bool readOnly = false;
    f.platform.modalScripts.push_back([&](QDialog* dialog) {
        auto* memo = Child<QPlainTextEdit>(*dialog, QStringLiteral("Memo1"));
        readOnly = memo->isReadOnly();
        before = memo->toPlainText();
        memo->setFocus();
        memo->moveCursor(QTextCursor::Start);
        QTest::keyClicks(memo, QStringLiteral("typed"));
        QTest::keyClick(memo, Qt::Key_Delete);
        QTest::keyClick(memo, Qt::Key_Return);
        after = memo->toPlainText();
        return int(QDialog::Rejected);
    });
    Trigger(f.main, QStringLiteral("HelpFile1"));
    QCOMPARE(f.platform.modalRuns, 1);
    QVERIFY(readOnly);
    QVERIFY(before.contains("Introduction"));
    QCOMPARE(after, before);
}

void TestMainWindowShell::webLinks() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    Trigger(f.main, QStringLiteral("TessalumaOnTheWeb1"));
    Trigger(f.main, QStringLiteral("ReportABug1"));
    Trigger(f.main, QStringLiteral("MakeASuggestion1"));
    QCOMPARE(f.platform.webPages.size(), 3);
    const QRegularExpression home(QStringLiteral("^http://([A-Za-z0-9.-]+)/$"));
    const QRegularExpressionMatch match = home.match(f.platform.webPages[0]);
    QVERIFY2(match.hasMatch(), qPrintable(f.platform.webPages[0]));
    const QString site = QStringLiteral("http://") + match.captured(1);
    QCOMPARE(f.platform.webPages[1], site + "/forum/viewboard.php?BoardID=12");
    QCOMPARE(f.platform.webPages[2], site + "/forum/viewboard.php?BoardID=13");
    QCOMPARE(f.platform.modalRuns, 0);
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowShell::image5OpensTheHomePageOnDoubleClickOnly() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    Trigger(f.main, QStringLiteral("TessalumaOnTheWeb1"));
    const QString homePage = f.platform.webPages.value(0);
    f.platform.webPages.clear();

    auto* image5 = Child<QWidget>(f.main, QStringLiteral("Image5"));
    QVERIFY(image5->isVisible());
    QTest::mouseClick(image5, Qt::LeftButton, Qt::NoModifier, image5->rect().center());
    QVERIFY(f.platform.webPages.isEmpty());
    QTest::mouseDClick(image5, Qt::LeftButton, Qt::NoModifier, image5->rect().center());
    QCOMPARE(f.platform.webPages, QStringList{homePage});
    QCOMPARE(f.platform.modalRuns, 0);
}

void TestMainWindowShell::aboutShowsTheAboutBox() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    const mosaiqua::SpriteRasters views = f.main.SpriteViews(); // none of this may change
    const QString status = f.main.StatusText();
    Trigger(f.main, QStringLiteral("About1"));
    QCOMPARE(f.platform.modalDialogs,
             std::vector<QDialog*>{static_cast<QDialog*>(f.windows.Windows().aboutBox)});
    QVERIFY(!f.windows.Windows().aboutBox->isVisible());
    QVERIFY(f.platform.webPages.isEmpty());
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.main.StatusText(), status);
    QVERIFY(f.main.SpriteViews().SpriteActual == views.SpriteActual);
}

void TestMainWindowShell::secondaryWindowsCreatedOnceInOrder() {
    MainWindowFixture f; // not shown: the state right after start-up
    QVERIFY(f.main.isWindow());
    QVERIFY(f.main.parentWidget() == nullptr);

    QStringList classes;
    std::vector<QDialog*> dialogs;
    for (QObject* child : f.main.children())
        if (auto* dialog = qobject_cast<QDialog*>(child)) {
            classes << QString::fromLatin1(dialog->metaObject()->className());
            dialogs.push_back(dialog);
        }
    QCOMPARE(classes, (QStringList{"AboutBox", "HelpWindow", "PalettePicker", "SpriteRangeDialog",
                                   "SaveSettingsDialog", "FoldersDialog", "SnapshotWindow"}));
    const SecondaryWindows& windows = f.windows.Windows();
    QCOMPARE(dialogs, (std::vector<QDialog*>{windows.aboutBox, windows.helpWindow, windows.palettePicker,
                                             windows.spriteRangeDialog, windows.saveSettingsDialog,
                                             windows.foldersDialog, windows.snapshotWindow}));
    QVERIFY(windows.memoryOverview->isWindow() && windows.memoryOverview->parent() == &f.main);
    QCOMPARE(f.main.findChildren<AboutBox*>().size(), 1);
    QCOMPARE(f.main.findChildren<HelpWindow*>().size(), 1);
    QCOMPARE(f.main.findChildren<PalettePicker*>().size(), 1);
    QCOMPARE(f.main.findChildren<SpriteRangeDialog*>().size(), 1);
    QCOMPARE(f.main.findChildren<SaveSettingsDialog*>().size(), 1);
    QCOMPARE(f.main.findChildren<FoldersDialog*>().size(), 1);

    // Separate windows, all hidden; showing the main window shows none of them.
    QVERIFY(f.Show());
    QVERIFY(!windows.memoryOverview->isVisible());
    for (QDialog* dialog : dialogs) {
        QVERIFY2(dialog->isWindow(), dialog->metaObject()->className());
        QVERIFY2(!dialog->isVisible(), dialog->metaObject()->className());
    }
    QVERIFY(f.main.isVisible());
}

QTEST_MAIN(TestMainWindowShell)
#include "tst_main_window_shell.moc"
