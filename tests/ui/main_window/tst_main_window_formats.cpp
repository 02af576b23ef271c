// The File menu's other formats: PNG pictures, the transparent background, the sprite animation
// and raw data, checked through the files they write and what the desktop was asked for.
#include "helpers/main_window_driver.h"
#include "ui/dialogs/animation_dialog.h"
#include "ui/dialogs/raw_data_dialog.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSpinBox>
#include <QTest>

namespace {

const QString kSharedNote(" A colour slot has the background's colour: its pixels are transparent too.");

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString OutFolder(MainWindowFixture& f) {
    QDir(f.files.path()).mkdir("out");
    return f.files.filePath("out");
}

void SaveAs(MainWindowFixture& f, const char* command, const QString& name) {
    f.platform.saveAnswers.push_back(name);
    Trigger(f.main, command);
}

// Every pixel of `png` is transparent exactly where `opaque` shows `background`, else it has the
// opaque picture's colour at full alpha.
bool TransparentWhere(const QImage& png, const QImage& opaque, QRgb background) {
    if (png.size() != opaque.size())
        return false;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            const QRgb want = opaque.pixel(x, y);
            const QRgb got = png.pixel(x, y);
            const bool clear = qRgb(qRed(want), qGreen(want), qBlue(want)) == background;
            if (clear ? qAlpha(got) != 0
                      : (qAlpha(got) != 255 || qRgb(qRed(got), qGreen(got), qBlue(got)) != want))
                return false;
        }
    return true;
}

} // namespace

class TestMainWindowFormats final : public QObject {
    Q_OBJECT

private slots:
    void pngSavesMatchTheBmpSaves();
    void transparentBackgroundInPng();
    void spriteAnimationAsGif();
    void rawDataFromEachPage();
    void editorFilesAndBasicData();
};

void TestMainWindowFormats::pngSavesMatchTheBmpSaves() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    const QString out = OutFolder(f);
    for (const char* command : {"SaveSprite1", "SaveNext7Sprites1", "Save8x8CharSet1"}) {
        const QString stem = out + "/" + QString::fromLatin1(command);
        SaveAs(f, command, stem + ".BMP");
        SaveAs(f, command, stem + ".Png"); // the extension in any case
        QCOMPARE(ReadFile(stem + ".BMP").left(2), QByteArray("BM"));
        QCOMPARE(ReadFile(stem + ".Png").left(4), QByteArray("\x89PNG"));
        const QImage bmp(stem + ".BMP");
        const QImage png(stem + ".Png");
        QVERIFY(!bmp.isNull());
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), bmp.convertToFormat(QImage::Format_RGB32));
    }
    // Both file types offered; BMP first and the default.
    for (const SaveFileRequest& request : f.platform.saveRequests) {
        QCOMPARE(request.filters, (QStringList{"Windows Bitmap (*.BMP)", "PNG Image (*.png)"}));
        QCOMPARE(request.defaultSuffix, QString("BMP"));
    }
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowFormats::transparentBackgroundInPng() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    const QString out = OutFolder(f);
    QAction* option = Action(f.main, "TransparentBackgroundInPng1");
    QVERIFY(option->isCheckable() && !option->isChecked());
    Trigger(f.main, "TransparentBackgroundInPng1");
    QVERIFY(option->isChecked());

    // Sprite saves clear the sprite background, charset saves the charset background.
    SetSwatch(f.main, "CBack", 0x444444); // red 0x44, green 0x44, blue 0x44: grey in either order
    Trigger(f.main, "RefreshCharSetDisplay1");
    const struct {
        const char* command;
        QRgb background;
        QString status;
    } saves[] = {{"SaveSprite1", qRgb(0, 0, 0), "1 sprite saved ok."},
                 {"Save8x8CharSet1", qRgb(0x44, 0x44, 0x44), "8 x 8 CharSet saved ok."}};
    for (const auto& save : saves) {
        const QString stem = out + "/" + QString::fromLatin1(save.command);
        SaveAs(f, save.command, stem + ".BMP"); // BMP has no transparency: nothing to say
        QCOMPARE(f.main.StatusText(), save.status);
        SaveAs(f, save.command, stem + ".png");
        QCOMPARE(f.main.StatusText(), save.status);
        QVERIFY(TransparentWhere(QImage(stem + ".png"), QImage(stem + ".BMP"), save.background));
    }

    // The sprite colour turned black: its pixels vanish with the background, and the status says so.
    SetSwatch(f.main, "Col2", 0x000000);
    Trigger(f.main, "NextSprite1"); // there and back redraws the sprite in the new colour
    Trigger(f.main, "PreviousSprite1");
    SaveAs(f, "SaveSprite1", out + "/shared.png");
    QCOMPARE(f.main.StatusText(), "1 sprite saved ok." + kSharedNote);
    const QImage shared(out + "/shared.png");
    QCOMPARE(shared.pixelColor(11, 10).alpha(), 0); // a balloon pixel
    QVERIFY(f.platform.errors.empty());
}

void TestMainWindowFormats::spriteAnimationAsGif() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    LoadBalloon(f);
    const QString path = OutFolder(f) + "/balloon.gif";
    f.platform.modalScripts.push_back([](QDialog* dialog) {
        auto* animation = qobject_cast<AnimationDialog*>(dialog);
        if (animation == nullptr)
            return int(QDialog::Rejected);
        animation->setFrames(3);
        animation->setDelayMs(250);
        return int(QDialog::Accepted);
    });
    SaveAs(f, "SaveSpriteAnimation1", path);
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(1));
    const SaveFileRequest& request = f.platform.saveRequests[0];
    QCOMPARE(request.presetName, QString("anim0049.gif"));
    QCOMPARE(request.filters, QStringList{"GIF Image (*.gif)"});
    QCOMPARE(request.defaultSuffix, QString("gif"));
    QCOMPARE(f.main.StatusText(), QString("3 sprites saved ok as an animation."));

    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("gif"));
    QCOMPARE(reader.imageCount(), 3);
    const QImage first = reader.read();
    QCOMPARE(reader.nextImageDelay(), 250);
    QCOMPARE(ImageRows(first, 0, 0, 24, 21), kBalloon);

    // The dialog is the same one next time and shows the values last chosen.
    int frames = 0;
    int delay = 0;
    f.platform.modalScripts.push_back([&](QDialog* dialog) {
        auto* animation = qobject_cast<AnimationDialog*>(dialog);
        frames = animation->frames();
        delay = animation->delayMs();
        return int(QDialog::Rejected);
    });
    Trigger(f.main, "SaveSpriteAnimation1");
    QCOMPARE(f.platform.modalDialogs.back(), f.platform.modalDialogs.front());
    QCOMPARE(frames, 3);
    QCOMPARE(delay, 250);
    QCOMPARE(f.platform.saveRequests.size(), std::size_t(1)); // cancelled: no save dialog
}

void TestMainWindowFormats::rawDataFromEachPage() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QByteArray memory(0x1000, char(0));
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = char((i * 7 + i / 256) & 0xFF);
    LoadBytes(f, memory);
    WalkSpriteTo(f.main, 0x0800);
    WalkCharSetTo(f.main, 0x0800);
    const QString out = OutFolder(f);

    const struct {
        const char* page;
        std::int64_t end;
        mosaiqua::RawDataLayout layout;
        QString status;
    } pages[] = {
        {"SpriteSheet", 0x09FF, mosaiqua::RawDataLayout::Sprites, "512 bytes from $0800 to $09FF saved ok."},
        {"CharSheet", 0x0FFF, mosaiqua::RawDataLayout::CharSet, "2048 bytes from $0800 to $0FFF saved ok."}};
    for (const auto& page : pages) {
        ShowPage(f.main, page.page);
        mosaiqua::AddressRange offered{-1, -1};
        mosaiqua::RawDataLayout layout{};
        f.platform.modalScripts.push_back([&](QDialog* dialog) {
            auto* raw = qobject_cast<RawDataDialog*>(dialog);
            if (raw == nullptr)
                return int(QDialog::Rejected);
            offered = raw->range();
            layout = raw->dataLayout();
            raw->setFormat(mosaiqua::RawDataFormat::Bin);
            return int(QDialog::Accepted);
        });
        const QString path = out + "/" + QString::fromLatin1(page.page) + ".bin";
        SaveAs(f, "SaveRawData1", path);
        QVERIFY(f.platform.errors.empty());
        QCOMPARE(offered.start, std::int64_t(0x0800));
        QCOMPARE(offered.end, page.end);
        QVERIFY(layout == page.layout);
        QCOMPARE(f.platform.saveRequests.back().presetName, QString("data0800.bin"));
        QCOMPARE(f.platform.saveRequests.back().defaultSuffix, QString("bin"));
        QCOMPARE(f.main.StatusText(), page.status);
        QCOMPARE(ReadFile(path), memory.mid(0x0800, int(page.end - 0x0800 + 1)));
    }
}

void TestMainWindowFormats::editorFilesAndBasicData() {
    MainWindowFixture f;
    QVERIFY(f.Show());
    QByteArray memory;
    for (int i = 0; i < 0x1000; ++i)
        memory.append(char(i * 3 + 1));
    LoadBytes(f, memory);
    const QString out = OutFolder(f);

    // The range dialog as it opens ($0000-$0040, one sprite), then the file: header, the sprite,
    // its attribute byte (hires, main colour grey 12), one animation.
    f.platform.modalResults.push_back(QDialog::Accepted);
    SaveAs(f, "SaveSpritesAsSpritePad1", out + "/s.spd");
    QVERIFY(f.platform.errors.empty());
    QCOMPARE(f.platform.saveRequests.back().presetName, QString("sprites0000.spd"));
    const QByteArray spd = ReadFile(out + "/s.spd");
    QCOMPARE(spd.size(), 9 + 64 + 4);
    QCOMPARE(spd.left(6), QByteArray("SPD\x01\x00\x00", 6));
    QCOMPARE(spd.mid(9, 63), memory.left(63));
    QCOMPARE(int(spd[9 + 63]), 12);

    SaveAs(f, "SaveCharSetAsCharPad1", out + "/c.ctm");
    QVERIFY(f.platform.errors.empty());
    const QByteArray ctm = ReadFile(out + "/c.ctm");
    QCOMPARE(ctm.left(4), QByteArray("CTM\x05"));
    QCOMPARE(ctm.mid(20, 2048), memory.left(2048));

    // BASIC: the line fields are there only for it.
    f.platform.modalScripts.push_back([](QDialog* dialog) {
        auto* raw = qobject_cast<RawDataDialog*>(dialog);
        auto* first = Child<QSpinBox>(*dialog, "firstLineSpin");
        auto* step = Child<QSpinBox>(*dialog, "lineStepSpin");
        raw->setFormat(mosaiqua::RawDataFormat::Bin);
        if (first->isEnabled() || step->isEnabled())
            return int(QDialog::Rejected);
        raw->setFormat(mosaiqua::RawDataFormat::Basic);
        first->setValue(100);
        step->setValue(5);
        return int(first->isEnabled() && step->isEnabled() ? QDialog::Accepted : QDialog::Rejected);
    });
    SaveAs(f, "SaveRawData1", out + "/d.bas");
    QVERIFY(f.platform.errors.empty());
    const QList<QByteArray> lines = ReadFile(out + "/d.bas").split('\n');
    QVERIFY(lines.size() > 2);
    QVERIFY(lines[0].startsWith("100 DATA 1,4,7,"));
    QVERIFY(lines[1].startsWith("105 DATA "));
}

QTEST_MAIN(TestMainWindowFormats)
#include "tst_main_window_formats.moc"
