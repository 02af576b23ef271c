#pragma once

#include "core/colours.h"
#include "core/document.h"
#include "core/graphics_scan.h"
#include "core/memory_image.h"
#include "core/overview.h"
#include "core/raster.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class OverviewCanvas;

// All of $0000-$FFFF in one picture, beside the main window. It follows a document (its memory,
// what the snapshot had on screen, and the viewer of the page shown); the window hands back the
// address the user picks.
class MemoryOverview final : public QWidget {
    Q_OBJECT
public:
    explicit MemoryOverview(QWidget* parent = nullptr);
    ~MemoryOverview() override;

    // From now on shows `document`, which must outlive the window, whenever it says what changed.
    void follow(mosaiqua::Document& document);
    // The page whose viewer is shown, in that viewer's mode and colours.
    void showPage(mosaiqua::OverviewPage page);

    // Each setter redraws what it changes (nothing when the value is the one shown). The memory is
    // copied and scored once per call.
    void setMemory(const mosaiqua::MemoryImage& image);
    void setPage(mosaiqua::OverviewPage page);
    void setMode(bool multicolour);
    void setColours(const mosaiqua::ColourSlots& colours);
    // The bytes the page's viewer shows, outlined: e.g. (SpriteAddress, 8 * 64) for the sprite and
    // the seven after it, (CharSetAddress, 2160) for the 8 x 8 view.
    void setViewerRange(std::int32_t start, std::int32_t length);
    // Sprites and the character set on the C64's screen, where a snapshot tells them.
    void setOnScreen(const std::vector<std::int32_t>& spriteAddresses, std::int32_t charSetAddress = -1);

    mosaiqua::OverviewPage page() const { return m_page; }
    const mosaiqua::GraphicsScores& scores() const { return m_scores; }
    // The picture as drawn by the renderers, before scaling, tints and outlines.
    const mosaiqua::Raster& picture() const { return m_picture; }
    // The whole multiple (1..3) the picture is shown at.
    int scale() const;
    // Sizes the window for the largest whole multiple that fits `available` (a screen's free area),
    // once: later the user's own size stays. Showing the window does it for its own screen.
    void fitTo(const QRect& available);

signals:
    // A click (sprite cell; charset 2 KB block, or with Shift the exact character) or a Next /
    // Previous Find: the page's viewer should move to `address`.
    void addressChosen(mosaiqua::OverviewPage page, std::int32_t address);

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class OverviewCanvas;
    void redraw();
    void showMemory();
    void showViewer();
    void stepFind(int direction);
    void showAddressAt(const QPoint& picturePoint);
    void pick(const QPoint& picturePoint, bool exactCharacter);
    std::vector<mosaiqua::GraphicsCandidate> candidates() const;

    mosaiqua::Document* m_document = nullptr;
    mosaiqua::Document::ObserverId m_observer = 0;
    mosaiqua::MemoryImage m_image;
    mosaiqua::GraphicsScores m_scores{};
    mosaiqua::OverviewPage m_page = mosaiqua::OverviewPage::Sprites;
    bool m_multicolour = false;
    mosaiqua::ColourSlots m_colours = mosaiqua::kStartupColours;
    std::int32_t m_rangeStart = 0;
    std::int32_t m_rangeLength = 0;
    std::vector<std::int32_t> m_onScreenSprites;
    std::int32_t m_onScreenCharSet = -1;
    int m_findIndex = -1;
    bool m_sized = false;
    mosaiqua::Raster m_picture;

    QScrollArea* m_scroll = nullptr;
    OverviewCanvas* m_canvas = nullptr;
    QCheckBox* m_find = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_previous = nullptr;
    QLabel* m_address = nullptr;
    QLabel* m_legend = nullptr;
};
