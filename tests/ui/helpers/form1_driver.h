#pragma once

#include "core/colours.h"
#include "core/raster.h"
#include "helpers/fake_platform.h"
#include "ui/application_windows.h"
#include "ui/tform1.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class QAction;
class QWidget;

// A fresh main window on a scripted desktop, shown and active so that keys reach its shortcuts.
struct Form1Fixture {
    FakePlatform platform;
    ApplicationWindows windows{platform};
    TForm1& form = windows.Form1();
    QTemporaryDir files;

    // Shows the window and waits until it is active; false if it never became active.
    bool Show();
};

// The child with this objectName; throws (failing the test) when there is none.
template <typename T> T* Child(const QObject& root, const QString& name) {
    T* found = root.findChild<T*>(name);
    if (found == nullptr)
        throw std::runtime_error("no child named " + name.toStdString());
    return found;
}
QAction* Action(const QObject& root, const QString& name);

// A left click in the middle of a button, check box or swatch, as the user makes it.
void ClickOn(const TForm1& form, const QString& name);
void Trigger(const TForm1& form, const QString& actionName);
void ShowPage(const TForm1& form, const QString& sheetName);

// Writes `bytes` to a file and opens it through the scripted open dialog, header skip switched
// off first so file offset i lands at address i.
void LoadBytes(Form1Fixture& fixture, const QByteArray& bytes);
void LoadFile(Form1Fixture& fixture, const QString& path);

// Moves SpriteAddress / CharSetAddress with the page buttons only.
void WalkSpriteTo(const TForm1& form, std::int32_t target);
void WalkCharSetTo(const TForm1& form, std::int32_t target);

// One string per pixel row of the area: '#' for `ink`, '.' for `paper`, '?' for anything else.
std::vector<std::string> Rows(const mosaiqua::Raster& raster, int left, int top, int width, int height,
                              mosaiqua::TColor ink, mosaiqua::TColor paper);
// Every pixel of the raster has this colour.
bool AllPixels(const mosaiqua::Raster& raster, mosaiqua::TColor colour);

// A file of tests/data; the folder is known only to the test executables.
#ifdef MOSAIQUA_TEST_DATA_DIR
inline QString TestDataPath(const char* fileName) {
    return QStringLiteral(MOSAIQUA_TEST_DATA_DIR "/") + QString::fromLatin1(fileName);
}
#endif
