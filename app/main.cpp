// Program start: one application, the main window first, then the message loop.
#include "ui/desktop/command_guard.h"
#include "ui/assets/fonts.h"
#include "ui/desktop/qt_platform.h"
#include "ui/main_window/application_windows.h"
#include "ui/main_window/tform1.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include <exception>
#include <memory>

namespace {

// FILE opens a snapshot at start; --no-skip-header reads it from its first byte.
struct StartOptions {
    QString file;
    bool skipHeader = true;
};

StartOptions ReadArguments(const QStringList& arguments) {
    StartOptions options;
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--no-skip-header"))
            options.skipHeader = false;
        else if (!argument.startsWith(QLatin1String("--")))
            options.file = argument;
    }
    return options;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    try {
        QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
        InstallApplicationFonts();

        QtPlatform platform;
        // The main window comes first; the other windows follow it in their fixed order.
        ApplicationWindows windows(platform);
        TForm1& form1 = windows.Form1();
        // Closing the main window ends the program even while another window is open.
        QObject::connect(&form1, &TForm1::Closed, &application, &QCoreApplication::quit,
                         Qt::QueuedConnection);

        const StartOptions options = ReadArguments(QApplication::arguments());
        if (!options.skipHeader)
            if (QAction* skip = form1.findChild<QAction*>(QStringLiteral("SkipFirst1148BytesOfFile1")))
                skip->trigger();
        if (!options.file.isEmpty())
            form1.OpenFreezeFileNamed(options.file);

        form1.show();
        QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QString::fromLatin1(kApplicationTitle),
                              QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QString::fromLatin1(kApplicationTitle),
                              QStringLiteral("Unknown error"));
    }
    return 0;
}
