// The main window's own costs, each beside the limit it should approach: a key press that ends
// in a painted window against a plain repaint of that window, and a range saved through the
// window against the same range saved by the core alone.
#include "ratio_reporter.h"

#include "core/bmp.h"
#include "core/charset_render.h"
#include "core/export.h"
#include "core/memory_image.h"
#include "core/sprite_render.h"
#include "ui/assets/fonts.h"
#include "ui/desktop/platform.h"
#include "ui/dialogs/sprite_range_dialog.h"
#include "ui/main_window/application_windows.h"
#include "ui/main_window/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace mosaiqua;

namespace {

// A desktop that answers the range dialog and the save dialog from queues, and shows no error box.
class BenchPlatform final : public Platform {
public:
    std::deque<std::function<int(QDialog*)>> modalScripts;
    std::deque<QString> saveAnswers;
    int errors = 0;

    std::optional<QString> OpenFileName(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFileName(QWidget*, const SaveFileRequest&) override {
        if (saveAnswers.empty())
            return std::nullopt;
        QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::optional<TColor> ChooseColour(QWidget*, TColor) override { return std::nullopt; }
    std::optional<QString> BrowseForFolder(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    void ShowError(QWidget*, const QString&, const QString&) override { ++errors; }
    bool SetClipboardImage(const QImage&) override { return true; }
    void OpenWebPage(const QString&) override {}
    int RunModal(QDialog* dialog) override {
        if (modalScripts.empty())
            return QDialog::Rejected;
        const std::function<int(QDialog*)> script = modalScripts.front();
        modalScripts.pop_front();
        return script(dialog);
    }
    int DisplayColourDepth() const override { return 24; }
};

// Counts the paint events the main window receives.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

std::vector<std::uint8_t> RandomMemory() {
    std::mt19937 random(64);
    std::vector<std::uint8_t> bytes(MemoryImage::kMemoryReadBytes);
    for (auto& b : bytes)
        b = std::uint8_t(random());
    return bytes;
}

std::filesystem::path BenchFolder(const char* name) {
    const auto folder = std::filesystem::temp_directory_path() / "mosaiqua-ui-bench" / name;
    std::filesystem::create_directories(folder);
    return folder;
}

struct Window {
    BenchPlatform platform;
    ApplicationWindows windows{platform};
    MainWindow& main = windows.Main();
    PaintCounter paintCounter;

    Window() {
        const auto file = BenchFolder("memory") / "random.bin";
        const std::vector<std::uint8_t> bytes = RandomMemory();
        QFile out(QString::fromStdString(file.string()));
        if (!out.open(QIODevice::WriteOnly) || out.write(reinterpret_cast<const char*>(bytes.data()),
                                                         qint64(bytes.size())) != qint64(bytes.size()))
            std::abort();
        out.close();
        // Memory from the file's first byte, as the range export's core twin sees it.
        Action("SkipFirst1148BytesOfFile1")->trigger();
        main.OpenFreezeFileNamed(out.fileName());
        main.installEventFilter(&paintCounter);
        main.show();
        main.activateWindow();
        if (!QTest::qWaitForWindowActive(&main))
            std::abort();
    }

    QAction* Action(const char* name) const { return main.findChild<QAction*>(QString::fromLatin1(name)); }
    void ShowPage(const char* sheet) {
        auto* pages = main.findChild<QTabWidget*>(QStringLiteral("PageControl"));
        pages->setCurrentWidget(main.findChild<QWidget*>(QString::fromLatin1(sheet)));
        QApplication::processEvents();
    }
    // Runs `what` and returns once the window has been painted, at most a few rounds of events later.
    bool Painted(const std::function<void()>& what) {
        const int before = paintCounter.paints;
        what();
        for (int round = 0; round < 100 && paintCounter.paints == before; ++round)
            QApplication::processEvents();
        return paintCounter.paints != before;
    }
};

std::unique_ptr<Window> g_window;

Window& TheWindow() {
    if (!g_window)
        g_window = std::make_unique<Window>();
    return *g_window;
}

void F7ToPainted(benchmark::State& state) {
    Window& w = TheWindow();
    w.ShowPage("SpriteSheet");
    for (auto _ : state) {
        if (w.main.SpriteAddress() >= 0xFFC0) {
            state.PauseTiming();
            w.main.findChild<QAbstractButton*>(QStringLiteral("Button10"))->click(); // back to $0000
            state.ResumeTiming();
        }
        const std::int32_t before = w.main.SpriteAddress();
        if (!w.Painted([&] { QTest::keyClick(&w.main, Qt::Key_F7); }) ||
            w.main.SpriteAddress() != before + 0x40) {
            state.SkipWithError("F7 did not move the sprite and paint the window");
            break;
        }
    }
}
BENCHMARK(F7ToPainted)->Unit(benchmark::kMicrosecond);

void F7ToPaintedLimit(benchmark::State& state) {
    Window& w = TheWindow();
    w.ShowPage("SpriteSheet");
    for (auto _ : state)
        if (!w.Painted([&] { w.main.repaint(); })) {
            state.SkipWithError("repaint did not paint");
            break;
        }
}
BENCHMARK(F7ToPaintedLimit)->Name("F7ToPainted/limit")->Unit(benchmark::kMicrosecond);

void EnableAllCharSetViews(Window& w) {
    for (const char* name : {"N8x8CharSetView1", "N8x16CharSetViewEnabled1", "N16x16CharSetViewEnabled1"})
        if (!w.Action(name)->isChecked())
            w.Action(name)->trigger();
    w.ShowPage("CharSheet");
}

void CtrlRToPainted(benchmark::State& state) {
    Window& w = TheWindow();
    EnableAllCharSetViews(w);
    // How often the progress bar paints itself during one refresh: the window's share of the cost.
    PaintCounter progressPaints;
    w.main.findChild<QWidget*>(QStringLiteral("ProgressBar1"))->installEventFilter(&progressPaints);
    for (auto _ : state)
        if (!w.Painted([&] { QTest::keyClick(&w.main, Qt::Key_R, Qt::ControlModifier); }) ||
            w.main.StatusText() != QLatin1String("OK..")) {
            state.SkipWithError("Ctrl+R did not refresh and paint the window");
            break;
        }
    w.main.findChild<QWidget*>(QStringLiteral("ProgressBar1"))->removeEventFilter(&progressPaints);
    state.counters["progress_paints"] =
        benchmark::Counter(double(progressPaints.paints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(CtrlRToPainted)->Unit(benchmark::kMicrosecond);

// Not a limit: the three views rendered by the core alone, to show what the window adds.
void CtrlRCoreRenderOnly(benchmark::State& state) {
    MemoryImage image;
    const std::vector<std::uint8_t> bytes = RandomMemory();
    image.write(0, bytes.data(), bytes.size());
    CharSetRasters views;
    int steps = 0;
    auto count = [&steps](int rows) { steps += rows; };
    const StepNotification step(count);
    for (auto _ : state)
        for (CharSetViewKind kind : kRefreshOrder)
            RenderCharSetView(kind, image, 0, kStartupColours, false, views.of(kind), step);
    benchmark::DoNotOptimize(steps);
}
BENCHMARK(CtrlRCoreRenderOnly)->Unit(benchmark::kMicrosecond);

void CtrlRToPaintedLimit(benchmark::State& state) {
    Window& w = TheWindow();
    EnableAllCharSetViews(w);
    for (auto _ : state)
        if (!w.Painted([&] { w.main.repaint(); })) {
            state.SkipWithError("repaint did not paint");
            break;
        }
}
BENCHMARK(CtrlRToPaintedLimit)->Name("CtrlRToPainted/limit")->Unit(benchmark::kMicrosecond);

// Dials start $0000 and end $FFFF on the range dialog's buttons (already there after the first
// run), then presses OK.
int AcceptWholeMemory(QDialog* dialog) {
    auto* range = qobject_cast<SpriteRangeDialog*>(dialog);
    auto press = [dialog](const char* name) {
        dialog->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    };
    const char* startMinus[] = {"Button2", "Button4", "Button6", "Button8"};
    const char* endPlus[] = {"Button9", "Button10", "Button11", "Button12"};
    for (int digit = 0; digit < 4; ++digit) {
        const int shift = 12 - 4 * digit;
        for (int i = (range->start() >> shift) & 0xF; i > 0; --i)
            press(startMinus[digit]);
        for (int i = (range->end() >> shift) & 0xF; i < 0xF; ++i)
            press(endPlus[digit]);
    }
    press("Button18");
    return dialog->result();
}

void WholeMemoryRangeThroughWindow(benchmark::State& state) {
    Window& w = TheWindow();
    w.ShowPage("SpriteSheet");
    const QString chosen = QString::fromStdString((BenchFolder("window-range") / "spr.BMP").string());
    for (auto _ : state) {
        w.platform.modalScripts.push_back(AcceptWholeMemory);
        w.platform.saveAnswers.push_back(chosen);
        w.Action("SaveSpritesInMemoryAB1")->trigger();
        if (w.platform.errors != 0 || w.main.StatusText() != QLatin1String("1024 sprites saved ok.")) {
            state.SkipWithError("the range was not saved");
            break;
        }
    }
}
BENCHMARK(WholeMemoryRangeThroughWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same range, the same pixels and files, with the core's rasters and no window.
void WholeMemoryRangeCoreOnly(benchmark::State& state) {
    MemoryImage image;
    const std::vector<std::uint8_t> bytes = RandomMemory();
    image.write(0, bytes.data(), bytes.size());
    const std::string chosen = (BenchFolder("core-range") / "spr.BMP").string();
    SpriteRasters views;
    RangeWalk walk;
    walk.showSprite = [&](std::int32_t address) {
        DrawCurrentSpriteRasters(views, image, address, false, kStartupColours);
        DrawNextSevenSpriteRasters(views, image, address, false, kStartupColours);
    };
    for (auto _ : state) {
        walk.showSprite(0);
        SaveRangeToFiles(views.SpriteActual, 0, SpriteCount(0, 0xFFFF), chosen, SaveSizeTexts{}, {}, walk);
    }
}
BENCHMARK(WholeMemoryRangeCoreOnly)
    ->Name("WholeMemoryRangeThroughWindow/limit")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same picture written three ways in one run: the program's writer (temporary file, then
// rename), Qt's BMP writer, and a plain write of the bytes the program's writer produces.
Raster WriterPicture(int width, int height) {
    return Raster(width, height, 0x6C6C6C);
}

void WriteBmpOurs(benchmark::State& state, int width, int height) {
    const Raster raster = WriterPicture(width, height);
    const std::string path = (BenchFolder("writers") / "ours.bmp").string();
    for (auto _ : state)
        WriteBmpFile(raster, path, 24);
}

void WriteBmpQt(benchmark::State& state, int width, int height) {
    const Raster raster = WriterPicture(width, height);
    const QImage image(reinterpret_cast<const uchar*>(raster.pixels().data()), width, height,
                       int(sizeof(TColor)) * width, QImage::Format_RGB32);
    const QString path = QString::fromStdString((BenchFolder("writers") / "qt.bmp").string());
    for (auto _ : state)
        if (!image.save(path, "BMP")) {
            state.SkipWithError("QImage::save failed");
            break;
        }
}

void WriteBmpPlain(benchmark::State& state, int width, int height) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(WriterPicture(width, height), 24);
    const std::string path = (BenchFolder("writers") / "plain.bmp").string();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            state.SkipWithError("plain write failed");
            if (file != nullptr)
                std::fclose(file);
            break;
        }
        std::fclose(file);
    }
}

BENCHMARK_CAPTURE(WriteBmpOurs, 24x21, 24, 21)->Name("WriteBmp_24x21")->UseRealTime();
BENCHMARK_CAPTURE(WriteBmpQt, 24x21, 24, 21)->Name("WriteBmp_24x21/qt")->UseRealTime();
BENCHMARK_CAPTURE(WriteBmpPlain, 24x21, 24, 21)->Name("WriteBmp_24x21/limit")->UseRealTime();
BENCHMARK_CAPTURE(WriteBmpOurs, 640x480, 640, 480)->Name("WriteBmp_640x480")->UseRealTime();
BENCHMARK_CAPTURE(WriteBmpQt, 640x480, 640, 480)->Name("WriteBmp_640x480/qt")->UseRealTime();
BENCHMARK_CAPTURE(WriteBmpPlain, 640x480, 640, 480)->Name("WriteBmp_640x480/limit")->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QPA_PLATFORMTHEME", "");
    QApplication application(argc, argv);
    InstallApplicationFonts();
    const int result = RunBenchmarksWithRatios(argc, argv);
    g_window.reset(); // before the application goes
    return result;
}
