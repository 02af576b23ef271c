// The Snapshot and Memory Overview windows: what the loaded file says was on screen, and all of
// memory at once. Both follow the document; what the user picks there moves its viewers.
#include "ui/main_window/main_window.h"

#include "ui/desktop/command_guard.h"
#include "ui/dialogs/memory_overview.h"
#include "ui/dialogs/snapshot_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>

using mosaiqua::OverviewPage;

void MainWindow::BuildMemoryWindows() {
    m_windows.snapshotWindow = new SnapshotWindow(this);
    m_windows.memoryOverview = new MemoryOverview(this);
    m_windows.snapshotWindow->follow(m_document);
    m_windows.memoryOverview->follow(m_document);
    AddStayOnTopFollower(m_windows.snapshotWindow);
    AddStayOnTopFollower(m_windows.memoryOverview);

    connect(m_windows.snapshotWindow, &SnapshotWindow::spriteChosen, this,
            [this](const mosaiqua::SpriteSettings& settings) {
                RunGuarded(m_platform, this, [&] { TakeSnapshotSprite(settings); });
            });
    connect(m_windows.snapshotWindow, &SnapshotWindow::charSetChosen, this,
            [this](const mosaiqua::CharSetSettings& settings) {
                RunGuarded(m_platform, this, [&] { TakeSnapshotCharSet(settings); });
            });
    connect(m_windows.snapshotWindow, &SnapshotWindow::bitmapChosen, this,
            [this] { RunGuarded(m_platform, this, [this] { ShowBitmapFromSnapshot(); }); });
    connect(m_windows.snapshotWindow, &SnapshotWindow::spritePadSaveAsked, this,
            [this] { RunGuarded(m_platform, this, [this] { SaveOnScreenSpritePad(); }); });
    connect(m_windows.memoryOverview, &MemoryOverview::addressChosen, this,
            [this](OverviewPage page, std::int32_t address) {
                RunGuarded(m_platform, this, [&] { MoveViewerTo(page, address); });
            });
    connect(m_pageControl, &QTabWidget::currentChanged, this, [this] {
        RunGuarded(m_platform, this, [this] { m_windows.memoryOverview->showPage(CurrentOverviewPage()); });
    });
}

OverviewPage MainWindow::CurrentOverviewPage() const {
    return m_pageControl->currentWidget() == m_charSheet ? OverviewPage::CharSets : OverviewPage::Sprites;
}

void MainWindow::TakeSnapshotSprite(const mosaiqua::SpriteSettings& settings) {
    m_pageControl->setCurrentWidget(m_spriteSheet);
    m_document.takeSprite(settings);
}

void MainWindow::TakeSnapshotCharSet(const mosaiqua::CharSetSettings& settings) {
    m_pageControl->setCurrentWidget(m_charSheet);
    m_document.takeCharSet(settings);
}

void MainWindow::MoveViewerTo(OverviewPage page, std::int32_t address) {
    if (page == OverviewPage::Sprites)
        m_document.setSpriteAddress(address);
    else
        m_document.setCharSetAddress(address);
}

void MainWindow::ShowSnapshotWindow() {
    SnapshotWindow& window = *m_windows.snapshotWindow;
    // Beside the main window, so the viewers its choices move stay in sight.
    if (!window.isVisible())
        PlaceBeside(window);
    window.show();
    window.raise();
    window.activateWindow();
}

void MainWindow::ShowMemoryOverview() {
    MemoryOverview& overview = *m_windows.memoryOverview;
    if (!overview.isVisible()) {
        if (const QScreen* screen = this->screen())
            overview.fitTo(screen->availableGeometry());
        PlaceBeside(overview);
    }
    overview.show();
    overview.raise();
}
