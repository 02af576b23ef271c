// Colour swatch widget: one colour slot on the main window, clicked to edit it.
#pragma once

#include "core/colours.h"

#include <QFrame>

// A 17 x 17 panel whose fill colour is a colour slot: the slot has no other home.
class ColourSwatch final : public QFrame {
    Q_OBJECT
public:
    ColourSwatch(const QString& name, mosaiqua::TColor colour, QWidget* parent);

    mosaiqua::TColor Colour() const;
    void SetColour(mosaiqua::TColor colour);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
