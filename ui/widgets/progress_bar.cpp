#include "ui/widgets/progress_bar.h"

#include <QStyleOptionProgressBar>
#include <QStylePainter>

SmoothProgressBar::SmoothProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
}

void SmoothProgressBar::Advance(int steps) {
    // The value was set directly since the last step: count on from there.
    if (value() != m_shown) {
        m_count = value();
        m_shown = value();
    }
    const qint64 span = qint64(maximum()) - minimum();
    const qint64 pixels = qMax(1, width());
    const auto fill = [&](int v) { return span > 0 ? (qint64(v) - minimum()) * pixels / span : qint64(v); };
    // While the bar cannot repaint, its fill shows nothing new until the end.
    const bool canShow = updatesEnabled() && isVisible();
    for (; steps > 0 && m_count < maximum(); --steps) {
        ++m_count;
        if (m_count == maximum() || (canShow && fill(m_count) != fill(m_shown))) {
            m_shown = m_count;
            setValue(m_count);
        } else {
            emit valueChanged(m_count);
        }
    }
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
