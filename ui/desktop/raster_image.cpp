#include "ui/desktop/raster_image.h"

QRgb ToQRgb(mosaiqua::TColor colour) {
    return qRgb(mosaiqua::RedOf(colour), mosaiqua::GreenOf(colour), mosaiqua::BlueOf(colour));
}

QColor ToQColor(mosaiqua::TColor colour) {
    return QColor(ToQRgb(colour));
}

mosaiqua::TColor FromQColor(const QColor& colour) {
    return mosaiqua::MakeColor(std::uint8_t(colour.red()), std::uint8_t(colour.green()),
                               std::uint8_t(colour.blue()));
}

QImage RasterToImage(const mosaiqua::Raster& raster) {
    QImage image(raster.width(), raster.height(), QImage::Format_RGB32);
    for (int y = 0; y < raster.height(); ++y) {
        const mosaiqua::TColor* source = raster.row(y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < raster.width(); ++x) {
            target[x] = ToQRgb(source[x]);
        }
    }
    return image;
}
