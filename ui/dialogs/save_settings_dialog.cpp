#include "ui/dialogs/save_settings_dialog.h"

#include "ui/desktop/window_placement.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLabel* AddText(QWidget* parent, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place);
    return label;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

std::string TextOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace

SaveSettingsDialog::SaveSettingsDialog(QWidget* parent) : QDialog(parent) {
    SetUpFixedDialog(*this, "SaveSpriteSettings", QStringLiteral("Save Sprite Settings"), QSize(464, 379));

    auto* group = new QGroupBox(QStringLiteral(" Current Sprite Save Settings "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 8, 449, 363);

    AddText(
        group,
        QStringLiteral("The settings below affect ALL sprite saving methods.  Therefore a single current "
                       "saved sprite will be as below, a save between two memory locations will save files "
                       "as per directions below, and a save next 7 sprites will produce a bitmap of 7 x 1 "
                       "sprites"),
        QRect(16, 20, 417, 58));
    AddText(group, QStringLiteral("in the format of 7 x 1 width of Bitmap's x Height of Bitmaps."),
            QRect(16, 80, 417, 17));

    m_spriteWidth = AddSizeEdit(group, "CSSpriteWidth", QStringLiteral("Width Of Actual Sprite"), 16, 106);
    m_bitmapWidth = AddSizeEdit(group, "CSBitmapWidth", QStringLiteral("Width Of Bitmap"), 236, 106);
    m_spriteHeight = AddSizeEdit(group, "CSSpriteHeight", QStringLiteral("Height Of Actual Sprite"), 16, 134);
    m_bitmapHeight = AddSizeEdit(group, "CSBitmapHeight", QStringLiteral("Height Of Bitmap"), 236, 134);

    auto* separator = new QFrame(group);
    separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    separator->setGeometry(16, 166, 417, 2);
    AddText(
        group,
        QStringLiteral("These settings allow for a final bitmap size to be specified for use when exporting "
                       "a range of sprites to a single Bitmap."),
        QRect(16, 176, 417, 32));
    m_finalWidth = AddSizeEdit(group, "CSFBitmapWidth", QStringLiteral("Width Of Fnal Bitmap"), 16, 214);
    m_finalHeight = AddSizeEdit(group, "CSFBitmapHeight", QStringLiteral("Height Of Final Bitmap"), 236, 214);

    auto* depth = new QGroupBox(QStringLiteral(" Colour Depth Of Saved Bitmap "), group);
    depth->setObjectName(QStringLiteral("GroupBox2"));
    depth->setGeometry(16, 248, 417, 53);
    depth->setToolTip(QStringLiteral(
        "When loading files into Photoshop they must be saved in 24bit.  Paint shop pro will load either."));
    m_radio24bit = new QRadioButton(QStringLiteral("Use 24bit Colour Depth"), depth);
    m_radio24bit->setObjectName(QStringLiteral("Radio24bit"));
    m_radio24bit->setGeometry(12, 24, 170, 19);
    m_radio16bit = new QRadioButton(QStringLiteral("Use Current Windows Colour Depth"), depth);
    m_radio16bit->setObjectName(QStringLiteral("Radio16bit"));
    m_radio16bit->setGeometry(184, 24, 227, 19);

    m_defaults = AddButton(group, "Button3", QStringLiteral("Return To Defaults"), QRect(16, 320, 121, 25));
    m_ok = AddButton(group, "Button1", QStringLiteral("OK"), QRect(276, 320, 75, 25));
    m_cancel = AddButton(group, "Button2", QStringLiteral("Cancel"), QRect(358, 320, 75, 25));
    m_ok->setDefault(true);
    connect(m_defaults, &QPushButton::clicked, this, &SaveSettingsDialog::ReturnToDefaults);
    // Neither button checks or reverts anything: what the boxes hold is in force either way.
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    QWidget* const tabOrder[] = {m_spriteWidth, m_spriteHeight, m_bitmapWidth, m_bitmapHeight,
                                 m_ok,          m_cancel,       m_defaults,    m_finalWidth,
                                 m_finalHeight, m_radio24bit,   m_radio16bit};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    ReturnToDefaults();
    m_radio24bit->setChecked(true);
}

QLineEdit* SaveSettingsDialog::AddSizeEdit(QWidget* parent, const char* name, const QString& label, int left,
                                           int top) {
    auto* caption = new QLabel(label, parent);
    caption->setGeometry(left, top + 3, 136, 17);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(kMaxSizeLength);
    edit->setGeometry(left + 140, top, 57, 21);
    caption->setBuddy(edit);
    return edit;
}

mosaiqua::SaveSizeTexts SaveSettingsDialog::SizeTexts() const {
    mosaiqua::SaveSizeTexts texts;
    texts.spriteWidth = TextOf(m_spriteWidth);
    texts.spriteHeight = TextOf(m_spriteHeight);
    texts.bitmapWidth = TextOf(m_bitmapWidth);
    texts.bitmapHeight = TextOf(m_bitmapHeight);
    texts.finalWidth = TextOf(m_finalWidth);
    texts.finalHeight = TextOf(m_finalHeight);
    return texts;
}

void SaveSettingsDialog::SetSizeTexts(const mosaiqua::SaveSizeTexts& texts) {
    m_spriteWidth->setText(QString::fromStdString(texts.spriteWidth));
    m_spriteHeight->setText(QString::fromStdString(texts.spriteHeight));
    m_bitmapWidth->setText(QString::fromStdString(texts.bitmapWidth));
    m_bitmapHeight->setText(QString::fromStdString(texts.bitmapHeight));
    m_finalWidth->setText(QString::fromStdString(texts.finalWidth));
    m_finalHeight->setText(QString::fromStdString(texts.finalHeight));
}

bool SaveSettingsDialog::Use24Bit() const {
    return m_radio24bit->isChecked();
}

void SaveSettingsDialog::SetUse24Bit(bool use24Bit) {
    (use24Bit ? m_radio24bit : m_radio16bit)->setChecked(true);
}

void SaveSettingsDialog::ReturnToDefaults() {
    SetSizeTexts(mosaiqua::SaveSizeTexts{});
}
