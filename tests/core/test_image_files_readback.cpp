// The picture writers read back by Qt's own readers: PNG, GIF and BMP as other programs see them.
#include "core/animation.h"
#include "core/bmp.h"
#include "core/errors.h"
#include "core/gif_writer.h"
#include "core/image_file.h"
#include "core/png_writer.h"
#include "core/raw_data.h"
#include "core/sprite_render.h"
#include "failing_output.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace mosaiqua;

namespace {

constexpr ColourSlots kSlots{0x102030, 0x405060, 0x708090, 0xA0B0C0};

// n distinct colours, each in its own band of columns (left to right).
Raster Bands(int width, int height, int colours) {
    Raster r(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            r.setPixel(
                x, y,
                MakeColor(std::uint8_t(x * colours / width), std::uint8_t(x * colours / width >> 8), 200));
    return r;
}

QImage Read(const QString& path) {
    QImageReader reader(path);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

QImage ReadBack(const std::string& path) {
    return Read(QString::fromStdString(path));
}

std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Takes 40 bytes, then fails like a full disk.
const OutputFileOpener OpenFailing = test::FailingOpener(40);

MemoryImage EightSprites() {
    std::vector<std::uint8_t> bytes(0x0800 + 8 * 64);
    for (std::size_t i = 0x0800; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(i * 37 + 11);
    MemoryImage image;
    image.write(0, bytes.data(), bytes.size());
    return image;
}

} // namespace

class TestImageFiles final : public QObject {
    Q_OBJECT

private slots:
    void pngIsTheBmpPictureAtTheSmallestDepth();
    void pngMakesOnlyTheBackgroundTransparent();
    void saveEntryPointPicksTheFormatFromTheName();
    void gifFramesAreTheCurrentSpriteSaves();
    void gifKeepsTheBackgroundTransparent();
    void failedWritesLeaveTheOldFile();

private:
    QTemporaryDir m_dir;
    std::string file(const char* name) const { return m_dir.filePath(name).toStdString(); }
};

void TestImageFiles::pngIsTheBmpPictureAtTheSmallestDepth() {
    // colours -> bit depth in the IHDR (byte 24), colour type (byte 25): 3 palette, 2 RGB
    const struct {
        int colours, depth, type;
    } rows[] = {{2, 1, 3}, {4, 2, 3}, {5, 4, 3}, {16, 4, 3}, {17, 8, 3}, {256, 8, 3}, {300, 8, 2}};
    for (const auto& row : rows) {
        const Raster picture = Bands(row.colours * 2 + 3, 5, row.colours);
        WriteBmpFile(picture, file("p.bmp"), 24);
        WritePngFile(picture, file("p.png"));
        const auto png = Bytes(file("p.png"));
        QCOMPARE(int(png.at(24)), row.depth);
        QCOMPARE(int(png.at(25)), row.type);
        QCOMPARE(ReadBack(file("p.png")), ReadBack(file("p.bmp")));
    }
}

void TestImageFiles::pngMakesOnlyTheBackgroundTransparent() {
    for (const int colours : {4, 300}) {
        const Raster picture = Bands(40, 4, colours);
        const TColor background = picture.pixel(0, 0);
        WritePngFile(picture, file("t.png"), background);
        const QImage png = ReadBack(file("t.png"));
        int transparent = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const bool isBackground = picture.pixel(x, y) == background;
                QCOMPARE(qAlpha(png.pixel(x, y)), isBackground ? 0 : 255);
                if (!isBackground)
                    QCOMPARE(png.pixel(x, y), qRgb(RedOf(picture.pixel(x, y)), GreenOf(picture.pixel(x, y)),
                                                   BlueOf(picture.pixel(x, y))));
                transparent += isBackground;
            }
        QVERIFY(transparent > 0);
    }
}

void TestImageFiles::saveEntryPointPicksTheFormatFromTheName() {
    const Raster picture = Bands(24, 21, 4);
    ImageSaveOptions options;
    options.transparent = picture.pixel(0, 0);
    WriteImageFile(picture, file("a.PnG"), options);
    WriteImageFile(picture, file("a.bmp"), options);
    options.format = ImageFormat::Png;
    WriteImageFile(picture, file("forced.bmp"), options);
    QCOMPARE(Bytes(file("a.PnG")).at(1), std::uint8_t('P'));
    QCOMPARE(Bytes(file("a.bmp")).size(), std::size_t(54 + 21 * 72)); // BMP ignores transparency
    QCOMPARE(Bytes(file("forced.bmp")).at(1), std::uint8_t('P'));
    QCOMPARE(RangeImageFileName("/x/spr.Png", 0x0840), std::string("/x/spr0840.png"));
    QCOMPARE(RangeImageFileName("/x/spr.BMP", 0x0840), std::string("/x/spr0840.bmp"));
    const ColourSlots shared{1, 2, 3, 1};
    QVERIFY(!BackgroundSharedWithOtherSlot(shared, false));
    QVERIFY(BackgroundSharedWithOtherSlot(shared, true));
    QVERIFY(TransparencyStatusNote(true, shared, false).empty());
    QVERIFY(!TransparencyStatusNote(true, shared, true).empty());
    QVERIFY(TransparencyStatusNote(false, shared, true).empty());
}

void TestImageFiles::gifFramesAreTheCurrentSpriteSaves() {
    const MemoryImage image = EightSprites();
    AnimationSave save;
    save.firstAddress = 0x0800;
    save.frames = 5;
    save.delayMs = 130;
    save.multicolour = true;
    save.colours = kSlots;
    SaveSizeTexts sizes;
    sizes.spriteWidth = "48";
    sizes.spriteHeight = "42";
    sizes.bitmapWidth = "50";
    sizes.bitmapHeight = "45";
    SaveSpriteAnimation(image, save, sizes, file("anim.gif"));

    QImageReader reader(m_dir.filePath("anim.gif"));
    QCOMPARE(reader.imageCount(), 5);
    QCOMPARE(reader.loopCount(), -1); // forever
    for (int k = 0; k < 5; ++k) {
        // Exactly what "Save Current Sprite" writes for the sprite at $0800 + k * $40.
        SpriteRasters views;
        DrawCurrentSpriteRasters(views, image, 0x0800 + 0x40 * k, true, kSlots);
        WriteBmpFile(ComposeCurrentSprite(views.SpriteActual, ReadCellSizes(sizes)), file("frame.bmp"), 24);
        QVERIFY(reader.canRead());
        const QImage frame = reader.read().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(reader.nextImageDelay(), 130);
        QCOMPARE(frame, ReadBack(file("frame.bmp")));
    }
    QCOMPARE(PresetAnimationName(0x0800), std::string("anim0800.gif"));
}

void TestImageFiles::gifKeepsTheBackgroundTransparent() {
    std::vector<Raster> frames{Bands(30, 3, 4), Bands(30, 3, 2)};
    const TColor background = frames[0].pixel(29, 0);
    WriteAnimatedGifFile(frames, 10, file("t.gif"), background);
    QImageReader reader(m_dir.filePath("t.gif"));
    QCOMPARE(reader.imageCount(), 2);
    for (const Raster& expected : frames) {
        const QImage frame = reader.read().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                QCOMPARE(qAlpha(frame.pixel(x, y)), expected.pixel(x, y) == background ? 0 : 255);
    }
}

void TestImageFiles::failedWritesLeaveTheOldFile() {
    const std::vector<std::uint8_t> old{'o', 'l', 'd'};
    const Raster picture = Bands(64, 64, 200);
    const std::vector<std::function<void(const std::string&)>> writes{
        [&](const std::string& path) { WritePngFile(picture, path, std::nullopt, OpenFailing); },
        [&](const std::string& path) {
            WriteAnimatedGifFile({picture, picture}, 10, path, std::nullopt, OpenFailing);
        },
        [&](const std::string& path) {
            WriteRawDataFile(MemoryImage(), 0, 0x7FF, RawDataFormat::Acme, RawDataLayout::CharSet, path,
                             OpenFailing);
        },
    };
    QTemporaryDir dir;
    const std::string path = dir.filePath("old.file").toStdString();
    for (const auto& write : writes) {
        std::ofstream(path, std::ios::binary).write("old", 3);
        QVERIFY_THROWS_EXCEPTION(UserError, write(path));
        QCOMPARE(Bytes(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}

QTEST_GUILESS_MAIN(TestImageFiles)
#include "test_image_files_readback.moc"
