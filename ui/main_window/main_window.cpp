// Creation of the main window, and how it shows the document it is given.
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
#include <QSignalBlocker>
#include <QToolButton>

using mosaiqua::CharSetViewKind;
using mosaiqua::DocumentChange;

namespace {

QString ScreenText(std::int64_t address) {
    return QString::fromStdString(mosaiqua::ScreenAddress(address));
}

constexpr Qt::WindowFlags kFixedWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

} // namespace

MainWindow::MainWindow(Platform& platform, mosaiqua::Document& document, QWidget* parent)
    : QWidget(parent, kFixedWindowFlags), m_platform(platform), m_document(document) {
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
    setAcceptDrops(true);

    for (QLabel* label : {m_label1, m_label2, m_label3, m_cs8x8Label, m_cs8x16Label, m_cs16x16Label})
        label->setText(QStringLiteral("$0000"));
    // The views were drawn when the document was made; the bar shows that drawing's size.
    m_progressBar1->setRange(
        0, mosaiqua::PlanCharSetRefresh({true, true, true}, m_document.charSet().enabled).progressTotal);
    m_progressBar1->setValue(0);
    FollowCharSetDrawing();
    m_observer = m_document.addObserver([this](DocumentChange change) { Show(change); });
    ShowSprite();
    ShowCharSet();
    ShowBitmap();
    ShowColours();
    ShowSettings();
}

MainWindow::~MainWindow() {
    m_document.removeObserver(m_observer);
    m_document.setCharSetDrawing({});
    // The bar mirrors MainMenu1; it goes first so it never points at a destroyed menu.
    delete m_menuBar;
    m_menuBar = nullptr;
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

// ---- Showing the document -----------------------------------------------------------------------

void MainWindow::Show(DocumentChange change) {
    if (mosaiqua::Has(change, DocumentChange::SpriteView))
        ShowSprite();
    if (mosaiqua::Has(change, DocumentChange::CharSetView))
        ShowCharSet();
    if (mosaiqua::Has(change, DocumentChange::BitmapView))
        ShowBitmap();
    if (mosaiqua::Has(change, DocumentChange::Colours))
        ShowColours();
    if (mosaiqua::Has(change, DocumentChange::Palette | DocumentChange::Settings))
        ShowSettings();
}

void MainWindow::ShowSprite() {
    const mosaiqua::SpriteViewer& sprite = m_document.sprite();
    const mosaiqua::SpriteLabelTexts labels = mosaiqua::SpriteLabelsFor(sprite.address);
    m_label1->setText(QString::fromStdString(labels.label1));
    if (labels.label2)
        m_label2->setText(QString::fromStdString(*labels.label2));
    if (labels.label3)
        m_label3->setText(QString::fromStdString(*labels.label3));
    m_mcm->setChecked(sprite.multicolour);
    m_multicolourMode1->setChecked(sprite.multicolour);
    m_spriteActualView->update();
    m_spriteBigView->update();
    m_scanImageView->update();
}

void MainWindow::ShowCharSet() {
    const mosaiqua::CharSetViewer& charSet = m_document.charSet();
    m_cmcm->setChecked(charSet.multicolour);
    m_charSetMulticolourModeEnable1->setChecked(charSet.multicolour);
    for (CharSetViewKind kind : mosaiqua::kRefreshOrder) {
        const bool enabled = kind == CharSetViewKind::cv8x8    ? charSet.enabled.view8x8
                             : kind == CharSetViewKind::cv8x16 ? charSet.enabled.view8x16
                                                               : charSet.enabled.view16x16;
        // Set, not clicked: the box reports only what the user does.
        const QSignalBlocker quiet(ViewBox(kind));
        ViewBox(kind)->setChecked(enabled);
        ViewMark(kind)->setChecked(enabled);
    }
    if (!m_charSetDrawn)
        return;
    m_charSetDrawn = false;
    const QString address = ScreenText(charSet.address);
    if (charSet.enabled.view8x8)
        m_cs8x8Label->setText(address);
    if (charSet.enabled.view16x16)
        m_cs16x16Label->setText(address);
    if (charSet.enabled.view8x16)
        m_cs8x16Label->setText(address);
    for (CharSetViewKind kind : mosaiqua::kRefreshOrder)
        // An image paints all its pixels, so repainting the window around it does not reach it.
        CharSetView(kind)->update();
    m_progressBar1->setValue(0);
    m_progressBar1->setUpdatesEnabled(true);
    SetStatus(QStringLiteral("OK.."));
    // Painted as soon as the command returns to the event loop; a byte step held down on the
    // keyboard then costs no full repaint per step.
    update();
}

void MainWindow::FollowCharSetDrawing() {
    mosaiqua::CharSetDrawing drawing;
    drawing.starting = [this](const mosaiqua::CharSetRefreshPlan& plan) {
        m_charSetDrawn = true;
        m_progressBar1->setRange(0, plan.progressTotal);
        m_progressBar1->setValue(0);
        if (plan.progressTotal != 0) {
            SetStatus(QStringLiteral("Working...."));
            m_statusPanel0->repaint();
        }
        // The drawing takes well under a millisecond; a bar repainting at once as it grows would
        // cost more than the drawing itself.
        m_progressBar1->setUpdatesEnabled(false);
    };
    drawing.rowsDrawn = [bar = static_cast<SmoothProgressBar*>(m_progressBar1)](int rows) {
        bar->Advance(rows);
    };
    m_document.setCharSetDrawing(std::move(drawing));
}

void MainWindow::ShowColours() {
    const mosaiqua::ColourSlots& sprite = m_document.sprite().colours;
    m_back->SetColour(sprite.background);
    m_col1->SetColour(sprite.multicolour1);
    m_col2->SetColour(sprite.main);
    m_col3->SetColour(sprite.multicolour2);
    const mosaiqua::ColourSlots& charSet = m_document.charSet().colours;
    m_cBack->SetColour(charSet.background);
    m_cCol1->SetColour(charSet.multicolour1);
    m_cCol2->SetColour(charSet.main);
    m_cCol3->SetColour(charSet.multicolour2);
}

void MainWindow::ShowSettings() {
    ShowPaletteMarks();
    m_skipFirst1148BytesOfFile1->setChecked(m_document.loadOptions().skipHeader);
    m_detectFileFormat1->setChecked(m_document.loadOptions().detectFormat);
    m_transparentBackgroundInPng1->setChecked(m_document.saveSettings().transparentBackground);
}

QCheckBox* MainWindow::ViewBox(CharSetViewKind kind) const {
    switch (kind) {
    case CharSetViewKind::cv8x8:
        return m_check8x8;
    case CharSetViewKind::cv8x16:
        return m_check8x16;
    case CharSetViewKind::cv16x16:
        break;
    }
    return m_check16x16;
}

QAction* MainWindow::ViewMark(CharSetViewKind kind) const {
    switch (kind) {
    case CharSetViewKind::cv8x8:
        return m_n8x8CharSetView1;
    case CharSetViewKind::cv8x16:
        return m_n8x16CharSetViewEnabled1;
    case CharSetViewKind::cv16x16:
        break;
    }
    return m_n16x16CharSetViewEnabled1;
}

RasterView* MainWindow::CharSetView(CharSetViewKind kind) const {
    switch (kind) {
    case CharSetViewKind::cv8x8:
        return m_charSetImageView;
    case CharSetViewKind::cv8x16:
        return m_charSetImage8x16View;
    case CharSetViewKind::cv16x16:
        break;
    }
    return m_charSetImage16x16View;
}

void MainWindow::BuildSecondaryWindows() {
    m_windows.aboutBox = new AboutBox(this);
    m_windows.helpWindow = new HelpWindow(this);
    m_windows.palettePicker = new PalettePicker(this);
    m_windows.spriteRangeDialog = new SpriteRangeDialog(this);
    m_windows.saveSettingsDialog = new SaveSettingsDialog(this);
    m_windows.foldersDialog = new FoldersDialog(m_platform, this);
    // The folders the dialog starts with, then each one picked.
    m_document.setFolders({m_windows.foldersDialog->FreezeDirectory().toStdString(),
                           m_windows.foldersDialog->BitmapDirectory().toStdString()});
    connect(m_windows.foldersDialog, &FoldersDialog::FreezeDirectoryPicked, this,
            [this](const QString& folder) {
                mosaiqua::Folders folders = m_document.folders();
                folders.freeze = folder.toStdString();
                m_document.setFolders(folders);
            });
    connect(m_windows.foldersDialog, &FoldersDialog::BitmapDirectoryPicked, this,
            [this](const QString& folder) {
                mosaiqua::Folders folders = m_document.folders();
                folders.bitmap = folder.toStdString();
                m_document.setFolders(folders);
            });
    AddStayOnTopFollower(m_windows.palettePicker);
    BuildMemoryWindows();
    BuildScreenWindow();
}

QString MainWindow::FreezeDirectory() const {
    return QString::fromStdString(m_document.folders().freeze);
}

QString MainWindow::BitmapDirectory() const {
    return QString::fromStdString(m_document.folders().bitmap);
}
