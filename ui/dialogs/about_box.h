// About box: the program's name, version and credits.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

// "About Mosaiqua": name, version, notice and where to send comments; centred on the screen.
class AboutBox final : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Top-left corner that centres a window of `outer` size on `screen` (halves truncated toward zero).
    static QPoint ScreenCentredPosition(const QRect& screen, const QSize& outer);

protected:
    void showEvent(QShowEvent* event) override;
};
