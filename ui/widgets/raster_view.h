// Raster view widget: shows one view raster at a fixed size.
#pragma once

#include "core/raster.h"

#include <QWidget>

// Shows a raster owned by the window pixel for pixel. It keeps no picture of its own: what it
// paints is whatever the raster holds when the window is repainted.
class RasterView final : public QWidget {
    Q_OBJECT
public:
    RasterView(const mosaiqua::Raster& raster, QWidget* parent);
    const mosaiqua::Raster& Source() const { return m_raster; }
    // Each raster pixel as a scale x scale block, never smoothed.
    void SetScale(int scale);
    int Scale() const { return m_scale; }

signals:
    void DoubleClicked();
    // The pointer over a raster pixel (with mouse tracking on).
    void Hovered(QPoint rasterPoint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const mosaiqua::Raster& m_raster;
    int m_scale = 1;
};
