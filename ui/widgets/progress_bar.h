// Progress bar widget: the status bar's character-set drawing progress.
#pragma once

#include <QProgressBar>

// A range of 0..0, which a refresh with nothing to draw sets, shows an empty bar instead of a busy
// indicator.
class SmoothProgressBar final : public QProgressBar {
    Q_OBJECT
public:
    explicit SmoothProgressBar(QWidget* parent);

    // Counts `steps` more steps, each reported through valueChanged. The widget's own value, whose
    // every change formats the bar's text and measures its fill, moves only when the fill grows by a
    // pixel (and it can repaint) and at the maximum; until then value() lags behind the count.
    void Advance(int steps);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_count = 0;
    int m_shown = -1;
};
