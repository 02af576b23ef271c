#include "ui/dialogs/memory_overview.h"

#include "core/address_text.h"
#include "ui/desktop/raster_image.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

using mosaiqua::OverviewPage;

namespace {

constexpr int kMaxScale = 3;
const QColor kTint(255, 64, 0);
const QColor kRangeOutline(255, 255, 0);
const QColor kOnScreenOutline(0, 200, 255);

QRect ToQRect(const mosaiqua::Rect& r, int scale) {
    return {r.left * scale, r.top * scale, r.width * scale, r.height * scale};
}

} // namespace

// Paints the picture at a whole multiple, with the find tints and the outlines over it.
class OverviewCanvas final : public QWidget {
public:
    explicit OverviewCanvas(MemoryOverview& owner) : QWidget(&owner), m_owner(owner) {
        setObjectName(QStringLiteral("overviewCanvas"));
        setMouseTracking(true);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    int scale() const {
        const mosaiqua::Raster& p = m_owner.m_picture;
        if (p.width() == 0)
            return 1;
        return std::clamp(std::min(width() / p.width(), height() / p.height()), 1, kMaxScale);
    }
    void setPicture(const QImage& image) {
        m_image = image;
        // Never below 1x: a screen too small for it scrolls instead.
        setMinimumSize(image.size());
        updateGeometry();
        update();
    }
    QSize sizeHint() const override { return m_image.size(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.fillRect(rect(), palette().window());
        const int s = scale();
        painter.drawImage(QRect(QPoint(0, 0), m_image.size() * s), m_image);
        const OverviewPage page = m_owner.m_page;
        if (m_owner.m_find->isChecked()) {
            for (const auto& c : m_owner.candidates()) {
                const mosaiqua::Rect cell =
                    page == OverviewPage::Sprites
                        ? mosaiqua::OverviewCellRect(page, c.address)
                        : mosaiqua::OverviewBlockRect(c.address / mosaiqua::kCharSetBlockBytes);
                QColor tint = kTint;
                tint.setAlpha(int(40 + 160 * c.score));
                painter.fillRect(ToQRect(cell, s), tint);
            }
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kOnScreenOutline, 1));
        if (page == OverviewPage::Sprites) {
            for (auto a : m_owner.m_onScreenSprites)
                painter.drawRect(ToQRect(mosaiqua::OverviewCellRect(page, a), s).adjusted(0, 0, -1, -1));
        } else if (m_owner.m_onScreenCharSet >= 0) {
            for (const auto& r : mosaiqua::OverviewRangeRects(page, m_owner.m_onScreenCharSet, 2048))
                painter.drawRect(ToQRect(r, s).adjusted(0, 0, -1, -1));
        }
        painter.setPen(QPen(kRangeOutline, 1));
        for (const auto& r : mosaiqua::OverviewRangeRects(page, m_owner.m_rangeStart, m_owner.m_rangeLength))
            painter.drawRect(ToQRect(r, s).adjusted(0, 0, -1, -1));
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        m_owner.showAddressAt(event->position().toPoint() / scale());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            m_owner.pick(event->position().toPoint() / scale(),
                         event->modifiers().testFlag(Qt::ShiftModifier));
    }

private:
    MemoryOverview& m_owner;
    QImage m_image;
};

MemoryOverview::MemoryOverview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MemoryOverview"));
    setWindowTitle(QStringLiteral("Memory Overview"));

    m_canvas = new OverviewCanvas(*this);
    m_find = new QCheckBox(QStringLiteral("&Find Graphics"), this);
    m_find->setObjectName(QStringLiteral("findGraphics"));
    m_previous = new QPushButton(QStringLiteral("&Previous Find"), this);
    m_previous->setObjectName(QStringLiteral("previousFind"));
    m_previous->setToolTip(QStringLiteral("The next less likely candidate (Shift+F3)"));
    m_next = new QPushButton(QStringLiteral("&Next Find"), this);
    m_next->setObjectName(QStringLiteral("nextFind"));
    m_next->setToolTip(QStringLiteral("The next most likely candidate (F3)"));
    m_legend = new QLabel(this);
    m_legend->setObjectName(QStringLiteral("legend"));
    m_legend->setText(
        QStringLiteral("<span style='background:rgba(255,64,0,40)'>&nbsp;unlikely&nbsp;</span>"
                       "<span style='background:rgba(255,64,0,120)'>&nbsp;&nbsp;</span>"
                       "<span style='background:rgba(255,64,0,200)'>&nbsp;likely graphics&nbsp;</span>"
                       "&nbsp;&nbsp;<span style='color:#C0C000'>&#9633;</span> viewer"
                       "&nbsp;&nbsp;<span style='color:#00C8FF'>&#9633;</span> on screen"));
    m_legend->setVisible(false);
    m_address = new QLabel(this);
    m_address->setObjectName(QStringLiteral("addressLabel"));
    m_address->setMinimumWidth(m_address->fontMetrics().horizontalAdvance(QStringLiteral("Address: $FFFF")));

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_find);
    controls->addWidget(m_previous);
    controls->addWidget(m_next);
    controls->addWidget(m_legend, 1);
    controls->addStretch();
    controls->addWidget(m_address);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("overviewScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_canvas);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(controls);

    connect(m_find, &QCheckBox::toggled, this, [this](bool on) {
        m_legend->setVisible(on);
        m_findIndex = -1;
        m_canvas->update();
    });
    connect(m_next, &QPushButton::clicked, this, [this] { stepFind(+1); });
    connect(m_previous, &QPushButton::clicked, this, [this] { stepFind(-1); });
    // Keys of the window itself, so they do not clash with the main window's F-keys.
    auto* nextKey = new QShortcut(QKeySequence(Qt::Key_F3), this);
    auto* previousKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(nextKey, &QShortcut::activated, m_next, &QPushButton::click);
    connect(previousKey, &QShortcut::activated, m_previous, &QPushButton::click);

    m_scores = mosaiqua::ScoreGraphics(m_image);
    redraw();
}

MemoryOverview::~MemoryOverview() {
    if (m_document != nullptr)
        m_document->removeObserver(m_observer);
}

void MemoryOverview::follow(mosaiqua::Document& document) {
    using mosaiqua::DocumentChange;
    if (m_document != nullptr)
        m_document->removeObserver(m_observer);
    m_document = &document;
    m_observer = document.addObserver([this](DocumentChange change) {
        if (mosaiqua::Has(change, DocumentChange::Memory))
            showMemory();
        if (mosaiqua::Has(change,
                          DocumentChange::SpriteView | DocumentChange::CharSetView | DocumentChange::Colours))
            showViewer();
    });
    showViewer();
}

void MemoryOverview::showPage(mosaiqua::OverviewPage page) {
    setPage(page);
    showViewer();
}

// After a load: the new memory, and what the file says the C64 showed.
void MemoryOverview::showMemory() {
    setMemory(m_document->memory());
    std::vector<std::int32_t> sprites;
    std::int32_t charSet = -1;
    if (const std::optional<mosaiqua::MachineState>& state = m_document->machineState()) {
        const mosaiqua::ScreenLayout layout = mosaiqua::DescribeScreen(*state, m_document->memory());
        // What lies in the character ROM shadow is not the RAM the overview draws.
        for (const mosaiqua::SpriteState& sprite : layout.sprites)
            if (sprite.enabled && !sprite.inRom)
                sprites.push_back(sprite.address);
        if (!layout.bitmapMode && !layout.charSetInRom)
            charSet = layout.charSet;
    }
    setOnScreen(sprites, charSet);
}

// The page's viewer in its mode and colours, and what it shows outlined. Setters that get what
// the overview already has do not redraw it.
void MemoryOverview::showViewer() {
    // The sprite viewer shows the current sprite and the seven after it; the 8 x 8 view 270
    // characters of 8 bytes.
    constexpr std::int32_t kSpriteViewerBytes = 8 * 64;
    constexpr std::int32_t kCharSetViewerBytes = 2160;
    if (m_page == mosaiqua::OverviewPage::Sprites) {
        const mosaiqua::SpriteViewer& viewer = m_document->sprite();
        setMode(viewer.multicolour);
        setColours(viewer.colours);
        setViewerRange(viewer.address, kSpriteViewerBytes);
    } else {
        const mosaiqua::CharSetViewer& viewer = m_document->charSet();
        setMode(viewer.multicolour);
        setColours(viewer.colours);
        setViewerRange(viewer.address, kCharSetViewerBytes);
    }
}

void MemoryOverview::setMemory(const mosaiqua::MemoryImage& image) {
    m_image = image;
    m_scores = mosaiqua::ScoreGraphics(m_image);
    m_findIndex = -1;
    redraw();
}

void MemoryOverview::setPage(OverviewPage page) {
    if (page == m_page)
        return;
    m_page = page;
    m_findIndex = -1;
    redraw();
}

void MemoryOverview::setMode(bool multicolour) {
    if (multicolour == m_multicolour)
        return;
    m_multicolour = multicolour;
    redraw();
}

void MemoryOverview::setColours(const mosaiqua::ColourSlots& colours) {
    if (colours == m_colours)
        return;
    m_colours = colours;
    redraw();
}

void MemoryOverview::setViewerRange(std::int32_t start, std::int32_t length) {
    m_rangeStart = start;
    m_rangeLength = length;
    m_canvas->update();
}

void MemoryOverview::setOnScreen(const std::vector<std::int32_t>& spriteAddresses,
                                 std::int32_t charSetAddress) {
    m_onScreenSprites = spriteAddresses;
    m_onScreenCharSet = charSetAddress;
    m_canvas->update();
}

int MemoryOverview::scale() const {
    return m_canvas->scale();
}

void MemoryOverview::fitTo(const QRect& available) {
    if (m_sized || m_picture.width() <= 0)
        return;
    m_sized = true;
    // Room for the controls below the picture and the window's frame.
    const QSize room = available.size() - QSize(40, 120);
    const int fit = std::clamp(std::min(room.width() / m_picture.width(), room.height() / m_picture.height()),
                               1, kMaxScale);
    const QSize frame(2 * m_scroll->frameWidth(), 2 * m_scroll->frameWidth());
    const QSize wanted = QSize(m_picture.width(), m_picture.height()) * fit + frame;
    const QMargins margins = layout() != nullptr ? layout()->contentsMargins() : QMargins();
    const int spacing = layout() != nullptr ? std::max(layout()->spacing(), 0) : 0;
    // The row under the picture is as tall as its tallest control (the buttons, not the check box).
    const int controls = layout() != nullptr && layout()->count() > 1
                             ? layout()->itemAt(1)->sizeHint().height()
                             : m_find->sizeHint().height();
    resize(std::min(wanted.width() + margins.left() + margins.right(), room.width()),
           std::min(wanted.height() + margins.top() + margins.bottom() + spacing + controls, room.height()));
}

void MemoryOverview::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen())
        fitTo(screen->availableGeometry());
    QWidget::showEvent(event);
}

void MemoryOverview::redraw() {
    mosaiqua::DrawOverview(m_page, m_image, m_multicolour, m_colours, m_picture);
    m_canvas->setPicture(RasterToImage(m_picture));
}

std::vector<mosaiqua::GraphicsCandidate> MemoryOverview::candidates() const {
    return m_page == OverviewPage::Sprites ? mosaiqua::SpriteCandidates(m_scores)
                                           : mosaiqua::CharSetCandidates(m_scores);
}

void MemoryOverview::stepFind(int direction) {
    const auto list = candidates();
    if (list.empty()) {
        m_address->setText(QStringLiteral("No graphics found"));
        return;
    }
    const int count = int(list.size());
    m_findIndex =
        m_findIndex < 0 ? (direction > 0 ? 0 : count - 1) : (m_findIndex + direction + count) % count;
    const auto& c = list[std::size_t(m_findIndex)];
    m_address->setText(QStringLiteral("Find %1: %2 (%3)")
                           .arg(m_findIndex + 1)
                           .arg(QString::fromStdString(mosaiqua::ScreenAddress(c.address)))
                           .arg(double(c.score), 0, 'f', 2));
    emit addressChosen(m_page, c.address);
}

void MemoryOverview::showAddressAt(const QPoint& p) {
    const auto address = mosaiqua::OverviewAddressAt(m_page, p.x(), p.y(), true);
    m_address->setText(
        address ? QStringLiteral("Address: %1").arg(QString::fromStdString(mosaiqua::ScreenAddress(*address)))
                : QString());
}

void MemoryOverview::pick(const QPoint& p, bool exactCharacter) {
    if (const auto address = mosaiqua::OverviewAddressAt(m_page, p.x(), p.y(), exactCharacter))
        emit addressChosen(m_page, *address);
}
