// The Bitmap Ripper page: a 320 x 200 bitmap anywhere in memory with its screen memory and colour
// RAM, stepped like the other rippers and saved as a picture, Koala Painter or Art Studio file.
#include "ui/main_window/main_window.h"

#include "core/address_text.h"
#include "core/palettes.h"
#include "ui/desktop/platform.h"
#include "ui/desktop/raster_image.h"
#include "ui/widgets/raster_view.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

using mosaiqua::BitmapStep;

namespace {

QLabel* Text(QWidget* parent, const char* caption, QRect place) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setGeometry(place);
    return label;
}

QString Address(std::int32_t address) {
    return QString::fromStdString(mosaiqua::ScreenAddress(address));
}

} // namespace

void MainWindow::BuildBitmapPage(QWidget* page) {
    QGroupBox* controls = new QGroupBox(QStringLiteral(" Controls "), page);
    controls->setObjectName(QStringLiteral("BitmapControls"));
    controls->setGeometry(8, 8, 593, 81);

    Text(controls, "Bitmap:", QRect(8, 20, 45, 17));
    m_bitmapAddressLabel = new QLabel(controls);
    m_bitmapAddressLabel->setObjectName(QStringLiteral("BitmapAddressLabel"));
    m_bitmapAddressLabel->setGeometry(52, 20, 49, 17);
    const auto step = [this](BitmapStep s) { return [this, s] { StepBitmap(s); }; };
    Button(controls, "BitmapToBeginning", "|<", "Back To Beginning Of Memory", QRect(104, 16, 25, 25),
           step(BitmapStep::ToBeginning), true);
    Button(controls, "BitmapPrevious2000", "<<", "Back $2000 bytes", QRect(132, 16, 25, 25),
           step(BitmapStep::Previous2000), true);
    Button(controls, "BitmapPreviousRow", "<", "Back one character row ($0140 bytes)", QRect(160, 16, 25, 25),
           step(BitmapStep::PreviousRow));
    Button(controls, "BitmapMinus", "-", "Offset bitmap memory by -1 byte", QRect(188, 16, 17, 25),
           step(BitmapStep::MinusOneByte));
    Button(controls, "BitmapPlus", "+", "Offset bitmap memory by +1 byte", QRect(208, 16, 17, 25),
           step(BitmapStep::PlusOneByte));
    Button(controls, "BitmapNextRow", ">", "Forward one character row ($0140 bytes)", QRect(228, 16, 25, 25),
           step(BitmapStep::NextRow));
    Button(controls, "BitmapNext2000", ">>", "Forward $2000 bytes", QRect(256, 16, 25, 25),
           step(BitmapStep::Next2000), true);
    Button(controls, "BitmapToEnd", ">|", "Forward to $E000, the last bitmap the VIC can show",
           QRect(284, 16, 25, 25), step(BitmapStep::ToEnd), true);

    Text(controls, "Screen:", QRect(324, 20, 45, 17));
    m_bitmapScreenLabel = new QLabel(controls);
    m_bitmapScreenLabel->setObjectName(QStringLiteral("BitmapScreenLabel"));
    m_bitmapScreenLabel->setGeometry(368, 20, 49, 17);
    Button(controls, "BitmapScreenPrevious", "<", "Screen memory back $0400 bytes", QRect(420, 16, 25, 25),
           [this] { StepBitmapScreen(false); });
    Button(controls, "BitmapScreenNext", ">", "Screen memory forward $0400 bytes", QRect(448, 16, 25, 25),
           [this] { StepBitmapScreen(true); });

    m_bitmapMcm = new QToolButton(controls);
    m_bitmapMcm->setObjectName(QStringLiteral("BitmapMCM"));
    m_bitmapMcm->setText(QStringLiteral("MCM"));
    m_bitmapMcm->setToolTip(QStringLiteral("Click on / off to set bitmap multicolour mode on / off"));
    m_bitmapMcm->setCheckable(true);
    m_bitmapMcm->setGeometry(496, 20, 33, 17);
    connect(m_bitmapMcm, &QToolButton::clicked, this,
            [this] { Run([this] { m_document.setBitmapMulticolour(!m_document.bitmap().multicolour); }); });

    Text(controls, "Colour RAM:", QRect(8, 52, 70, 17));
    m_bitmapColourRam = new QComboBox(controls);
    m_bitmapColourRam->setObjectName(QStringLiteral("BitmapColourRam"));
    m_bitmapColourRam->addItems({QStringLiteral("The snapshot's"), QStringLiteral("Memory at")});
    m_bitmapColourRam->setGeometry(80, 49, 120, 23);
    m_bitmapColourRamAddress = new QLineEdit(controls);
    m_bitmapColourRamAddress->setObjectName(QStringLiteral("BitmapColourRamAddress"));
    m_bitmapColourRamAddress->setGeometry(204, 49, 60, 23);
    m_bitmapColourRamAddress->setToolTip(QStringLiteral("$hhhh, 0xhhhh or decimal"));
    connect(m_bitmapColourRam, &QComboBox::activated, this,
            [this] { Run([this] { ApplyBitmapColourRam(); }); });
    connect(m_bitmapColourRamAddress, &QLineEdit::editingFinished, this,
            [this] { Run([this] { ApplyBitmapColourRam(); }); });

    Text(controls, "Background:", QRect(280, 52, 70, 17));
    m_bitmapBackground = new QComboBox(controls);
    m_bitmapBackground->setObjectName(QStringLiteral("BitmapBackground"));
    m_bitmapBackground->setGeometry(352, 49, 130, 23);
    for (int code = 0; code < 16; ++code)
        m_bitmapBackground->addItem(
            QStringLiteral("%1 %2").arg(code).arg(QString::fromStdString(mosaiqua::ColourName(code))));
    connect(m_bitmapBackground, &QComboBox::activated, this,
            [this](int code) { Run([this, code] { m_document.setBitmapBackground(std::uint8_t(code)); }); });

    m_bitmapDoubleSize = new QCheckBox(QStringLiteral("&2x"), controls);
    m_bitmapDoubleSize->setObjectName(QStringLiteral("BitmapDoubleSize"));
    m_bitmapDoubleSize->setGeometry(496, 52, 49, 17);
    connect(m_bitmapDoubleSize, &QCheckBox::toggled, this,
            [this](bool on) { m_bitmapView->SetScale(on ? 2 : 1); });

    QGroupBox* pictureBox = new QGroupBox(QStringLiteral(" Bitmap (320 x 200) "), page);
    pictureBox->setObjectName(QStringLiteral("BitmapPictureBox"));
    pictureBox->setGeometry(8, 96, 593, 361);
    auto* scroll = new QScrollArea(pictureBox);
    scroll->setObjectName(QStringLiteral("BitmapScroll"));
    scroll->setGeometry(8, 20, 577, 333);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setFrameShape(QFrame::NoFrame);
    m_bitmapView = new RasterView(m_document.bitmapRaster(), nullptr);
    m_bitmapView->setObjectName(QStringLiteral("BitmapImage"));
    m_bitmapView->setMouseTracking(true);
    scroll->setWidget(m_bitmapView);
    connect(m_bitmapView, &RasterView::Hovered, this, [this](QPoint at) {
        const std::string text = m_document.describeBitmapAt(at.x(), at.y());
        if (!text.empty())
            SetStatus(QString::fromStdString(text));
    });
}

void MainWindow::ShowBitmap() {
    const mosaiqua::BitmapView& view = m_document.bitmap();
    m_bitmapAddressLabel->setText(Address(view.bitmap));
    m_bitmapScreenLabel->setText(Address(view.screen));
    m_bitmapMcm->setChecked(view.multicolour);
    m_bitmapMulticolourMode1->setChecked(view.multicolour);
    {
        const QSignalBlocker quiet(m_bitmapColourRam);
        m_bitmapColourRam->setCurrentIndex(view.colourRamAddress ? 1 : 0);
    }
    m_bitmapColourRamAddress->setEnabled(view.colourRamAddress.has_value());
    if (view.colourRamAddress)
        m_bitmapColourRamAddress->setText(Address(*view.colourRamAddress));
    // The list shows each code in the palette in force.
    const mosaiqua::PaletteTable& table = m_document.palette().codeTable();
    for (int code = 0; code < 16; ++code) {
        QPixmap swatch(12, 12);
        swatch.fill(ToQColor(table[std::size_t(code)]));
        m_bitmapBackground->setItemIcon(code, swatch);
    }
    m_bitmapBackground->setCurrentIndex(view.background & 15);
    m_bitmapView->update();
}

void MainWindow::StepBitmap(BitmapStep step) {
    m_document.stepBitmap(step);
}

void MainWindow::StepBitmapScreen(bool forward) {
    m_document.stepBitmapScreen(forward);
}

void MainWindow::ApplyBitmapColourRam() {
    if (m_bitmapColourRam->currentIndex() == 0) {
        m_document.setBitmapColourRam(std::nullopt);
        return;
    }
    if (const std::optional<std::int32_t> address =
            mosaiqua::ReadAddressText(m_bitmapColourRamAddress->text().toStdString())) {
        m_document.setBitmapColourRam(*address);
        return;
    }
    // Not an address yet: memory at the screen's next $0400 is where pictures keep it most often.
    const std::int32_t guess = std::min(m_document.bitmap().screen + mosaiqua::kScreenStride, 0xFC00);
    m_document.setBitmapColourRam(guess);
    SetStatus(QStringLiteral("Colour RAM read from %1: type an address to change it.").arg(Address(guess)));
}

void MainWindow::SaveBitmap(mosaiqua::BitmapFileKind kind) {
    const QString at = QString::fromStdString(mosaiqua::HexAddress(m_document.bitmap().bitmap));
    SaveFileRequest request;
    switch (kind) {
    case mosaiqua::BitmapFileKind::Koala:
        request.presetName = QStringLiteral("bitmap%1.kla").arg(at);
        request.defaultSuffix = QStringLiteral("kla");
        request.filters = QStringList{QStringLiteral("Koala Painter (*.kla *.koa)")};
        break;
    case mosaiqua::BitmapFileKind::ArtStudio:
        request.presetName = QStringLiteral("bitmap%1.art").arg(at);
        request.defaultSuffix = QStringLiteral("art");
        request.filters = QStringList{QStringLiteral("Art Studio (*.art)")};
        break;
    case mosaiqua::BitmapFileKind::Picture:
        request.presetName = QStringLiteral("bitmap%1.png").arg(at);
        request.defaultSuffix = QStringLiteral("png");
        request.filters =
            QStringList{QStringLiteral("PNG Image (*.png)"), QStringLiteral("Windows Bitmap (*.BMP)")};
        break;
    }
    const std::optional<QString> name = AskSaveName(request);
    if (!name)
        return;
    ApplySaveSettings();
    SetStatus(QString::fromStdString(m_document.saveBitmap(kind, name->toStdString()).status));
}

void MainWindow::ShowLoadedBitmap() {
    const mosaiqua::FileFormat format = m_document.loadedFile().format;
    const bool picture = format == mosaiqua::FileFormat::Koala || format == mosaiqua::FileFormat::ArtStudio;
    const bool bitmapScreen =
        m_document.followSnapshotOnOpen() && m_document.machineState() && m_document.ownBitmap().has_value();
    if (picture || bitmapScreen)
        m_pageControl->setCurrentWidget(m_bitmapSheet);
}

void MainWindow::ShowBitmapFromSnapshot() {
    const std::optional<mosaiqua::BitmapView> view = m_document.vicBitmap();
    if (!view)
        return;
    m_pageControl->setCurrentWidget(m_bitmapSheet);
    m_document.takeBitmap(*view);
    SetStatus(QStringLiteral("The VIC's bitmap at %1, screen at %2.")
                  .arg(Address(view->bitmap), Address(view->screen)));
}
