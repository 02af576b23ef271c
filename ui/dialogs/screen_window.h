#pragma once

#include "core/document.h"
#include "core/overview.h"
#include "core/raster.h"
#include "core/screen_composer.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class ScreenCanvas;

// "Screen": the frame the loaded snapshot shows, beside the main window. It follows a document;
// hovering names what is under the pointer, a click moves a viewer to that sprite or character set.
class ScreenWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ScreenWindow(QWidget* parent = nullptr);
    ~ScreenWindow() override;

    // From now on shows `document`, which must outlive the window.
    void follow(mosaiqua::Document& document);

    mosaiqua::ComposeOptions options() const;
    // The frame as composed, before scaling; empty when the file holds no machine state.
    const mosaiqua::Raster& picture() const { return m_picture; }
    int scale() const { return m_scale; }
    // The window's status line.
    QString statusText() const;
    void setStatusText(const QString& text);
    // The whole multiple that fits `available` (a screen's free area), at least 1; sizes the window.
    void fitTo(const QRect& available);

    // Which viewer a click moved.
    enum class MovedViewer { Sprite, CharSet, Bitmap };

signals:
    // A click moved a viewer: the main window shows that page and `status`.
    void viewerMoved(ScreenWindow::MovedViewer viewer, const QString& status);
    // "Save Screen Picture...": the main window asks for a name and saves.
    void saveRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class ScreenCanvas;
    void redraw();
    void hover(const QPoint& picturePoint);
    void choose(const QPoint& picturePoint);

    mosaiqua::Document* m_document = nullptr;
    mosaiqua::Document::ObserverId m_observer = 0;
    mosaiqua::Raster m_picture;
    int m_scale = 1;
    QRect m_available;

    QLabel* m_message = nullptr;
    ScreenCanvas* m_canvas = nullptr;
    QCheckBox* m_sprites = nullptr;
    QCheckBox* m_border = nullptr;
    QPushButton* m_save = nullptr;
    QLabel* m_status = nullptr;
};
