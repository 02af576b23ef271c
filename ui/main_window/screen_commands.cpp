// The Screen window, and the character ROM it and the snapshot saves draw with.
#include "ui/main_window/main_window.h"

#include "ui/desktop/command_guard.h"
#include "ui/desktop/platform.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/screen_window.h"

#include <QScreen>
#include <QTabWidget>

#include <algorithm>

void MainWindow::BuildScreenWindow() {
    m_windows.screenWindow = new ScreenWindow(this);
    m_windows.screenWindow->follow(m_document);
    AddStayOnTopFollower(m_windows.screenWindow);
    connect(m_windows.screenWindow, &ScreenWindow::viewerMoved, this,
            [this](ScreenWindow::MovedViewer viewer, const QString& status) {
                m_pageControl->setCurrentWidget(viewer == ScreenWindow::MovedViewer::Sprite   ? m_spriteSheet
                                                : viewer == ScreenWindow::MovedViewer::Bitmap ? m_bitmapSheet
                                                                                              : m_charSheet);
                SetStatus(status);
            });
    connect(m_windows.screenWindow, &ScreenWindow::saveRequested, this,
            [this] { RunGuarded(m_platform, m_windows.screenWindow, [this] { SaveScreenPicture(); }); });
}

void MainWindow::PlaceBeside(QWidget& window) {
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    const SideBySide places =
        SideBySidePositions(frameGeometry(), OuterSize(window), screen->availableGeometry());
    if (places.main != frameGeometry().topLeft())
        move(places.main);
    window.move(places.window);
}

void MainWindow::ShowScreenWindow() {
    ScreenWindow& window = *m_windows.screenWindow;
    if (!window.isVisible()) {
        if (const QScreen* screen = this->screen()) {
            // The scale that fits beside the main window, so the viewers a click moves stay in sight.
            const QRect room = screen->availableGeometry();
            const QRect main = frameGeometry();
            QRect side = room;
            side.setWidth(std::max(room.right() - main.right(), main.left() - room.left()));
            window.fitTo(side);
        }
        window.adjustSize();
        PlaceBeside(window);
    }
    window.show();
    window.raise();
}

void MainWindow::SaveScreenPicture() {
    SaveFileRequest request;
    request.presetName = QStringLiteral("screen.png");
    request.defaultSuffix = QStringLiteral("png");
    request.filters =
        QStringList{QStringLiteral("PNG Image (*.png)"), QStringLiteral("Windows Bitmap (*.BMP)")};
    const std::optional<QString> name = AskSaveName(request);
    if (!name)
        return;
    ApplySaveSettings();
    const QString status = QString::fromStdString(
        m_document.saveScreenPicture(name->toStdString(), m_windows.screenWindow->options()).status);
    m_windows.screenWindow->setStatusText(status);
    SetStatus(status);
}

void MainWindow::ChooseCharacterRomFile() {
    const std::optional<QString> chosen = m_platform.OpenFileName(this, FreezeDirectory());
    if (!chosen || chosen->isEmpty())
        return;
    // A file of the wrong size throws here and changes nothing.
    m_document.setCharacterRomFile(chosen->toStdString());
    const auto& rom = m_document.characterRom();
    SetStatus(rom ? QStringLiteral("Character ROM: %1.").arg(QString::fromStdString(rom->origin))
                  : QStringLiteral("Character ROM: none."));
}
