// Palette picker: one of the 16 C64 colours for a colour slot.
#pragma once

#include "core/colours.h"
#include "core/palette.h"

#include <QDialog>
#include <QFrame>

#include <array>
#include <optional>

class QPushButton;

// A sunken square showing one palette entry; its caption marks the chosen one.
class PaletteSwatch final : public QFrame {
    Q_OBJECT

public:
    // Dark entries draw their caption in white.
    PaletteSwatch(bool whiteCaption, QWidget* parent);

    mosaiqua::TColor Colour() const { return m_colour; }
    void SetColour(mosaiqua::TColor colour);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    // The colour the caption is drawn in.
    QColor CaptionColour() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    mosaiqua::TColor m_colour = 0;
    QString m_caption;
    bool m_whiteCaption;
    bool m_pressed = false;
};

// The picker of one C64 palette colour for a colour slot.
class PalettePicker final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kSwatchCount = 16;

    explicit PalettePicker(QWidget* parent = nullptr);

    // Fills in what the next opening shows: the slot's colour and the palette whose table it offers.
    void Prepare(mosaiqua::TColor slotColour, mosaiqua::PaletteKind table);
    // The same for any palette with a table: a built-in one or one read from a file.
    void Prepare(mosaiqua::TColor slotColour, const mosaiqua::Palette& palette);
    // The slot's colour when opened; after OK, the colour picked.
    mosaiqua::TColor PickedColour() const { return m_pickedColour; }
    void SetPickedColour(mosaiqua::TColor colour) { m_pickedColour = colour; }
    mosaiqua::PaletteKind Table() const { return m_table; }
    mosaiqua::TColor ChosenColour() const { return m_chosenColour; }

    void setStayOnTop(bool onTop);
    bool isStayOnTop() const;

    // Swatch `number` is c64p1 .. c64p16.
    PaletteSwatch* Swatch(int number) const;

    // Shows the table and marks the slot's colour.
    void ShowChoices();
    // A click on swatch `number` (1 .. 16) marks it and makes its colour the choice.
    void PickSwatch(int number);
    // OK: hands the choice back as PickedColour.
    void AcceptPick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::array<PaletteSwatch*, kSwatchCount> m_swatches{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    mosaiqua::TColor m_pickedColour = 0;
    mosaiqua::PaletteKind m_table = mosaiqua::PaletteKind::pkCcs64;
    std::optional<mosaiqua::PaletteTable> m_colours = mosaiqua::Ccs64Table; // what the swatches show
    mosaiqua::TColor m_chosenColour = 0;
};
