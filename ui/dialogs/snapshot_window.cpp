#include "ui/dialogs/snapshot_window.h"

#include "core/sprite_render.h"
#include "ui/desktop/raster_image.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace mosaiqua;

namespace {

constexpr int kThumbScale = 2;

QString Hex(std::int32_t value, int digits = 4) {
    return QStringLiteral("$%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

const char* const kColourNames[16] = {
    "black",  "white", "red",       "cyan",      "purple", "green",       "blue",       "yellow",
    "orange", "brown", "light red", "dark grey", "grey",   "light green", "light blue", "light grey"};

QString ColourText(std::uint8_t code) {
    return QStringLiteral("%1 (%2)").arg(code).arg(QLatin1String(kColourNames[code & 15]));
}

QLabel* Value(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

SnapshotWindow::SnapshotWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SnapshotWindow"));
    setWindowTitle(QStringLiteral("Snapshot"));
    auto* layout = new QVBoxLayout(this);

    m_noState = new QLabel(QStringLiteral("This file holds no machine state: only a VICE snapshot of a C64 "
                                          "says what was on screen."),
                           this);
    m_noState->setObjectName(QStringLiteral("noStateLabel"));
    m_noState->setWordWrap(true);
    layout->addWidget(m_noState);

    m_details = new QWidget(this);
    m_details->setObjectName(QStringLiteral("details"));
    auto* details = new QVBoxLayout(m_details);
    details->setContentsMargins(0, 0, 0, 0);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Bank:"), m_bank = Value(m_details, "bankValue"));
    form->addRow(QStringLiteral("Screen:"), m_screen = Value(m_details, "screenValue"));
    form->addRow(QStringLiteral("Character set:"), m_charSet = Value(m_details, "charSetValue"));
    form->addRow(QStringLiteral("Mode:"), m_mode = Value(m_details, "modeValue"));
    form->addRow(QStringLiteral("Border:"), m_border = Value(m_details, "borderValue"));
    form->addRow(QStringLiteral("Background:"), m_background = Value(m_details, "backgroundValue"));
    details->addLayout(form);

    m_sprites = new QTreeWidget(m_details);
    m_sprites->setObjectName(QStringLiteral("spriteList"));
    m_sprites->setRootIsDecorated(false);
    m_sprites->setUniformRowHeights(true);
    m_sprites->setIconSize(QSize(kSpriteWidth * kThumbScale, kSpriteHeight * kThumbScale));
    m_sprites->setHeaderLabels({QStringLiteral("Sprite"), QStringLiteral("On"), QStringLiteral("Pointer"),
                                QStringLiteral("Address"), QStringLiteral("Mode"), QStringLiteral("X2"),
                                QStringLiteral("Y2"), QStringLiteral("Colour")});
    m_sprites->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Double-click and Return both activate a row.
    connect(m_sprites, &QTreeWidget::activated, this, [this](const QModelIndex& index) {
        if (index.isValid())
            chooseSprite(index.row());
    });
    details->addWidget(m_sprites);

    m_showCharSet = new QPushButton(QStringLiteral("Show &Character Set"), m_details);
    m_showCharSet->setObjectName(QStringLiteral("showCharSetButton"));
    m_showCharSet->setAutoDefault(false);
    connect(m_showCharSet, &QPushButton::clicked, this, &SnapshotWindow::chooseCharSet);
    m_showBitmap = new QPushButton(QStringLiteral("Show &Bitmap"), m_details);
    m_showBitmap->setObjectName(QStringLiteral("showBitmapButton"));
    m_showBitmap->setAutoDefault(false);
    connect(m_showBitmap, &QPushButton::clicked, this, &SnapshotWindow::bitmapChosen);
    auto* showButtons = new QHBoxLayout;
    showButtons->addWidget(m_showCharSet);
    showButtons->addWidget(m_showBitmap);
    showButtons->addStretch(1);
    details->addLayout(showButtons);

    m_saveSpritePad = new QPushButton(QStringLiteral("Save On-Screen Sprites as SpritePad..."), m_details);
    m_saveSpritePad->setObjectName(QStringLiteral("saveSpritePadButton"));
    m_saveSpritePad->setAutoDefault(false);
    connect(m_saveSpritePad, &QPushButton::clicked, this, &SnapshotWindow::spritePadSaveAsked);
    details->addWidget(m_saveSpritePad, 0, Qt::AlignLeft);

    m_note = new QLabel(m_details);
    m_note->setObjectName(QStringLiteral("noteLabel"));
    m_note->setWordWrap(true);
    details->addWidget(m_note);
    layout->addWidget(m_details);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    if (auto* close = buttons->button(QDialogButtonBox::Close))
        close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);

    resize(520, 520);
    showState(std::nullopt, MemoryImage(), TrueVicTable, 0);
}

SnapshotWindow::~SnapshotWindow() {
    if (m_document != nullptr)
        m_document->removeObserver(m_observer);
}

void SnapshotWindow::follow(mosaiqua::Document& document) {
    using mosaiqua::DocumentChange;
    if (m_document != nullptr)
        m_document->removeObserver(m_observer);
    m_document = &document;
    // A load, or a palette change: the colours come from the palette in force.
    m_observer = document.addObserver([this](DocumentChange change) {
        if (mosaiqua::Has(change, DocumentChange::Memory | DocumentChange::Palette))
            showState(m_document->machineState(), m_document->memory(), m_document->palette().codeTable(),
                      m_document->charSet().colours.main);
    });
}

void SnapshotWindow::showState(const std::optional<MachineState>& state, const MemoryImage& image,
                               const PaletteTable& palette, TColor currentCharSetMain) {
    m_state = state;
    m_palette = palette;
    m_currentCharSetMain = currentCharSetMain;
    m_note->clear();
    m_noState->setVisible(!state);
    m_details->setVisible(bool(state));
    m_sprites->clear();
    if (!state)
        return;
    m_layout = DescribeScreen(*state, image);
    m_seen = VideoChipView(*state, image, m_layout.bank);
    const ScreenLayout& l = m_layout;
    m_bank->setText(l.bankAssumed ? Hex(l.bank) + QStringLiteral(" (assumed: the file does not say)")
                                  : Hex(l.bank));
    m_screen->setText(Hex(l.screen));
    m_charSet->setText(l.bitmapMode ? QStringLiteral("bitmap at %1").arg(Hex(l.bitmap))
                                    : Hex(l.charSet) +
                                          (l.charSetInRom ? QStringLiteral(" (character ROM)") : QString()));
    QString mode = l.bitmapMode ? QStringLiteral("bitmap") : QStringLiteral("text");
    mode += l.multicolourMode ? QStringLiteral(", multicolour") : QStringLiteral(", hi-res");
    if (l.extendedColourMode)
        mode += QStringLiteral(", extended colour");
    m_mode->setText(mode);
    m_border->setText(ColourText(l.border));
    m_background->setText(ColourText(l.background));
    fillSprites();
}

void SnapshotWindow::fillSprites() {
    for (const SpriteState& s : m_layout.sprites) {
        const SpriteSettings settings = SpriteSettingsFor(m_layout, s.number, m_palette);
        Raster thumb(kSpriteWidth, kSpriteHeight);
        RenderSprite(m_seen, settings.address, settings.multicolour, settings.colours, thumb, 0);
        const QPixmap pixmap = QPixmap::fromImage(
            RasterToImage(thumb).scaled(kSpriteWidth * kThumbScale, kSpriteHeight * kThumbScale,
                                        Qt::IgnoreAspectRatio, Qt::FastTransformation));
        auto* item = new QTreeWidgetItem(m_sprites);
        item->setIcon(0, QIcon(pixmap));
        item->setText(0, QString::number(s.number));
        item->setText(1, s.enabled ? QStringLiteral("yes") : QStringLiteral("no"));
        item->setText(2, Hex(s.pointer, 2));
        item->setText(3, Hex(s.address) + (s.inRom ? QStringLiteral(" (ROM)") : QString()));
        item->setText(4, s.multicolour ? QStringLiteral("multicolour") : QStringLiteral("hi-res"));
        item->setText(5, s.expandX ? QStringLiteral("yes") : QStringLiteral("no"));
        item->setText(6, s.expandY ? QStringLiteral("yes") : QStringLiteral("no"));
        item->setText(7, ColourText(s.colour));
    }
    m_sprites->setCurrentItem(m_sprites->topLevelItem(0));
}

QString SnapshotWindow::note() const {
    return m_note->text();
}

void SnapshotWindow::chooseSprite(int number) {
    if (!m_state || number < 0 || number > 7)
        return;
    const SpriteSettings settings = SpriteSettingsFor(m_layout, number, m_palette);
    if (settings.inRom) {
        // The RAM there is not what the video chip showed.
        m_note->setText(QStringLiteral("Sprite %1 at %2 lies in the character ROM, not in RAM.")
                            .arg(number)
                            .arg(Hex(settings.address)));
        return;
    }
    m_note->clear();
    emit spriteChosen(settings);
}

void SnapshotWindow::chooseCharSet() {
    if (!m_state)
        return;
    const CharSetSettings settings = CharSetSettingsFor(m_layout, *m_state, m_palette, m_currentCharSetMain);
    if (settings.inRom) {
        m_note->setText(QStringLiteral("The character set at %1 is the character ROM, not RAM.")
                            .arg(Hex(settings.address)));
        return;
    }
    m_note->clear();
    emit charSetChosen(settings);
}
