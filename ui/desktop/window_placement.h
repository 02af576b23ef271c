// Window placement: centring one window over another or over the screen, and the fixed-size flags.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>

class QWidget;

// A dialog with a title bar, a system menu and a close button, and no way to resize it.
inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Names and titles a dialog, gives it kFixedDialogFlags (and `extra`) and fixes its size.
void SetUpFixedDialog(QWidget& dialog, const char* objectName, const QString& title, QSize size,
                      Qt::WindowFlags extra = {});

// Top-left corner that centres a window of outer size `inner` over `outer`; halves truncate toward
// zero, also when the inner window is the larger one.
QPoint CentredPosition(const QRect& outer, const QSize& inner);

// The window's outer size, frame included. The frame is known only once the native window exists,
// so it is made first.
QSize OuterSize(QWidget& window);

// Top-left corner for a window of outer size `outer` beside `main` (its frame): to its right, else
// to its left, else against whichever screen edge hides least of it; never past `room`'s edges.
QPoint BesidePosition(const QRect& main, const QSize& outer, const QRect& room);

// Where the main window and a window beside it go. When neither side of the main window has room
// but the screen holds both side by side, the main window moves over just enough, so the window
// never covers the viewers it moves; otherwise the main window stays and BesidePosition decides.
struct SideBySide {
    QPoint main;
    QPoint window;
};
SideBySide SideBySidePositions(const QRect& main, const QSize& outer, const QRect& room);
