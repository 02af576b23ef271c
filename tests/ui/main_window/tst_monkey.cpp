// A seeded random walk through every control, menu item and shortcut of the main window, with
// every dialog answered at random; after each step the window's invariants must hold.
// MOSAIQUA_MONKEY_STEPS and MOSAIQUA_MONKEY_SEED choose the run; a failure prints both for replay.
#include "core/sprite_render.h"
#include "helpers/main_window_driver.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/dialogs/save_settings_dialog.h"
#include "ui/dialogs/sprite_range_dialog.h"
#include "ui/widgets/colour_swatch.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <deque>
#include <map>
#include <memory>
#include <random>

namespace {

constexpr quint64 kDefaultSeed = 20240917;
constexpr int kDefaultSteps = 3000;

quint64 EnvNumber(const char* name, quint64 fallback) {
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

QString Hex(std::int32_t address) {
    return QStringLiteral("$%1").arg(address, 4, 16, QLatin1Char('0')).toUpper();
}

QByteArray RandomBytes(std::mt19937_64& rng, int size) {
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = char(rng() & 0xFF);
    return bytes;
}

// Cheap fingerprint of the memory store: a change shows up between two steps.
quint64 Fingerprint(const mosaiqua::MemoryImage& image) {
    quint64 h = 1469598103934665603ull;
    for (std::size_t i = 0; i < mosaiqua::MemoryImage::kStoreSize; ++i)
        h = (h ^ image.data()[i]) * 1099511628211ull;
    return h;
}

// Texts typed into the six size boxes: good, odd, and refused ones. Every accepted value keeps a
// bitmap within 2000 x 2000 pixels, so no step writes huge files.
const char* const kCellTexts[] = {"24",   "21",   "0",   "-1",         "-24",         "1",       "2", "7",
                                  "48",   "100",  "200", "",           "abc",         "+",       "-", "+24",
                                  "12.5", "0x18", " 24", "2147483647", "-2147483648", "99999999"};
const char* const kFinalTexts[] = {"640", "480", "1", "0", "-640", "2000", "99999999", "abc", "", "64"};

} // namespace

class TestMonkey final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void randomWalk();

private:
    bool chance(int percent) { return int(m_rng() % 100) < percent; }
    std::size_t pick(std::size_t n) { return std::size_t(m_rng() % n); }
    template <typename T> const T& pickFrom(const std::vector<T>& items) { return items[pick(items.size())]; }

    void prepareFiles();
    void startFixture();
    void scriptTheDesktop();
    QString doOneStep();
    int playDialog(QDialog* dialog);
    int playPicker(PalettePicker* picker);
    int playRange(SpriteRangeDialog* range);
    int playSettings(SaveSettingsDialog* settings);
    int playDirectories(FoldersDialog* directories);
    int finish(QDialog* dialog, QAbstractButton* ok, QAbstractButton* cancel);
    QString checkInvariants(const QString& action);
    QString checkError(const FakePlatform::Error& error);
    QString checkSaves(const QString& action);
    void clearRecords();

    std::mt19937_64 m_rng;
    QTemporaryDir m_dir;
    QString m_out; // where the saves go
    std::vector<QString> m_goodOpens, m_badOpens, m_goodSaves, m_badSaves, m_folders;

    std::unique_ptr<MainWindowFixture> m_fixture;
    std::vector<QAction*> m_menuActions;
    std::vector<QAction*> m_keyedActions;
    std::vector<QAbstractButton*> m_buttons;
    std::vector<QWidget*> m_swatches;
    QStringList m_statusTexts;

    // What this step offered and what the window looked like before it.
    std::optional<QString> m_openOffered;
    std::optional<QString> m_saveOffered;
    bool m_clipboardWorked = true;
    quint64 m_memoryBefore = 0;
    std::int32_t m_spriteBefore = 0;
    std::int32_t m_charSetBefore = 0;

    std::map<QString, int> m_exercised;
    std::map<QString, int> m_errorKinds;
    std::map<QString, int> m_counts; // what the walk did, for the summary
    std::deque<QString> m_recent;
};

void TestMonkey::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_rng.seed(EnvNumber("MOSAIQUA_MONKEY_SEED", kDefaultSeed));
    prepareFiles();
    QVERIFY(!QTest::currentTestFailed());
}

void TestMonkey::prepareFiles() {
    const QDir root(m_dir.path());
    auto write = [&](const QString& name, const QByteArray& bytes) -> QString {
        QFile file(root.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write " + name.toStdString());
        return root.filePath(name);
    };
    m_goodOpens = {
        write(QStringLiteral("full snapshot.c64"), RandomBytes(m_rng, 68148)),
        write(QStringLiteral("B\u00e4lle \u30b2\u30fc\u30e0.c64"), RandomBytes(m_rng, 20000)),
        write(QStringLiteral("empty.c64"), {}),
        write(QStringLiteral("header.c64"), RandomBytes(m_rng, 1148)),
        write(QStringLiteral("big.c64"), RandomBytes(m_rng, 1 << 20)),
    };
    // Real files join in where the shared test data is present.
    for (const char* real : {"ballon_demo.prg", "chargen_openroms.rom"})
        if (QFileInfo::exists(TestDataPath(real)))
            m_goodOpens.push_back(TestDataPath(real));
    QVERIFY(root.mkdir(QStringLiteral("folder.c64")));
    const QString pipe = root.filePath(QStringLiteral("pipe.c64"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    m_badOpens = {root.filePath(QStringLiteral("nothing.c64")),
                  root.filePath(QStringLiteral("folder.c64")),
                  pipe,
                  QStringLiteral("/dev/zero"),
                  QStringLiteral("/dev/null"),
                  QString()};

    QVERIFY(root.mkdir(QStringLiteral("out")));
    m_out = root.filePath(QStringLiteral("out"));
    const QDir out(m_out);
    QVERIFY(out.mkdir(QStringLiteral("folder.bmp")));
    m_goodSaves = {out.filePath(QStringLiteral("sprite.bmp")), out.filePath(QStringLiteral("a b c.BMP")),
                   out.filePath(QStringLiteral("\u00dcn\u00ef \u30b2\u30fc\u30e0.bmp")),
                   out.filePath(QStringLiteral("x.bmp")), out.filePath(QStringLiteral(".bmp"))};
    // A folder takes no single file, though range files go beside it ("folder0800.bmp").
    m_badSaves = {out.filePath(QStringLiteral("folder.bmp")), out.filePath(QStringLiteral("missing/x.bmp")),
                  QStringLiteral("/proc/mosaiqua-monkey.bmp")};
    m_folders = {m_dir.path(),
                 m_out,
                 QStringLiteral("/"),
                 root.filePath(QStringLiteral("missing")),
                 root.filePath(QStringLiteral("folder.c64")),
                 QString()};
}

void TestMonkey::startFixture() {
    m_fixture = std::make_unique<MainWindowFixture>();
    QVERIFY(m_fixture->Show());
    MainWindow& form = m_fixture->main;
    connect(&form, &MainWindow::StatusTextChanged, this,
            [this](const QString& text) { m_statusTexts << text; });

    m_menuActions.clear();
    for (QAction* action : form.MainMenu()->findChildren<QAction*>())
        if (!action->objectName().isEmpty() && action->menu() == nullptr &&
            action->objectName() != QLatin1String("ExitProgram1"))
            m_menuActions.push_back(action);
    // The commands with keys are on the window itself too.
    m_keyedActions.clear();
    for (QAction* action : form.actions())
        if (!action->shortcut().isEmpty())
            m_keyedActions.push_back(action);
    // Named controls of the window itself; the toolbar's buttons drop menus that wait for the user.
    auto* toolbar = Child<QWidget>(form, "STMenuBar1");
    m_buttons.clear();
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>())
        if (!button->objectName().isEmpty() && button->window() == &form && !toolbar->isAncestorOf(button) &&
            !qobject_cast<QTabBar*>(button->parentWidget()))
            m_buttons.push_back(button);
    m_swatches.clear();
    for (ColourSwatch* swatch : form.findChildren<ColourSwatch*>())
        m_swatches.push_back(swatch);
    QVERIFY(m_menuActions.size() >= 40);
    QVERIFY(m_keyedActions.size() >= 10);
    QStringList names;
    for (QAbstractButton* button : m_buttons)
        names << button->objectName();
    // The sprite page's twelve controls, the charset page's nine and its three check boxes, the bitmap
    // page's twelve.
    QVERIFY2(m_buttons.size() == 12 + 12 + 12, qPrintable(names.join(u' ')));
    QCOMPARE(m_swatches.size(), std::size_t(8));
}

void TestMonkey::scriptTheDesktop() {
    FakePlatform& p = m_fixture->platform;
    p.openAnswers.clear();
    p.saveAnswers.clear();
    p.colourAnswers.clear();
    p.folderAnswers.clear();
    p.modalScripts.clear();
    p.modalResults.clear();

    m_openOffered.reset();
    if (!chance(20))
        m_openOffered = chance(65) ? pickFrom(m_goodOpens) : pickFrom(m_badOpens);
    p.openAnswers.push_back(m_openOffered);

    const int save = int(pick(100));
    m_saveOffered = save < 15   ? std::optional<QString>()
                    : save < 25 ? std::optional<QString>(QString())
                    : save < 80 ? pickFrom(m_goodSaves)
                                : pickFrom(m_badSaves);
    p.saveAnswers.push_back(m_saveOffered);
    p.colourAnswers.push_back(chance(30) ? std::optional<mosaiqua::TColor>()
                                         : mosaiqua::TColor(m_rng() & 0xFFFFFF));
    for (int i = 0; i < 2; ++i)
        p.folderAnswers.push_back(chance(20) ? std::optional<QString>() : pickFrom(m_folders));
    for (int i = 0; i < 2; ++i)
        p.modalScripts.push_back([this](QDialog* dialog) { return playDialog(dialog); });
    p.clipboardWorks = m_clipboardWorked = !chance(15);
    if (chance(10)) {
        const int depths[] = {8, 15, 16, 24, 32};
        p.colourDepth = depths[pick(5)];
    }
}

// Plays the user's part in a shown dialog: a few clicks, then OK, Cancel or the close box.
int TestMonkey::playDialog(QDialog* dialog) {
    ++m_counts[QStringLiteral("dialogs played: ") + dialog->objectName()];
    dialog->show();
    if (auto* picker = qobject_cast<PalettePicker*>(dialog))
        return playPicker(picker);
    if (auto* range = qobject_cast<SpriteRangeDialog*>(dialog))
        return playRange(range);
    if (auto* settings = qobject_cast<SaveSettingsDialog*>(dialog))
        return playSettings(settings);
    if (auto* directories = qobject_cast<FoldersDialog*>(dialog))
        return playDirectories(directories);
    if (auto* about = qobject_cast<AboutBox*>(dialog))
        return finish(about, Child<QAbstractButton>(*about, "OKButton"), nullptr);
    return finish(dialog, nullptr, nullptr);
}

int TestMonkey::finish(QDialog* dialog, QAbstractButton* ok, QAbstractButton* cancel) {
    const int way = int(pick(10));
    if (ok && way < 6)
        QTest::mouseClick(ok, Qt::LeftButton);
    else if (cancel && way < 9)
        QTest::mouseClick(cancel, Qt::LeftButton);
    if (dialog->isVisible())
        dialog->reject(); // the close box
    return dialog->result();
}

int TestMonkey::playPicker(PalettePicker* picker) {
    for (int clicks = int(pick(4)); clicks > 0; --clicks)
        QTest::mouseClick(picker->Swatch(int(pick(16)) + 1), Qt::LeftButton);
    return finish(picker, Child<QAbstractButton>(*picker, "Button1"),
                  Child<QAbstractButton>(*picker, "Button2"));
}

int TestMonkey::playRange(SpriteRangeDialog* range) {
    auto press = [range](int number, int times) {
        auto* button = Child<QAbstractButton>(*range, QStringLiteral("Button%1").arg(number));
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button, Qt::LeftButton);
    };
    if (chance(15)) {
        // Both addresses up against $FFFF (steps past it are refused), then the start a little lower:
        // the last sprites of memory, read past the end of the address space.
        for (int number : {1, 3, 5, 7, 9, 10, 11, 12})
            press(number, 16);
        press(6, int(pick(12)));
        press(8, int(pick(20)));
        if (chance(25))
            press(16, 1);
    } else {
        for (int clicks = int(pick(9)); clicks > 0; --clicks)
            press(int(pick(16)) + 1, 1);
    }
    // Long ranges write hundreds of files: let only a few of them through.
    if (range->count() > 32 && !chance(5)) {
        QTest::mouseClick(Child<QAbstractButton>(*range, "Button17"), Qt::LeftButton);
        return range->result();
    }
    const int result =
        finish(range, Child<QAbstractButton>(*range, "Button18"), Child<QAbstractButton>(*range, "Button17"));
    if (result == QDialog::Accepted)
        ++m_counts[range->end() == 0xFFFF ? QStringLiteral("ranges ending at $FFFF accepted")
                                          : QStringLiteral("other ranges accepted")];
    return result;
}

int TestMonkey::playSettings(SaveSettingsDialog* settings) {
    if (chance(25))
        QTest::mouseClick(Child<QAbstractButton>(*settings, "Button3"), Qt::LeftButton);
    for (const char* name : {"CSSpriteWidth", "CSSpriteHeight", "CSBitmapWidth", "CSBitmapHeight"})
        if (chance(30))
            Child<QLineEdit>(*settings, name)
                ->setText(QString::fromLatin1(kCellTexts[pick(std::size(kCellTexts))]));
    for (const char* name : {"CSFBitmapWidth", "CSFBitmapHeight"})
        if (chance(30))
            Child<QLineEdit>(*settings, name)
                ->setText(QString::fromLatin1(kFinalTexts[pick(std::size(kFinalTexts))]));
    if (chance(20))
        QTest::mouseClick(Child<QAbstractButton>(*settings, chance(50) ? "Radio24bit" : "Radio16bit"),
                          Qt::LeftButton);
    return finish(settings, Child<QAbstractButton>(*settings, "Button1"),
                  Child<QAbstractButton>(*settings, "Button2"));
}

int TestMonkey::playDirectories(FoldersDialog* directories) {
    for (int clicks = int(pick(3)); clicks > 0; --clicks) {
        const int what = int(pick(3));
        if (what == 2)
            (chance(50) ? directories->FreezeEdit() : directories->BitmapEdit())
                ->setText(pickFrom(m_folders));
        else
            QTest::mouseClick(
                Child<QAbstractButton>(*directories, what == 0 ? "FreezeEditBut" : "BitmapEditBut"),
                Qt::LeftButton);
    }
    return finish(directories, Child<QAbstractButton>(*directories, "Button1"), nullptr);
}

QString TestMonkey::doOneStep() {
    MainWindow& form = m_fixture->main;
    const int category = int(pick(100));
    if (category < 20) {
        QAction* action = pickFrom(m_menuActions);
        action->trigger();
        return action->objectName();
    }
    if (category < 28) {
        // The commands that open files and dialogs once more, so odd answers meet them often.
        static const char* const files[] = {"OpenFreezeFile1",
                                            "SaveSprite1",
                                            "SaveNext7Sprites1",
                                            "SaveSpritesInMemoryAB1",
                                            "SaveSpriteInMemoryRangeToSingleBitmap1",
                                            "Save8x8CharSet1",
                                            "Save8x16CharSet1",
                                            "Save16x16CharSet1",
                                            "SpriteSizeWhenSaving1",
                                            "SetDefaultFreezeDirectory1"};
        QAction* action = Action(*form.MainMenu(), QString::fromLatin1(files[pick(std::size(files))]));
        action->trigger();
        return action->objectName();
    }
    if (category < 35) {
        QAction* action = pickFrom(m_keyedActions);
        action->trigger();
        return action->objectName();
    }
    if (category < 62) {
        std::vector<QAbstractButton*> shown;
        for (QAbstractButton* button : m_buttons)
            if (button->isVisible())
                shown.push_back(button);
        QAbstractButton* button = pickFrom(shown);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
        return QStringLiteral("click ") + button->objectName();
    }
    if (category < 69) {
        QWidget* swatch = pickFrom(m_swatches);
        if (!swatch->isVisible())
            return QStringLiteral("hidden swatch ") + swatch->objectName();
        QTest::mouseClick(swatch, Qt::LeftButton, Qt::NoModifier, swatch->rect().center());
        return QStringLiteral("click ") + swatch->objectName();
    }
    if (category < 75) {
        QTabBar* tabs = Child<QTabWidget>(form, "PageControl")->tabBar();
        const int tab = int(pick(std::size_t(tabs->count())));
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(tab).center());
        return QStringLiteral("tab %1").arg(tab);
    }
    if (category < 99) {
        struct Key {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
        };
        static const Key keys[] = {
            {Qt::Key_F3, {}},
            {Qt::Key_F4, {}},
            {Qt::Key_F5, {}},
            {Qt::Key_F6, {}},
            {Qt::Key_F7, {}},
            {Qt::Key_F8, {}},
            {Qt::Key_F9, {}},
            {Qt::Key_F10, {}},
            {Qt::Key_F11, {}},
            {Qt::Key_F12, {}},
            {Qt::Key_F6, Qt::ShiftModifier},
            {Qt::Key_F9, Qt::ShiftModifier},
            {Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier},
            {Qt::Key_O, Qt::ControlModifier},
            {Qt::Key_C, Qt::ControlModifier},
            {Qt::Key_M, Qt::ControlModifier},
            {Qt::Key_E, Qt::ControlModifier},
            {Qt::Key_R, Qt::ControlModifier},
            {Qt::Key_Space, {}},
            {Qt::Key_Tab, {}},
            {Qt::Key_Return, {}},
            {Qt::Key_Escape, {}},
            {Qt::Key_A, {}},
        };
        const Key& key = keys[pick(std::size(keys))];
        if (QApplication::activeWindow() != &form) {
            ++m_counts[QStringLiteral("main window made active again before a key")];
            form.activateWindow();
            if (!QTest::qWaitForWindowActive(&form, 2000))
                return QStringLiteral("!the main window could not be made active");
        }
        QTest::keyClick(QApplication::activeWindow(), key.key, key.modifiers);
        return QKeySequence(key.key | key.modifiers).toString();
    }
    QWidget* picture = Child<QWidget>(form, "Image5");
    if (!picture->isVisible())
        return QStringLiteral("hidden Image5");
    QTest::mouseDClick(picture, Qt::LeftButton, Qt::NoModifier, picture->rect().center());
    return QStringLiteral("double-click Image5");
}

QString TestMonkey::checkError(const FakePlatform::Error& error) {
    if (error.title != QLatin1String("Mosaiqua"))
        return QStringLiteral("error box titled '%1'").arg(error.title);
    const QString& text = error.text;
    static const QRegularExpression notInteger(QStringLiteral("^'(.*)' is not a valid integer value$"));
    static const QRegularExpression badSize(
        QStringLiteral("^A bitmap of -?\\d+ x -?\\d+ pixels (cannot be saved|is too large to save)"));
    static const QRegularExpression openFailed(QStringLiteral("^Cannot open file \"(.*)\"\\. \\S"));
    if (const auto m = notInteger.match(text); m.hasMatch()) {
        const mosaiqua::SaveSizeTexts t = m_fixture->windows.Windows().saveSettingsDialog->SizeTexts();
        const std::string typed = m.captured(1).toStdString();
        for (const std::string& box :
             {t.spriteWidth, t.spriteHeight, t.bitmapWidth, t.bitmapHeight, t.finalWidth, t.finalHeight})
            if (box == typed) {
                ++m_errorKinds[QStringLiteral("'...' is not a valid integer value")];
                return {};
            }
        return QStringLiteral("conversion message for text no box holds: ") + text;
    }
    if (text == QLatin1String("Division by zero") || text.startsWith(QLatin1String("Stream write error"))) {
        ++m_errorKinds[text.left(18)];
        return {};
    }
    if (text.endsWith(QLatin1String(": nothing was saved."))) {
        ++m_errorKinds[QStringLiteral("...: nothing was saved.")];
        return {};
    }
    if (badSize.match(text).hasMatch()) {
        ++m_errorKinds[QStringLiteral("A bitmap of ... pixels ...")];
        return {};
    }
    if (text == QLatin1String("Cannot open clipboard")) {
        ++m_errorKinds[text];
        return m_clipboardWorked ? QStringLiteral("clipboard message with a working clipboard") : QString();
    }
    if (text.startsWith(QLatin1String("Cannot create file "))) {
        const QString path = text.mid(19).section(QStringLiteral(": "), 0, 0); // the name, without the reason
        const QDir out(m_out);
        if (path == out.filePath(QStringLiteral("folder.bmp")) ||
            path.startsWith(out.filePath(QStringLiteral("missing/"))) ||
            path.startsWith(QLatin1String("/proc/"))) {
            ++m_errorKinds[QStringLiteral("Cannot create file ...")];
            return {};
        }
        return QStringLiteral("a writable name was refused: ") + text;
    }
    if (const auto m = openFailed.match(text); m.hasMatch()) {
        if (m_openOffered &&
            std::find(m_badOpens.begin(), m_badOpens.end(), m.captured(1)) != m_badOpens.end() &&
            m.captured(1) == *m_openOffered) {
            ++m_errorKinds[QStringLiteral("Cannot open file ...")];
            return {};
        }
        return QStringLiteral("a readable file was refused: ") + text;
    }
    // The monkey offers any file as a character ROM; only a 4096-byte one is taken.
    if (text.startsWith(QLatin1String("Cannot open character ROM file \"")) ||
        text.startsWith(QLatin1String("The character ROM file \""))) {
        ++m_errorKinds[QStringLiteral("Cannot open character ROM file ...")];
        return {};
    }
    // Load Palette File meets whatever the open dialog answers: anything but a palette is refused.
    if (text.startsWith(QLatin1String("Cannot open palette file ")) ||
        text.endsWith(QLatin1String(" The palette was not changed."))) {
        ++m_errorKinds[QStringLiteral("palette file refused")];
        return {};
    }
    return QStringLiteral("unexpected error box: ") + text;
}

QString TestMonkey::checkInvariants(const QString& action) {
    MainWindow& form = m_fixture->main;
    FakePlatform& platform = m_fixture->platform;
    if (action.startsWith(QLatin1Char('!')))
        return action.mid(1);
    if (!form.isVisible())
        return QStringLiteral("the main window is no longer visible");
    const std::int32_t sprite = form.SpriteAddress();
    const std::int32_t charSet = form.CharSetAddress();
    if (sprite < 0 || sprite > 0xFFFF || charSet < 0 || charSet > 0xFFFF)
        return QStringLiteral("address out of range: sprite %1, charset %2").arg(sprite).arg(charSet);
    int palettes = 0;
    for (const char* name : {"UseC64Palette1", "UseVicPalette1", "UseWindowsStandard16bitPalette1",
                             "UseColodorePalette1", "UseCommunityColorsPalette1", "UsePalette6569R5Palette1"})
        palettes += Action(form, name)->isChecked();
    // A palette read from a file has no item of its own.
    const mosaiqua::Palette& inForce = form.Model().palette();
    const bool fromFile = inForce.keyword.empty() && inForce.kind != mosaiqua::PaletteKind::pkWindows;
    if (palettes != (fromFile ? 0 : 1))
        return QStringLiteral("%1 palette items checked").arg(palettes);
    if (const int value = Child<QProgressBar>(form, "ProgressBar1")->value(); value != 0)
        return QStringLiteral("progress bar left at %1").arg(value);
    if (Child<QLabel>(form, "Label1")->text() != Hex(sprite))
        return QStringLiteral("Label1 shows %1 for %2")
            .arg(Child<QLabel>(form, "Label1")->text(), Hex(sprite));

    // Every command that changes what the sprite views show redraws them.
    mosaiqua::SpriteRasters fresh;
    mosaiqua::DrawCurrentSpriteRasters(fresh, form.Memory(), sprite, form.SpriteMulticolour(),
                                       form.SpriteColours());
    mosaiqua::DrawNextSevenSpriteRasters(fresh, form.Memory(), sprite, form.SpriteMulticolour(),
                                         form.SpriteColours());
    const mosaiqua::SpriteRasters& shown = form.SpriteViews();
    if (fresh.SpriteActual.pixels() != shown.SpriteActual.pixels() ||
        fresh.SpriteBig.pixels() != shown.SpriteBig.pixels() ||
        fresh.ScanImage.pixels() != shown.ScanImage.pixels())
        return QStringLiteral("the sprite views do not show the sprite at %1").arg(Hex(sprite));

    const char* const views[][3] = {{"Check8x8", "N8x8CharSetView1", "CS8x8Label"},
                                    {"Check8x16", "N8x16CharSetViewEnabled1", "CS8x16Label"},
                                    {"Check16x16", "N16x16CharSetViewEnabled1", "CS16x16Label"}};
    for (const auto& view : views) {
        const bool box = Child<QCheckBox>(form, view[0])->isChecked();
        if (box != Action(form, view[1])->isChecked())
            return QStringLiteral("%1 and %2 out of step").arg(view[0], view[1]);
        if (box && Child<QLabel>(form, view[2])->text() != Hex(charSet))
            return QStringLiteral("%1 shows %2 for %3")
                .arg(view[2], Child<QLabel>(form, view[2])->text(), Hex(charSet));
    }

    const SecondaryWindows& windows = m_fixture->windows.Windows();
    const bool onTop = Action(form, "AlwaysOnTop1")->isChecked();
    if (form.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop ||
        windows.palettePicker->isStayOnTop() != onTop)
        return QStringLiteral("stay-on-top differs from the Always On Top mark");

    for (const FakePlatform::Error& error : platform.errors) {
        if (const QString wrong = checkError(error); !wrong.isEmpty())
            return wrong;
    }
    for (const QString& folder : platform.openStartFolders)
        if (folder != form.FreezeDirectory())
            return QStringLiteral("open dialog started in %1, not %2").arg(folder, form.FreezeDirectory());
    for (const SaveFileRequest& request : platform.saveRequests)
        if (request.startFolder != form.BitmapDirectory())
            return QStringLiteral("save dialog started in %1").arg(request.startFolder);

    // Memory changes only through a load of a readable file, and a load moves no address.
    const bool opened = !platform.openStartFolders.isEmpty();
    const bool goodOpen =
        opened && m_openOffered &&
        std::find(m_goodOpens.begin(), m_goodOpens.end(), *m_openOffered) != m_goodOpens.end();
    if (Fingerprint(form.Memory()) != m_memoryBefore && !goodOpen)
        return QStringLiteral("memory changed without a load");
    m_counts[QStringLiteral("files loaded")] += goodOpen;
    if (opened && (sprite != m_spriteBefore || charSet != m_charSetBefore))
        return QStringLiteral("opening a file moved an address");
    if (action.startsWith(QLatin1String("SaveSprite")) && action.contains(QLatin1String("Memory")) &&
        sprite != m_spriteBefore)
        return QStringLiteral("a range export left the sprite at %1, not %2")
            .arg(Hex(sprite), Hex(m_spriteBefore));

    return checkSaves(action);
}

// No temporary is left behind, and a single save that reports success wrote a picture that reads back.
QString TestMonkey::checkSaves(const QString& action) {
    if (m_fixture->platform.saveRequests.empty())
        return {};
    const QStringList leftovers =
        QDir(m_out).entryList({QStringLiteral(".mosaiqua-*.part")}, QDir::Files | QDir::Hidden);
    if (!leftovers.isEmpty())
        return QStringLiteral("temporary file left: ") + leftovers.first();
    static const QStringList singleSaves = {
        QStringLiteral("SaveSprite1"), QStringLiteral("SaveNext7Sprites1"), QStringLiteral("Save8x8CharSet1"),
        QStringLiteral("Save8x16CharSet1"), QStringLiteral("Save16x16CharSet1")};
    const bool reported = !m_statusTexts.filter(QStringLiteral("saved ok.")).isEmpty();
    m_counts[QStringLiteral("saves reported ok")] += reported;
    if (!singleSaves.contains(action) || !reported)
        return {};
    if (!m_saveOffered ||
        std::find(m_goodSaves.begin(), m_goodSaves.end(), *m_saveOffered) == m_goodSaves.end())
        return QStringLiteral("success reported for the unwritable name ") +
               m_saveOffered.value_or(QString());
    if (QImageReader(*m_saveOffered).size().isEmpty())
        return QStringLiteral("the saved file %1 does not read back").arg(*m_saveOffered);
    return {};
}

void TestMonkey::clearRecords() {
    FakePlatform& p = m_fixture->platform;
    p.openStartFolders.clear();
    p.saveRequests.clear();
    p.colourRequests.clear();
    p.folderRequests.clear();
    p.errors.clear();
    p.clipboardImages.clear();
    p.webPages.clear();
    p.modalDialogs.clear();
    m_statusTexts.clear();
}

void TestMonkey::randomWalk() {
    const quint64 seed = EnvNumber("MOSAIQUA_MONKEY_SEED", kDefaultSeed);
    const int steps = int(EnvNumber("MOSAIQUA_MONKEY_STEPS", kDefaultSteps));
    qInfo("monkey: seed %llu, %d steps", seed, steps);
    startFixture();
    if (QTest::currentTestFailed())
        return;
    QElapsedTimer clock;
    clock.start();
    int restarts = 0;
    for (int step = 1; step <= steps; ++step) {
        MainWindow& form = m_fixture->main;
        m_memoryBefore = Fingerprint(form.Memory());
        m_spriteBefore = form.SpriteAddress();
        m_charSetBefore = form.CharSetAddress();
        scriptTheDesktop();
        clearRecords();

        QString action;
        if (pick(1500) == 0) {
            QSignalSpy closed(&form, &MainWindow::Closed);
            Action(form, "ExitProgram1")->trigger();
            action = QStringLiteral("ExitProgram1");
            if (form.isVisible() || closed.count() != 1)
                QFAIL(qPrintable(QStringLiteral("seed %1, step %2: E&xit Program left the window open")
                                     .arg(seed)
                                     .arg(step)));
            startFixture();
            if (QTest::currentTestFailed())
                return;
            ++restarts;
        } else {
            action = doOneStep();
            QCoreApplication::processEvents(); // paints what the step changed
        }
        ++m_exercised[action];
        m_recent.push_back(QStringLiteral("%1: %2").arg(step).arg(action));
        if (m_recent.size() > 12)
            m_recent.pop_front();

        if (step % 10000 == 0)
            qInfo("monkey: step %d, %lld ms", step, clock.elapsed());
        if (action == QLatin1String("ExitProgram1"))
            continue;
        if (const QString wrong = checkInvariants(action); !wrong.isEmpty()) {
            const QString report =
                QStringLiteral(
                    "seed %1, step %2 (%3): %4\nlast steps:\n  %5\nreplay: MOSAIQUA_MONKEY_SEED=%1 "
                    "MOSAIQUA_MONKEY_STEPS=%2")
                    .arg(seed)
                    .arg(step)
                    .arg(action, wrong,
                         QStringList(m_recent.begin(), m_recent.end()).join(QStringLiteral("\n  ")));
            QFAIL(qPrintable(report));
        }
    }
    qInfo("monkey: %d steps in %lld ms, %d restarts", steps, clock.elapsed(), restarts);
    for (const auto& [kind, count] : m_errorKinds)
        qInfo("monkey: %6d error boxes \"%s\"", count, qPrintable(kind));
    m_counts[QStringLiteral("files in the save folder at the end")] =
        int(QDir(m_out).entryList(QDir::Files | QDir::Hidden).size());
    for (const auto& [what, count] : m_counts)
        qInfo("monkey: %6d %s", count, qPrintable(what));

    // A long enough walk reaches every command and control.
    if (steps >= 2000) {
        for (QAction* action : m_menuActions)
            QVERIFY2(m_exercised.count(action->objectName()), qPrintable(action->objectName()));
        for (QAction* action : m_keyedActions)
            QVERIFY2(m_exercised.count(action->objectName()), qPrintable(action->objectName()));
        for (QAbstractButton* button : m_buttons)
            QVERIFY2(m_exercised.count(QStringLiteral("click ") + button->objectName()),
                     qPrintable(button->objectName()));
    }
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
