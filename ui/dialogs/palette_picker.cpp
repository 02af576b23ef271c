#include "ui/dialogs/palette_picker.h"

#include "ui/desktop/raster_image.h"
#include "ui/desktop/window_placement.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

namespace {

// Swatch numbers (1-based) of the entries too dark for a black "X".
bool HasWhiteCaption(int number) {
    for (int dark : {1, 3, 5, 7, 9, 10, 12}) {
        if (number == dark) {
            return true;
        }
    }
    return false;
}

const QString kMark = QStringLiteral("X");

} // namespace

PaletteSwatch::PaletteSwatch(bool whiteCaption, QWidget* parent)
    : QFrame(parent), m_whiteCaption(whiteCaption) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void PaletteSwatch::SetColour(mosaiqua::TColor colour) {
    m_colour = colour;
    update();
}

void PaletteSwatch::SetCaption(const QString& caption) {
    m_caption = caption;
    update();
}

QColor PaletteSwatch::CaptionColour() const {
    return m_whiteCaption ? QColor(Qt::white) : palette().color(QPalette::WindowText);
}

void PaletteSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), ToQColor(m_colour));
        painter.setPen(CaptionColour());
        painter.drawText(contentsRect(), Qt::AlignCenter, m_caption);
    }
    QFrame::paintEvent(event);
}

void PaletteSwatch::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void PaletteSwatch::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QFrame::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

PalettePicker::PalettePicker(QWidget* parent) : QDialog(parent) {
    SetUpFixedDialog(*this, "C64Palette", QStringLiteral("C64 Palette"), QSize(143, 172),
                     Qt::WindowStaysOnTopHint);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    panel->setGeometry(3, 2, 137, 167);
    // A lowered outer and raised inner bevel: a groove.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);

    for (int i = 0; i < kSwatchCount; ++i) {
        const int number = i + 1;
        auto* swatch = new PaletteSwatch(HasWhiteCaption(number), panel);
        swatch->setObjectName(QStringLiteral("c64p%1").arg(number));
        swatch->setGeometry(8 + 32 * (i % 4), 8 + 32 * (i / 4), 25, 25);
        connect(swatch, &PaletteSwatch::clicked, this, [this, number] { PickSwatch(number); });
        m_swatches[std::size_t(i)] = swatch;
    }

    m_ok = new QPushButton(QStringLiteral("OK"), panel);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setGeometry(8, 136, 57, 25);
    connect(m_ok, &QPushButton::clicked, this, &PalettePicker::AcceptPick);

    m_cancel = new QPushButton(QStringLiteral("Cancel"), panel);
    m_cancel->setObjectName(QStringLiteral("Button2"));
    m_cancel->setGeometry(72, 136, 57, 25);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PalettePicker::Prepare(mosaiqua::TColor slotColour, mosaiqua::PaletteKind table) {
    Prepare(slotColour, mosaiqua::Palette::Builtin(table));
}

void PalettePicker::Prepare(mosaiqua::TColor slotColour, const mosaiqua::Palette& palette) {
    m_pickedColour = slotColour;
    m_table = palette.kind;
    m_colours = palette.table;
}

void PalettePicker::setStayOnTop(bool onTop) {
    if (onTop == isStayOnTop()) {
        return;
    }
    // Changing the flag hides a shown window; show it again as it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        show();
    }
}

bool PalettePicker::isStayOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

PaletteSwatch* PalettePicker::Swatch(int number) const {
    if (number < 1 || number > kSwatchCount) {
        return nullptr;
    }
    return m_swatches[std::size_t(number - 1)];
}

void PalettePicker::ShowChoices() {
    if (m_colours) {
        for (std::size_t i = 0; i < m_swatches.size(); ++i) {
            m_swatches[i]->SetColour((*m_colours)[i]);
        }
    }
    for (PaletteSwatch* swatch : m_swatches) {
        swatch->SetCaption(QString());
    }
    for (PaletteSwatch* swatch : m_swatches) {
        if (swatch->Colour() == m_pickedColour) {
            swatch->SetCaption(kMark);
        }
    }
    m_chosenColour = m_pickedColour;
}

void PalettePicker::PickSwatch(int number) {
    PaletteSwatch* clicked = Swatch(number);
    if (clicked == nullptr) {
        return;
    }
    for (PaletteSwatch* swatch : m_swatches) {
        swatch->SetCaption(swatch == clicked ? kMark : QString());
    }
    m_chosenColour = clicked->Colour();
}

void PalettePicker::AcceptPick() {
    m_pickedColour = m_chosenColour;
    accept();
}

void PalettePicker::showEvent(QShowEvent* event) {
    // The picker is modal, so being shown is the one moment it becomes the program's active window.
    // Going to another program and back, or a restore after minimising (a spontaneous show), must
    // not undo a click, which reacting to every activation change would do.
    if (!event->spontaneous()) {
        ShowChoices();
    }
    QDialog::showEvent(event);
}
