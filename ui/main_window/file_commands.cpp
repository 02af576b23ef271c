// File menu: opening a snapshot and the save commands; saves compose what the views show, never memory.
#include "ui/main_window/main_window.h"

#include "core/animation.h"
#include "core/bmp.h"
#include "core/errors.h"
#include "core/export.h"
#include "core/file_formats.h"
#include "core/image_file.h"
#include "core/memory_image.h"
#include "core/raw_data.h"
#include "ui/desktop/command_guard.h"
#include "ui/desktop/platform.h"
#include "ui/desktop/raster_image.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/animation_dialog.h"
#include "ui/dialogs/palette_picker.h"
#include "ui/dialogs/raw_data_dialog.h"
#include "ui/dialogs/save_settings_dialog.h"
#include "ui/dialogs/sprite_range_dialog.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QProgressBar>
#include <QTabWidget>

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

} // namespace

std::optional<QString> MainWindow::AskSaveName(const QString& presetName) {
    SaveFileRequest request;
    request.presetName = presetName;
    return AskSaveName(request);
}

std::optional<QString> MainWindow::AskSaveName(SaveFileRequest request) {
    request.startFolder = BitmapDirectory();
    std::optional<QString> name = m_platform.SaveFileName(this, request);
    if (!name || name->isEmpty())
        return std::nullopt;
    return name;
}

mosaiqua::ImageSaveOptions MainWindow::PictureOptions(int bitsPerPixel,
                                                      const mosaiqua::ColourSlots& colours) const {
    mosaiqua::ImageSaveOptions options = mosaiqua::AtDepth(bitsPerPixel);
    options.transparent = mosaiqua::TransparentColourFor(m_transparentBackgroundInPng1->isChecked(), colours);
    return options;
}

QString MainWindow::TransparencyNote(const mosaiqua::ImageSaveOptions& options, const QString& path,
                                     const mosaiqua::ColourSlots& colours, bool multicolour) {
    return QString::fromStdString(mosaiqua::TransparencyStatusNote(
        mosaiqua::WritesTransparency(options, Utf8(path)), colours, multicolour));
}

int MainWindow::DisplayDepth() const {
    // BMP has no 15- or 30-bit layout; the nearest one that keeps every colour the display shows.
    const int depth = m_platform.DisplayColourDepth();
    if (depth == 15 || depth == 16)
        return 16;
    if (depth > 24)
        return 32;
    return 24;
}

int MainWindow::SpriteSaveDepth() const {
    return m_windows.saveSettingsDialog->Use24Bit() ? 24 : DisplayDepth();
}

// ---- File ---------------------------------------------------------------------------------------

void MainWindow::OpenFreezeFile() {
    const std::optional<QString> chosen = m_platform.OpenFileName(this, FreezeDirectory());
    if (!chosen)
        return;
    LoadAndRedraw(*chosen, QFile::encodeName(*chosen).toStdString());
}

void MainWindow::OpenFreezeFileNamed(const QString& shownName, const std::string& systemPath) {
    RunGuarded(m_platform, this, [&] { LoadAndRedraw(shownName, systemPath); });
}

void MainWindow::OpenFreezeFileNamed(const QString& path) {
    OpenFreezeFileNamed(path, QFile::encodeName(path).toStdString());
}

void MainWindow::LoadAndRedraw(const QString& shownName, const std::string& systemPath) {
    const mosaiqua::LoadOptions options{m_detectFileFormat1->isChecked(),
                                        m_skipFirst1148BytesOfFile1->isChecked()};
    std::string why;
    // A refused file leaves the store alone, so the views and addresses stay as they were.
    std::optional<mosaiqua::LoadedFile> loaded = mosaiqua::LoadMemoryFile(m_image, systemPath, options, &why);
    if (!loaded) {
        throw mosaiqua::UserError(mosaiqua::UserError::Kind::CannotOpenFile,
                                  mosaiqua::CannotOpenFileMessage(Utf8(shownName), why));
    }
    // No save may replace the file just read, under any name.
    mosaiqua::ProtectLoadedFile(systemPath);
    m_machineState = std::move(loaded->machineState);
    DrawCurrentSprite();
    DrawNextSevenSprites();
    repaint();
    RefreshCharSetViews(true, true, true, true);
    ShowLoadedState();
    if (!loaded->description.empty())
        SetStatus(QString::fromStdString(loaded->description));
}

// ---- Single saves -------------------------------------------------------------------------------

void MainWindow::SaveCurrentSprite() {
    const std::optional<QString> name =
        AskSaveName(QString::fromStdString(mosaiqua::PresetCurrentSpriteName(m_image.SpriteAddress)));
    if (!name)
        return;
    const mosaiqua::SpriteCellSizes sizes =
        mosaiqua::ReadCellSizes(m_windows.saveSettingsDialog->SizeTexts());
    const mosaiqua::Raster bitmap = mosaiqua::ComposeCurrentSprite(m_spriteRasters.SpriteActual, sizes);
    const mosaiqua::ColourSlots colours = SpriteColours();
    const mosaiqua::ImageSaveOptions options = PictureOptions(SpriteSaveDepth(), colours);
    mosaiqua::WriteImageFile(bitmap, Utf8(*name), options);
    SetStatus(QString::fromLatin1(mosaiqua::kCurrentSpriteSavedStatus) +
              TransparencyNote(options, *name, colours, SpriteMulticolour()));
}

void MainWindow::SaveNextSevenSprites() {
    const std::optional<QString> name =
        AskSaveName(QString::fromStdString(mosaiqua::PresetNextSevenName(m_image.SpriteAddress)));
    if (!name)
        return;
    const mosaiqua::SpriteCellSizes sizes =
        mosaiqua::ReadCellSizes(m_windows.saveSettingsDialog->SizeTexts());
    const mosaiqua::Raster bitmap = mosaiqua::ComposeNextSeven(m_spriteRasters.ScanImage, sizes);
    const mosaiqua::ColourSlots colours = SpriteColours();
    const mosaiqua::ImageSaveOptions options = PictureOptions(SpriteSaveDepth(), colours);
    mosaiqua::WriteImageFile(bitmap, Utf8(*name), options);
    SetStatus(QString::fromLatin1(mosaiqua::kNextSevenSavedStatus) +
              TransparencyNote(options, *name, colours, SpriteMulticolour()));
}

void MainWindow::SaveSpriteAnimation() {
    if (m_animationDialog == nullptr)
        m_animationDialog = new AnimationDialog(this);
    m_animationDialog->move(CentredOver(OuterSize(*m_animationDialog)));
    if (m_platform.RunModal(m_animationDialog) != QDialog::Accepted)
        return;
    SaveFileRequest request;
    request.presetName = QString::fromStdString(mosaiqua::PresetAnimationName(m_image.SpriteAddress));
    request.defaultSuffix = QStringLiteral("gif");
    request.filters = QStringList{QStringLiteral("GIF Image (*.gif)")};
    const std::optional<QString> name = AskSaveName(request);
    if (!name)
        return;
    mosaiqua::AnimationSave save;
    save.firstAddress = m_image.SpriteAddress;
    save.frames = m_animationDialog->frames();
    save.delayMs = m_animationDialog->delayMs();
    save.multicolour = SpriteMulticolour();
    save.colours = SpriteColours();
    save.transparentBackground = m_transparentBackgroundInPng1->isChecked();
    SetStatus(QString::fromStdString(mosaiqua::SaveSpriteAnimation(
        m_image, save, m_windows.saveSettingsDialog->SizeTexts(), Utf8(*name))));
}

// ---- Memory ranges ------------------------------------------------------------------------------

void MainWindow::RestoreAfterRange() {
    m_image.SpriteAddress = m_savedSpriteAddress;
    m_progressBar1->setValue(0);
    RefreshSpriteViews();
}

void MainWindow::SaveSpriteRange(RangeDialogMode mode) {
    SpriteRangeDialog& dialog = *m_windows.spriteRangeDialog;
    SaveSettingsDialog& settings = *m_windows.saveSettingsDialog;
    // Single-bitmap mode reads its sizes here: a bad one stops the command before the dialog shows.
    dialog.PrepareForMode(mode, frameGeometry(), PickerOuterSize(), settings.SizeTexts());

    m_savedSpriteAddress = m_image.SpriteAddress;
    // Every way out, a failure half-way included, puts the viewer back where it was.
    struct Closing {
        MainWindow* form;
        ~Closing() { form->RestoreAfterRange(); }
    } closing{this};

    if (m_platform.RunModal(&dialog) != QDialog::Accepted)
        return;
    const SpriteRangeValue range = dialog.Range();
    mosaiqua::CheckRangeCount(range.start, range.end, range.count);

    m_image.SpriteAddress = range.start;
    DrawCurrentSprite();
    DrawNextSevenSprites();
    const bool toFiles = mode == RangeDialogMode::ToFiles;
    const std::optional<QString> name =
        AskSaveName(QString::fromLatin1(toFiles ? mosaiqua::kPresetRangeName : mosaiqua::kPresetSheetName));
    if (!name)
        return;

    m_progressBar1->setRange(0, range.count);
    m_progressBar1->setValue(0);
    repaint();
    mosaiqua::RangeWalk walk;
    walk.showSprite = [this](std::int32_t address) {
        m_image.SpriteAddress = address;
        DrawCurrentSprite();
        DrawNextSevenSprites();
    };
    walk.afterSprite = [this] {
        m_progressBar1->setValue(m_progressBar1->value() + 1);
        SetStatus(QStringLiteral("Saving sprites please wait.."));
    };
    const mosaiqua::SaveSizeTexts sizes = settings.SizeTexts();
    const mosaiqua::ColourSlots colours = SpriteColours();
    const mosaiqua::ImageSaveOptions options = PictureOptions(SpriteSaveDepth(), colours);
    const QString note = TransparencyNote(options, *name, colours, SpriteMulticolour());
    if (toFiles) {
        mosaiqua::SaveRangeToFiles(m_spriteRasters.SpriteActual, range.start, range.count, Utf8(*name), sizes,
                                   options, walk);
        SetStatus(QString::fromStdString(mosaiqua::RangeSavedStatus(range.count)) + note);
    } else {
        // Written before the status claims success.
        const int saved = mosaiqua::SaveRangeToSheet(m_spriteRasters.SpriteActual, range.start, range.count,
                                                     Utf8(*name), sizes, options, walk);
        SetStatus(QString::fromStdString(mosaiqua::SheetSavedStatus(saved, range.count)) + note);
    }
}

// ---- Character sets -----------------------------------------------------------------------------

void MainWindow::SaveCharSetView(mosaiqua::CharSetViewKind kind) {
    const std::optional<QString> name =
        AskSaveName(QString::fromStdString(mosaiqua::PresetCharSetName(m_image.CharSetAddress)));
    if (!name)
        return;
    // The view's own picture at its own size and the display's depth; the save settings do not apply.
    const mosaiqua::ColourSlots colours = CharSetColours();
    const mosaiqua::ImageSaveOptions options = PictureOptions(DisplayDepth(), colours);
    mosaiqua::WriteImageFile(m_charSetRasters.of(kind), Utf8(*name), options);
    SetStatus(QString::fromLatin1(mosaiqua::CharSetSavedStatus(kind)) +
              TransparencyNote(options, *name, colours, CharSetMulticolour()));
}

// ---- Raw data -----------------------------------------------------------------------------------

void MainWindow::SaveRawData() {
    if (m_rawDataDialog == nullptr)
        m_rawDataDialog = new RawDataDialog(this);
    RawDataDialog& dialog = *m_rawDataDialog;
    // The bytes of the page in front: eight sprites from the current one, or one 2 KB charset.
    if (m_pageControl->currentWidget() == m_charSheet)
        dialog.setRange(mosaiqua::RawDataRangeForCharSet(m_image.CharSetAddress),
                        mosaiqua::RawDataLayout::CharSet);
    else
        dialog.setRange(mosaiqua::RawDataRangeForSprites(m_image.SpriteAddress),
                        mosaiqua::RawDataLayout::Sprites);
    dialog.move(CentredOver(OuterSize(dialog)));
    if (m_platform.RunModal(&dialog) != QDialog::Accepted)
        return;
    const mosaiqua::AddressRange range = dialog.range();
    const mosaiqua::RawDataFormat format = dialog.format();
    SaveFileRequest request;
    request.presetName = QString::fromStdString(mosaiqua::PresetRawDataName(range.start, format));
    request.defaultSuffix = QString::fromStdString(mosaiqua::RawDataExtension(format)).mid(1);
    request.filters = QStringList{QString::fromStdString(mosaiqua::RawDataFormatTitle(format))};
    const std::optional<QString> name = AskSaveName(request);
    if (!name)
        return;
    SetStatus(QString::fromStdString(mosaiqua::WriteRawDataFile(m_image, range.start, range.end, format,
                                                                dialog.dataLayout(), Utf8(*name))));
}
