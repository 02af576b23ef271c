#include "helpers/form1_driver.h"
#include "ui/widgets/colour_swatch.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

bool Form1Fixture::Show() {
    form.show();
    form.activateWindow();
    return QTest::qWaitForWindowActive(&form);
}

QAction* Action(const QObject& root, const QString& name) {
    return Child<QAction>(root, name);
}

void ShowPage(const TForm1& form, const QString& sheetName) {
    auto* pages = Child<QTabWidget>(form, QStringLiteral("PageControl"));
    pages->setCurrentWidget(Child<QWidget>(form, sheetName));
}

void ClickOn(const TForm1& form, const QString& name) {
    auto* widget = Child<QWidget>(form, name);
    if (!widget->isVisible())
        throw std::runtime_error(name.toStdString() + " is not on the page in front");
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void Trigger(const TForm1& form, const QString& actionName) {
    Action(form, actionName)->trigger();
}

void LoadFile(Form1Fixture& fixture, const QString& path) {
    for (const char* option : {"SkipFirst1148BytesOfFile1", "DetectFileFormat1"}) {
        QAction* item = Action(fixture.form, QLatin1String(option));
        if (item->isChecked())
            item->trigger();
    }
    fixture.platform.openAnswers.push_back(path);
    Trigger(fixture.form, QStringLiteral("OpenFreezeFile1"));
}

void LoadBytes(Form1Fixture& fixture, const QByteArray& bytes) {
    static int serial = 0;
    const QString path = fixture.files.filePath(QStringLiteral("memory%1.bin").arg(++serial));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    file.close();
    LoadFile(fixture, path);
}

namespace {

void Press(const TForm1& form, const char* name, int times) {
    auto* button = Child<QAbstractButton>(form, QString::fromLatin1(name));
    for (int i = 0; i < times; ++i)
        button->click();
}

} // namespace

void WalkSpriteTo(const TForm1& form, std::int32_t target) {
    Press(form, "Button10", 1);
    Press(form, "Button3", std::min(target / 0x1000, 15));
    const std::int32_t rest = target - form.SpriteAddress();
    Press(form, "Button1", rest / 0x40);
    Press(form, "Button9", rest % 0x40);
    if (form.SpriteAddress() != target)
        throw std::runtime_error("sprite walk missed its target");
}

void WalkCharSetTo(const TForm1& form, std::int32_t target) {
    Press(form, "CSL1", form.CharSetAddress() / 0x800);
    Press(form, "CSMinus", form.CharSetAddress());
    Press(form, "CSR1", target / 0x800);
    Press(form, "CSPlus", target % 0x800);
    if (form.CharSetAddress() != target)
        throw std::runtime_error("charset walk missed its target");
}

std::vector<std::string> Rows(const mosaiqua::Raster& raster, int left, int top, int width, int height,
                              mosaiqua::TColor ink, mosaiqua::TColor paper) {
    std::vector<std::string> rows;
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x) {
            const mosaiqua::TColor c = raster.pixel(x, y);
            row += c == ink ? '#' : c == paper ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

bool AllPixels(const mosaiqua::Raster& raster, mosaiqua::TColor colour) {
    for (mosaiqua::TColor c : raster.pixels())
        if (c != colour)
            return false;
    return !raster.pixels().empty();
}

std::vector<mosaiqua::TColor> Pixels(const mosaiqua::Raster& raster, int x, int y, int count) {
    std::vector<mosaiqua::TColor> row;
    for (int i = 0; i < count; ++i)
        row.push_back(raster.pixel(x + i, y));
    return row;
}

std::vector<std::string> ImageRows(const QImage& image, int left, int top, int width, int height,
                                   mosaiqua::TColor ink, mosaiqua::TColor paper) {
    std::vector<std::string> rows;
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x) {
            const QRgb c = image.pixel(x, y);
            row += c == (0xFF000000u | ink) ? '#' : c == (0xFF000000u | paper) ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

QString LabelText(const QObject& root, const char* name) {
    return Child<QLabel>(root, QString::fromLatin1(name))->text();
}

QStringList SpriteLabels(const TForm1& form) {
    return {LabelText(form, "Label1"), LabelText(form, "Label2"), LabelText(form, "Label3")};
}

void SetSwatch(const TForm1& form, const char* name, mosaiqua::TColor colour) {
    Child<ColourSwatch>(form, QString::fromLatin1(name))->SetColour(colour);
}
