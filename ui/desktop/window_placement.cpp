#include "ui/desktop/window_placement.h"

#include <QWidget>

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
