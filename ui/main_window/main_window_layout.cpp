// The window's controls, placed at fixed client coordinates.
#include "ui/main_window/main_window.h"

#include "ui/assets/artwork.h"
#include "ui/assets/fonts.h"
#include "ui/assets/version.h"
#include "ui/widgets/colour_swatch.h"
#include "ui/widgets/progress_bar.h"
#include "ui/widgets/raster_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

QFrame* Panel(QWidget* parent, const char* name, QRect place, QFrame::Shadow shadow = QFrame::Sunken) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | shadow);
    panel->setLineWidth(1);
    panel->setGeometry(place);
    return panel;
}

QGroupBox* Group(QWidget* parent, const char* name, const char* title, QRect place) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(place);
    return group;
}

QLabel* AddressLabel(QWidget* parent, const char* name, QPoint at) {
    auto* label = new QLabel(QStringLiteral("$0000"), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(AddressLabelFont());
    label->setGeometry(QRect(at, QSize(49, 17)));
    return label;
}

// A raster shown at 1:1 inside a bordered panel, its top-left corner 2 pixels in.
RasterView* FramedView(QWidget* parent, const char* panelName, QRect panelPlace, const char* viewName,
                       const mosaiqua::Raster& raster) {
    QFrame* panel = Panel(parent, panelName, panelPlace);
    auto* view = new RasterView(raster, panel);
    view->setObjectName(QString::fromLatin1(viewName));
    view->move(2, 2);
    return view;
}

QRect AroundRaster(QPoint at, const mosaiqua::Raster& raster) {
    return QRect(at, QSize(raster.width() + 4, raster.height() + 4));
}

QToolButton* SpeedButton(QWidget* parent, const char* name, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QStringLiteral("MCM"));
    button->setToolTip(QString::fromLatin1(hint));
    button->setCheckable(true);
    button->setGeometry(8, 16, 33, 17);
    return button;
}

QLabel* Picture(QWidget* parent, const char* name, QPoint at, const QPixmap& pixmap) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(QRect(at, QSize(17, 17)));
    picture->setPixmap(pixmap);
    return picture;
}

constexpr const char* kMulticolourHint = "Click on / off to set sprite multicolour mode on / off";
constexpr const char* kBackgroundHint = "Click to set sprite background colour";
constexpr const char* kColour1Hint = "Click to set sprite multicolour 1 colour";
constexpr const char* kColour2Hint = "Click to choose sprite colour";
constexpr const char* kColour3Hint = "Click to set sprite multicolour 2 colour";
constexpr const char* kMinusHint = "Offset sprite memory by -1 byte";
constexpr const char* kPlusHint = "Offset sprite memory by +1 byte";

} // namespace

std::function<void()> MainWindow::StepsSprite(mosaiqua::SpriteStep step) {
    return [this, step] { StepSprite(step); };
}

std::function<void()> MainWindow::StepsCharSet(mosaiqua::CharSetStep step) {
    return [this, step] { StepCharSet(step); };
}

QPushButton* MainWindow::Button(QWidget* parent, const char* name, const char* caption, const char* hint,
                                QRect place, std::function<void()> command, bool bold) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    if (hint != nullptr)
        button->setToolTip(QString::fromLatin1(hint));
    button->setGeometry(place);
    if (bold) {
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
    }
    connect(button, &QPushButton::clicked, this, [this, command] { Run(command); });
    return button;
}

void MainWindow::BuildWindow() {
    // Group captions sit on the frame line, so children placed 16 pixels down are inside it.
    setStyleSheet(QStringLiteral("QGroupBox { border: 2px groove palette(mid); margin-top: 6px; }"
                                 "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0px; }"));
    m_controlBar1 = new QWidget(this);
    m_controlBar1->setObjectName(QStringLiteral("ControlBar1"));
    m_controlBar1->setGeometry(0, 0, 624, 26);

    Panel(this, "Panel10", QRect(2, 27, 621, 500));

    m_pageControl = new QTabWidget(this);
    m_pageControl->setObjectName(QStringLiteral("PageControl"));
    m_pageControl->setGeometry(4, 28, 617, 497);
    m_pageControl->setFocusPolicy(Qt::NoFocus);
    m_pageControl->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_pageControl->tabBar()->setAttribute(Qt::WA_Hover);
    m_spriteSheet = new QWidget;
    m_spriteSheet->setObjectName(QStringLiteral("SpriteSheet"));
    m_charSheet = new QWidget;
    m_charSheet->setObjectName(QStringLiteral("CharSheet"));
    m_pageControl->addTab(m_spriteSheet, QStringLiteral("Sprite Ripper"));
    m_bitmapSheet = new QWidget;
    m_bitmapSheet->setObjectName(QStringLiteral("BitmapSheet"));
    m_pageControl->addTab(m_charSheet, QStringLiteral("CharSet Ripper"));
    m_pageControl->addTab(m_bitmapSheet, QStringLiteral("Bitmap Ripper"));
    BuildSpritePage(m_spriteSheet);
    BuildCharSetPage(m_charSheet);
    BuildBitmapPage(m_bitmapSheet);
    m_pageControl->setCurrentWidget(m_spriteSheet);

    auto* version = new QLabel(QString::fromLatin1(kVersionText), this);
    version->setObjectName(QStringLiteral("StaticText1"));
    version->setGeometry(556, 32, 63, 13);
    version->raise();

    BuildStatusBar();
}

void MainWindow::BuildSpritePage(QWidget* page) {
    QGroupBox* controls = Group(page, "GroupBox4", " Controls ", QRect(8, 8, 593, 57));
    m_mcm = SpeedButton(controls, "MCM", kMulticolourHint);
    connect(m_mcm, &QToolButton::clicked, this, [this] { Run([this] { SpriteModeClicked(); }); });

    // The swatches start with their design colours; creation then resets them.
    m_back = new ColourSwatch(QStringLiteral("Back"), mosaiqua::kDesignColours.background, controls);
    m_back->move(40, 16);
    m_back->setToolTip(QString::fromLatin1(kBackgroundHint));
    connect(m_back, &ColourSwatch::Clicked, this, [this] { Run([this] { EditSpriteBackground(); }); });
    m_col1 = new ColourSwatch(QStringLiteral("Col1"), mosaiqua::kDesignColours.multicolour1, controls);
    m_col1->move(40, 32);
    m_col2 = new ColourSwatch(QStringLiteral("Col2"), mosaiqua::kDesignColours.main, controls);
    m_col2->move(104, 16);
    m_col3 = new ColourSwatch(QStringLiteral("Col3"), mosaiqua::kDesignColours.multicolour2, controls);
    m_col3->move(104, 32);

    Button(controls, "Button5", "Col 1", kColour1Hint, QRect(8, 32, 33, 17),
           [this] { EditSpriteMulticolour1(); });
    Button(controls, "Button6", "Col 2", kColour2Hint, QRect(72, 16, 33, 17),
           [this] { EditSpriteMainColour(); });
    Button(controls, "Button7", "Col 3", kColour3Hint, QRect(72, 32, 33, 17),
           [this] { EditSpriteMulticolour2(); });
    Button(controls, "Button10", "|<", "Back To Beginning Of Memory", QRect(144, 16, 25, 33),
           StepsSprite(mosaiqua::SpriteStep::ToBeginning), true);
    Button(controls, "Button4", "<<", "Back $1000 bytes", QRect(184, 16, 25, 33),
           StepsSprite(mosaiqua::SpriteStep::Previous1000), true);
    Button(controls, "Button2", "<", "Previous Sprite", QRect(224, 16, 33, 33),
           StepsSprite(mosaiqua::SpriteStep::PreviousSprite));
    Button(controls, "Button8", "-", kMinusHint, QRect(272, 16, 17, 17),
           StepsSprite(mosaiqua::SpriteStep::MinusOneByte));
    Button(controls, "Button9", "+", kPlusHint, QRect(288, 32, 17, 17),
           StepsSprite(mosaiqua::SpriteStep::PlusOneByte));
    Button(controls, "Button1", ">", "Next Sprite", QRect(320, 16, 33, 33),
           StepsSprite(mosaiqua::SpriteStep::NextSprite));
    Button(controls, "Button3", ">>", "Forward $1000 bytes", QRect(368, 16, 25, 33),
           StepsSprite(mosaiqua::SpriteStep::Next1000), true);
    Button(
        controls, "Button11", ">|", "Forward To End Of Memory", QRect(408, 16, 25, 33),
        [this] { SpriteToEnd(); }, true);
    Picture(controls, "Image1", QPoint(272, 32), BentArrowPixmap(false));
    Picture(controls, "Image2", QPoint(288, 16), BentArrowPixmap(true));

    QGroupBox* current = Group(page, "GroupBox2", " Current Sprite ", QRect(8, 80, 241, 89));
    m_label1 = AddressLabel(current, "Label1", QPoint(96, 24));
    m_spriteActualView = FramedView(current, "SpriteActualPanel",
                                    AroundRaster({104, 48}, m_document.spriteRasters().SpriteActual),
                                    "SpriteActual", m_document.spriteRasters().SpriteActual);

    QGroupBox* strip = Group(page, "GroupBox3", " Next 7 sprites (actual size) ", QRect(264, 80, 337, 89));
    m_label2 = AddressLabel(strip, "Label2", QPoint(110, 24));
    auto* dash = new QLabel(QStringLiteral("-"), strip);
    dash->setObjectName(QStringLiteral("StripDash"));
    dash->setFont(AddressLabelFont());
    dash->setGeometry(161, 24, 13, 17);
    m_label3 = AddressLabel(strip, "Label3", QPoint(177, 24));
    m_scanImageView =
        FramedView(strip, "ScanImagePanel", AroundRaster({80, 48}, m_document.spriteRasters().ScanImage),
                   "ScanImage", m_document.spriteRasters().ScanImage);

    QGroupBox* preview =
        Group(page, "GroupBox1", " Current Sprite Preview (enlarged x10) ", QRect(8, 184, 593, 273));
    m_spriteBigView =
        FramedView(preview, "SpriteBigPanel", AroundRaster({171, 32}, m_document.spriteRasters().SpriteBig),
                   "SpriteBig", m_document.spriteRasters().SpriteBig);
    QFrame* picturePanel = Panel(preview, "Image5Panel", QRect(524, 23, 49 + 4, 233 + 4));
    auto* image5 = new QLabel(picturePanel);
    image5->setObjectName(QStringLiteral("Image5"));
    image5->setGeometry(2, 2, 49, 233);
    image5->setScaledContents(true);
    image5->setPixmap(DecorativePixmap());
    picturePanel->installEventFilter(this);
    image5->installEventFilter(this);
}

void MainWindow::BuildCharSetPage(QWidget* page) {
    QGroupBox* controls = Group(page, "GroupBox5", " Controls ", QRect(8, 8, 593, 57));
    m_cmcm = SpeedButton(controls, "CMCM", kMulticolourHint);
    connect(m_cmcm, &QToolButton::clicked, this,
            [this] { Run([this] { m_document.setCharSetMulticolour(!m_document.charSet().multicolour); }); });

    m_cBack = new ColourSwatch(QStringLiteral("CBack"), mosaiqua::kDesignColours.background, controls);
    m_cBack->move(40, 16);
    m_cBack->setToolTip(QString::fromLatin1(kBackgroundHint));
    connect(m_cBack, &ColourSwatch::Clicked, this, [this] { Run([this] { EditCharSetBackground(); }); });
    m_cCol1 = new ColourSwatch(QStringLiteral("CCol1"), mosaiqua::kDesignColours.multicolour1, controls);
    m_cCol1->move(40, 32);
    m_cCol2 = new ColourSwatch(QStringLiteral("CCol2"), mosaiqua::kDesignColours.main, controls);
    m_cCol2->move(104, 16);
    m_cCol3 = new ColourSwatch(QStringLiteral("CCol3"), mosaiqua::kDesignColours.multicolour2, controls);
    m_cCol3->move(104, 32);

    Button(controls, "ButCol1", "Col 1", kColour1Hint, QRect(8, 32, 33, 17),
           [this] { EditCharSetMulticolour1(); });
    Button(controls, "ButCol2", "Col 2", kColour2Hint, QRect(72, 16, 33, 17),
           [this] { EditCharSetMainColour(); });
    Button(controls, "ButCol3", "Col 3", kColour3Hint, QRect(72, 32, 33, 17),
           [this] { EditCharSetMulticolour2(); });
    Button(controls, "CSL1", "<", "Back $0800 Bytes", QRect(152, 16, 33, 33),
           StepsCharSet(mosaiqua::CharSetStep::Previous0800));
    Button(controls, "CSMinus", "-", kMinusHint, QRect(200, 16, 17, 17),
           StepsCharSet(mosaiqua::CharSetStep::MinusOneByte));
    Button(controls, "CSPlus", "+", kPlusHint, QRect(216, 32, 17, 17),
           StepsCharSet(mosaiqua::CharSetStep::PlusOneByte));
    Button(controls, "CSR1", ">", "Forward $0800 Bytes", QRect(248, 16, 33, 33),
           StepsCharSet(mosaiqua::CharSetStep::Next0800));
    Button(controls, "CharRefresh", "&Refresh", nullptr, QRect(296, 16, 65, 33),
           [this] { RefreshCharSets(); });
    Picture(controls, "Image3", QPoint(216, 16), BentArrowPixmap(true));
    Picture(controls, "Image4", QPoint(200, 32), BentArrowPixmap(false));

    QGroupBox* views = Group(page, "GroupBox6", " Current CharSet (Various Views) ", QRect(8, 80, 593, 377));
    auto viewPanel = [&](const char* name, QRect place, const char* boxName, const char* boxCaption,
                         const char* labelName, int labelLeft) {
        QFrame* panel = Panel(views, name, place);
        auto* box = new QCheckBox(QString::fromLatin1(boxCaption), panel);
        box->setObjectName(QString::fromLatin1(boxName));
        box->setGeometry(8, 8, 129, 17);
        QLabel* label = AddressLabel(panel, labelName, QPoint(labelLeft, 8));
        return std::pair{panel, std::pair{box, label}};
    };

    auto [panel9, view8x8] =
        viewPanel("Panel9", QRect(8, 24, 305, 225), "Check8x8", "8 x 8 View Enabled", "CS8x8Label", 248);
    std::tie(m_check8x8, m_cs8x8Label) = view8x8;
    m_charSetImageView = FramedView(panel9, "Panel4", QRect(24, 80, 249, 81), "CharSetImage",
                                    m_document.charSetRasters().CharSetImage);

    auto [panel8, view8x16] =
        viewPanel("Panel8", QRect(320, 24, 265, 225), "Check8x16", "8 x 16 View Enabled", "CS8x16Label", 208);
    std::tie(m_check8x16, m_cs8x16Label) = view8x16;
    m_charSetImage8x16View = FramedView(panel8, "Panel7", QRect(8, 48, 249, 153), "CharSetImage8x16",
                                        m_document.charSetRasters().CharSetImage8x16);

    auto [panel12, view16x16] = viewPanel("Panel12", QRect(8, 256, 577, 105), "Check16x16",
                                          "16 x 16 View Enabled", "CS16x16Label", 520);
    std::tie(m_check16x16, m_cs16x16Label) = view16x16;
    m_charSetImage16x16View = FramedView(panel12, "Panel6", QRect(44, 32, 489, 56), "CharSetImage16x16",
                                         m_document.charSetRasters().CharSetImage16x16);

    // The boxes show the document's views; they report only what the user does.
    connect(m_check8x8, &QCheckBox::toggled, this, [this](bool checked) {
        Run([this, checked] { m_document.setCharSetViewEnabled(mosaiqua::CharSetViewKind::cv8x8, checked); });
    });
    connect(m_check16x16, &QCheckBox::toggled, this, [this](bool checked) {
        Run([this, checked] {
            m_document.setCharSetViewEnabled(mosaiqua::CharSetViewKind::cv16x16, checked);
        });
    });
    connect(m_check8x16, &QCheckBox::toggled, this, [this](bool checked) {
        Run([this, checked] {
            m_document.setCharSetViewEnabled(mosaiqua::CharSetViewKind::cv8x16, checked);
        });
    });
}

void MainWindow::BuildStatusBar() {
    m_statusBar1 = new QStatusBar(this);
    m_statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar1->setSizeGripEnabled(false);
    m_statusBar1->setGeometry(0, 528, 624, 21);
    const int widths[] = {386, 50};
    for (int i = 0; i < 2; ++i) {
        auto* panel = new QLabel(m_statusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedWidth(widths[i]);
        m_statusBar1->addWidget(panel);
        if (i == 0)
            m_statusPanel0 = panel;
    }

    auto* progress = new SmoothProgressBar(this);
    progress->setObjectName(QStringLiteral("ProgressBar1"));
    progress->setGeometry(393, 534, 226, 10);
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->raise();
    m_progressBar1 = progress;
}
