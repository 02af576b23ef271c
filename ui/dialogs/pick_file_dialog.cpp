#include "ui/dialogs/pick_file_dialog.h"

#include "core/address_text.h"
#include "core/petscii.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <vector>

using mosaiqua::ContainerEntry;
using mosaiqua::ContainerFormat;
using mosaiqua::ContainerListing;

namespace {

constexpr int kPickRole = Qt::UserRole + 1;  // std::string pick as QString; empty: not loadable
constexpr int kGlyphRole = Qt::UserRole + 2; // QPixmap: the row drawn with the C64 font
constexpr int kNeedsAddressRole =
    Qt::UserRole + 3; // bool: a SEQ or USR file, which says nowhere where it goes

// The C64's directory colours: light blue on blue.
const QColor kInk(0x6C, 0x5E, 0xB5);
const QColor kPaper(0x35, 0x28, 0x79);

QString Hex4(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "$%04X", value & 0xFFFF);
    return QString::fromLatin1(text);
}

// One character of ASCII text as PETSCII: upper-case letters and $20-$5F are the same bytes.
std::uint8_t AsciiToPetscii(char c) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte >= 'a' && byte <= 'z')
        return std::uint8_t(byte - 'a' + 'A');
    return byte >= 0x20 && byte < 0x60 ? byte : std::uint8_t('?');
}

// A row as the C64 would print it: PETSCII bytes (names as stored) and their ASCII look.
struct Row {
    std::vector<std::uint8_t> petscii;
    QString text;

    Row& ascii(const std::string& part) {
        for (char c : part)
            petscii.push_back(AsciiToPetscii(c));
        text += QString::fromStdString(part).toUpper();
        return *this;
    }
    // The name proper between quotes, padded to the 16 columns the C64 gives it.
    Row& name(const std::uint8_t* bytes, std::size_t count, const std::string& asciiName) {
        ascii("\"");
        std::size_t used = 0;
        for (; used < count && bytes[used] != mosaiqua::kPetsciiPadding; ++used)
            petscii.push_back(bytes[used]);
        text += QString::fromStdString(asciiName).toUpper();
        ascii("\"");
        return ascii(std::string(used < 16 ? 16 - used : 0, ' '));
    }
    // Every byte between quotes, the padding as spaces: the disk name in the header.
    Row& whole(const std::uint8_t* bytes, std::size_t count) {
        ascii("\"");
        for (std::size_t i = 0; i < count; ++i)
            petscii.push_back(bytes[i] == mosaiqua::kPetsciiPadding ? std::uint8_t(' ') : bytes[i]);
        text += QString::fromStdString(mosaiqua::AsciiText(bytes, count)).toUpper();
        return ascii("\" ");
    }
};

QPixmap Drawn(const std::vector<std::uint8_t>& petscii, const mosaiqua::CharacterRom& rom) {
    const std::vector<std::uint8_t> codes = mosaiqua::ScreenCodes(petscii.data(), petscii.size());
    QImage image(int(codes.size()) * 8, 8, QImage::Format_RGB32);
    image.fill(kPaper);
    for (std::size_t i = 0; i < codes.size(); ++i)
        for (int y = 0; y < 8; ++y) {
            const std::size_t at = std::size_t(codes[i]) * 8 + std::size_t(y);
            const std::uint8_t bits = at < rom.bytes.size() ? rom.bytes[at] : 0;
            for (int x = 0; x < 8; ++x)
                if (bits & (0x80 >> x))
                    image.setPixel(int(i) * 8 + x, y, kInk.rgb());
        }
    return QPixmap::fromImage(image.scaled(image.width() * 2, image.height() * 2));
}

// Rows carrying a pixmap are painted from it; the text stays for keys and screen readers.
class GlyphDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant glyphs = index.data(kGlyphRole);
        if (!glyphs.isValid())
            return QStyledItemDelegate::paint(painter, option, index);
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->fillRect(option.rect, selected ? option.palette.highlight() : QBrush(kPaper));
        painter->drawPixmap(option.rect.topLeft() + QPoint(2, 1), glyphs.value<QPixmap>());
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QVariant glyphs = index.data(kGlyphRole);
        if (!glyphs.isValid())
            return QStyledItemDelegate::sizeHint(option, index);
        return glyphs.value<QPixmap>().size() + QSize(4, 2);
    }
};

QString Upper(const std::string& text) {
    return QString::fromStdString(text).toUpper();
}

} // namespace

PickFileDialog::PickFileDialog(const ContainerListing& listing,
                               const std::optional<mosaiqua::CharacterRom>& rom, QWidget* parent)
    : QDialog(parent), m_rom(rom) {
    setObjectName(QStringLiteral("PickFileDialog"));
    setWindowTitle(QStringLiteral("Pick a File"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("PickHeader"));
    m_header->setFont(fixed);
    m_entries = new QListWidget(this);
    m_entries->setObjectName(QStringLiteral("PickEntries"));
    m_entries->setFont(fixed);
    m_entries->setItemDelegate(new GlyphDelegate(m_entries));
    m_entries->setMinimumSize(520, 300);
    m_footer = new QLabel(this);
    m_footer->setObjectName(QStringLiteral("PickFooter"));
    m_footer->setFont(fixed);

    auto* buttons = new QDialogButtonBox(this);
    m_load = buttons->addButton(QStringLiteral("Load"), QDialogButtonBox::AcceptRole);
    m_load->setObjectName(QStringLiteral("PickLoad"));
    m_load->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("PickCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { AcceptIfReady(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_entries, &QListWidget::itemActivated, this, [this] { AcceptIfReady(); });
    connect(m_entries, &QListWidget::currentRowChanged, this, [this] { FollowCurrentRow(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(m_entries);
    layout->addWidget(m_footer);
    auto* loadAt = new QHBoxLayout;
    auto* loadAtLabel = new QLabel(QStringLiteral("Load &at (SEQ and USR files):"), this);
    m_loadAt = new QLineEdit(this);
    m_loadAt->setObjectName(QStringLiteral("PickLoadAt"));
    m_loadAt->setPlaceholderText(QStringLiteral("$0000"));
    m_loadAt->setToolTip(QStringLiteral("$hhhh, 0xhhhh or decimal"));
    m_loadAt->setMaximumWidth(90);
    loadAtLabel->setBuddy(m_loadAt);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("PickProblem"));
    loadAt->addWidget(loadAtLabel);
    loadAt->addWidget(m_loadAt);
    loadAt->addWidget(m_problem, 1);
    layout->addLayout(loadAt);
    layout->addWidget(buttons);

    AddRows(listing);
    for (int row = 0; row < m_entries->count(); ++row)
        if (!m_entries->item(row)->data(kPickRole).toString().isEmpty()) {
            m_entries->setCurrentRow(row);
            break;
        }
    FollowCurrentRow();
    m_entries->setFocus();
}

std::string PickFileDialog::ChosenPick() const {
    const QListWidgetItem* item = m_entries->currentItem();
    return item != nullptr ? item->data(kPickRole).toString().toStdString() : std::string();
}

void PickFileDialog::FollowCurrentRow() {
    m_load->setEnabled(!ChosenPick().empty());
    const QListWidgetItem* item = m_entries->currentItem();
    m_loadAt->setEnabled(item != nullptr && item->data(kNeedsAddressRole).toBool());
}

std::optional<int> PickFileDialog::ChosenAddress() const {
    if (!m_loadAt->isEnabled() || m_loadAt->text().trimmed().isEmpty())
        return std::nullopt;
    return mosaiqua::ReadAddressText(m_loadAt->text().toStdString());
}

void PickFileDialog::AcceptIfReady() {
    if (ChosenPick().empty())
        return;
    if (m_loadAt->isEnabled() && !m_loadAt->text().trimmed().isEmpty() && !ChosenAddress()) {
        m_problem->setText(QStringLiteral("Not an address: write $hhhh, 0xhhhh or a decimal number."));
        m_loadAt->setFocus();
        return;
    }
    accept();
}

void PickFileDialog::AddRows(const ContainerListing& l) {
    const auto add = [this](const Row& row, const std::string& pick) {
        auto* item = new QListWidgetItem(row.text, m_entries);
        item->setData(kPickRole, QString::fromStdString(pick));
        if (pick.empty())
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
        if (m_rom)
            item->setData(kGlyphRole, Drawn(row.petscii, *m_rom));
    };
    const auto setLine = [this](QLabel* label, const Row& row) {
        if (m_rom)
            label->setPixmap(Drawn(row.petscii, *m_rom));
        else
            label->setText(row.text);
        label->setToolTip(row.text);
    };
    const bool tape = l.format == ContainerFormat::T64;
    if (l.isDisk() || tape) {
        Row header;
        header.ascii("0 ").whole(l.petsciiName.data(), l.petsciiName.size());
        if (l.isDisk())
            header.ascii(mosaiqua::AsciiText(l.id.data(), l.id.size()));
        else
            header.ascii("T64");
        setLine(m_header, header);
        for (const ContainerEntry& e : l.entries) {
            Row row;
            char blocks[8];
            std::snprintf(blocks, sizeof blocks, "%-5d", e.blocks);
            row.ascii(blocks).name(e.petscii.data(), e.petscii.size(), e.name);
            row.ascii((e.closed ? " " : "*") + e.type + (e.locked ? "<" : " "));
            if (e.loadAddress && e.type == "prg")
                row.ascii("  " + Hex4(*e.loadAddress).toStdString());
            add(row, e.loadable ? "#" + std::to_string(e.index) : std::string());
            m_entries->item(m_entries->count() - 1)
                ->setData(kNeedsAddressRole, e.type == "seq" || e.type == "usr");
        }
        if (l.isDisk())
            setLine(m_footer, Row().ascii(std::to_string(l.blocksFree) + " BLOCKS FREE."));
        else
            m_footer->hide();
        return;
    }
    if (l.format == ContainerFormat::Crt) {
        m_header->setText(QStringLiteral("\"%1\" CRT, hardware type %2, EXROM %3, GAME %4")
                              .arg(Upper(l.name))
                              .arg(l.hardwareType)
                              .arg(l.exrom)
                              .arg(l.game));
        // One row per bank: a C64 sees one bank at a time.
        std::vector<int> banks;
        for (const ContainerEntry& e : l.entries)
            if (std::find(banks.begin(), banks.end(), e.bank) == banks.end())
                banks.push_back(e.bank);
        for (int bank : banks) {
            std::string text = "BANK " + std::to_string(bank);
            for (const ContainerEntry& e : l.entries)
                if (e.bank == bank)
                    text += "  " + Hex4(e.loadAddress.value_or(0)).toStdString() + " " +
                            std::to_string(e.size) +
                            (e.chipType == 1   ? " RAM"
                             : e.chipType == 2 ? " FLASH"
                                               : " ROM");
            add(Row().ascii(text), "bank" + std::to_string(bank));
        }
        m_footer->hide();
        return;
    }
    // Archives: member names are host file names, shown as stored.
    m_header->setText(
        QStringLiteral("\"%1\" %2").arg(QString::fromStdString(l.name), Upper(ContainerKeyword(l.format))));
    for (const ContainerEntry& e : l.entries) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1  %2").arg(e.size, 9).arg(QString::fromStdString(e.name)), m_entries);
        item->setData(kPickRole, QString::fromStdString(e.loadable ? "#" + std::to_string(e.index) : ""));
        if (!e.loadable)
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    m_footer->hide();
}
