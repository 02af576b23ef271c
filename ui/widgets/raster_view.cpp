#include "ui/widgets/raster_view.h"

#include "ui/desktop/raster_image.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

RasterView::RasterView(const mosaiqua::Raster& raster, QWidget* parent) : QWidget(parent), m_raster(raster) {
    setFixedSize(raster.width(), raster.height());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RasterView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (m_scale == 1)
        painter.drawImage(QPoint(0, 0), RasterToImage(m_raster));
    else
        painter.drawImage(QRect(0, 0, m_raster.width() * m_scale, m_raster.height() * m_scale),
                          RasterToImage(m_raster));
}

void RasterView::SetScale(int scale) {
    m_scale = std::max(1, scale);
    setFixedSize(m_raster.width() * m_scale, m_raster.height() * m_scale);
    update();
}

void RasterView::mouseMoveEvent(QMouseEvent* event) {
    emit Hovered(event->position().toPoint() / m_scale);
}

void RasterView::mouseDoubleClickEvent(QMouseEvent*) {
    emit DoubleClicked();
}
