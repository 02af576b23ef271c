// Creation of the main window and the drawing routines its commands share.
#include "ui/main_window/main_window.h"

#include "core/address_text.h"
#include "ui/assets/artwork.h"
#include "ui/components/stmenubar.h"
#include "ui/desktop/command_guard.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/folders_dialog.h"
#include "ui/dialogs/help_window.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/dialogs/save_settings_dialog.h"
#include "ui/dialogs/sprite_range_dialog.h"
#include "ui/widgets/colour_swatch.h"
#include "ui/widgets/progress_bar.h"
#include "ui/widgets/raster_view.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QToolButton>

namespace {

QString ScreenText(std::int64_t address) {
    return QString::fromStdString(mosaiqua::ScreenAddress(address));
}

constexpr Qt::WindowFlags kFixedWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

} // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, kFixedWindowFlags), m_platform(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setWindowIcon(ProgramIcon());
    setFixedSize(624, 549);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    BuildWindow();
    BuildCommands();
    BuildMenuBar();
    BuildSecondaryWindows();

    for (QLabel* label : {m_label1, m_label2, m_label3, m_cs8x8Label, m_cs8x16Label, m_cs16x16Label})
        label->setText(QStringLiteral("$0000"));
    m_image.SpriteAddress = 0;
    m_savedSpriteAddress = 0;
    m_image.CharSetAddress = 0;
    m_charSetProgressTotal = 0;
    m_charSetRasters.CharSetImage16x16.fill(0x000000);
    m_charSetRasters.CharSetImage8x16.fill(0x000000);
    ResetSpriteColours();
    DrawCurrentSprite();
    DrawNextSevenSprites();
    RefreshCharSetViews(true, true, true, false);
}

MainWindow::~MainWindow() {
    // The bar mirrors MainMenu1; it goes first so it never points at a destroyed menu.
    delete m_menuBar;
    m_menuBar = nullptr;
}

mosaiqua::ColourSlots MainWindow::SpriteColours() const {
    return {m_back->Colour(), m_col1->Colour(), m_col2->Colour(), m_col3->Colour()};
}

mosaiqua::ColourSlots MainWindow::CharSetColours() const {
    return {m_cBack->Colour(), m_cCol1->Colour(), m_cCol2->Colour(), m_cCol3->Colour()};
}

void MainWindow::SetSpriteColours(const mosaiqua::ColourSlots& colours) {
    m_back->SetColour(colours.background);
    m_col1->SetColour(colours.multicolour1);
    m_col2->SetColour(colours.main);
    m_col3->SetColour(colours.multicolour2);
}

void MainWindow::SetCharSetColours(const mosaiqua::ColourSlots& colours) {
    m_cBack->SetColour(colours.background);
    m_cCol1->SetColour(colours.multicolour1);
    m_cCol2->SetColour(colours.main);
    m_cCol3->SetColour(colours.multicolour2);
}

mosaiqua::PaletteKind MainWindow::CurrentPaletteKind() const {
    return m_palette;
}

bool MainWindow::SpriteMulticolour() const {
    return m_mcm->isChecked();
}
bool MainWindow::CharSetMulticolour() const {
    return m_cmcm->isChecked();
}
QString MainWindow::StatusText() const {
    return m_statusPanel0->text();
}

void MainWindow::SetStatus(const QString& text) {
    m_statusPanel0->setText(text);
    emit StatusTextChanged(text);
}

void MainWindow::AddStayOnTopFollower(QWidget* window) {
    m_stayOnTopFollowers.emplace_back(window);
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, StaysOnTop());
    if (visible)
        window->show();
}

bool MainWindow::StaysOnTop() const {
    return m_alwaysOnTop1->isChecked();
}

void MainWindow::ApplyStayOnTop(bool onTop) {
    std::vector<QWidget*> windows{this};
    for (const QPointer<QWidget>& follower : m_stayOnTopFollowers)
        if (follower)
            windows.push_back(follower.data());
    for (QWidget* window : windows) {
        // Changing the flags hides a window; put back what was showing.
        const bool visible = window->isVisible();
        window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (visible)
            window->show();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched->objectName() == QLatin1String("Image5") ||
         watched->objectName() == QLatin1String("Image5Panel"))) {
        Run([this] { OpenHomePage(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit Closed();
}

void MainWindow::DrawCurrentSprite() {
    const mosaiqua::SpriteLabelTexts labels = mosaiqua::SpriteLabelsFor(m_image.SpriteAddress);
    m_label1->setText(QString::fromStdString(labels.label1));
    if (labels.label2)
        m_label2->setText(QString::fromStdString(*labels.label2));
    if (labels.label3)
        m_label3->setText(QString::fromStdString(*labels.label3));
    mosaiqua::DrawCurrentSpriteRasters(m_spriteRasters, m_image, m_image.SpriteAddress, SpriteMulticolour(),
                                       SpriteColours());
    m_spriteActualView->update();
    m_spriteBigView->update();
    FollowInOverview();
}

void MainWindow::DrawNextSevenSprites() {
    mosaiqua::DrawNextSevenSpriteRasters(m_spriteRasters, m_image, m_image.SpriteAddress, SpriteMulticolour(),
                                         SpriteColours());
    m_scanImageView->update();
}

void MainWindow::RefreshSpriteViews() {
    DrawCurrentSprite();
    DrawNextSevenSprites();
    repaint();
}

QCheckBox* MainWindow::ViewBox(mosaiqua::CharSetViewKind kind) const {
    switch (kind) {
    case mosaiqua::CharSetViewKind::cv8x8:
        return m_check8x8;
    case mosaiqua::CharSetViewKind::cv8x16:
        return m_check8x16;
    case mosaiqua::CharSetViewKind::cv16x16:
        break;
    }
    return m_check16x16;
}

RasterView* MainWindow::CharSetView(mosaiqua::CharSetViewKind kind) const {
    switch (kind) {
    case mosaiqua::CharSetViewKind::cv8x8:
        return m_charSetImageView;
    case mosaiqua::CharSetViewKind::cv8x16:
        return m_charSetImage8x16View;
    case mosaiqua::CharSetViewKind::cv16x16:
        break;
    }
    return m_charSetImage16x16View;
}

void MainWindow::RefreshCharSetViews(bool draw8x8, bool draw16x16, bool draw8x16, bool showStatus) {
    using mosaiqua::CharSetViewKind;
    const mosaiqua::CharSetViewFlags enabled{m_check8x8->isChecked(), m_check16x16->isChecked(),
                                             m_check8x16->isChecked()};
    const mosaiqua::CharSetRefreshPlan plan =
        mosaiqua::PlanCharSetRefresh({draw8x8, draw16x16, draw8x16}, enabled);
    m_charSetProgressTotal = plan.progressTotal;
    m_progressBar1->setRange(0, m_charSetProgressTotal);
    m_progressBar1->setValue(0);
    if (m_charSetProgressTotal != 0 && showStatus) {
        SetStatus(QStringLiteral("Working...."));
        m_statusPanel0->repaint();
    }

    const mosaiqua::ColourSlots colours = CharSetColours();
    const bool multicolour = CharSetMulticolour();
    auto advance = [bar = static_cast<SmoothProgressBar*>(m_progressBar1)](int rows) { bar->Advance(rows); };
    const mosaiqua::StepNotification step(advance);
    // The drawing takes well under a millisecond; a bar repainting at once as it grows would cost
    // more than the drawing itself.
    m_progressBar1->setUpdatesEnabled(false);
    for (CharSetViewKind kind : mosaiqua::kRefreshOrder) {
        const bool wanted = (kind == CharSetViewKind::cv8x8 && plan.draw8x8) ||
                            (kind == CharSetViewKind::cv16x16 && plan.draw16x16) ||
                            (kind == CharSetViewKind::cv8x16 && plan.draw8x16);
        if (!wanted)
            continue;
        mosaiqua::RenderCharSetView(kind, m_image, m_image.CharSetAddress, colours, multicolour,
                                    m_charSetRasters.of(kind), step);
        // An image paints all its pixels, so repainting the window around it does not reach it.
        CharSetView(kind)->update();
    }

    const QString address = ScreenText(m_image.CharSetAddress);
    if (enabled.view8x8)
        m_cs8x8Label->setText(address);
    if (enabled.view16x16)
        m_cs16x16Label->setText(address);
    if (enabled.view8x16)
        m_cs8x16Label->setText(address);
    m_progressBar1->setValue(0);
    m_progressBar1->setUpdatesEnabled(true);
    if (showStatus)
        SetStatus(QStringLiteral("OK.."));
    FollowInOverview();
    // Painted as soon as the command returns to the event loop, which the caller does next; a
    // byte step held down on the keyboard then costs no full repaint per step.
    update();
}

void MainWindow::BuildSecondaryWindows() {
    m_windows.aboutBox = new AboutBox(this);
    m_windows.helpWindow = new HelpWindow(this);
    m_windows.palettePicker = new PalettePicker(this);
    m_windows.spriteRangeDialog = new SpriteRangeDialog(this);
    m_windows.saveSettingsDialog = new SaveSettingsDialog(this);
    m_windows.foldersDialog = new FoldersDialog(m_platform, this);
    AddStayOnTopFollower(m_windows.palettePicker);
    BuildMemoryWindows();
}

QString MainWindow::FreezeDirectory() const {
    return m_windows.foldersDialog->FreezeDirectory();
}

QString MainWindow::BitmapDirectory() const {
    return m_windows.foldersDialog->BitmapDirectory();
}
