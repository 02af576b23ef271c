// Saves for sprite and character editors, and the palettes beside the three built-in ones.
#include "ui/main_window/main_window.h"

#include "core/charpad.h"
#include "core/export.h"
#include "core/palettes.h"
#include "core/spritepad.h"
#include "ui/desktop/platform.h"
#include "ui/dialogs/sprite_range_dialog.h"

#include <QAction>

namespace {

SaveFileRequest EditorFileRequest(const std::string& presetName, const char* title, const char* suffix) {
    SaveFileRequest request;
    request.presetName = QString::fromStdString(presetName);
    request.defaultSuffix = QString::fromLatin1(suffix);
    request.filters = QStringList{QString::fromLatin1(title)};
    return request;
}

} // namespace

void MainWindow::SaveSpritesAsSpritePad() {
    SpriteRangeDialog& dialog = *m_windows.spriteRangeDialog;
    dialog.PrepareForMode(RangeDialogMode::ToFiles, frameGeometry(), PickerOuterSize(),
                          m_document.saveSettings().sizes);
    if (m_platform.RunModal(&dialog) != QDialog::Accepted)
        return;
    const SpriteRangeValue range = dialog.Range();
    mosaiqua::CheckRangeCount(range.start, range.end, range.count);
    const std::optional<QString> name = AskSaveName(
        EditorFileRequest(mosaiqua::PresetSpritePadName(range.start), "SpritePad file (*.spd)", "spd"));
    if (!name)
        return;
    SetStatus(
        QString::fromStdString(m_document.saveSpritePad(range.start, range.end, name->toStdString()).status));
}

void MainWindow::SaveCharSetAsCharPad() {
    const std::optional<QString> name = AskSaveName(EditorFileRequest(
        mosaiqua::PresetCharPadName(m_document.charSet().address), "CharPad file (*.ctm)", "ctm"));
    if (!name)
        return;
    SetStatus(QString::fromStdString(m_document.saveCharPad(name->toStdString()).status));
}

void MainWindow::SaveOnScreenSpritePad() {
    const std::optional<QString> name = AskSaveName(
        EditorFileRequest(mosaiqua::kPresetOnScreenSpritePadName, "SpritePad file (*.spd)", "spd"));
    if (!name)
        return;
    SetStatus(QString::fromStdString(m_document.saveOnScreenSpritePad(name->toStdString()).status));
}

void MainWindow::ChooseBuiltInPalette(const char* keyword) {
    const std::optional<mosaiqua::Palette> palette = mosaiqua::PaletteForKeyword(keyword);
    if (!palette ||
        (palette->keyword == m_document.palette().keyword && palette->kind == m_document.palette().kind)) {
        ShowSettings(); // the palette in force: its mark is put back
        return;
    }
    m_document.choosePalette(*palette);
}

void MainWindow::LoadPaletteFile() {
    const std::optional<QString> name = m_platform.OpenFileName(this, FreezeDirectory());
    ShowSettings(); // the item has no mark of its own
    if (!name || name->isEmpty())
        return;
    // A refused file throws with its line number; the palette in force stays.
    const mosaiqua::Palette& palette = m_document.loadPaletteFile(name->toStdString());
    SetStatus(QStringLiteral("Palette %1 loaded.").arg(QString::fromStdString(palette.name)));
}

void MainWindow::ShowPaletteMarks() {
    const mosaiqua::Palette& palette = m_document.palette();
    const bool windows = palette.kind == mosaiqua::PaletteKind::pkWindows;
    const auto mark = [&](const char* name, const char* keyword) {
        if (QAction* item = MenuItem(name))
            item->setChecked(!windows && palette.keyword == keyword);
    };
    mark("UseC64Palette1", "ccs64");
    mark("UseVicPalette1", "vic");
    mark("UseColodorePalette1", "colodore");
    mark("UseCommunityColorsPalette1", "community");
    mark("UsePalette6569R5Palette1", "6569r5");
    m_useWindowsStandard16bitPalette1->setChecked(windows);
}
