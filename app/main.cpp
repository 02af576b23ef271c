// Program start: one application, the main window first, then the message loop.
#include "core/file_writer.h"
#include "ui/assets/fonts.h"
#include "ui/desktop/command_guard.h"
#include "ui/desktop/qt_platform.h"
#include "ui/main_window/application_windows.h"
#include "ui/main_window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QMessageBox>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#ifndef MOSAIQUA_VERSION
#define MOSAIQUA_VERSION "1.05"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: mosaiqua [options] [FILE]\n"
    "\n"
    "Opens the Mosaiqua window, with FILE (a CCS64 freeze file or any C64 memory file) loaded.\n"
    "\n"
    "Options:\n"
    "  --no-skip-header  read FILE from its first byte: offset 0 is address $0000\n"
    "  -h, --help        print this help\n"
    "  --version         print the version\n"
    "  --                end of the options: what follows is the file\n"
    "Qt's own options (-platform, -style, ...) are taken too.\n";

// What the command line asks for. The file keeps the bytes the system gave, so a name that is not
// valid UTF-8 still reaches the loader unchanged.
struct StartOptions {
    enum class Action { Run, Help, Version, Usage } action = Action::Run;
    std::string file;
    bool skipHeader = true;
    std::string usageError;
};

// Qt removes the single-dash options it knows while it starts; `qtHasRun` says whether it has, so
// an unknown single-dash option is refused only then (and --help needs no display).
StartOptions ReadArguments(int argc, char** argv, bool qtHasRun) {
    StartOptions options;
    bool optionsEnded = false;
    const auto refuse = [&](const std::string& message) {
        if (options.action == StartOptions::Action::Run) {
            options.action = StartOptions::Action::Usage;
            options.usageError = message;
        }
    };
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            return {StartOptions::Action::Help, {}, true, {}};
        } else if (!optionsEnded && argument == "--version") {
            return {StartOptions::Action::Version, {}, true, {}};
        } else if (!optionsEnded && argument == "--no-skip-header") {
            options.skipHeader = false;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            if (qtHasRun || argument.starts_with("--"))
                refuse("unknown option '" + argument + "'");
        } else if (options.file.empty()) {
            options.file = argument;
        } else if (qtHasRun) { // before, it may be the value of one of Qt's options
            refuse("unexpected argument '" + argument + "'");
        }
    }
    return options;
}

// 0 after --help or --version, 2 after a usage error; nothing when the window should start.
std::optional<int> AnswerWithoutWindow(const StartOptions& options) {
    switch (options.action) {
    case StartOptions::Action::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case StartOptions::Action::Version:
        std::printf("%s %s\nMIT licence\n", kApplicationTitle, MOSAIQUA_VERSION);
        return 0;
    case StartOptions::Action::Usage:
        std::fprintf(stderr, "mosaiqua: %s\nTry 'mosaiqua --help'.\n", options.usageError.c_str());
        return 2;
    case StartOptions::Action::Run:
        break;
    }
    return std::nullopt;
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// The platform Qt is asked for: -platform NAME on the command line, else QT_QPA_PLATFORM.
std::string RequestedPlatform(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            break;
        if (argument == "-platform" || argument == "--platform")
            return argv[i + 1];
    }
    const char* variable = std::getenv("QT_QPA_PLATFORM");
    return variable ? variable : "";
}

// Whether one platform of Qt's list ("wayland;xcb", each perhaps with ":options") can start here.
bool PlatformCanStart(std::string_view platform) {
    platform = platform.substr(0, platform.find(':'));
    if (platform.empty())
        return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
    if (platform == "xcb")
        return IsSet("DISPLAY");
    if (platform.starts_with("wayland")) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        return IsSet("WAYLAND_DISPLAY") ||
               (runtime && std::filesystem::exists(std::filesystem::path(runtime) / "wayland-0", ec));
    }
    return true; // offscreen, minimal, eglfs, vnc, ... need no display server
}

// Qt aborts the program when its platform finds no display: the user is told plainly instead.
bool DisplayAvailable(int argc, char** argv) {
#if defined(__unix__) && !defined(__APPLE__)
    const std::string requested = RequestedPlatform(argc, argv); // the view below must not outlive it
    std::string_view platforms = requested;
    for (;;) {
        const std::size_t end = platforms.find(';');
        if (PlatformCanStart(platforms.substr(0, end)))
            return true;
        if (end == std::string_view::npos)
            return false;
        platforms.remove_prefix(end + 1);
    }
#else
    (void)argc;
    (void)argv;
    return true;
#endif
}

constexpr const char* kNoDisplay =
    "mosaiqua: cannot show the window: no display is set (DISPLAY and WAYLAND_DISPLAY are empty).\n"
    "Start it in a desktop session, or use mosaiqua-cli, which needs no display.\n";

QtMessageHandler g_qtMessages = nullptr;

// While Qt starts, a fatal message (a display that cannot be opened, no platform plugin) ends the
// program with exit status 1 and one plain line instead of an abort.
void StartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (g_qtMessages)
            g_qtMessages(type, context, text);
        return;
    }
    const QString firstLine = text.section(QLatin1Char('\n'), 0, 0);
    std::fprintf(stderr, "mosaiqua: cannot show the window: %s\n", firstLine.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    // Before Qt starts its threads: an interrupted save then leaves no temporary behind.
    mosaiqua::InstallInterruptCleanup();
    if (const auto answered = AnswerWithoutWindow(ReadArguments(argc, argv, false)))
        return *answered;
    if (!DisplayAvailable(argc, argv)) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    g_qtMessages = qInstallMessageHandler(StartupMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(g_qtMessages);
    const StartOptions options = ReadArguments(argc, argv, true);
    if (const auto answered = AnswerWithoutWindow(options))
        return *answered;
    try {
        QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
        InstallApplicationFonts();

        QtPlatform platform;
        // The main window comes first; the other windows follow it in their fixed order.
        ApplicationWindows windows(platform);
        MainWindow& mainWindow = windows.Main();
        // Closing the main window ends the program even while another window is open.
        QObject::connect(&mainWindow, &MainWindow::Closed, &application, &QCoreApplication::quit,
                         Qt::QueuedConnection);

        if (!options.skipHeader)
            if (QAction* skip = mainWindow.findChild<QAction*>(QStringLiteral("SkipFirst1148BytesOfFile1")))
                skip->trigger();
        if (!options.file.empty())
            mainWindow.OpenFreezeFileNamed(QFile::decodeName(QByteArray::fromStdString(options.file)),
                                           options.file);

        mainWindow.show();
        QApplication::exec();
    } catch (const std::bad_alloc&) {
        QMessageBox::critical(nullptr, QString::fromLatin1(kApplicationTitle),
                              QString::fromLatin1(mosaiqua::kOutOfMemoryMessage));
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QString::fromLatin1(kApplicationTitle),
                              QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QString::fromLatin1(kApplicationTitle),
                              QStringLiteral("Unknown error"));
    }
    return 0;
}
