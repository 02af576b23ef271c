#include "helpers/main_window_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

bool MainWindowFixture::Show() {
    main.show();
    main.activateWindow();
    return QTest::qWaitForWindowActive(&main);
}

QAction* Action(const QObject& root, const QString& name) {
    return Child<QAction>(root, name);
}

void ShowPage(const MainWindow& window, const QString& sheetName) {
    auto* pages = Child<QTabWidget>(window, QStringLiteral("PageControl"));
    pages->setCurrentWidget(Child<QWidget>(window, sheetName));
}

void ClickOn(const MainWindow& window, const QString& name) {
    auto* widget = Child<QWidget>(window, name);
    if (!widget->isVisible())
        throw std::runtime_error(name.toStdString() + " is not on the page in front");
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void Trigger(const MainWindow& window, const QString& actionName) {
    Action(window, actionName)->trigger();
}

void LoadFile(MainWindowFixture& fixture, const QString& path) {
    for (const char* option : {"SkipFirst1148BytesOfFile1", "DetectFileFormat1"}) {
        QAction* item = Action(fixture.main, QLatin1String(option));
        if (item->isChecked())
            item->trigger();
    }
    fixture.platform.openAnswers.push_back(path);
    Trigger(fixture.main, QStringLiteral("OpenFreezeFile1"));
}

void LoadBytes(MainWindowFixture& fixture, const QByteArray& bytes) {
    static int serial = 0;
    const QString path = fixture.files.filePath(QStringLiteral("memory%1.bin").arg(++serial));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    file.close();
    LoadFile(fixture, path);
}

QByteArray BalloonMemory() {
    QByteArray bytes(0x49, '\0');
    for (const std::string& row : kBalloon)
        for (std::size_t column = 0; column < row.size(); column += 8) {
            int byte = 0;
            for (std::size_t bit = 0; bit < 8; ++bit)
                byte = byte << 1 | (row[column + bit] == '#' ? 1 : 0);
            bytes.append(char(byte));
        }
    return bytes;
}

void LoadBalloon(MainWindowFixture& fixture) {
    WalkSpriteTo(fixture.main, 0x0049);
    LoadBytes(fixture, BalloonMemory());
}

namespace {

void Press(const MainWindow& window, const char* name, int times) {
    auto* button = Child<QAbstractButton>(window, QString::fromLatin1(name));
    for (int i = 0; i < times; ++i)
        button->click();
}

} // namespace

void WalkSpriteTo(const MainWindow& window, std::int32_t target) {
    Press(window, "Button10", 1);
    Press(window, "Button3", std::min(target / 0x1000, 15));
    const std::int32_t rest = target - window.SpriteAddress();
    Press(window, "Button1", rest / 0x40);
    Press(window, "Button9", rest % 0x40);
    if (window.SpriteAddress() != target)
        throw std::runtime_error("sprite walk missed its target");
}

void WalkCharSetTo(const MainWindow& window, std::int32_t target) {
    Press(window, "CSL1", window.CharSetAddress() / 0x800);
    Press(window, "CSMinus", window.CharSetAddress());
    Press(window, "CSR1", target / 0x800);
    Press(window, "CSPlus", target % 0x800);
    if (window.CharSetAddress() != target)
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

QStringList SpriteLabels(const MainWindow& window) {
    return {LabelText(window, "Label1"), LabelText(window, "Label2"), LabelText(window, "Label3")};
}

void SetSwatch(const MainWindow& window, const char* name, mosaiqua::TColor colour) {
    using mosaiqua::ColourSlot;
    QString swatch = QString::fromLatin1(name);
    const bool charSet = swatch.startsWith(QLatin1String("CB")) || swatch.startsWith(QLatin1String("CC"));
    if (charSet)
        swatch.remove(0, 1);
    const ColourSlot slot = swatch == QLatin1String("Back")   ? ColourSlot::Background
                            : swatch == QLatin1String("Col1") ? ColourSlot::Multicolour1
                            : swatch == QLatin1String("Col2") ? ColourSlot::Main
                                                              : ColourSlot::Multicolour2;
    if (charSet)
        window.Model().setCharSetColour(slot, colour);
    else
        window.Model().setSpriteColour(slot, colour);
}

ChangeCounter::ChangeCounter(mosaiqua::Document& document)
    : m_document(document),
      m_id(document.addObserver([this](mosaiqua::DocumentChange change) { m_changes.push_back(change); })) {}

ChangeCounter::~ChangeCounter() {
    m_document.removeObserver(m_id);
}

int ChangeCounter::Count(mosaiqua::DocumentChange change) const {
    return int(std::count_if(m_changes.begin(), m_changes.end(), [change](mosaiqua::DocumentChange seen) {
        return mosaiqua::Has(seen, change);
    }));
}
