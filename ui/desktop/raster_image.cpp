#include "ui/desktop/raster_image.h"

QImage RasterToImage(const mosaiqua::Raster& raster) {
    QImage image(raster.width(), raster.height(), QImage::Format_RGB32);
    for (int y = 0; y < raster.height(); ++y) {
        const mosaiqua::TColor* source = raster.row(y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < raster.width(); ++x) {
            const mosaiqua::TColor c = source[x];
            target[x] = qRgb(mosaiqua::RedOf(c), mosaiqua::GreenOf(c), mosaiqua::BlueOf(c));
        }
    }
    return image;
}
