#include "ui/assets/artwork.h"

#include <QtTest>

#include <set>

namespace {

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
        }
    }
    return count;
}

int DistinctColours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return int(colours.size());
}

QImage Argb(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestArtwork final : public QObject {
    Q_OBJECT

private slots:
    void bentArrowsAreTransparentPicturesTurnedHalfRound();
    void decorativePictureIsFilled();
    void programIconHasItsFourSizes();
    void bannerIsFilled();
};

void TestArtwork::bentArrowsAreTransparentPicturesTurnedHalfRound() {
    const QImage left = Argb(BentArrowPixmap(false));
    const QImage right = Argb(BentArrowPixmap(true));
    QCOMPARE(left.size(), QSize(17, 17));
    QCOMPARE(right.size(), QSize(17, 17));

    const int drawn = OpaquePixels(left);
    QVERIFY(drawn > 17);
    QVERIFY(drawn < 17 * 17 / 2); // mostly see-through
    QCOMPARE(qAlpha(left.pixel(0, 16)), 0);
    QCOMPARE(qAlpha(left.pixel(16, 0)), 0);

    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x)
            QCOMPARE(right.pixel(x, y), left.pixel(16 - x, 16 - y));
    QVERIFY(left != right);
}

void TestArtwork::decorativePictureIsFilled() {
    const QImage picture = Argb(DecorativePixmap());
    QCOMPARE(picture.size(), QSize(49, 233));
    QCOMPARE(OpaquePixels(picture), 49 * 233);
    QVERIFY(DistinctColours(picture) >= 8);
}

void TestArtwork::programIconHasItsFourSizes() {
    const QIcon icon = ProgramIcon();
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(sizes, QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(256, 256)}));

    for (int side : {16, 32, 48, 256}) {
        const QImage image = Argb(icon.pixmap(side, side));
        QCOMPARE(image.size(), QSize(side, side));
        QCOMPARE(OpaquePixels(image), side * side);
        QVERIFY(DistinctColours(image) >= 4);
        // An "M" of tiles: its left arm stands out from the ground it is set in.
        auto tileCentre = [side, &image](int row, int column) {
            const int x = (column * side / 8 + (column + 1) * side / 8) / 2;
            const int y = (row * side / 8 + (row + 1) * side / 8) / 2;
            return image.pixel(x, y);
        };
        QVERIFY(tileCentre(1, 0) != tileCentre(0, 0));
        QVERIFY(tileCentre(1, 0) != tileCentre(1, 3));
        QCOMPARE(tileCentre(1, 3), tileCentre(0, 0));
        QCOMPARE(tileCentre(5, 3), tileCentre(0, 0));
    }
}

void TestArtwork::bannerIsFilled() {
    const QImage banner = Argb(BannerPixmap());
    QCOMPARE(banner.size(), QSize(265, 33));
    QCOMPARE(OpaquePixels(banner), 265 * 33);
    QVERIFY(DistinctColours(banner) >= 8);
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
