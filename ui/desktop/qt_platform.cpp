#include "ui/desktop/qt_platform.h"

#include "ui/desktop/raster_image.h"

#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

namespace {

// The built-in default folders are Windows paths; where a folder does not exist the dialog starts
// in the user's documents rather than wherever the program happened to be started.
QString ExistingFolderOr(const QString& folder) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// The extension a file type stands for: "PNG Image (*.png)" gives "png"; empty when it names none.
QString SuffixOfFilter(const QString& filter) {
    static const QRegularExpression firstPattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = firstPattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

// Every format the loader knows, in both cases (the desktop's file dialog may match case).
QStringList OpenFileFilters() {
    const QStringList patterns{"*.vsf", "*.c64", "*.prg", "*.p00", "*.kla", "*.koa", "*.art",
                               "*.d64", "*.d71", "*.d81", "*.t64", "*.crt", "*.zip", "*.gz"};
    QStringList both = patterns;
    for (const QString& pattern : patterns)
        both << pattern.toUpper();
    return {QStringLiteral("C64 files (%1)").arg(both.join(' ')), QStringLiteral("All files (*)")};
}

} // namespace

std::optional<QString> QtPlatform::OpenFileName(QWidget* parent, const QString& startFolder) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name need not exist: the loader reports what it cannot open.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(ExistingFolderOr(startFolder));
    dialog.setNameFilters(OpenFileFilters());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtPlatform::SaveFileName(QWidget* parent, const SaveFileRequest& request) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(ExistingFolderOr(request.startFolder));
    dialog.setNameFilters(request.filters);
    // Static helpers have no default suffix; "shot" must come back as "shot.BMP".
    dialog.setDefaultSuffix(request.defaultSuffix);
    // Qt keeps one default suffix whatever type is chosen: with "PNG Image" chosen, "shot" must
    // become "shot.png" (and the overwrite question must ask about that file).
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& filter) {
            const bool first = !request.filters.isEmpty() && filter == request.filters.constFirst();
            const QString suffix = SuffixOfFilter(filter);
            dialog.setDefaultSuffix(first || suffix.isEmpty() ? request.defaultSuffix : suffix);
        });
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.presetName.isEmpty())
        dialog.selectFile(request.presetName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<mosaiqua::TColor> QtPlatform::ChooseColour(QWidget* parent, mosaiqua::TColor initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

std::optional<QString> QtPlatform::BrowseForFolder(QWidget* parent, const QString& startFolder,
                                                   const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(parent, title, ExistingFolderOr(startFolder));
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

void QtPlatform::ShowError(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text);
}

bool QtPlatform::SetClipboardImage(const QImage& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr || image.isNull())
        return false;
    clipboard->setImage(image);
    const QMimeData* held = clipboard->mimeData();
    return held != nullptr && held->hasImage();
}

void QtPlatform::OpenWebPage(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

int QtPlatform::RunModal(QDialog* dialog) {
    return dialog->exec();
}

int QtPlatform::DisplayColourDepth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->depth() : 24;
}
