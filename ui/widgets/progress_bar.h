// Progress bar widget: the status bar's character-set drawing progress.
#pragma once

#include <QProgressBar>

// A range of 0..0, which a refresh with nothing to draw sets, shows an empty bar instead of a busy
// indicator.
class SmoothProgressBar final : public QProgressBar {
    Q_OBJECT
public:
    explicit SmoothProgressBar(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
