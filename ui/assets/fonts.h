// Fonts: the typefaces every window uses.
#pragma once

#include <QFont>

// Loads the classic dialog font and sets it, at 11 pixels, as the application font. Missing font
// files leave Qt's default in place.
void InstallApplicationFonts();

// Bold monospace, 13 pixels, unsmoothed: the address labels.
QFont AddressLabelFont();
