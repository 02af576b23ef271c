#include "ui/assets/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace {

const char* const kDialogFontFile = "/usr/share/wine/fonts/ms_sans_serif.ttf";
const char* const kDialogFamily = "MS Sans Serif";
const char* const kCourierFamily = "Courier New";

} // namespace

void InstallApplicationFonts() {
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kDialogFontFile));
    QStringList families;
    if (id >= 0)
        families = QFontDatabase::applicationFontFamilies(id);
    // Menus and dialogs are separate windows: only an application font reaches all of them.
    QFont font = QApplication::font();
    if (!families.isEmpty()) {
        if (families.constFirst() != QLatin1String(kDialogFamily))
            QFont::insertSubstitution(QString::fromLatin1(kDialogFamily), families.constFirst());
        font.setFamily(families.constFirst());
    }
    font.setPixelSize(11);
    QApplication::setFont(font);
    QFont::insertSubstitutions(QString::fromLatin1(kCourierFamily),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
}

QFont AddressLabelFont() {
    QFont font(QString::fromLatin1(kCourierFamily));
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}
