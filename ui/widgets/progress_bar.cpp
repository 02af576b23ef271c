#include "ui/widgets/progress_bar.h"

#include <QStyleOptionProgressBar>
#include <QStylePainter>

SmoothProgressBar::SmoothProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
}

void SmoothProgressBar::paintEvent(QPaintEvent* event) {
    if (minimum() != maximum()) {
        // The base class also remembers what it painted, so that it repaints only when the bar
        // visibly grows; thousands of steps per refresh then cost a few hundred repaints.
        QProgressBar::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    option.maximum = option.minimum + 1;
    option.progress = option.minimum;
    painter.drawControl(QStyle::CE_ProgressBar, option);
}
