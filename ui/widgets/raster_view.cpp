#include "ui/widgets/raster_view.h"

#include "ui/desktop/raster_image.h"

#include <QPainter>

RasterView::RasterView(const mosaiqua::Raster& raster, QWidget* parent) : QWidget(parent), m_raster(raster) {
    setFixedSize(raster.width(), raster.height());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RasterView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QPoint(0, 0), RasterToImage(m_raster));
}

void RasterView::mouseDoubleClickEvent(QMouseEvent*) {
    emit DoubleClicked();
}
