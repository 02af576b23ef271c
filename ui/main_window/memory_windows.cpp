// The Snapshot and Memory Overview windows: what the loaded file says was on screen, and all of
// memory at once. Both follow the main window; what the user picks there moves its viewers.
#include "ui/main_window/main_window.h"

#include "ui/desktop/command_guard.h"
#include "ui/dialogs/memory_overview.h"
#include "ui/dialogs/snapshot_window.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

using mosaiqua::OverviewPage;

namespace {

// The sprite viewer shows the current sprite and the seven after it.
constexpr std::int32_t kSpriteViewerBytes = 8 * 64;
// The 8 x 8 view: 270 characters of 8 bytes.
constexpr std::int32_t kCharSetViewerBytes = 2160;
constexpr std::int32_t kLastAddress = 0xFFFF;

} // namespace

void MainWindow::BuildMemoryWindows() {
    m_windows.snapshotWindow = new SnapshotWindow(this);
    m_windows.memoryOverview = new MemoryOverview(this);
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
    connect(m_windows.memoryOverview, &MemoryOverview::addressChosen, this,
            [this](OverviewPage page, std::int32_t address) {
                RunGuarded(m_platform, this, [&] { MoveViewerTo(page, address); });
            });
    connect(m_pageControl, &QTabWidget::currentChanged, this,
            [this] { RunGuarded(m_platform, this, [this] { FollowInOverview(); }); });
}

const mosaiqua::PaletteTable& MainWindow::PaletteInForce() const {
    // The Windows palette has no table of C64 colours; the true VIC-II one stands in for it.
    const mosaiqua::PaletteTable* table = mosaiqua::TableFor(CurrentPaletteKind());
    return table != nullptr ? *table : mosaiqua::TrueVicTable;
}

OverviewPage MainWindow::CurrentOverviewPage() const {
    return m_pageControl->currentWidget() == m_charSheet ? OverviewPage::CharSets : OverviewPage::Sprites;
}

// After a load or a palette change: its colours come from the palette in force.
void MainWindow::ShowSnapshotState() {
    m_windows.snapshotWindow->showState(m_machineState, m_image, PaletteInForce(), CharSetColours().main);
}

// After a load: the Snapshot window and the overview show the new file.
void MainWindow::ShowLoadedState() {
    ShowSnapshotState();
    MemoryOverview& overview = *m_windows.memoryOverview;
    overview.setMemory(m_image);
    std::vector<std::int32_t> sprites;
    std::int32_t charSet = -1;
    if (m_machineState) {
        const mosaiqua::ScreenLayout layout = mosaiqua::DescribeScreen(*m_machineState, m_image);
        // What lies in the character ROM shadow is not the RAM the overview draws.
        for (const mosaiqua::SpriteState& sprite : layout.sprites)
            if (sprite.enabled && !sprite.inRom)
                sprites.push_back(sprite.address);
        if (!layout.bitmapMode && !layout.charSetInRom)
            charSet = layout.charSet;
    }
    overview.setOnScreen(sprites, charSet);
}

// The overview shows the page in front in that page's mode and colours, and outlines what its
// viewer shows. Setters that get what the overview already has do not redraw it.
void MainWindow::FollowInOverview() {
    MemoryOverview& overview = *m_windows.memoryOverview;
    const OverviewPage page = CurrentOverviewPage();
    overview.setPage(page);
    if (page == OverviewPage::Sprites) {
        overview.setMode(SpriteMulticolour());
        overview.setColours(SpriteColours());
        overview.setViewerRange(m_image.SpriteAddress, kSpriteViewerBytes);
    } else {
        overview.setMode(CharSetMulticolour());
        overview.setColours(CharSetColours());
        overview.setViewerRange(m_image.CharSetAddress, kCharSetViewerBytes);
    }
}

void MainWindow::TakeSnapshotSprite(const mosaiqua::SpriteSettings& settings) {
    m_image.SpriteAddress = std::clamp(settings.address, 0, kLastAddress);
    m_mcm->setChecked(settings.multicolour);
    SetSpriteColours(settings.colours);
    m_pageControl->setCurrentWidget(m_spriteSheet);
    RefreshSpriteViews();
}

void MainWindow::TakeSnapshotCharSet(const mosaiqua::CharSetSettings& settings) {
    m_image.CharSetAddress = std::clamp(settings.address, 0, kLastAddress);
    m_cmcm->setChecked(settings.multicolour);
    SetCharSetColours(settings.colours);
    m_pageControl->setCurrentWidget(m_charSheet);
    RefreshCharSetViews(true, true, true, true);
}

void MainWindow::MoveViewerTo(OverviewPage page, std::int32_t address) {
    address = std::clamp(address, 0, kLastAddress);
    if (page == OverviewPage::Sprites) {
        m_image.SpriteAddress = address;
        RefreshSpriteViews();
    } else {
        m_image.CharSetAddress = address;
        RefreshCharSetViews(true, true, true, true);
    }
}

void MainWindow::ShowSnapshotWindow() {
    SnapshotWindow& window = *m_windows.snapshotWindow;
    window.show();
    window.raise();
    window.activateWindow();
}

void MainWindow::ShowMemoryOverview() {
    MemoryOverview& overview = *m_windows.memoryOverview;
    if (!overview.isVisible()) {
        // Beside the main window: to its right, or to its left where the screen ends first, and
        // never past the screen's edge.
        const QRect main = frameGeometry();
        QPoint place(main.right() + 1, main.top());
        if (const QScreen* screen = this->screen()) {
            const QRect room = screen->availableGeometry();
            overview.fitTo(room);
            const int width = overview.frameGeometry().width();
            if (place.x() + width - 1 > room.right())
                place.setX(main.left() - width >= room.left() ? main.left() - width
                                                              : room.right() + 1 - width);
            place.setX(std::max(place.x(), room.left()));
            place.setY(std::clamp(place.y(), room.top(),
                                  std::max(room.top(), room.bottom() + 1 - overview.height())));
        }
        overview.move(place);
    }
    overview.show();
    overview.raise();
}
