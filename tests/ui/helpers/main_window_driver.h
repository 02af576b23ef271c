#pragma once

#include "../../core/known_pictures.h"
#include "core/colours.h"
#include "core/raster.h"
#include "helpers/child.h"
#include "helpers/fake_platform.h"
#include "ui/main_window/application_windows.h"
#include "ui/main_window/main_window.h"

#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using mosaiqua::test::kBalloon;
using mosaiqua::test::kLetterA;

class QAction;
class QWidget;

// A fresh main window on a scripted desktop, shown and active so that keys reach its shortcuts.
struct MainWindowFixture {
    FakePlatform platform;
    ApplicationWindows windows{platform};
    MainWindow& main = windows.Main();
    QTemporaryDir files;

    // Shows the window and waits until it is active; false if it never became active.
    bool Show();
};

QAction* Action(const QObject& root, const QString& name);

// A left click in the middle of a button, check box or swatch, as the user makes it.
void ClickOn(const MainWindow& window, const QString& name);
void Trigger(const MainWindow& window, const QString& actionName);
void ShowPage(const MainWindow& window, const QString& sheetName);

// Writes `bytes` to a file and opens it through the scripted open dialog, header skip and format
// recognition switched off first so file offset i lands at address i.
void LoadBytes(MainWindowFixture& fixture, const QByteArray& bytes);
void LoadFile(MainWindowFixture& fixture, const QString& path);

// Moves SpriteAddress / CharSetAddress with the page buttons only.
void WalkSpriteTo(const MainWindow& window, std::int32_t target);
void WalkCharSetTo(const MainWindow& window, std::int32_t target);

// One string per pixel row of the area: '#' for `ink`, '.' for `paper`, '?' for anything else.
std::vector<std::string> Rows(const mosaiqua::Raster& raster, int left, int top, int width, int height,
                              mosaiqua::TColor ink, mosaiqua::TColor paper);
// Every pixel of the raster has this colour.
bool AllPixels(const mosaiqua::Raster& raster, mosaiqua::TColor colour);

// `count` pixels of one row, from (x, y) rightwards.
std::vector<mosaiqua::TColor> Pixels(const mosaiqua::Raster& raster, int x, int y, int count);
// One string per pixel row of the picture, as Rows() does; the default colours are the start-up
// sprite colour and black.
std::vector<std::string> ImageRows(const QImage& image, int left, int top, int width, int height,
                                   mosaiqua::TColor ink = 0x6C6C6C, mosaiqua::TColor paper = 0x000000);

QString LabelText(const QObject& root, const char* name);
// Label1, Label2 and Label3: the current sprite's address and the strip's first and last.
QStringList SpriteLabels(const MainWindow& window);
// Sets the colour of the slot a swatch shows (Back, Col1.., CBack, CCol1..) in the document.
void SetSwatch(const MainWindow& window, const char* name, mosaiqua::TColor colour);

// Counts what the document says changed while the counter lives.
class ChangeCounter final {
public:
    explicit ChangeCounter(mosaiqua::Document& document);
    ~ChangeCounter();
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;
    int Count(mosaiqua::DocumentChange change) const;

private:
    mosaiqua::Document& m_document;
    mosaiqua::Document::ObserverId m_id;
    std::vector<mosaiqua::DocumentChange> m_changes;
};

// The colours the window starts with: background, multicolour 1, sprite colour, multicolour 2.
inline const mosaiqua::ColourSlots kStartup{0x000000, 0x444444, 0x6C6C6C, 0xFFFFFF};

// Memory holding the balloon sprite at $0049 and nothing else: a file made here, standing in for
// ballon_demo.prg wherever the picture matters and the real file does not.
QByteArray BalloonMemory();
// The balloon as the current sprite, at $0049.
void LoadBalloon(MainWindowFixture& fixture);

// A real file from the shared test data; the folder is known only to the test executables.
#ifdef MOSAIQUA_TEST_DATA_DIR
inline QString TestDataPath(const char* fileName) {
    return QStringLiteral(MOSAIQUA_TEST_DATA_DIR "/") + QString::fromLatin1(fileName);
}
#endif

// Real files come from elsewhere and are not in the project: a test that needs one is skipped
// where it is absent, as in a user's clone.
#define SKIP_UNLESS_PRESENT(path)                                                                            \
    if (!QFileInfo::exists(path))                                                                            \
    QSKIP(qPrintable(QStringLiteral("%1 is absent: the real test files live outside the project").arg(path)))
