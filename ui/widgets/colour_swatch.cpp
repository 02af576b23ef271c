#include "ui/widgets/colour_swatch.h"

#include "ui/desktop/raster_image.h"

#include <QMouseEvent>

ColourSwatch::ColourSwatch(const QString& name, mosaiqua::TColor colour, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    setFixedSize(17, 17);
    SetColour(colour);
}

mosaiqua::TColor ColourSwatch::Colour() const {
    const QColor fill = palette().color(QPalette::Window);
    return FromQColor(fill);
}

void ColourSwatch::SetColour(mosaiqua::TColor colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(colour));
    setPalette(p);
    update();
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}
