// File menu: opening a file and the save commands. Each save asks its dialogs for values, has the
// document compose and write the file, and shows the status it returns.
#include "ui/main_window/main_window.h"

#include "core/character_rom.h"
#include "core/container.h"
#include "core/errors.h"
#include "core/export.h"
#include "core/raw_data.h"
#include "ui/desktop/command_guard.h"
#include "ui/desktop/platform.h"
#include "ui/desktop/window_placement.h"
#include "ui/dialogs/animation_dialog.h"
#include "ui/dialogs/pick_file_dialog.h"
#include "ui/dialogs/raw_data_dialog.h"
#include "ui/dialogs/save_settings_dialog.h"
#include "ui/dialogs/sprite_range_dialog.h"

#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QProgressBar>
#include <QTabWidget>
#include <QUrl>

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

int MainWindow::DisplayDepth() const {
    // BMP has no 15- or 30-bit layout; the nearest one that keeps every colour the display shows.
    const int depth = m_platform.DisplayColourDepth();
    if (depth == 15 || depth == 16)
        return 16;
    if (depth > 24)
        return 32;
    return 24;
}

void MainWindow::ApplySaveSettings() {
    const SaveSettingsDialog& dialog = *m_windows.saveSettingsDialog;
    mosaiqua::SaveSettings settings = m_document.saveSettings();
    settings.sizes = dialog.SizeTexts();
    settings.spriteBitsPerPixel = dialog.Use24Bit() ? 24 : DisplayDepth();
    // The character-set views are saved as the display shows them.
    settings.viewBitsPerPixel = DisplayDepth();
    m_document.setSaveSettings(settings);
}

// ---- File ---------------------------------------------------------------------------------------

void MainWindow::OpenFreezeFile() {
    const std::optional<QString> chosen = m_platform.OpenFileName(this, FreezeDirectory());
    if (!chosen)
        return;
    Load(*chosen, QFile::encodeName(*chosen).toStdString());
}

void MainWindow::OpenFreezeFileNamed(const QString& shownName, const std::string& systemPath) {
    RunGuarded(m_platform, this, [&] { Load(shownName, systemPath); });
}

void MainWindow::OpenFreezeFileNamed(const QString& path) {
    OpenFreezeFileNamed(path, QFile::encodeName(path).toStdString());
}

void MainWindow::Load(const QString& shownName, const std::string& systemPath) {
    // A container with several entries asks which one, level by level (a zip holding a disk
    // image asks twice); a cancel leaves the document as it was.
    std::vector<std::string> picks;
    std::optional<int> address; // for a SEQ or USR file, as typed in the dialog
    for (;;) {
        try {
            // A refused file throws and leaves the document alone, so the views and addresses stay.
            const mosaiqua::LoadedFile& loaded =
                m_document.loadPicked(systemPath, picks, address, Utf8(shownName));
            const std::string& followed = m_document.followStatus();
            if (!loaded.description.empty() || !followed.empty())
                SetStatus(QString::fromStdString(loaded.description +
                                                 (loaded.description.empty() || followed.empty() ? "" : " ") +
                                                 followed));
            ShowLoadedBitmap();
            return;
        } catch (const mosaiqua::ContainerPickError& error) {
            // Picks from the dialog name listed entries; an error that is not a level deeper is final.
            if (error.picksToContainer().size() < picks.size())
                throw;
            const std::optional<std::string> pick =
                AskContainerPick(systemPath, error.picksToContainer(), address);
            if (!pick)
                return;
            picks = error.picksToContainer();
            picks.push_back(*pick);
        }
    }
}

std::optional<std::string> MainWindow::AskContainerPick(const std::string& systemPath,
                                                        const std::vector<std::string>& picksToContainer,
                                                        std::optional<int>& address) {
    const mosaiqua::ContainerListing listing = mosaiqua::ListContainer(systemPath, picksToContainer);
    std::optional<mosaiqua::CharacterRom> rom;
    try {
        rom = mosaiqua::FindCharacterRom(nullptr, {});
    } catch (const mosaiqua::UserError&) {
        // No usable ROM: the names are drawn as text.
    }
    PickFileDialog dialog(listing, rom, this);
    if (m_platform.RunModal(&dialog) != QDialog::Accepted || dialog.ChosenPick().empty())
        return std::nullopt;
    address = dialog.ChosenAddress();
    return dialog.ChosenPick();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    OpenFreezeFileNamed(urls.front().toLocalFile());
}

// ---- Single saves -------------------------------------------------------------------------------

void MainWindow::SaveCurrentSprite() {
    const std::optional<QString> name =
        AskSaveName(QString::fromStdString(mosaiqua::PresetCurrentSpriteName(SpriteAddress())));
    if (!name)
        return;
    ApplySaveSettings();
    SetStatus(QString::fromStdString(m_document.saveCurrentSprite(Utf8(*name)).status));
}

void MainWindow::SaveNextSevenSprites() {
    const std::optional<QString> name =
        AskSaveName(QString::fromStdString(mosaiqua::PresetNextSevenName(SpriteAddress())));
    if (!name)
        return;
    ApplySaveSettings();
    SetStatus(QString::fromStdString(m_document.saveNextSeven(Utf8(*name)).status));
}

void MainWindow::SaveSpriteAnimation() {
    if (m_animationDialog == nullptr)
        m_animationDialog = new AnimationDialog(this);
    m_animationDialog->move(CentredOver(OuterSize(*m_animationDialog)));
    if (m_platform.RunModal(m_animationDialog) != QDialog::Accepted)
        return;
    SaveFileRequest request;
    request.presetName = QString::fromStdString(mosaiqua::PresetAnimationName(SpriteAddress()));
    request.defaultSuffix = QStringLiteral("gif");
    request.filters = QStringList{QStringLiteral("GIF Image (*.gif)")};
    const std::optional<QString> name = AskSaveName(request);
    if (!name)
        return;
    ApplySaveSettings();
    SetStatus(QString::fromStdString(
        m_document.saveAnimation(m_animationDialog->frames(), m_animationDialog->delayMs(), Utf8(*name))
            .status));
}

// ---- Memory ranges ------------------------------------------------------------------------------

void MainWindow::RestoreAfterRange(std::int32_t spriteAddress) {
    m_document.setSpriteAddress(spriteAddress);
    m_progressBar1->setValue(0);
    repaint();
}

void MainWindow::SaveSpriteRange(RangeDialogMode mode) {
    SpriteRangeDialog& dialog = *m_windows.spriteRangeDialog;
    ApplySaveSettings();
    // Single-bitmap mode reads its sizes here: a bad one stops the command before the dialog shows.
    dialog.PrepareForMode(mode, frameGeometry(), PickerOuterSize(), m_document.saveSettings().sizes);

    // Every way out, a failure half-way included, puts the viewer back where it was.
    struct Closing {
        MainWindow* window;
        std::int32_t spriteAddress;
        ~Closing() { window->RestoreAfterRange(spriteAddress); }
    } closing{this, SpriteAddress()};

    if (m_platform.RunModal(&dialog) != QDialog::Accepted)
        return;
    const SpriteRangeValue range = dialog.Range();
    mosaiqua::CheckRangeCount(range.start, range.end, range.count);

    m_document.setSpriteAddress(range.start);
    const bool toFiles = mode == RangeDialogMode::ToFiles;
    const std::optional<QString> name =
        AskSaveName(QString::fromLatin1(toFiles ? mosaiqua::kPresetRangeName : mosaiqua::kPresetSheetName));
    if (!name)
        return;

    m_progressBar1->setRange(0, range.count);
    m_progressBar1->setValue(0);
    repaint();
    ApplySaveSettings();
    // The viewer walks along with the save, so the user sees how far it has got.
    const auto progress = [this, start = range.start](int done) {
        m_document.setSpriteAddress(start + done * mosaiqua::kSpriteStride);
        m_progressBar1->setValue(done);
        SetStatus(QStringLiteral("Saving sprites please wait.."));
    };
    const mosaiqua::SaveResult result =
        toFiles ? m_document.saveRangeToFiles(range.start, range.count, Utf8(*name), progress)
                : m_document.saveRangeToSheet(range.start, range.count, Utf8(*name), progress);
    SetStatus(QString::fromStdString(result.status));
}

// ---- Character sets -----------------------------------------------------------------------------

void MainWindow::SaveCharSetView(mosaiqua::CharSetViewKind kind) {
    const std::optional<QString> name =
        AskSaveName(QString::fromStdString(mosaiqua::PresetCharSetName(CharSetAddress())));
    if (!name)
        return;
    // The view's own picture at its own size and the display's depth; the save settings do not apply.
    ApplySaveSettings();
    SetStatus(QString::fromStdString(m_document.saveCharSetView(kind, Utf8(*name)).status));
}

// ---- Raw data -----------------------------------------------------------------------------------

void MainWindow::SaveRawData() {
    if (m_rawDataDialog == nullptr)
        m_rawDataDialog = new RawDataDialog(this);
    RawDataDialog& dialog = *m_rawDataDialog;
    // The bytes of the page in front: eight sprites from the current one, one 2 KB charset, or a bitmap.
    // The bitmap's 8000 bytes are laid out in 8-byte cells, as characters are.
    if (m_pageControl->currentWidget() == m_charSheet)
        dialog.setRange(mosaiqua::RawDataRangeForCharSet(CharSetAddress()), mosaiqua::RawDataLayout::CharSet);
    else if (m_pageControl->currentWidget() == m_bitmapSheet)
        dialog.setRange(mosaiqua::RawDataRangeForBitmap(m_document.bitmap().bitmap),
                        mosaiqua::RawDataLayout::CharSet);
    else
        dialog.setRange(mosaiqua::RawDataRangeForSprites(SpriteAddress()), mosaiqua::RawDataLayout::Sprites);
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
    SetStatus(QString::fromStdString(
        m_document.saveRawData(range, format, dialog.dataLayout(), dialog.basicLines(), Utf8(*name)).status));
}
