#include "helpers/fake_platform.h"

#include <QDialog>

namespace {

template <typename T> T TakeFront(std::deque<T>& queue, T whenEmpty) {
    if (queue.empty())
        return whenEmpty;
    T answer = queue.front();
    queue.pop_front();
    return answer;
}

} // namespace

std::optional<QString> FakePlatform::OpenFileName(QWidget*, const QString& startFolder) {
    openStartFolders << startFolder;
    return TakeFront(openAnswers, std::optional<QString>());
}

std::optional<QString> FakePlatform::SaveFileName(QWidget*, const SaveFileRequest& request) {
    saveRequests.push_back(request);
    return TakeFront(saveAnswers, std::optional<QString>());
}

std::optional<mosaiqua::TColor> FakePlatform::ChooseColour(QWidget*, mosaiqua::TColor initial) {
    colourRequests.push_back(initial);
    return TakeFront(colourAnswers, std::optional<mosaiqua::TColor>());
}

std::optional<QString> FakePlatform::BrowseForFolder(QWidget* parent, const QString& startFolder,
                                                     const QString& title) {
    folderRequests << startFolder + QStringLiteral(" | ") + title;
    folderBrowses.append({parent, startFolder, title});
    return TakeFront(folderAnswers, std::optional<QString>());
}

void FakePlatform::ShowError(QWidget*, const QString& title, const QString& text) {
    errors.push_back({title, text});
}

bool FakePlatform::SetClipboardImage(const QImage& image) {
    if (!clipboardWorks)
        return false;
    clipboardImages.push_back(image);
    return true;
}

void FakePlatform::OpenWebPage(const QString& url) {
    webPages << url;
}

int FakePlatform::RunModal(QDialog* dialog) {
    ++modalRuns;
    modalDialogs.push_back(dialog);
    modalPositions.append(dialog->pos());
    if (!modalScripts.empty()) {
        const std::function<int(QDialog*)> script = modalScripts.front();
        modalScripts.pop_front();
        return script(dialog);
    }
    return TakeFront(modalResults, int(QDialog::Rejected));
}
