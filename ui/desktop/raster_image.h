// Raster to QImage adapter and the TColor/QColor conversions.
#pragma once

#include "core/raster.h"

#include <QColor>
#include <QImage>

// The one place where core pixels (0x00BBGGRR) become Qt pixels; views and the clipboard use it.
QImage RasterToImage(const mosaiqua::Raster& raster);

QRgb ToQRgb(mosaiqua::TColor colour);
QColor ToQColor(mosaiqua::TColor colour);
mosaiqua::TColor FromQColor(const QColor& colour);
