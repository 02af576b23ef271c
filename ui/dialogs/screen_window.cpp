#include "ui/dialogs/screen_window.h"

#include "ui/desktop/raster_image.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

using mosaiqua::DocumentChange;

namespace {

constexpr int kMaxScale = 4;
// Room for the check boxes, the status line and the window's frame.
const QSize kControlsRoom(40, 140);

} // namespace

// Paints the frame at the window's whole multiple, without smoothing, and reports the pointer in
// picture coordinates.
class ScreenCanvas final : public QWidget {
public:
    explicit ScreenCanvas(ScreenWindow& owner) : QWidget(&owner), m_owner(owner) {
        setObjectName(QStringLiteral("screenCanvas"));
        setMouseTracking(true);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    void setImage(const QImage& image) {
        m_image = image;
        setFixedSize(image.size() * m_owner.m_scale);
        update();
    }
    QPoint toPicture(const QPoint& at) const { return at / std::max(1, m_owner.m_scale); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(QPoint(0, 0), m_image.size() * m_owner.m_scale), m_image);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        m_owner.hover(toPicture(event->position().toPoint()));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            m_owner.choose(toPicture(event->position().toPoint()));
    }

private:
    ScreenWindow& m_owner;
    QImage m_image;
};

ScreenWindow::ScreenWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ScreenWindow"));
    setWindowTitle(QStringLiteral("Screen"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("screenMessage"));
    m_message->setWordWrap(true);
    layout->addWidget(m_message);

    m_canvas = new ScreenCanvas(*this);
    layout->addWidget(m_canvas);

    auto* controls = new QHBoxLayout;
    m_sprites = new QCheckBox(QStringLiteral("&Sprites"), this);
    m_sprites->setObjectName(QStringLiteral("spritesBox"));
    m_sprites->setChecked(true);
    m_border = new QCheckBox(QStringLiteral("&Border"), this);
    m_border->setObjectName(QStringLiteral("borderBox"));
    m_border->setChecked(true);
    m_save = new QPushButton(QStringLiteral("Save Screen &Picture..."), this);
    m_save->setObjectName(QStringLiteral("saveScreenPictureButton"));
    m_save->setAutoDefault(false);
    controls->addWidget(m_sprites);
    controls->addWidget(m_border);
    controls->addStretch(1);
    controls->addWidget(m_save);
    layout->addLayout(controls);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("screenStatus"));
    m_status->setMinimumWidth(mosaiqua::kDisplayWidth);
    layout->addWidget(m_status);

    connect(m_sprites, &QCheckBox::toggled, this, &ScreenWindow::redraw);
    connect(m_border, &QCheckBox::toggled, this, &ScreenWindow::redraw);
    connect(m_save, &QPushButton::clicked, this, &ScreenWindow::saveRequested);
    redraw();
}

ScreenWindow::~ScreenWindow() {
    if (m_document != nullptr)
        m_document->removeObserver(m_observer);
}

void ScreenWindow::follow(mosaiqua::Document& document) {
    if (m_document != nullptr)
        m_document->removeObserver(m_observer);
    m_document = &document;
    // A load, a palette or a new character ROM change the frame; the viewers do not.
    m_observer = document.addObserver([this](DocumentChange change) {
        if (mosaiqua::Has(change,
                          DocumentChange::Memory | DocumentChange::Palette | DocumentChange::Settings))
            redraw();
    });
    redraw();
}

mosaiqua::ComposeOptions ScreenWindow::options() const {
    return {m_sprites->isChecked(), m_border->isChecked()};
}

QString ScreenWindow::statusText() const {
    return m_status->text();
}

void ScreenWindow::setStatusText(const QString& text) {
    m_status->setText(text);
}

void ScreenWindow::fitTo(const QRect& available) {
    m_available = available;
    const QSize room = available.size() - kControlsRoom;
    m_scale = std::clamp(
        std::min(room.width() / mosaiqua::kFrameWidth, room.height() / mosaiqua::kFrameHeight), 1, kMaxScale);
    redraw();
}

void ScreenWindow::showEvent(QShowEvent* event) {
    if (m_available.isNull())
        if (const QScreen* screen = this->screen())
            fitTo(screen->availableGeometry());
    QWidget::showEvent(event);
}

void ScreenWindow::redraw() {
    const bool hasState = m_document != nullptr && m_document->machineState().has_value();
    m_canvas->setVisible(hasState);
    m_save->setEnabled(hasState);
    m_sprites->setEnabled(hasState);
    m_border->setEnabled(hasState);
    if (!hasState) {
        m_picture = mosaiqua::Raster();
        m_message->setText(QStringLiteral("This file holds no machine state: only a snapshot of a C64 says "
                                          "what was on screen."));
        m_message->setVisible(true);
        return;
    }
    const bool romMissing = m_document->composeScreenInto(m_picture, options());
    m_message->setText(romMissing ? QStringLiteral("The %1: its glyphs are drawn blank.")
                                        .arg(QLatin1String(mosaiqua::kCharacterRomMissingText))
                                  : QString());
    m_message->setVisible(romMissing);
    m_canvas->setImage(RasterToImage(m_picture));
}

void ScreenWindow::hover(const QPoint& picturePoint) {
    if (m_document == nullptr || !m_document->machineState())
        return;
    m_status->setText(
        QString::fromStdString(m_document->describeScreenAt(options(), picturePoint.x(), picturePoint.y())));
}

void ScreenWindow::choose(const QPoint& picturePoint) {
    if (m_document == nullptr || !m_document->machineState())
        return;
    const mosaiqua::ScreenHit hit = m_document->hitTestScreen(options(), picturePoint.x(), picturePoint.y());
    const QString status =
        QString::fromStdString(m_document->chooseOnScreen(options(), picturePoint.x(), picturePoint.y()));
    if (status.isEmpty())
        return;
    m_status->setText(status);
    emit viewerMoved(hit.sprite                         ? MovedViewer::Sprite
                     : hit.cell && hit.cell->bitmapMode ? MovedViewer::Bitmap
                                                        : MovedViewer::CharSet,
                     status);
}
