// Artwork: the pictures and icons drawn in code for the windows.
#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code as pixel art in the VIC-II's colours.

// 17 x 17 on a transparent ground. Pointing right, the shaft rises and turns right (beside "+");
// otherwise it drops and turns left (beside "-").
QPixmap BentArrowPixmap(bool pointsRight);

// 49 x 233: raster bars, small sprites and the name written downwards.
QPixmap DecorativePixmap();

// A mosaic "M" of tiles at 16, 32, 48 and 256 pixels square.
QIcon ProgramIcon();
QPixmap ProgramIconPixmap(int size);

// 265 x 33: the name in a blocky pixel font with colour bars, for the About box.
QPixmap BannerPixmap();
