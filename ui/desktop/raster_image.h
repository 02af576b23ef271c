// Raster to QImage adapter and the TColor/QColor conversions.
#pragma once

#include "core/raster.h"

#include <QImage>

// The one place where core pixels (0x00BBGGRR) become Qt pixels; views and the clipboard use it.
QImage RasterToImage(const mosaiqua::Raster& raster);
