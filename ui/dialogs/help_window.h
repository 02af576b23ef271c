// Help window: the help file.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPlainTextEdit;

// "Mosaiqua Help": the built-in help text in a read-only memo, closed by its title bar.
class HelpWindow final : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Top-left corner of the help window: a fixed offset from the main window, computed as the palette
    // picker's centred place over it (outer sizes, halves truncated toward zero) moved up and left by 100.
    static QPoint HelpPosition(const QRect& mainOuter, const QSize& pickerOuter);
    void PlaceOver(const QRect& mainOuter, const QSize& pickerOuter);

    QPlainTextEdit* TextView() const { return m_text; }

private:
    QPlainTextEdit* m_text = nullptr;
};
