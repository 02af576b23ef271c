#include "ui/dialogs/sprite_range_dialog.h"

#include "core/address_text.h"
#include "ui/desktop/window_placement.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

constexpr std::int32_t kHighestAddress = 0xFFFF;
constexpr int kDigitButtonSize = 17;

// Inside the group box: the start column on the left, the end column on the right.
constexpr int kColumnWidth = 160;
constexpr int kStartColumnLeft = 16;
constexpr int kEndColumnLeft = 192;
constexpr int kPlusRowTop = 36;
constexpr int kAddressTop = 55;
constexpr int kAddressHeight = 34;
constexpr int kMinusRowTop = 91;

enum class Which { Start, End };

struct DigitButton {
    const char* name;
    Which address;
    int step;
};

// Listed in tab order: each address's "+" row left to right, then its "-" row.
constexpr DigitButton kDigitButtons[] = {
    {"Button1", Which::Start, +0x1000}, {"Button3", Which::Start, +0x100},  {"Button5", Which::Start, +0x10},
    {"Button7", Which::Start, +0x1},    {"Button2", Which::Start, -0x1000}, {"Button4", Which::Start, -0x100},
    {"Button6", Which::Start, -0x10},   {"Button8", Which::Start, -0x1},    {"Button9", Which::End, +0x1000},
    {"Button10", Which::End, +0x100},   {"Button11", Which::End, +0x10},    {"Button12", Which::End, +0x1},
    {"Button13", Which::End, -0x1000},  {"Button14", Which::End, -0x100},   {"Button15", Which::End, -0x10},
    {"Button16", Which::End, -0x1},
};

// 0 for the thousands digit ... 3 for the units.
int DigitColumn(int step) {
    switch (std::abs(step)) {
    case 0x1000:
        return 0;
    case 0x100:
        return 1;
    case 0x10:
        return 2;
    default:
        return 3;
    }
}

QRect DigitButtonPlace(const DigitButton& button) {
    const int columnLeft = button.address == Which::Start ? kStartColumnLeft : kEndColumnLeft;
    // The centred text is "$" plus four digits, so the digits sit half a character right of centre
    // (a character of the 27-pixel monospaced face is about 16 pixels wide).
    const int digitsCentre = columnLeft + kColumnWidth / 2 + 8;
    const int left = digitsCentre - 2 * kDigitButtonSize + DigitColumn(button.step) * kDigitButtonSize;
    const int top = button.step > 0 ? kPlusRowTop : kMinusRowTop;
    return {left, top, kDigitButtonSize, kDigitButtonSize};
}

QFont AddressFont() {
    // Metric twin of Courier New, so "$FFFF" takes the width the layout expects.
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPixelSize(27);
    return font;
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    return label;
}

QLabel* AddAddressLabel(QWidget* parent, const char* name, int columnLeft) {
    QLabel* label =
        AddLabel(parent, name, QString(), QRect(columnLeft, kAddressTop, kColumnWidth, kAddressHeight));
    label->setFont(AddressFont());
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QString ScreenText(std::int32_t address) {
    return QString::fromStdString(mosaiqua::ScreenAddress(address));
}

} // namespace

SpriteRangeDialog::SpriteRangeDialog(QWidget* parent) : QDialog(parent) {
    BuildControls();
    StartUpdate();
    EndUpdate();
}

void SpriteRangeDialog::BuildControls() {
    SetUpFixedDialog(*this, "SaveSpriteMem", QStringLiteral("Save Sprites Between Memory Locations"),
                     QSize(384, 264));

    auto* group = new QGroupBox(QStringLiteral(" Please choose start and end addresses "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 4, 368, 224);

    AddLabel(group, "Label4", QStringLiteral("Start Location :"),
             QRect(kStartColumnLeft, 18, kColumnWidth, 14))
        ->setAlignment(Qt::AlignCenter);
    AddLabel(group, "Label5", QStringLiteral("End Location :"), QRect(kEndColumnLeft, 18, kColumnWidth, 14))
        ->setAlignment(Qt::AlignCenter);
    m_label1 = AddAddressLabel(group, "Label1", kStartColumnLeft);
    m_label2 = AddAddressLabel(group, "Label2", kEndColumnLeft);

    QWidget* previous = nullptr;
    for (const DigitButton& digit : kDigitButtons) {
        auto* button = new QPushButton(digit.step > 0 ? QStringLiteral("+") : QStringLiteral("-"), group);
        button->setObjectName(QString::fromLatin1(digit.name));
        button->setGeometry(DigitButtonPlace(digit));
        const bool isStart = digit.address == Which::Start;
        connect(button, &QPushButton::clicked, this, [this, isStart, step = digit.step] {
            if (isStart)
                Step(m_start, step, &SpriteRangeDialog::StartUpdate);
            else
                Step(m_end, step, &SpriteRangeDialog::EndUpdate);
        });
        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }

    AddLabel(group, "Label3", QStringLiteral("Total Number Of Sprites :"), QRect(16, 118, 130, 14));
    m_label6 = AddLabel(group, "Label6", QString(), QRect(148, 118, 80, 14));

    m_savingToBitmap = AddLabel(group, "lbSavingToBitmap", QStringLiteral("Saving To Bitmap Details:"),
                                QRect(16, 138, 170, 14));
    const auto addFigure = [group](const char* captionName, const QString& caption, const char* valueName,
                                   int top, QLabel*& captionLabel, QLabel*& valueLabel) {
        captionLabel = AddLabel(group, captionName, caption, QRect(24, top, 100, 13));
        valueLabel = AddLabel(group, valueName, QString(), QRect(124, top, 64, 13));
    };
    addFigure("Label9", QStringLiteral("Bitmap Width = "), "SSMBitmapWidth", 152, m_label9, m_bitmapWidth);
    addFigure("Label8", QStringLiteral("Bitmap Height = "), "SSMBitmapHeight", 165, m_label8, m_bitmapHeight);
    addFigure("Label10", QStringLiteral("Max X Sprites = "), "SSMMaxX", 178, m_label10, m_maxX);
    addFigure("Label11", QStringLiteral("Max Y Sprites = "), "SSMMaxY", 191, m_label11, m_maxY);
    addFigure("Label7", QStringLiteral("Max Total Sprites = "), "SSMTotal", 204, m_label7, m_total);

    m_warning = AddLabel(
        group, "lbWarning",
        QStringLiteral("WARNING - Number of sprites will not fit fully onto the current bitmap size!"),
        QRect(200, 150, 152, 62));
    QFont bold = m_warning->font();
    bold.setBold(true);
    m_warning->setFont(bold);
    m_warning->setWordWrap(true);
    m_warning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_warning->hide();

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Button18"));
    m_ok->setGeometry(218, 234, 75, 25);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("Button17"));
    m_cancel->setGeometry(301, 234, 75, 25);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(previous, m_cancel);
    setTabOrder(m_cancel, m_ok);

    SetDetailsVisible(false);
}

void SpriteRangeDialog::PrepareForMode(RangeDialogMode mode, QRect mainOuterGeometry, QSize pickerOuterSize,
                                       const mosaiqua::SaveSizeTexts& sizes) {
    const bool single = mode == RangeDialogMode::ToSingleBitmap;
    // Everything that can fail comes first, so a bad size leaves the dialog untouched.
    std::optional<mosaiqua::FitFigures> figures;
    if (single)
        figures = mosaiqua::ReadFitFigures(sizes);

    m_mode = mode;
    setWindowTitle(single ? QStringLiteral("Save Sprites Between Memory Locations To Single Bitmap")
                          : QStringLiteral("Save Sprites Between Memory Locations"));
    // Offset from where the palette picker would be centred; C++ division truncates toward zero.
    move(CentredPosition(mainOuterGeometry, pickerOuterSize) - (single ? QPoint(115, 80) : QPoint(50, 50)));

    if (figures) {
        m_bitmapWidth->setText(QString::number(figures->bitmapWidth));
        m_bitmapHeight->setText(QString::number(figures->bitmapHeight));
        m_maxX->setText(QString::number(figures->maxX));
        m_maxY->setText(QString::number(figures->maxY));
        m_total->setText(QString::number(figures->total));
        m_fitTotal = figures->total;
    }
    SetDetailsVisible(single);
    UpdateWarning();
}

void SpriteRangeDialog::Step(std::int32_t& address, int step, void (SpriteRangeDialog::*refreshAddress)()) {
    // A step that would leave the address space is refused whole, never clamped.
    const std::int32_t next = address + step;
    if (next < 0 || next > kHighestAddress)
        return;
    address = next;
    (this->*refreshAddress)();
}

void SpriteRangeDialog::StartUpdate() {
    m_label1->setText(ScreenText(m_start));
    CountUpdate();
}

void SpriteRangeDialog::EndUpdate() {
    m_label2->setText(ScreenText(m_end));
    CountUpdate();
}

void SpriteRangeDialog::CountUpdate() {
    const std::int32_t sprites = count();
    const bool ordered = m_start < m_end;
    m_label1->setEnabled(ordered);
    m_label6->setText(ordered ? QString::number(sprites) : QStringLiteral("Error!"));
    UpdateWarning();
}

void SpriteRangeDialog::UpdateWarning() {
    bool overflows = false;
    if (m_mode == RangeDialogMode::ToSingleBitmap) {
        // A bitmap with no room (zero or negative cells) holds none of the sprites.
        const std::int64_t room = std::max<std::int64_t>(0, m_fitTotal);
        overflows = count() > room;
    }
    m_warning->setVisible(overflows);
}

void SpriteRangeDialog::SetDetailsVisible(bool visible) {
    for (QLabel* label : {m_savingToBitmap, m_label7, m_label8, m_label9, m_label10, m_label11, m_bitmapWidth,
                          m_bitmapHeight, m_maxX, m_maxY, m_total})
        label->setVisible(visible);
}
