#include "ui/desktop/window_placement.h"

#include <QWidget>

#include <algorithm>

void SetUpFixedDialog(QWidget& dialog, const char* objectName, const QString& title, QSize size,
                      Qt::WindowFlags extra) {
    dialog.setObjectName(QString::fromLatin1(objectName));
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(kFixedDialogFlags | extra);
    dialog.setFixedSize(size);
}

QPoint CentredPosition(const QRect& outer, const QSize& inner) {
    return QPoint(outer.left() + (outer.width() - inner.width()) / 2,
                  outer.top() + (outer.height() - inner.height()) / 2);
}

QSize OuterSize(QWidget& window) {
    window.winId();
    return window.frameGeometry().size();
}

QPoint BesidePosition(const QRect& main, const QSize& outer, const QRect& room) {
    int x = main.right() + 1;
    if (x + outer.width() - 1 > room.right()) {
        if (main.left() - outer.width() >= room.left())
            x = main.left() - outer.width();
        else {
            // No side has room: the side with more of it, pushed against the screen's edge.
            const int rightRoom = room.right() - main.right();
            const int leftRoom = main.left() - room.left();
            x = rightRoom >= leftRoom ? room.right() + 1 - outer.width() : room.left();
        }
    }
    x = std::max(x, room.left());
    const int y =
        std::clamp(main.top(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height()));
    return {x, y};
}

SideBySide SideBySidePositions(const QRect& main, const QSize& outer, const QRect& room) {
    const bool fitsRight = main.right() + outer.width() <= room.right();
    const bool fitsLeft = main.left() - outer.width() >= room.left();
    if (fitsRight || fitsLeft || main.width() + outer.width() > room.width())
        return {main.topLeft(), BesidePosition(main, outer, room)};
    QRect moved = main;
    if (room.right() - main.right() >= main.left() - room.left())
        moved.moveRight(room.right() - outer.width());
    else
        moved.moveLeft(room.left() + outer.width());
    return {moved.topLeft(), BesidePosition(moved, outer, room)};
}
